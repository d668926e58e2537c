#include "common/Recognition9r.h"
#include "common/TSettingsFile.h"
#include "common/engCommon9r_p.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray utf16le(const QString &text, bool bom)
{
    QByteArray out;
    if (bom)
        out.append(char(0xFF)).append(char(0xFE));
    for (QChar c : text)
        out.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return out;
}

/// Bytes that are no text in any encoding.
QByteArray garbageBytes()
{
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919) & 0xFF));
    return garbage;
}

QString settingsPath() { return GetUserDataFolder() + "Recognize.iniu"; }

const QString sample = "[RECOGNIZE_INFO]\r\nRecognizePhoto=1\r\nFIOOnLation=1\r\n"
                       "[SCAN_INFO]\r\nScannerName=Сканер №1\r\nScannerIndex=3\r\nBrightnessValue=77\r\n"
                       "SelectScanner=0\r\nPaperSizeValue=A4\r\nOrientValue=abc\r\n";

void expectSampleLoaded()
{
    EXPECT_TRUE(gl_PhotoToAccountData);
    EXPECT_FALSE(gl_DocumentToAccountData);
    EXPECT_TRUE(gl_FIOOnLatin);
    EXPECT_EQ(gl_sScannerName, QString("Сканер №1"));
    EXPECT_EQ(gl_ScannerItemIndex, 3);
    EXPECT_EQ(gl_BrightnessValue, 77);
    EXPECT_FALSE(gl_SelectScanner);
    EXPECT_EQ(gl_PaperSizeValue, QString("A4"));
    EXPECT_EQ(gl_OrientValue, 0); // not a number: the default
    EXPECT_EQ(gl_PaperSizeIndex, -1); // missing: the default
}

void expectDefaults()
{
    EXPECT_FALSE(gl_PhotoToAccountData);
    EXPECT_EQ(gl_ScannerItemIndex, -1);
    EXPECT_EQ(gl_BrightnessValue, 50);
    EXPECT_TRUE(gl_SelectScanner);
    EXPECT_TRUE(gl_sScannerName.isEmpty());
}

} // namespace

TEST(SettingsFile, ReadsUtf16WithAndWithoutByteOrderMark)
{
    for (bool bom : {true, false}) {
        SCOPED_TRACE(bom ? "with BOM" : "without BOM");
        r9test::WriteFile(settingsPath(), utf16le(sample, bom));
        Initialize();
        expectSampleLoaded();
        Finalize();
    }
}

TEST(SettingsFile, UnreadableFilesGiveDefaultsAndAreNotRewrittenAtStart)
{
    const struct { const char *what; QByteArray bytes; } cases[] = {
        {"UTF-8 text", sample.toUtf8()},
        {"binary garbage", garbageBytes()},
        {"huge", QByteArray(TSettingsFile::MaxFileSize + 10, 'x')},
        {"empty", QByteArray()},
        {"single byte", QByteArray("\xFF")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        r9test::WriteFile(settingsPath(), c.bytes);
        Initialize();
        expectDefaults();
        Finalize();
        EXPECT_EQ(r9test::ReadFile(settingsPath()), c.bytes);
    }
}

TEST(SettingsFile, UnreadableFileIsKeptAsideBeforeItIsWrittenOver)
{
    const QString dir = r9test::TestHome() + "/aside";
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString path = dir + "/Recognize.iniu";
    const QByteArray garbage = garbageBytes();
    const struct { const char *what; QByteArray bytes; } cases[] = {
        {"UTF-8 text", sample.toUtf8()},
        {"binary garbage", garbage},
        {"too large", QByteArray(TSettingsFile::MaxFileSize + 10, 'x')},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QDir(dir).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(dir));
        r9test::WriteFile(path, c.bytes);
        TSettingsFile ini(path);
        ini.WriteInteger("SCAN_INFO", "ScannerIndex", 2);
        ini.UpdateFile();
        EXPECT_EQ(r9test::ReadFile(path + ".bad"), c.bytes) << "what could not be read is kept";
        EXPECT_EQ(TSettingsFile(path).ReadInteger("SCAN_INFO", "ScannerIndex", 0), 2);
        // Written once, the file reads: later writes keep no more copies.
        ini.WriteInteger("SCAN_INFO", "ScannerIndex", 3);
        ini.UpdateFile();
        TSettingsFile again(path);
        again.UpdateFile();
        EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList({"Recognize.iniu", "Recognize.iniu.bad"}));

        // A second unreadable file does not replace the first copy.
        r9test::WriteFile(path, c.bytes + "2");
        TSettingsFile second(path);
        second.UpdateFile();
        EXPECT_EQ(r9test::ReadFile(path + ".bad"), c.bytes);
        const QStringList copies = QDir(dir).entryList({"Recognize.iniu.bad-*"}, QDir::Files);
        ASSERT_EQ(copies.size(), 1) << copies.join(' ').toStdString();
        EXPECT_EQ(r9test::ReadFile(dir + "/" + copies[0]), c.bytes + "2");

        // Unreadable files in quick succession (within one millisecond, as
        // the fuzzer found) each get a copy of their own and are written.
        for (int n = 3; n < 8; ++n) {
            const QByteArray bytes = c.bytes + QByteArray::number(n);
            r9test::WriteFile(path, bytes);
            TSettingsFile next(path);
            ASSERT_NO_THROW(next.UpdateFile());
        }
        const QStringList all = QDir(dir).entryList({"Recognize.iniu.bad*"}, QDir::Files);
        EXPECT_EQ(all.size(), 7) << all.join(' ').toStdString();
    }

    // Files that read, an empty one and one of comments alone keep no copy.
    for (const QByteArray &bytes : {utf16le(sample, true), QByteArray(), utf16le(";note\r\n", true)}) {
        QDir(dir).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(dir));
        r9test::WriteFile(path, bytes);
        TSettingsFile(path).UpdateFile();
        EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList({"Recognize.iniu"}));
    }

    // Replaced by a good file before the write: nothing to keep aside.
    QDir(dir).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(dir));
    r9test::WriteFile(path, garbage);
    TSettingsFile stale(path);
    r9test::WriteFile(path, utf16le(sample, true));
    stale.UpdateFile();
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList({"Recognize.iniu"}));
}

TEST(SettingsFile, TruncatedFileKeepsWhatCanBeRead)
{
    // Cut in the middle of the last line and at an odd byte.
    QByteArray bytes = utf16le(sample, true);
    bytes.chop(11);
    r9test::WriteFile(settingsPath(), bytes);
    Initialize();
    EXPECT_TRUE(gl_PhotoToAccountData);
    EXPECT_EQ(gl_ScannerItemIndex, 3);
    EXPECT_EQ(gl_BrightnessValue, 77);
    Finalize();
}

TEST(SettingsFile, KeepsOrderAndWritesUtf16LeWithBom)
{
    const QString path = r9test::TestHome() + "/order.iniu";
    r9test::WriteFile(path, utf16le("[B]\r\nz=1\r\na=2\r\n[A]\r\nk=v\r\n", false));
    TSettingsFile ini(path);
    EXPECT_EQ(ini.Sections(), QStringList({"B", "A"}));
    EXPECT_EQ(ini.Keys("b"), QStringList({"z", "a"}));
    ini.WriteInteger("B", "m", -5);
    ini.WriteBool("C", "flag", true);
    ini.WriteString("A", "k", "значение");
    ini.UpdateFile();

    const QByteArray bytes = r9test::ReadFile(path);
    ASSERT_GE(bytes.size(), 2);
    EXPECT_EQ(uchar(bytes[0]), 0xFF);
    EXPECT_EQ(uchar(bytes[1]), 0xFE);
    TSettingsFile back(path);
    EXPECT_EQ(back.Sections(), QStringList({"B", "A", "C"}));
    EXPECT_EQ(back.Keys("B"), QStringList({"z", "a", "m"}));
    EXPECT_EQ(back.ReadInteger("B", "m", 0), -5);
    EXPECT_TRUE(back.ReadBool("C", "flag", false));
    EXPECT_EQ(back.ReadString("C", "flag", ""), QString("1"));
    EXPECT_EQ(back.ReadString("A", "k", ""), QString("значение"));
    EXPECT_EQ(back.ReadString("A", "missing", "def"), QString("def"));
}

TEST(SettingsFile, PackageWrittenFileReadsBackAtNextStart)
{
    Initialize();
    WithRecognizeIniFile([](TSettingsFile &ini) {
        ini.WriteBool("RECOGNIZE_INFO", "RecognizeDocument", true);
        ini.WriteInteger("SCAN_INFO", "RotationIndex", 2);
        ini.WriteString("SCAN_INFO", "PaperSizeValue", "Letter");
        ini.UpdateFile();
    });
    EXPECT_EQ(gl_RecognizeIniFile, nullptr);
    Finalize();
    Initialize();
    EXPECT_TRUE(gl_DocumentToAccountData);
    EXPECT_EQ(gl_RotationIndex, 2);
    EXPECT_EQ(gl_PaperSizeValue, QString("Letter"));
    Finalize();
}

TEST(SettingsFile, FailedWriteLeavesThePreviousFileAndIsReported)
{
    // The target is a folder's name occupied by a folder: the rename cannot
    // replace it. A failure is reported and nothing else changes.
    const QString dir = r9test::TestHome() + "/settings";
    QDir().mkpath(dir + "/Recognize.iniu");
    TSettingsFile blocked(dir + "/Recognize.iniu");
    blocked.WriteInteger("S", "k", 1);
    EXPECT_THROW(blocked.UpdateFile(), std::runtime_error);

    const QString path = r9test::TestHome() + "/keep.iniu";
    const QByteArray before = utf16le("[S]\r\nk=7\r\n", true);
    r9test::WriteFile(path, before);
    TSettingsFile ini(path);
    ini.WriteInteger("S", "k", 8);
    // A full or unwritable folder: simulated by removing write permission
    // where that works, and by a missing folder otherwise.
    TSettingsFile missingFolder(r9test::TestHome() + "/no/such/folder/x.iniu");
    EXPECT_THROW(missingFolder.UpdateFile(), std::runtime_error);
    EXPECT_EQ(r9test::ReadFile(path), before);
    EXPECT_TRUE(QDir(r9test::TestHome()).entryList({"*.tmp*", "keep.iniu.*"}, QDir::Files).isEmpty());
}

TEST(SettingsFile, FileObjectIsFreedWhenTheWorkFails)
{
    Initialize();
    EXPECT_THROW(WithRecognizeIniFile([](TSettingsFile &) { throw std::runtime_error("boom"); }),
                 std::runtime_error);
    EXPECT_EQ(gl_RecognizeIniFile, nullptr);
    Finalize();
}

TEST(SettingsFile, AnyValueReadsBackExactlyAsWritten)
{
    const QString path = r9test::TestHome() + "/values.iniu";
    QFile::remove(path);
    const std::pair<const char *, QString> values[] = {
        {"injection", "Line1\nInjected=1"},
        {"crlf", "a\r\n[SECTION]\r\nb"},
        {"padded", "  blanks around  "},
        {"tab", "\tx\t"},
        {"quoted", "\"in quotes\""},
        {"escapes", "C:\\path\\\"n\"\\n"},
        {"control", QString("a") + QChar(1) + QChar(0x7F) + "b"},
        {"empty", ""},
        {"plain", "Сканер №1 = A4; \"x\""},
    };
    TSettingsFile ini(path);
    for (const auto &[key, value] : values)
        ini.WriteString("S", key, value);
    ini.UpdateFile();

    TSettingsFile back(path);
    QStringList keys;
    for (const auto &[key, value] : values) {
        keys << key;
        EXPECT_EQ(back.ReadString("S", key, "<missing>"), value) << key;
    }
    EXPECT_EQ(back.Keys("S"), keys) << "no key or section slipped in";
    EXPECT_EQ(back.Sections(), QStringList({"S"}));

    // Written again unchanged, it reads the same.
    back.UpdateFile();
    TSettingsFile again(path);
    for (const auto &[key, value] : values)
        EXPECT_EQ(again.ReadString("S", key, "<missing>"), value) << key;
}

TEST(SettingsFile, FilesOfTheOldFormReadAsBefore)
{
    // Values that look quoted or escaped mean nothing in a file without the mark.
    const QString old = "[S]\r\nquoted=\"x\"\r\nslash=a\\nb\r\nlead=  x\r\nopen=\"y\r\n"
                        "paper=A4\r\nname=Сканер \"Б\"\r\n";
    const QString path = r9test::TestHome() + "/old.iniu";
    r9test::WriteFile(path, utf16le(old, true));
    TSettingsFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "quoted", ""), QString("\"x\""));
    EXPECT_EQ(ini.ReadString("S", "slash", ""), QString("a\\nb"));
    EXPECT_EQ(ini.ReadString("S", "lead", ""), QString("  x"));
    EXPECT_EQ(ini.ReadString("S", "open", ""), QString("\"y"));
    EXPECT_EQ(ini.ReadString("S", "name", ""), QString("Сканер \"Б\""));

    // Rewritten, it reads the same values again.
    ini.UpdateFile();
    TSettingsFile back(path);
    for (const char *key : {"quoted", "slash", "lead", "open", "paper", "name"})
        EXPECT_EQ(back.ReadString("S", key, "<missing>"), ini.ReadString("S", key, "")) << key;

    // A file whose values need no quotes is written exactly in the old form.
    const QString plain = "[RECOGNIZE_INFO]\r\nRecognizePhoto=1\r\n\r\n[SCAN_INFO]\r\nPaperSizeValue=A4\r\n\r\n";
    r9test::WriteFile(path, utf16le(plain, true));
    TSettingsFile same(path);
    same.UpdateFile();
    EXPECT_EQ(r9test::ReadFile(path), utf16le(plain, true));
}
