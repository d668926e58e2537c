// The session without acquisition: identity, loading, the opening and
// closing steps, calls through the entry, condition codes, availability and
// the error record.
#include "TwainFixture.h"

#include <QApplication>
#include <QWidget>
#include <cstring>

using namespace twaintest;

namespace {

class SessionTest : public FakeSessionTest
{
};

TEST_F(SessionTest, StartsInStateOneWithTheApplicationIdentityAsOrigin)
{
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(TWAIN_LayerVersion(), 106);
    EXPECT_EQ(TWAIN_GetHideUI(), 0);
    EXPECT_EQ(TWAIN_GetNumDibs(), 0);
    EXPECT_EQ(TWAIN_GetResultCode(), 0);

    walkTo(3);
    const TW_IDENTITY &id = dsm.lastOrigin;
    EXPECT_EQ(TW_UINTPTR(id.Id), 0u);
    EXPECT_EQ(id.Version.MajorNum, 1);
    EXPECT_EQ(id.Version.MinorNum, 0);
    EXPECT_EQ(id.Version.Language, 13);
    EXPECT_EQ(id.Version.Country, 1);
    EXPECT_STREQ(id.Version.Info, "<?>");
    EXPECT_EQ(id.ProtocolMajor, 1);
    EXPECT_EQ(id.ProtocolMinor, 6);
    EXPECT_EQ(TW_UINT32(id.SupportedGroups), 3u);
    EXPECT_STREQ(id.Manufacturer, "<?>");
    EXPECT_STREQ(id.ProductFamily, "<?>");
    EXPECT_STREQ(id.ProductName, "<?>");
}

TEST_F(SessionTest, RegisterAppFillsTheIdentityAndCutsLongNamesTo33Characters)
{
    const char *longName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"; // 36 characters
    TWAIN_RegisterApp(2, 7, 25, 7, "2.7 release", "Velmar", nullptr, longName);
    walkTo(3);
    const TW_IDENTITY &id = dsm.lastOrigin;
    EXPECT_EQ(id.Version.MajorNum, 2);
    EXPECT_EQ(id.Version.MinorNum, 7);
    EXPECT_EQ(id.Version.Language, 25);
    EXPECT_EQ(id.Version.Country, 7);
    EXPECT_STREQ(id.Version.Info, "2.7 release");
    EXPECT_STREQ(id.Manufacturer, "Velmar");
    EXPECT_STREQ(id.ProductFamily, "");
    EXPECT_EQ(std::string(id.ProductName), std::string(longName, 33));
    EXPECT_EQ(id.ProtocolMajor, 1);
    EXPECT_EQ(id.ProtocolMinor, 6);
    EXPECT_EQ(TW_UINT32(id.SupportedGroups), 3u);
}

TEST_F(SessionTest, HideUiIsStoredAsZeroOrOneAndDecidesShowUiOfTheNextEnabling)
{
    TW_USERINTERFACE sent{};
    dsm.answer(DAT_USERINTERFACE, MSG_ENABLEDS, [&sent](TW_MEMREF data) {
        sent = *static_cast<pTW_USERINTERFACE>(data);
        return TW_UINT16(TWRC_SUCCESS);
    });
    TWAIN_SetHideUI(5);
    EXPECT_EQ(TWAIN_GetHideUI(), 1);
    walkTo(5, 77);
    EXPECT_EQ(sent.ShowUI, 0);
    EXPECT_EQ(sent.ModalUI, 0);
    EXPECT_EQ(reinterpret_cast<TWAIN_HWND>(sent.hParent), 77u);

    ASSERT_TRUE(TWAIN_DisableSource());
    TWAIN_SetHideUI(0);
    EXPECT_EQ(TWAIN_GetHideUI(), 0);
    ASSERT_TRUE(TWAIN_EnableSource(77));
    EXPECT_EQ(sent.ShowUI, 1);
}

TEST_F(SessionTest, LoadingFindsTheManagerOnceAndRefusesLibrariesWithoutItsEntry)
{
    // The stand-in manager in the executable's folder.
    twain::SetSourceManagerOverride(QString());
    ASSERT_TRUE(TWAIN_LoadSourceManager());
    EXPECT_EQ(TWAIN_State(), TWAIN_SM_LOADED);
    EXPECT_NE(twain::session().library, nullptr);
    EXPECT_TRUE(TWAIN_LoadSourceManager()); // already loaded: nothing more
    ASSERT_TRUE(TWAIN_UnloadSourceManager());
    EXPECT_EQ(twain::session().library, nullptr);
    EXPECT_EQ(twain::session().entry, nullptr);

    // A library that is not there.
    twain::SetSourceManagerOverride(QStringLiteral("libno-such-manager.so"));
    EXPECT_FALSE(TWAIN_LoadSourceManager());
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(twain::session().entry, nullptr);

    // A library without DSM_Entry (a data source) is unloaded again.
    twain::SetSourceManagerOverride(QCoreApplication::applicationDirPath() + QStringLiteral("/twain/libtwainspecimen.so"));
    EXPECT_FALSE(TWAIN_LoadSourceManager());
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(twain::session().library, nullptr);
}

TEST_F(SessionTest, OpeningTheManagerPassesTheParentWindowAndFailsWithoutStateThree)
{
    TWAIN_HWND passed = 0;
    dsm.answer(DAT_PARENT, MSG_OPENDSM, [&passed](TW_MEMREF data) {
        std::memcpy(&passed, data, sizeof passed);
        return TW_UINT16(TWRC_FAILURE);
    });
    EXPECT_FALSE(TWAIN_OpenSourceManager(4242));
    EXPECT_EQ(passed, 4242u);
    EXPECT_EQ(TWAIN_State(), TWAIN_SM_LOADED);

    dsm.answerRc(DAT_PARENT, MSG_OPENDSM, TWRC_SUCCESS);
    EXPECT_TRUE(TWAIN_OpenSourceManager(4242));
    EXPECT_EQ(TWAIN_State(), TWAIN_SM_OPEN);
}

TEST_F(SessionTest, OpeningTheDefaultSourceAsksWithAnEmptyIdentityAndRecordsErrorFour)
{
    EXPECT_FALSE(TWAIN_OpenDefaultSource()); // state 1: refused at once
    walkTo(2);
    EXPECT_FALSE(TWAIN_OpenDefaultSource()); // state 2 as well
    EXPECT_EQ(dsm.count(DAT_IDENTITY, MSG_OPENDS), 0);

    walkTo(3);
    std::strcpy(twain::session().sourceId.ProductName, "left over");
    twain::session().sourceId.Id = 9;
    TW_IDENTITY asked{};
    dsm.condition = TWCC_NODS;
    dsm.answer(DAT_IDENTITY, MSG_OPENDS, [&asked](TW_MEMREF data) {
        asked = *static_cast<pTW_IDENTITY>(data);
        return TW_UINT16(TWRC_FAILURE);
    });
    EXPECT_FALSE(TWAIN_OpenDefaultSource());
    EXPECT_EQ(TW_UINTPTR(asked.Id), 0u);
    EXPECT_STREQ(asked.ProductName, "");
    EXPECT_EQ(TWAIN_State(), TWAIN_SM_OPEN);
    EXPECT_EQ(twain::session().errorCode, 4);
    EXPECT_EQ(twain::session().errorResult, TWRC_FAILURE);
    EXPECT_EQ(twain::session().errorCondition, TWCC_NODS);

    dsm.answerRc(DAT_IDENTITY, MSG_OPENDS, TWRC_SUCCESS);
    EXPECT_TRUE(TWAIN_OpenDefaultSource());
    EXPECT_EQ(TWAIN_State(), TWAIN_SOURCE_OPEN);
}

TEST_F(SessionTest, EnablingFailsOnlyOnFailureAndCountsEveryOtherAnswerAsSuccess)
{
    EXPECT_FALSE(TWAIN_EnableSource(1));
    walkTo(3);
    EXPECT_FALSE(TWAIN_EnableSource(1));
    EXPECT_EQ(dsm.count(DAT_USERINTERFACE, MSG_ENABLEDS), 0);

    walkTo(4);
    dsm.answerRc(DAT_USERINTERFACE, MSG_ENABLEDS, TWRC_FAILURE);
    EXPECT_FALSE(TWAIN_EnableSource(1));
    EXPECT_EQ(TWAIN_State(), TWAIN_SOURCE_OPEN);
    EXPECT_EQ(twain::session().errorCode, 5);

    dsm.answerRc(DAT_USERINTERFACE, MSG_ENABLEDS, TWRC_CHECKSTATUS);
    EXPECT_TRUE(TWAIN_EnableSource(1));
    EXPECT_EQ(TWAIN_State(), TWAIN_SOURCE_ENABLED);
}

TEST_F(SessionTest, DisablingActsOnlyInStateFiveAndKeepsTheStateWhenRefused)
{
    walkTo(4);
    EXPECT_TRUE(TWAIN_DisableSource()); // nothing to do
    EXPECT_EQ(dsm.count(DAT_USERINTERFACE, MSG_DISABLEDS), 0);

    ASSERT_TRUE(TWAIN_EnableSource(1));
    dsm.answerRc(DAT_USERINTERFACE, MSG_DISABLEDS, TWRC_FAILURE);
    EXPECT_FALSE(TWAIN_DisableSource());
    EXPECT_EQ(TWAIN_State(), TWAIN_SOURCE_ENABLED);

    dsm.answerRc(DAT_USERINTERFACE, MSG_DISABLEDS, TWRC_SUCCESS);
    EXPECT_TRUE(TWAIN_DisableSource());
    EXPECT_EQ(TWAIN_State(), TWAIN_SOURCE_OPEN);
}

TEST_F(SessionTest, ClosingTheSourceDisablesFirstAndResetsTheResultCode)
{
    walkTo(5);
    dsm.calls.clear();
    EXPECT_TRUE(TWAIN_CloseSource());
    EXPECT_EQ(TWAIN_State(), TWAIN_SM_OPEN);
    using P = std::pair<TW_UINT16, TW_UINT16>;
    EXPECT_EQ(dsm.sequence(), (std::vector<P>{{DAT_USERINTERFACE, MSG_DISABLEDS}, {DAT_IDENTITY, MSG_CLOSEDS}}));
    EXPECT_FALSE(dsm.calls[1].toSource); // closing goes to the manager

    // In state 3 nothing is sent, and the result code is cleared.
    dsm.answerRc(DAT_NULL, MSG_NULL, TWRC_FAILURE);
    TWAIN_Mgr(DG_CONTROL, DAT_NULL, MSG_NULL, nullptr);
    ASSERT_EQ(TWAIN_GetResultCode(), TWRC_FAILURE);
    EXPECT_TRUE(TWAIN_CloseSource());
    EXPECT_EQ(TWAIN_GetResultCode(), 0);

    ASSERT_TRUE(TWAIN_OpenDefaultSource());
    dsm.answerRc(DAT_IDENTITY, MSG_CLOSEDS, TWRC_FAILURE);
    EXPECT_FALSE(TWAIN_CloseSource());
    EXPECT_EQ(TWAIN_State(), TWAIN_SOURCE_OPEN);
}

TEST_F(SessionTest, ClosingTheManagerClosesTheSourceFirstAndSendsACopyOfTheWindow)
{
    walkTo(4, 31);
    TWAIN_HWND passed = 0;
    dsm.answer(DAT_PARENT, MSG_CLOSEDSM, [&passed](TW_MEMREF data) {
        std::memcpy(&passed, data, sizeof passed);
        return TW_UINT16(TWRC_SUCCESS);
    });
    dsm.answerRc(DAT_IDENTITY, MSG_CLOSEDS, TWRC_FAILURE);
    EXPECT_FALSE(TWAIN_CloseSourceManager(31));
    EXPECT_EQ(dsm.count(DAT_PARENT, MSG_CLOSEDSM), 0);

    dsm.answerRc(DAT_IDENTITY, MSG_CLOSEDS, TWRC_SUCCESS);
    EXPECT_TRUE(TWAIN_CloseSourceManager(31));
    EXPECT_EQ(passed, 31u);
    EXPECT_EQ(TWAIN_State(), TWAIN_SM_LOADED);
}

TEST_F(SessionTest, UnloadingActsOnlyInStateTwo)
{
    walkTo(3);
    EXPECT_FALSE(TWAIN_UnloadSourceManager());
    EXPECT_EQ(TWAIN_State(), TWAIN_SM_OPEN);
    ASSERT_TRUE(TWAIN_CloseSourceManager(0));
    EXPECT_TRUE(TWAIN_UnloadSourceManager());
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_TRUE(TWAIN_UnloadSourceManager());
}

TEST_F(SessionTest, CallsThroughTheEntryAddressTheSourceOrTheManager)
{
    walkTo(4);
    dsm.calls.clear();
    EXPECT_TRUE(TWAIN_DS(DG_CONTROL, DAT_NULL, MSG_NULL, nullptr));
    EXPECT_TRUE(TWAIN_Mgr(DG_CONTROL, DAT_NULL, MSG_NULL, nullptr));
    ASSERT_EQ(dsm.calls.size(), 2u);
    EXPECT_TRUE(dsm.calls[0].toSource);
    EXPECT_FALSE(dsm.calls[1].toSource);
    dsm.answerRc(DAT_NULL, MSG_NULL, TWRC_CANCEL);
    EXPECT_FALSE(TWAIN_DS(DG_CONTROL, DAT_NULL, MSG_NULL, nullptr));
    EXPECT_EQ(TWAIN_GetResultCode(), TWRC_CANCEL);
    EXPECT_TRUE(boxes->calls.empty());
}

TEST_F(SessionTest, ACallToTheSourceBelowStateFourFailsTheConsistencyCheckAndGoesOn)
{
    walkTo(3);
    TWAIN_DS(DG_CONTROL, DAT_NULL, MSG_NULL, nullptr);
    ASSERT_EQ(boxes->calls.size(), 1u);
    EXPECT_EQ(boxes->calls[0].text, QStringLiteral("Assertion failed"));
    EXPECT_EQ(boxes->calls[0].caption, QStringLiteral("MultiTWAIN"));
    EXPECT_EQ(boxes->calls[0].owner, nullptr);
    EXPECT_EQ(dsm.count(DAT_NULL, MSG_NULL), 1);
}

TEST_F(SessionTest, WithoutAManagerEveryCallFailsWithoutCrashing)
{
    twain::SetSourceManagerOverride(QStringLiteral("libno-such-manager.so"));
    EXPECT_FALSE(TWAIN_Mgr(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, nullptr));
    EXPECT_EQ(TWAIN_GetResultCode(), TWRC_FAILURE);
    EXPECT_FALSE(TWAIN_OpenSourceManager(0));
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
}

TEST_F(SessionTest, ConditionCodeAsksTheSourceTheManagerOrNobodyByState)
{
    EXPECT_EQ(TWAIN_GetConditionCode(), TWCC_SEQERROR);
    walkTo(2);
    EXPECT_EQ(TWAIN_GetConditionCode(), TWCC_SEQERROR);
    EXPECT_EQ(dsm.count(DAT_STATUS, MSG_GET), 0);

    walkTo(3);
    dsm.condition = TWCC_NODS;
    EXPECT_EQ(TWAIN_GetConditionCode(), TWCC_NODS);
    EXPECT_FALSE(dsm.calls.back().toSource);

    ASSERT_TRUE(TWAIN_OpenDefaultSource());
    dsm.condition = TWCC_BADCAP;
    EXPECT_EQ(TWAIN_GetConditionCode(), TWCC_BADCAP);
    EXPECT_TRUE(dsm.calls.back().toSource);
    EXPECT_EQ(TWAIN_GetResultCode(), TWRC_SUCCESS); // the status call replaced it

    dsm.answerRc(DAT_STATUS, MSG_GET, TWRC_FAILURE);
    EXPECT_EQ(TWAIN_GetConditionCode(), TWCC_BUMMER);
}

TEST_F(SessionTest, AvailabilityIsLearntOnceAndNeverForgotten)
{
    twain::SetSourceManagerOverride(QStringLiteral("libno-such-manager.so"));
    EXPECT_FALSE(TWAIN_IsAvailable());
    EXPECT_EQ(twain::session().availability, -1);
    twain::SetSourceManagerOverride(QString()); // a manager appears later...
    EXPECT_FALSE(TWAIN_IsAvailable());          // ...and is not noticed
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
}

TEST_F(SessionTest, AvailabilityLoadsAndUnloadsTheManagerAndIsTrueWhileLoaded)
{
    twain::SetSourceManagerOverride(QString());
    EXPECT_TRUE(TWAIN_IsAvailable());
    EXPECT_EQ(twain::session().availability, 1);
    EXPECT_EQ(TWAIN_State(), TWAIN_PRESESSION);
    EXPECT_EQ(twain::session().library, nullptr);

    twain::ResetSessionForTests();
    twain::SetSourceManagerOverride(QString(), &FakeDsm::Entry);
    walkTo(2);
    twain::session().availability = -1;
    EXPECT_TRUE(TWAIN_IsAvailable()); // the entry is loaded
}

TEST_F(SessionTest, TheFirstErrorSinceClearingIsKeptWithItsCodes)
{
    walkTo(4);
    dsm.condition = TWCC_BADVALUE;
    TWAIN_DS(DG_CONTROL, DAT_NULL, MSG_NULL, nullptr);
    twain::RecordError(3);
    EXPECT_EQ(twain::session().errorCode, 3);
    EXPECT_EQ(twain::session().errorResult, TWRC_SUCCESS);
    EXPECT_EQ(twain::session().errorCondition, TWCC_BADVALUE);
    twain::RecordError(13);
    EXPECT_EQ(twain::session().errorCode, 3);

    twain::ClearError();
    twain::RecordError(13); // outside 2 to 5: no codes kept
    EXPECT_EQ(twain::session().errorCode, 13);
    EXPECT_EQ(twain::session().errorCondition, 0);
    EXPECT_EQ(twain::ErrorDescription(13), QStringLiteral("App and source found NO values in common"));
    EXPECT_EQ(twain::ErrorDescription(7), QStringLiteral("TWAIN session not in State 4 (Source Open)"));
    EXPECT_EQ(twain::ErrorDescription(14), QString());
    EXPECT_EQ(twain::ResultCodeDescription(2), QStringLiteral("TWRC_CHECKSTATUS ('tried hard')"));
    EXPECT_EQ(twain::ConditionCodeDescription(12),
              QStringLiteral("TWCC_BADDEST (Unknown dest. App/Src in DSM_Entry)"));
}

TEST_F(SessionTest, ThePictureListIsReadOnlyInsideItsCount)
{
    EXPECT_EQ(TWAIN_GetDib(0), nullptr);
    EXPECT_EQ(TWAIN_GetDib(-1), nullptr);
    EXPECT_EQ(TWAIN_GetDib(5000), nullptr);
    TWAIN_FreeNative(nullptr); // allowed
}

} // namespace
