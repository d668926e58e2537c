#include "common/Recognition9r.h"
#include "common/engCommon9r.h"
#include "common/TSettingsFile.h"

#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

struct Started
{
    Started() { Initialize(); }
    ~Started() { Finalize(); }
};

struct Row
{
    const char *id;
    const char *name;
    const char *shortName;
    TTypeDocument type;
};

const Row expected[] = {
    {"Passport_RU", "РФ: паспорт", "Паспорт", tdPassport},
    {"ForeignPassport_RU", "РФ: загранпаспорт", "Загранпаспорт", tdForeignPassport},
    {"DriverLicense_RU", "РФ: водительское удостоверение ", "Водительское удостоверение", tdDriverLicense},
    {"ForeignPassport_MRZ", "Загранпаспорт с машиночитаемой зоной", "Загранпаспорт", tdMRZDocument},
    {"ForeignPassport_AZ", "Азербайджан: загранпаспорт", "Загранпаспорт", tdForeignPassport},
    {"ID_AZ", "Азербайджан: удостоверение личности", "Удостоверение личности", tdIdentificationCard},
    {"Passport_BY", "Белоруссия: паспорт", "Паспорт", tdPassport},
    {"ForeignPassport_BY", "Белоруссия: загранпаспорт", "Загранпаспорт", tdForeignPassport},
    {"ForeignPassport_KZ", "Казахстан: загранпаспорт", "Загранпаспорт", tdForeignPassport},
    {"ID_KZ", "Казахстан: удостоверение личности", "Удостоверение личности", tdIdentificationCard},
    {"DriverLicense_KZ", "Казахстан: водительское удостоверение", "Водительское удостоверение", tdDriverLicense},
    {"ID_KG", "Киргизия: удостоверение личности", "Удостоверение личности", tdIdentificationCard},
    {"DriverLicense_KG", "Киргизия: водительское удостоверение", "Водительское удостоверение", tdDriverLicense},
    {"Passport_TJ", "Таджикистан: паспорт", "Паспорт", tdPassport},
    {"ForeignPassport_TJ", "Таджикистан: загранпаспорт", "Загранпаспорт", tdForeignPassport},
    {"Passport_UZ", "Узбекистан: паспорт", "Паспорт", tdPassport},
    {"ForeignPassport_UZ", "Узбекистан: загранпаспорт", "Загранпаспорт", tdForeignPassport},
    {"DriverLicense_UZ", "Узбекистан: водительское удостоверение", "Водительское удостоверение", tdDriverLicense},
    {"ForeignPassport_UA", "Украина: загранпаспорт", "Загранпаспорт", tdForeignPassport},
};

} // namespace

TEST(Catalogue, NineteenEntriesInOrderWithTheirTextsKindsAndFlags)
{
    Started started;
    ASSERT_NE(gl_ListAllowedDocuments, nullptr);
    ASSERT_EQ(gl_ListAllowedDocuments->Count(), 19);
    for (int i = 0; i < 19; ++i) {
        SCOPED_TRACE(expected[i].id);
        const TDocumentInfo *info = gl_ListAllowedDocuments->Objects(i);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(gl_ListAllowedDocuments->Strings(i),
                  QString::fromUtf8(expected[i].id) + "=" + QString::fromUtf8(expected[i].name));
        EXPECT_EQ(info->FIdentifier, QString::fromUtf8(expected[i].id));
        EXPECT_EQ(info->FDocName, QString::fromUtf8(expected[i].name));
        EXPECT_EQ(info->FShortDocName, QString::fromUtf8(expected[i].shortName));
        EXPECT_TRUE(info->FCountryNation.isEmpty());
        EXPECT_EQ(info->FTypeDocument, expected[i].type);
        EXPECT_EQ(info->FIsEnabled, QString::fromUtf8(expected[i].id) == "Passport_BY");
    }
    ASSERT_NE(gl_ListAvailableDocuments, nullptr);
    EXPECT_EQ(gl_ListAvailableDocuments->Count(), 0);
}

TEST(Catalogue, LookupByNameFindsTheEntryAndItsObject)
{
    Started started;
    const int i = gl_ListAllowedDocuments->IndexOfName("ID_KZ");
    ASSERT_EQ(i, 9); // the tenth entry
    const TDocumentInfo *info = gl_ListAllowedDocuments->Objects(i);
    EXPECT_EQ(info->FTypeDocument, tdIdentificationCard);
    EXPECT_EQ(info->FShortDocName, QString("Удостоверение личности"));
    EXPECT_TRUE(info->FCountryNation.isEmpty());
    EXPECT_EQ(gl_ListAllowedDocuments->Values("ID_KZ"), QString("Казахстан: удостоверение личности"));
    EXPECT_EQ(gl_ListAllowedDocuments->IndexOfName("ID_K"), -1);
    EXPECT_EQ(gl_ListAllowedDocuments->IndexOfName("Nope"), -1);
}

TEST(Catalogue, DefaultsWithoutSettingsFile)
{
    Started started;
    EXPECT_FALSE(gl_Protocol);
    EXPECT_FALSE(gl_PhotoToAccountData);
    EXPECT_FALSE(gl_DocumentToAccountData);
    EXPECT_FALSE(gl_FIOOnLatin);
    EXPECT_TRUE(gl_sScannerName.isEmpty());
    EXPECT_EQ(gl_ScannerItemIndex, -1);
    EXPECT_FALSE(gl_ShowTwainSupported);
    EXPECT_FALSE(gl_TwainDialogNeed);
    EXPECT_TRUE(gl_SelectScanner);
    EXPECT_FALSE(gl_BrightnessSupported);
    EXPECT_EQ(gl_BrightnessValue, 50);
    EXPECT_FALSE(gl_OrientSupported);
    EXPECT_EQ(gl_OrientValue, 0);
    EXPECT_FALSE(gl_PaperSizeSupported);
    EXPECT_EQ(gl_PaperSizeIndex, -1);
    EXPECT_TRUE(gl_PaperSizeValue.isEmpty());
    EXPECT_FALSE(gl_ColorModeSupported);
    EXPECT_EQ(gl_ColorModeValue, 0);
    EXPECT_EQ(gl_RotationIndex, 0);
    EXPECT_EQ(gl_PackageKeepDays, 30);
    EXPECT_EQ(gl_RecognizeIniFile, nullptr);
    EXPECT_EQ(gl_sRecognizeIniFileName, GetUserDataFolder() + "Recognize.iniu");
}

TEST(Catalogue, OwnedListFreesObjectsItStillHolds)
{
    // Objects flipped or replaced in between are freed exactly once: the
    // package's stop nulls each slot after freeing, the list frees the rest.
    TOrderedStrings list(true);
    list.AddObject("A=1", new TDocumentInfo("A", "1", "1", "", tdPassport, false));
    list.AddObject("B=2", new TDocumentInfo("B", "2", "2", "", tdPassport, false));
    delete list.Objects(0);
    list.SetObject(0, nullptr);
    list.Clear(); // under the sanitizers a double free would fail here
    EXPECT_EQ(list.Count(), 0);
}

TEST(DataFolder, FollowsXdgConfigHomeThenHome)
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    EXPECT_EQ(GetUserDataFolder(), xdg + "/Velmar-Q-70/");
    EXPECT_TRUE(QDir(xdg + "/Velmar-Q-70").exists());

    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(GetUserDataFolder(), qEnvironmentVariable("HOME") + "/.config/Velmar-Q-70/");
    qputenv("XDG_CONFIG_HOME", saved);
}

TEST(DataFolder, UncreatableFolderGivesEmptyNameAndBareSettingsFile)
{
    // A regular file where a folder should be: no one, not even root, can
    // create the data folder under it.
    const QString blocker = qEnvironmentVariable("HOME") + "/not-a-folder";
    r9test::WriteFile(blocker, "x");
    qputenv("XDG_CONFIG_HOME", (blocker + "/cfg").toLocal8Bit());
    EXPECT_EQ(GetUserDataFolder(), QString());
    Started started;
    EXPECT_EQ(gl_sRecognizeIniFileName, QString("Recognize.iniu"));
    EXPECT_EQ(gl_ListAllowedDocuments->Count(), 19);
}
