#pragma once
#include "common/r9Export.h"
#include <QString>

/// A translatable message: its source text in Russian (UTF-8). The text shown
/// is always fetched through LoadResString.
struct ResString
{
    const char *source;
};

/// Translation context of the package's messages; a host's translator
/// replaces a message by giving a translation of its source text here.
inline constexpr const char *ResStringContext = "Recognition9r";

/// The message's text as it reads now: the installed translation, if any,
/// else the source text.
QString LoadResString(const ResString *message);
