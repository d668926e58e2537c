#include "abbyy/engUtilsABBYY9r.h"
#include "common/Recognition9r.h"
#include "common/TSettingsFile.h"
#include "common/engCommon9r.h"
#include "common/PackageFolders.h"
#include "support/LogRecorder.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/time.h>
#include <tuple>

TEST(PackageLifecycle, TableListsTheStartingUnitsInOrder)
{
    const TPackageInfo *table = GetPackageInfoTable();
    ASSERT_NE(table, nullptr);
    QStringList starting;
    for (int i = 0; i < table->UnitCount; ++i)
        if (table->UnitInfo[i].Init)
            starting << table->UnitInfo[i].UnitName;
    EXPECT_EQ(starting, QStringList({"engResample", "engCommon9r", "engUtilsABBYY9r"}));
}

TEST(PackageLifecycle, StartRunsOnceAndStopUndoesItWhenCountersReturn)
{
    EXPECT_EQ(gl_ListAllowedDocuments, nullptr);
    Initialize();
    TOrderedStrings *first = gl_ListAllowedDocuments;
    ASSERT_NE(first, nullptr);
    first->Objects(0)->FIsEnabled = true; // a second start must not rebuild the catalogue
    Initialize();
    EXPECT_EQ(gl_ListAllowedDocuments, first);
    EXPECT_TRUE(gl_ListAllowedDocuments->Objects(0)->FIsEnabled);

    Finalize();
    EXPECT_EQ(gl_ListAllowedDocuments, first); // still started once
    Finalize();
    EXPECT_EQ(gl_ListAllowedDocuments, nullptr);
    EXPECT_EQ(gl_ListAvailableDocuments, nullptr);
    EXPECT_TRUE(gl_sRecognizeIniFileName.isEmpty());
    Finalize(); // a stop without a start does nothing
    EXPECT_EQ(gl_ListAllowedDocuments, nullptr);
}

TEST(PackageLifecycle, StopWithoutFormsLeavesNoEngineAndClearsStrings)
{
    Initialize();
    gl_sScannerName = "x";
    gl_PaperSizeValue = "A4";
    Finalize();
    EXPECT_FALSE(gl_RecognitionEngine);
    EXPECT_FALSE(gl_ScanSettings);
    EXPECT_TRUE(gl_sScannerName.isEmpty());
    EXPECT_TRUE(gl_PaperSizeValue.isEmpty());
}

TEST(PackageLifecycle, FormVariablesAreNullAtLoad)
{
    EXPECT_EQ(ABBYYRecognitionFM, nullptr);
    EXPECT_EQ(CognitiveRecognitionFM, nullptr);
    EXPECT_EQ(DocFromScannerFM, nullptr);
    EXPECT_EQ(PhotoFromCameraFM, nullptr);
}

TEST(PackageLifecycle, StartRemovesTheEnginesPackageFoldersOlderThanTheDaysKept)
{
    const QString data = GetUserDataFolder();
    const auto age = [&](const QString &name, int days) {
        const qint64 when = QDateTime::currentDateTime().addDays(-days).toSecsSinceEpoch();
        const timeval times[2] = {{when, 0}, {when, 0}};
        ASSERT_EQ(::lutimes(QFile::encodeName(data + name).constData(), times), 0) << name.toStdString();
    };
    // The setting (none: no key), and which of the folders 40, 10 and 0 days old stay.
    for (const auto &[setting, left] : {std::pair{"", QStringList{"dss0010", "dss0000"}},
                                        std::pair{"0", QStringList{"dss0040", "dss0010", "dss0000"}},
                                        std::pair{"5", QStringList{"dss0000"}},
                                        std::pair{"-3", QStringList{"dss0040", "dss0010", "dss0000"}},
                                        std::pair{"много", QStringList{"dss0010", "dss0000"}}}) {
        SCOPED_TRACE(setting);
        QDir(data).removeRecursively();
        for (int days : {40, 10, 0}) {
            const QString folder = data + QString("dss%1").arg(days, 4, 10, QChar('0'));
            QDir().mkpath(folder);
            r9test::WriteFile(folder + "/PassportRF.jpg", "jpeg");
        }
        if (*setting) {
            TSettingsFile ini(data + "Recognize.iniu");
            ini.WriteString("RECOGNIZE_INFO", "PackageKeepDays", setting);
            ini.UpdateFile();
        }
        // Old things that are no package folders stay: another name, a file, a link.
        QDir().mkpath(data + "dss00/dssAAAA");
        r9test::WriteFile(data + "dss0002", "x");
        QFile::link(data + "dss00/dssAAAA", data + "dss0001");
        for (const char *name : {"dss0040", "dss00/dssAAAA", "dss00", "dss0002", "dss0001"})
            age(name, 40);
        age("dss0010", 10);
        r9test::LogRecorder log;
        Initialize();
        Finalize();
        EXPECT_EQ(QDir(data).entryList({"dss????"}, QDir::Dirs | QDir::NoSymLinks, QDir::Name | QDir::Reversed), left);
        EXPECT_TRUE(QFileInfo(data + "dss0001/.").isDir() && QFileInfo(data + "dss0002").isFile());
        // One line says how many went; nothing is said when none did.
        const qsizetype removed = 3 - left.size();
        ASSERT_EQ(log.lines.size(), removed ? 1 : 0);
        EXPECT_TRUE(!removed || log.lines[0].endsWith(QString(": %1").arg(removed))) << log.lines.join("").toStdString();
    }
}

TEST(PackageLifecycle, TheCleanUpLineReachesALogTheHostInstallsAfterTheStart)
{
    const QString data = GetUserDataFolder();
    QDir(data).removeRecursively();
    QDir().mkpath(data + "dss00AB");
    const qint64 when = QDateTime::currentDateTime().addDays(-40).toSecsSinceEpoch();
    const timeval times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(::lutimes(QFile::encodeName(data + "dss00AB").constData(), times), 0);
    Initialize(); // no log yet, as the reference host starts the package
    EXPECT_FALSE(QFileInfo::exists(data + "dss00AB"));
    {
        r9test::LogRecorder log;
        ASSERT_EQ(log.lines.size(), 1);
        EXPECT_TRUE(log.lines[0].endsWith(": 1")) << log.lines[0].toStdString();
    }
    r9test::LogRecorder again; // said once, not to every log installed later
    EXPECT_TRUE(again.lines.isEmpty());
    Finalize();
}

TEST(PackageLifecycle, APackageFolderIsRemovedWithoutFollowingALinkPutInItsPlaceOrInIt)
{
    const QString data = GetUserDataFolder();
    QDir(data).removeRecursively();
    QDir().mkpath(data + "outside");
    r9test::WriteFile(data + "outside/PassportRF.jpg", "jpeg");
    QFile::link(data + "outside", data + "dss0001"); // a folder when listed, a link by now
    QDir().mkpath(data + "dss0002/sub");
    r9test::WriteFile(data + "dss0002/sub/PassportRF.jpg", "jpeg");
    QFile::link(data + "outside", data + "dss0002/sub/link");
    // The name, whether it goes, and whether an error is told.
    for (const auto &[name, removed, error] : {std::tuple{"dss0001", false, false}, std::tuple{"dss0002", true, false},
                                               std::tuple{"dss0003", false, true}}) {
        int cause = 0;
        EXPECT_EQ(RemovePackageFolder(data, name, cause), removed) << name;
        EXPECT_EQ(cause != 0, error) << name;
        EXPECT_EQ(QFileInfo::exists(data + name) || QFileInfo(data + name).isSymLink(), !removed && !error) << name;
        EXPECT_TRUE(QFileInfo::exists(data + "outside/PassportRF.jpg")) << name;
    }
}
