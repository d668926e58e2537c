// How a double or an engine in its specimen mode reads its settings file and
// its environment: the rules the files beside them are written by.

#include "FaultSwitches.h"
#include "SettingsFile.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using doubles::SettingsFile;
using r9test::EnvSwitch;

TEST(DoublesSettings, NamesIgnoreCaseValuesLoseBlanksAndOnePairOfQuotes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ScProxy.Ini"));
    r9test::WriteFile(path, "; remark\r\n[Specimens]\r\n  Folder = \"my pages\" \r\nfeed=a-*; B-UPRIGHT\r\n"
                            ";Feed=remarked\r\nFeed=second\r\n[faults]\r\nActive=\"\"init\"\"\r\n");
    const SettingsFile file(path);
    EXPECT_EQ(file.Value("specimens", "FOLDER"), QStringLiteral("my pages"));
    EXPECT_EQ(file.Value("Specimens", "Feed"), QStringLiteral("a-*; B-UPRIGHT"));
    EXPECT_EQ(file.Value("Faults", "active"), QStringLiteral("\"init\""));
    EXPECT_EQ(file.Value("Dialogs", "TwainDialog"), QString());
    EXPECT_EQ(SettingsFile(dir.filePath(QStringLiteral("missing.ini"))).Value("Specimens", "Folder"), QString());
}

TEST(DoublesSettings, TheEnvironmentWinsUnlessBlankAndFaultSwitchesAddUp)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("passportreader.ini"));
    r9test::WriteFile(path, "[recognition]\nlog=file.log\n[faults]\nactive=scan, saveto\n");
    const SettingsFile file(path);
    {
        EnvSwitch log("R9_TEST_LOG", " other.log ");
        EXPECT_EQ(file.Setting("R9_TEST_LOG", "recognition", "log"), QStringLiteral("other.log"));
    }
    EnvSwitch blank("R9_TEST_LOG", " ");
    EXPECT_EQ(file.Setting("R9_TEST_LOG", "recognition", "log"), QStringLiteral("file.log"));
    EnvSwitch faults("R9_TEST_FAULTS", "Init;SCAN");
    EXPECT_EQ(file.FaultSwitches("R9_TEST_FAULTS", "faults", "active"), (QStringList{"init", "scan", "saveto"}));
}

TEST(DoublesSettings, AListKeepsItsItemsAsWritten)
{
    EXPECT_EQ(doubles::SplitList(QStringLiteral(" 08-*,a-*;\tB-UPRIGHT a-* ")),
              (QStringList{"08-*", "a-*", "B-UPRIGHT", "a-*"}));
}
