// Showing and closing the window, the options saved at each click, the date
// rules before it closes, the enabling of the actions and the copy of the
// current data.
#include "CognitiveFixture.h"

#include "base/engCommon9rMessages.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TNullableDateEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

using namespace r9test;

namespace {

class CognitiveLifecycle : public CognitiveFixture
{
protected:
    void Dates(bool edit, const QString &birth, const QString &issue, const QString &expiry)
    {
        (edit ? form->dteDateOfBirthRec : form->dteDateOfBirth)->SetText(birth);
        (edit ? form->dteDateOfIssueRec : form->dteDateOfIssue)->SetText(issue);
        (edit ? form->dteDateOfExpiryRec : form->dteDateOfExpiry)->SetText(expiry);
    }
};

TEST_F(CognitiveLifecycle, ShowRestoresBoundsScannerAndBoxesWithoutWritingAnything)
{
    {
        TSettingsFile ini = Settings();
        // The test's screen is 800 wide: the window's minimum width fits it best.
        ini.WriteInteger(QStringLiteral("SCAN_FORM"), QStringLiteral("ScanFormWidth"), 840);
        ini.WriteInteger(QStringLiteral("SCAN_FORM"), QStringLiteral("ScanFormHeight"), 500);
        ini.WriteString(QStringLiteral("SCAN_INFO"), QStringLiteral("ScannerName"), QStringLiteral("Scanner B"));
        ini.UpdateFile();
    }
    const QByteArray before = ReadFile(gl_sRecognizeIniFileName);
    gl_PhotoToAccountData = true;
    gl_TwainDialogNeed = true;
    gl_SelectScanner = true;
    Create();
    Show();
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(form->size(), QSize(840, 500));
    EXPECT_EQ(gl_sScannerName, QStringLiteral("Scanner B"));
    EXPECT_TRUE(form->cxPhotoToAccoutData->isChecked());
    EXPECT_TRUE(form->cxPhotoToAccoutData_2->isChecked());
    EXPECT_FALSE(form->cxDocPictureToAccoutData_2->isChecked());
    EXPECT_TRUE(form->cxShowTWAINDialog_Add->isChecked());
    EXPECT_TRUE(form->cxShowTWAINDialog->isChecked());
    EXPECT_TRUE(form->cxSelectScanner->isChecked());
    EXPECT_FALSE(form->cxProtocol->isChecked());
    EXPECT_EQ(ReadFile(gl_sRecognizeIniFileName), before) << "setting the boxes at show writes nothing";
    EXPECT_TRUE(form->bRecognize->isDefault());
    EXPECT_FALSE(form->Cancelled());
    EXPECT_TRUE(form->pgcRecognize->tabBar()->isHidden());

    // Each show makes the data pages 25 pixels taller.
    const int height = form->pgcRecognize->minimumHeight();
    form->hide();
    Show();
    EXPECT_EQ(form->pgcRecognize->minimumHeight(), height + 25);

    // The TWAIN-dialog box of tsEdit is bound from the first show on.
    form->pgcRecognize->setCurrentWidget(form->tsEdit);
    form->cxShowTWAINDialog->click();
    EXPECT_FALSE(gl_TwainDialogNeed);
    EXPECT_FALSE(Settings().ReadBool(QStringLiteral("SCAN_INFO"), QStringLiteral("TwainDialogNeed"), true));
}

TEST_F(CognitiveLifecycle, CloseWritesTheSettingsAndBoundsSharedWithThePassportReaderWindow)
{
    Create();
    Show();
    gl_sScannerName = QStringLiteral("Scanify Specimen Feeder");
    gl_TwainDialogNeed = true;
    gl_SelectScanner = false;
    gl_PhotoToAccountData = true;
    gl_DocumentToAccountData = true;
    form->resize(1000, 640);
    form->bCancel->click();
    EXPECT_FALSE(form->isVisible());
    const TSettingsFile ini = Settings();
    EXPECT_EQ(ini.ReadString(QStringLiteral("SCAN_INFO"), QStringLiteral("ScannerName"), QString()),
              QStringLiteral("Scanify Specimen Feeder"));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("SCAN_INFO"), QStringLiteral("TwainDialogNeed"), false));
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("SCAN_INFO"), QStringLiteral("SelectScanner"), true));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("RECOGNIZE_INFO"), QStringLiteral("RecognizePhoto"), false));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("RECOGNIZE_INFO"), QStringLiteral("RecognizeDocument"), false));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("SCAN_FORM"), QStringLiteral("ScanFormWidth"), 0), 1000);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("SCAN_FORM"), QStringLiteral("ScanFormHeight"), 0), 640);
    EXPECT_EQ(form->result(), 2);
}

TEST_F(CognitiveLifecycle, OptionBoxOfTheActivePageIsStoredAtOnce)
{
    Create();
    Show();
    form->cxPhotoToAccoutData->click();
    EXPECT_TRUE(gl_PhotoToAccountData);
    EXPECT_TRUE(Settings().ReadBool(QStringLiteral("RECOGNIZE_INFO"), QStringLiteral("RecognizePhoto"), false));
    form->cxSelectScanner_Add->click();
    EXPECT_TRUE(gl_SelectScanner);
    EXPECT_TRUE(Settings().ReadBool(QStringLiteral("SCAN_INFO"), QStringLiteral("SelectScanner"), false));
    form->cxShowTWAINDialog_Add->click();
    EXPECT_TRUE(Settings().ReadBool(QStringLiteral("SCAN_INFO"), QStringLiteral("TwainDialogNeed"), false));

    // On tsEdit the box of that page decides, whichever box of the pair was clicked.
    form->pgcRecognize->setCurrentWidget(form->tsEdit);
    form->cxDocPictureToAccoutData->click(); // the tsAdd twin, unseen on this page
    EXPECT_FALSE(gl_DocumentToAccountData);
    form->cxDocPictureToAccoutData_2->click();
    EXPECT_TRUE(gl_DocumentToAccountData);
    form->cxDocPictureToAccoutData_2->setChecked(false);
    EXPECT_FALSE(Settings().ReadBool(QStringLiteral("RECOGNIZE_INFO"), QStringLiteral("RecognizeDocument"), true));

    // A copy box rewrites "RecognizeDocument" from the document box of the page.
    form->cxDocPictureToAccoutData_2->blockSignals(true);
    form->cxDocPictureToAccoutData_2->setChecked(true);
    form->cxDocPictureToAccoutData_2->blockSignals(false);
    form->cxCopySex->setChecked(true);
    EXPECT_TRUE(Settings().ReadBool(QStringLiteral("RECOGNIZE_INFO"), QStringLiteral("RecognizeDocument"), false));

    // The protocol is not stored.
    form->cxProtocol->click();
    EXPECT_TRUE(gl_Protocol);
    EXPECT_FALSE(Settings().Text().contains(QStringLiteral("Protocol")));
    form->cxProtocol->click();
    EXPECT_FALSE(gl_Protocol);
}

struct DateRow
{
    const char *birth, *issue, *expiry;
    const ResString *message; // null: the window closes
    int focus;                // 0 birth, 2 expiry
};

class CognitiveDateRules : public CognitiveLifecycle, public testing::WithParamInterface<std::tuple<DateRow, bool>>
{
};

TEST_P(CognitiveDateRules, FirstMatchingRuleDecidesOnEitherPage)
{
    const auto [row, edit] = GetParam();
    Create(edit);
    Show();
    Dates(edit, QLatin1String(row.birth), QLatin1String(row.issue), QLatin1String(row.expiry));
    form->ledLastName->SetText(QStringLiteral("Иванов"));
    form->done(1);
    if (!row.message) {
        EXPECT_TRUE(boxes.calls.empty());
        EXPECT_FALSE(form->isVisible());
        return;
    }
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, LoadResString(row.message));
    EXPECT_EQ(boxes.calls[0].caption, LoadResString(&_S_ERROR));
    EXPECT_EQ(boxes.calls[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes.calls[0].languageId, 0x19);
    EXPECT_TRUE(form->isVisible()) << "the close is refused";
    ui::TNullableDateEdit *focus = row.focus == 0 ? (edit ? form->dteDateOfBirthRec : form->dteDateOfBirth)
                                                  : (edit ? form->dteDateOfExpiryRec : form->dteDateOfExpiry);
    EXPECT_TRUE(focus->isAncestorOf(QApplication::focusWidget()) || focus == QApplication::focusWidget());

    // "Отмена" closes whatever the dates say.
    boxes.calls.clear();
    form->bCancel->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(boxes.calls.empty());
}

const DateRow kDateRows[] = {
    {"01.01.1980", "01.01.2000", "01.01.2030", nullptr, 0},
    {"01.01.2000", "01.01.2000", "01.01.2030", &_S_BIRTHDAY_WRONG, 0}, // equal dates fail
    {"01.01.1980", "01.01.2000", "01.01.1970", &_S_BIRTHDAY_WRONG, 0}, // E after B comes before E after I
    {"01.01.1980", "01.01.2030", "01.01.2020", &_S_EXPIRY_WRONG, 2},
    {"01.01.1980", "01.01.1970", "", &_S_BIRTHDAY_WRONG, 0},
    {"01.01.1980", "", "01.01.1979", &_S_BIRTHDAY_WRONG, 0},
    {"", "01.01.2020", "01.01.2020", &_S_EXPIRY_WRONG, 2},
    {"", "01.01.2020", "01.01.2010", &_S_EXPIRY_WRONG, 2},
    {"", "", "01.01.1900", nullptr, 0}, // one date alone is never checked
    {"", "", "", nullptr, 0},
};

INSTANTIATE_TEST_SUITE_P(Rows, CognitiveDateRules, testing::Combine(testing::ValuesIn(kDateRows), testing::Bool()));

TEST_F(CognitiveLifecycle, SaveNeedsSurnameFirstNameAndNumberAndBecomesTheDefault)
{
    Create();
    Show();
    form->ActionListUpdate();
    EXPECT_FALSE(form->acSave->isEnabled());
    form->ledLastName->SetText(QStringLiteral("Иванов"));
    form->ledFirstName->SetText(QStringLiteral("Иван"));
    form->ledPassportNumber->SetText(QStringLiteral("   "));
    form->ActionListUpdate();
    EXPECT_FALSE(form->acSave->isEnabled()) << "blanks are no number";
    form->ledPassportNumber->SetText(QStringLiteral(" 4500 123456"));
    form->ActionListUpdate();
    EXPECT_TRUE(form->acSave->isEnabled());
    EXPECT_TRUE(form->bSave->isDefault());
    EXPECT_FALSE(form->bRecognize->isDefault());

    form->pgcScanRecognize->setCurrentWidget(form->tsCommonOptions);
    form->ActionListUpdate();
    EXPECT_FALSE(form->acSave->isEnabled());
}

TEST_F(CognitiveLifecycle, CopyBoxesFollowTheCurrentValuesButNationality)
{
    Create(true);
    Show();
    for (QCheckBox *box : form->Fields().CopyBoxes())
        box->setChecked(true);
    form->ledLastNameCurr->SetText(QStringLiteral("Иванов"));
    form->dteDateOfIssueCurr->SetDate(QDate(2010, 5, 6));
    form->ActionListUpdate();
    EXPECT_TRUE(form->cxCopyLastName->isEnabled());
    EXPECT_TRUE(form->cxCopyLastName->isChecked());
    EXPECT_TRUE(form->cxCopyIssueDate->isChecked());
    EXPECT_FALSE(form->cxCopyFirstName->isEnabled());
    EXPECT_FALSE(form->cxCopyFirstName->isChecked()) << "a box that gets disabled is unticked";
    EXPECT_FALSE(form->cxCopyBirthDate->isChecked());
    EXPECT_TRUE(form->cxCopyNationlity->isEnabled()) << "the nationality box is left as it is";
    EXPECT_TRUE(form->cxCopyNationlity->isChecked());
}

TEST_F(CognitiveLifecycle, CopyPutsTickedCurrentValuesTrimmedButNeverTheNationality)
{
    Create(true);
    Show();
    form->ledLastNameCurr->SetText(QStringLiteral("  Иванов "));
    form->ledIssuedByCurr->SetText(QStringLiteral(" ОВД Центрального района "));
    form->ledNationalityCurr->SetText(QStringLiteral("россиянин"));
    form->ledFirstNameCurr->SetText(QStringLiteral("Иван"));
    form->dteDateOfBirthCurr->SetDate(QDate(1980, 1, 2));
    form->ledFirstNameRec->SetText(QStringLiteral("Пётр"));
    form->dteDateOfExpiryRec->SetDate(QDate(2030, 1, 1));
    form->ledIssuedByRec->SetBackgroundColor(scanify::DoubtfulFieldColor());
    for (QCheckBox *box : {form->cxCopyLastName, form->cxCopyIssueBy, form->cxCopyNationlity, form->cxCopyBirthDate,
                           form->cxCopyExpiryDate})
        box->setChecked(true);
    form->sbCopyCurrentData->click();
    EXPECT_EQ(form->ledLastNameRec->Text(), QStringLiteral("Иванов"));
    EXPECT_EQ(form->ledIssuedByRec->Text(), QStringLiteral("ОВД Центрального района"));
    EXPECT_EQ(form->ledIssuedByRec->Hint(), QStringLiteral("ОВД Центрального района"));
    EXPECT_EQ(form->ledIssuedByRec->BackgroundColor(), scanify::DoubtfulFieldColor()) << "colours stay";
    EXPECT_EQ(form->ledFirstNameRec->Text(), QStringLiteral("Пётр")) << "unticked";
    EXPECT_EQ(form->dteDateOfBirthRec->Date(), QDate(1980, 1, 2));
    EXPECT_TRUE(form->dteDateOfExpiryRec->IsNull()) << "an empty current date is copied too";
    EXPECT_TRUE(form->ledNationalityRec->Text().isEmpty());
}

TEST_F(CognitiveLifecycle, ClearControlsEmptiesOnlyTheActivePage)
{
    Create(true);
    Show();
    form->ledLastName->SetText(QStringLiteral("Иванов"));
    form->ledLastNameRec->SetText(QStringLiteral("Петров"));
    form->ledLastNameRec->SetBackgroundColor(scanify::ErroneousFieldColor());
    form->ledLastNameRec->SetHint(QStringLiteral("x"));
    form->ledIssuedByRec->SetHint(QStringLiteral("ОВД"));
    form->dteDateOfIssueRec->SetDate(QDate(2001, 1, 1));
    form->ledLastNameCurr->SetText(QStringLiteral("Петров"));
    form->ClearControls();
    EXPECT_TRUE(form->ledLastNameRec->Text().isEmpty());
    EXPECT_FALSE(form->ledLastNameRec->BackgroundColor().isValid()) << "the system window colour";
    EXPECT_TRUE(form->ledIssuedByRec->Hint().isEmpty());
    EXPECT_TRUE(form->dteDateOfIssueRec->IsNull());
    EXPECT_EQ(form->ledLastName->Text(), QStringLiteral("Иванов"));
    EXPECT_EQ(form->ledLastNameCurr->Text(), QStringLiteral("Петров"));
}

TEST_F(CognitiveLifecycle, EscapeIsCancel)
{
    Create();
    Show();
    Dates(false, QStringLiteral("01.01.2000"), QStringLiteral("01.01.1990"), QString());
    QTest::keyClick(form, Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(form->result(), 2);
}

} // namespace
