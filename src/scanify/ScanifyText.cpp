#include "scanify/ScanifyText.h"

#include <QStringDecoder>
#include <cstring>

namespace scanify {

QByteArray ToEngineText(const QString &text)
{
    return text.toLocal8Bit();
}

QString FromEngineText(const char *text, std::size_t maxBytes)
{
    bool cut = false;
    return FromEngineText(text, cut, maxBytes);
}

QString FromEngineText(const char *text, bool &cut, std::size_t maxBytes)
{
    cut = false;
    if (!text)
        return QString();
    const std::size_t length = strnlen(text, maxBytes);
    // Invalid sequences become U+0000; the text ends before the first one
    // (the bytes themselves hold no NUL, strnlen stopped before it).
    QStringDecoder decoder(QStringDecoder::System, QStringDecoder::Flag::ConvertInvalidToNull);
    QString result = decoder.decode(QByteArrayView(text, qsizetype(length)));
    // An incomplete sequence at the very end is held back by the decoder and
    // dropped here with it.
    const qsizetype invalid = result.indexOf(QChar(0));
    if (invalid >= 0)
        result.truncate(invalid);
    // Whatever was dropped, an invalid sequence or one held back at the end,
    // is missing from the text when it is written back.
    cut = result.toLocal8Bit().size() != qsizetype(length);
    return result;
}

} // namespace scanify
