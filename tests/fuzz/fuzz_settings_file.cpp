// The settings file as it comes from disk: any bytes. Reading never fails
// and never crashes; what was read survives the package's own write and a
// second read unchanged (the writer and the reader agree on the format).
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "common/TSettingsFile.h"

#include <QFile>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::ScratchFile(QStringLiteral("Recognize.iniu"), data, size);
    const TSettingsFile first(path);
    for (const QString &section : first.Sections())
        for (const QString &key : first.Keys(section)) {
            FUZZ_CHECK(first.ValueExists(section, key));
            first.ReadInteger(section, key, 0);
        }

    first.UpdateFile();
    // A file that did not read is kept aside, byte for byte, before the
    // write; every input leaves at most one copy, so the name stays free.
    const QString backup = path + QStringLiteral(".bad");
    if (QFile::exists(backup)) {
        QFile copy(backup);
        FUZZ_CHECK(copy.open(QIODevice::ReadOnly));
        FUZZ_CHECK(copy.readAll() == QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
        copy.close();
        QFile::remove(backup);
    }
    const TSettingsFile second(path);
    FUZZ_CHECK(second.Sections() == first.Sections());
    FUZZ_CHECK(second.Text() == first.Text());
    return 0;
}
