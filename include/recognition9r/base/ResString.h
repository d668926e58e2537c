#pragma once
#include "base/r9Export.h"
#include <QString>

/// A translatable message: its source text in Russian (UTF-8). The text shown
/// is always fetched through LoadResString, which a host that links the
/// package calls as well (exported under its C++ name).
struct ResString
{
    const char *source;
};

/// Translation context of the package's messages; a host's translator
/// replaces a message by giving a translation of its source text here.
inline constexpr const char *ResStringContext = "Recognition9r";

/// The message's text as it reads now: the installed translation, if any,
/// else the source text.
R9_EXPORT QString LoadResString(const ResString *message);
