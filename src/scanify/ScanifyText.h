#pragma once
// Texts crossing the boundary of the engine library: 8-bit text in the
// locale's encoding. Texts coming back are read defensively: never past their
// terminator or their buffer, never more than any sane field holds, and only
// as far as they are valid text.

#include <QByteArray>
#include <QString>
#include <cstddef>

namespace scanify {

/// Longest text the package takes from the engine in one value.
constexpr std::size_t MaxEngineText = 4096;

/// A text for the engine: the locale's 8-bit encoding, NUL-terminated by
/// QByteArray::constData().
QByteArray ToEngineText(const QString &text);

/// A text from the engine: at most maxBytes bytes up to the first NUL, and of
/// those only the part before the first byte sequence that is not valid in the
/// locale's encoding. A null pointer gives an empty text.
QString FromEngineText(const char *text, std::size_t maxBytes = MaxEngineText);

/// As FromEngineText; cut tells whether bytes were left out because they are
/// not valid text (the value shown is then not what the engine read).
QString FromEngineText(const char *text, bool &cut, std::size_t maxBytes = MaxEngineText);

/// A text field of an engine record (char[N]): never read beyond the field,
/// even when the engine left it without a terminator.
template <std::size_t N>
QString FromEngineField(const char (&field)[N])
{
    return FromEngineText(field, N);
}

} // namespace scanify
