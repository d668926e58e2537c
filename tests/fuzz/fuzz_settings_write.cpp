// Texts from outside that the package stores in the settings file (the
// scanner's name and paper size come from the engine, the rest from the
// operator's choices). Input: up to four values separated by 0xFF bytes,
// UTF-8. Each is written under its key into a file that already holds other
// settings; after the write and a fresh read every other setting is intact
// and each written value reads back exactly as written (line breaks, blanks,
// quotes and control characters included).
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "common/TSettingsFile.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <cstddef>
#include <cstdint>

namespace {

const char *const kKeys[] = {"ScannerName", "PaperSizeValue", "BrightnessValue", "ScannerIndex"};

/// The file the values are written into: settings of the package and of others.
void WriteExisting(const QString &path)
{
    QFile::remove(path);
    TSettingsFile ini(path);
    ini.WriteString("SCAN_INFO", "TwainDialogNeed", "1");
    ini.WriteString("SCAN_INFO", "ScannerName", "old");
    ini.WriteString("RECOGNIZE_INFO", "RecognizePhoto", "1");
    ini.WriteString("RECOGNIZE_INFO", "FIOOnLation", "0");
    ini.WriteString("ScanForm", "ScanFormTop", "10");
    ini.UpdateFile();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> parts = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)).split('\xFF');
    const QString path = fuzz::ScratchFolder() + QStringLiteral("/Recognize.iniu");
    WriteExisting(path);
    TSettingsFile ini(path);
    const int n = int(std::min<qsizetype>(parts.size(), std::size(kKeys)));
    for (int i = 0; i < n; ++i)
        ini.WriteString(QStringLiteral("SCAN_INFO"), QString::fromLatin1(kKeys[i]), QString::fromUtf8(parts[i]));
    ini.UpdateFile();

    const TSettingsFile again(path);
    FUZZ_CHECK(again.Sections() == QStringList({"SCAN_INFO", "RECOGNIZE_INFO", "ScanForm"}));
    FUZZ_CHECK(again.ReadString("SCAN_INFO", "TwainDialogNeed", "") == "1");
    FUZZ_CHECK(again.ReadString("RECOGNIZE_INFO", "RecognizePhoto", "") == "1");
    FUZZ_CHECK(again.ReadString("RECOGNIZE_INFO", "FIOOnLation", "") == "0");
    FUZZ_CHECK(again.ReadString("ScanForm", "ScanFormTop", "") == "10");
    FUZZ_CHECK(again.Keys("RECOGNIZE_INFO").size() == 2 && again.Keys("ScanForm").size() == 1);
    for (int i = 0; i < n; ++i)
        FUZZ_CHECK(again.ReadString("SCAN_INFO", QString::fromLatin1(kKeys[i]), "<none>") == QString::fromUtf8(parts[i]));
    return 0;
}
