// The engine's 8-bit configuration files (profile files) as they lie on disk,
// and the package writing keys into them. Input: the file's bytes, then after
// the last 0xFF: section, key and value separated by 0x01. A write either
// raises std::runtime_error (a name or value that would break the file) or
// leaves a file in which the key reads back as written, with every key of
// the file that was read before it unchanged.
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "common/TProfileFile.h"

#include <QByteArray>
#include <QList>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = input.lastIndexOf('\xFF');
    const QByteArray file = split < 0 ? input : input.left(split);
    const QList<QByteArray> parts = split < 0 ? QList<QByteArray>() : input.mid(split + 1).split('\x01');
    const QString path = fuzz::ScratchFile(QStringLiteral("ScApi_270.ini"),
                                           reinterpret_cast<const uint8_t *>(file.constData()), size_t(file.size()));
    const QString section = QString::fromLocal8Bit(parts.value(0, "Main"));
    const QString key = QString::fromLocal8Bit(parts.value(1, "Key"));
    const QString value = QString::fromLocal8Bit(parts.value(2, "1"));

    TProfileFile profile(path);
    // A neighbour that must survive the write untouched.
    const QString before = profile.ReadString(QStringLiteral("Main"), QStringLiteral("Other"), QStringLiteral("<none>"));
    try {
        profile.WriteString(section, key, value);
    } catch (const std::runtime_error &) {
        return 0;
    }
    const TProfileFile again(path);
    QString expected = value.trimmed();
    if (expected.size() >= 2 && expected.startsWith(u'"') && expected.endsWith(u'"'))
        expected = expected.mid(1, expected.size() - 2);
    FUZZ_CHECK(again.ReadString(section, key, QStringLiteral("<none>")) == expected);
    if (section.compare(QStringLiteral("Main"), Qt::CaseInsensitive) != 0
        || key.compare(QStringLiteral("Other"), Qt::CaseInsensitive) != 0)
        FUZZ_CHECK(again.ReadString(QStringLiteral("Main"), QStringLiteral("Other"), QStringLiteral("<none>")) == before);
    return 0;
}
