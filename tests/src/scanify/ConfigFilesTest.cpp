// The engine's configuration files against hand-written copies of their
// content.
#include "common/PackageFiles.h"
#include "common/TProfileFile.h"
#include "common/engCommon9r.h"
#include "scanify/engUtilsScanify9r.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

QByteArray golden(const char *name)
{
    const QByteArray bytes = r9test::ReadFile(QStringLiteral(R9_SCANIFY_GOLDEN_DIR "/") + QLatin1String(name));
    EXPECT_FALSE(bytes.isEmpty()) << name;
    return bytes;
}

class ScanifyConfigFiles : public testing::Test
{
protected:
    QString folder = GetUserDataFolder();
    QString file270 = folder + QStringLiteral("ScApi_270.Ini");
    QString file90 = folder + QStringLiteral("ScApi_90.Ini");
};

TEST_F(ScanifyConfigFiles, BothMissingBothWrittenByteForByte)
{
    ASSERT_FALSE(folder.isEmpty());
    CreateScApiIniFile();
    EXPECT_EQ(r9test::ReadFile(file270), golden("ScApi_270.Ini"));
    EXPECT_EQ(r9test::ReadFile(file90), golden("ScApi_90.Ini"));
    EXPECT_EQ(gl_sScApiIniFile, nullptr);
}

TEST_F(ScanifyConfigFiles, TheTurnFileIsWrittenFirstAndAFailedWriteRaisesAndReleasesTheFileObject)
{
    // A folder where "ScApi_90.Ini" belongs cannot be written over.
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("ScApi_90.Ini")));
    EXPECT_THROW(CreateScApiIniFile(), std::runtime_error);
    EXPECT_EQ(r9test::ReadFile(file270), golden("ScApi_270.Ini"));
    EXPECT_EQ(gl_sScApiIniFile, nullptr);
}

TEST_F(ScanifyConfigFiles, AnExistingFileIsNeverTouchedWhateverTheCaseOfItsName)
{
    // A complete file with the operator's own turn.
    const QByteArray operatorEdit = golden("ScApi_270.Ini").replace("ZoneProcessingParam=270", "ZoneProcessingParam=180");
    ASSERT_NE(operatorEdit, golden("ScApi_270.Ini"));
    r9test::WriteFile(folder + QStringLiteral("scapi_270.ini"), operatorEdit);
    CreateScApiIniFile();
    EXPECT_EQ(r9test::ReadFile(folder + QStringLiteral("scapi_270.ini")), operatorEdit);
    EXPECT_FALSE(QFileInfo::exists(file270));
    EXPECT_EQ(r9test::ReadFile(file90), golden("ScApi_90.Ini"));

    // Only the missing one is written on the next load.
    const QByteArray edited90 = r9test::ReadFile(file90) + "; kept\r\n";
    r9test::WriteFile(file90, edited90);
    QFile::remove(folder + QStringLiteral("scapi_270.ini"));
    CreateScApiIniFile();
    EXPECT_EQ(r9test::ReadFile(file270), golden("ScApi_270.Ini"));
    EXPECT_EQ(r9test::ReadFile(file90), edited90);
}

TEST_F(ScanifyConfigFiles, ADataFolderThatCannotBeCreatedRaises)
{
    const QString blocker = r9test::TestHome() + QStringLiteral("/not-a-folder");
    r9test::WriteFile(blocker, "x");
    qputenv("XDG_CONFIG_HOME", blocker.toLocal8Bit());
    EXPECT_THROW(CreateScApiIniFile(), std::runtime_error);
}

TEST_F(ScanifyConfigFiles, TheTwainDialogChoiceRewritesOnlyItsKeyInPlace)
{
    CreateScApiIniFile();
    for (const QString &name : {QStringLiteral("ScApi_90.ini"), QStringLiteral("ScApi_270.ini")}) {
        TProfileFile ini(PackageFilePath(folder, name));
        ini.WriteInteger(QStringLiteral("ScanAllDocuments"), QStringLiteral("ShowTWAIN"), 1);
    }
    for (const char *name : {"ScApi_270.Ini", "ScApi_90.Ini"}) {
        QByteArray expected = golden(name);
        const qsizetype section = expected.indexOf("[ScanAllDocuments]\r\nShowTWAIN=0");
        ASSERT_GE(section, 0);
        expected.replace(section, 31, "[ScanAllDocuments]\r\nShowTWAIN=1");
        EXPECT_EQ(r9test::ReadFile(folder + QLatin1String(name)), expected) << name;
    }
}

} // namespace
