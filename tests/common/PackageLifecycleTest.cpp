#include "abbyy/engUtilsABBYY9r.h"
#include "common/Recognition9r.h"
#include "common/TSettingsFile.h"
#include "common/engCommon9r.h"
#include "support/LogRecorder.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/time.h>

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

namespace {

/// Makes a folder (or a file) in the data folder look days old.
void Age(const QString &path, int days)
{
    const QDateTime when = QDateTime::currentDateTime().addDays(-days);
    const timeval times[2] = {{when.toSecsSinceEpoch(), 0}, {when.toSecsSinceEpoch(), 0}};
    ASSERT_EQ(::lutimes(QFile::encodeName(path).constData(), times), 0) << path.toStdString();
}

} // namespace

TEST(PackageLifecycle, StartRemovesTheEnginesPackageFoldersOlderThanTheDaysKept)
{
    struct Case
    {
        const char *setting; // null: no key in the settings file
        QStringList left;    // of the package folders 40, 10 and 0 days old
    };
    const QString data = GetUserDataFolder();
    for (const Case &c : {Case{nullptr, {"dss0010", "dss0000"}}, Case{"0", {"dss0040", "dss0010", "dss0000"}},
                          Case{"5", {"dss0000"}}, Case{"-3", {"dss0040", "dss0010", "dss0000"}},
                          Case{"много", {"dss0010", "dss0000"}}}) {
        SCOPED_TRACE(c.setting ? c.setting : "none");
        QDir(data).removeRecursively();
        QDir().mkpath(data);
        if (c.setting) {
            TSettingsFile ini(data + "Recognize.iniu");
            ini.WriteString("RECOGNIZE_INFO", "PackageKeepDays", c.setting);
            ini.UpdateFile();
        }
        // Old things that are no package folders of the engine stay: a file,
        // a folder of another name, a link to an old folder elsewhere.
        QDir().mkpath(data + "other/dssAAAA");
        QFile::link(data + "other/dssAAAA", data + "dss0001");
        r9test::WriteFile(data + "dss0002", "x");
        QDir().mkpath(data + "dss00");
        for (const char *old : {"dss0002", "dss00", "other/dssAAAA", "dss0001"})
            Age(data + old, 40);
        for (int days : {40, 10, 0}) {
            const QString folder = data + QString("dss%1").arg(days, 4, 10, QChar('0'));
            QDir().mkpath(folder);
            r9test::WriteFile(folder + "/PassportRF.jpg", "jpeg");
            Age(folder, days);
        }
        r9test::LogRecorder log;
        Initialize();
        Finalize();
        QStringList left = QDir(data).entryList({"dss????"}, QDir::Dirs | QDir::NoSymLinks, QDir::Name | QDir::Reversed);
        left.removeAll("dss0001");
        EXPECT_EQ(left, c.left);
        for (const char *kept : {"dss0002", "dss00", "other/dssAAAA", "dss0001"})
            EXPECT_TRUE(QFileInfo(data + kept).exists() || QFileInfo(data + kept).isSymLink()) << kept;
        // One line says how many went; nothing is said when none did.
        const qsizetype removed = 3 - c.left.size();
        ASSERT_EQ(log.lines.size(), removed ? 1 : 0) << log.lines.join('\n').toStdString();
        if (removed) {
            EXPECT_TRUE(log.lines[0].contains(QString(": %1").arg(removed))) << log.lines[0].toStdString();
        }
    }
}
