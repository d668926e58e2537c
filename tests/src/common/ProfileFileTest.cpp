// The 8-bit profile file writer: where sections and keys go, what stays.
#include "common/TProfileFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
#include <stdexcept>

namespace {

class ProfileFile : public testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("engine.ini"));
};

TEST_F(ProfileFile, SectionsAppendAtTheEndKeysAtTheEndOfTheirSectionExistingKeysInPlace)
{
    TProfileFile ini(path);
    ini.WriteInteger(QStringLiteral("First"), QStringLiteral("A"), 1);
    ini.WriteString(QStringLiteral("Second"), QStringLiteral("B"), QStringLiteral("two words"));
    ini.WriteInteger(QStringLiteral("First"), QStringLiteral("C"), -3);
    ini.WriteString(QStringLiteral("first"), QStringLiteral("a"), QStringLiteral("10"));
    EXPECT_EQ(r9test::ReadFile(path), QByteArray("[First]\r\nA=10\r\nC=-3\r\n[Second]\r\nB=two words\r\n"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("FIRST"), QStringLiteral("c"), 0), -3);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Second"), QStringLiteral("B"), QString()), QStringLiteral("two words"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Second"), QStringLiteral("Z"), QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Second"), QStringLiteral("B"), 7), 7);
}

TEST_F(ProfileFile, KeepsForeignLinesCommentsAndBlankLinesOfAFileWrittenElsewhere)
{
    r9test::WriteFile(path, "; engine settings\n[Scan]\nShowTWAIN = 1\nMode=\"a b\"\n\n[Other]\nx=1\n");
    TProfileFile ini(path);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Scan"), QStringLiteral("ShowTWAIN"), 0), 1);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Scan"), QStringLiteral("Mode"), QString()), QStringLiteral("a b"));
    ini.WriteInteger(QStringLiteral("Scan"), QStringLiteral("ShowTWAIN"), 0);
    ini.WriteString(QStringLiteral("Scan"), QStringLiteral("New"), QStringLiteral("Значение"));
    EXPECT_EQ(r9test::ReadFile(path),
              QByteArray("; engine settings\r\n[Scan]\r\nShowTWAIN=0\r\nMode=\"a b\"\r\nNew=") +
                  QStringLiteral("Значение").toLocal8Bit() + QByteArray("\r\n\r\n[Other]\r\nx=1\r\n"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Scan"), QStringLiteral("New"), QString()), QStringLiteral("Значение"));
}

TEST_F(ProfileFile, RefusesWhatWouldBreakTheFileAndLeavesItAsItWas)
{
    TProfileFile ini(path);
    ini.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 1);
    const QByteArray before = r9test::ReadFile(path);
    EXPECT_THROW(ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("two\r\nlines")), std::runtime_error);
    EXPECT_THROW(ini.WriteString(QStringLiteral("S]"), QStringLiteral("K"), QStringLiteral("v")), std::runtime_error);
    EXPECT_THROW(ini.WriteString(QStringLiteral("S"), QStringLiteral("K=2"), QStringLiteral("v")), std::runtime_error);
    EXPECT_THROW(ini.WriteString(QStringLiteral("S"), QString(), QStringLiteral("v")), std::runtime_error);
    EXPECT_THROW(ini.WriteString(QStringLiteral("S"), QStringLiteral(";v"), QStringLiteral("v")), std::runtime_error);
    EXPECT_EQ(r9test::ReadFile(path), before);

    // Too large to be a profile file: neither read nor replaced.
    const QByteArray huge(int(TProfileFile::MaxFileSize) + 1, 'x');
    r9test::WriteFile(path, huge);
    EXPECT_THROW(ini.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 2), std::runtime_error);
    EXPECT_EQ(r9test::ReadFile(path).size(), huge.size());
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 9), 9);
}

TEST_F(ProfileFile, AFileThatCannotBeWrittenRaisesAndLeavesNoPartialFile)
{
    // A folder in the file's place cannot be replaced, even by root.
    QDir(dir.path()).mkdir(QStringLiteral("engine.ini"));
    TProfileFile ini(path);
    EXPECT_THROW(ini.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 1), std::runtime_error);
    TProfileFile nowhere(dir.filePath(QStringLiteral("missing/engine.ini")));
    EXPECT_THROW(nowhere.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 1), std::runtime_error);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

} // namespace

namespace {

TEST_F(ProfileFile, FailuresAreToldInRussianWithTheFileName)
{
    // These texts reach the operator through the engine's loading.
    const auto failure = [](const std::function<void()> &work) {
        try {
            work();
        } catch (const std::runtime_error &e) {
            return QString::fromUtf8(e.what());
        }
        return QStringLiteral("<no failure>");
    };
    const QString folderInPlace = dir.filePath(QStringLiteral("engine.ini"));
    QDir(dir.path()).mkdir(QStringLiteral("engine.ini"));
    TProfileFile unreadable(folderInPlace);
    EXPECT_TRUE(failure([&] { unreadable.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 1); })
                    .startsWith(QStringLiteral("Не удалось прочитать файл настроек \"%1\": ").arg(folderInPlace)));

    const QString nowherePath = dir.filePath(QStringLiteral("missing/engine.ini"));
    TProfileFile nowhere(nowherePath);
    EXPECT_TRUE(failure([&] { nowhere.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 1); })
                    .startsWith(QStringLiteral("Не удалось записать файл настроек \"%1\": ").arg(nowherePath)));

    const QString hugePath = dir.filePath(QStringLiteral("huge.ini"));
    r9test::WriteFile(hugePath, QByteArray(int(TProfileFile::MaxFileSize) + 1, 'x'));
    TProfileFile huge(hugePath);
    EXPECT_EQ(failure([&] { huge.WriteInteger(QStringLiteral("S"), QStringLiteral("K"), 1); }),
              QStringLiteral("Файл настроек \"%1\" слишком велик.").arg(hugePath));

    TProfileFile ini(dir.filePath(QStringLiteral("names.ini")));
    EXPECT_EQ(failure([&] { ini.WriteInteger(QStringLiteral("S]"), QStringLiteral("K"), 1); }),
              QStringLiteral("Недопустимое имя секции \"S]\" в файле настроек."));
    EXPECT_EQ(failure([&] { ini.WriteInteger(QStringLiteral("S"), QStringLiteral(" K"), 1); }),
              QStringLiteral("Недопустимое имя ключа \" K\" в файле настроек."));
    EXPECT_EQ(failure([&] { ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("a\nb")); }),
              QStringLiteral("Значение в файле настроек не может содержать перевод строки: \"a\nb\"."));
}

TEST_F(ProfileFile, AnUpdateCollectsWritesAndReplacesTheFileOnceAtItsEnd)
{
    r9test::WriteFile(path, "[Keep]\r\nk=1\r\n");
    {
        TProfileFile ini(path);
        ini.BeginUpdate();
        ini.WriteInteger(QStringLiteral("New"), QStringLiteral("A"), 1);
        ini.WriteInteger(QStringLiteral("Keep"), QStringLiteral("k"), 2);
        EXPECT_EQ(ini.ReadInteger(QStringLiteral("Keep"), QStringLiteral("K"), 0), 2);
        EXPECT_EQ(r9test::ReadFile(path), QByteArray("[Keep]\r\nk=1\r\n"));
        ini.EndUpdate();
    }
    EXPECT_EQ(r9test::ReadFile(path), QByteArray("[Keep]\r\nk=2\r\n[New]\r\nA=1\r\n"));

    // An update that never ends leaves the file as it was.
    {
        TProfileFile ini(path);
        ini.BeginUpdate();
        ini.WriteInteger(QStringLiteral("New"), QStringLiteral("A"), 3);
    }
    EXPECT_EQ(r9test::ReadFile(path), QByteArray("[Keep]\r\nk=2\r\n[New]\r\nA=1\r\n"));
}

} // namespace
