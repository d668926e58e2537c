// Showing and closing the window, the wishes saved at each click, the date
// check and the enabling of the actions.
#include "FormFixture.h"

#include "base/engCommon9rMessages.h"

#include "ui/TNullableDateEdit.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TChoiceGroup.h"
#include "ui/TTrackSlider.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace r9test;

namespace {

class Lifecycle : public FormFixture
{
protected:
    void TwoScanners()
    {
        engine->scanners = {QStringLiteral("Scanner A"), QStringLiteral("Scanner B")};
        engine->settings = {fake::Strings({{QStringLiteral("brightness"), QStringLiteral("10")}}),
                            fake::Strings({{QStringLiteral("brightness"), QStringLiteral("30")},
                                                    {QStringLiteral("orientation"), QStringLiteral("Portrait")}})};
    }
};

} // namespace

TEST_F(Lifecycle, ShowWithoutSettingsFileTakesGlobalsAndFirstScanner)
{
    TwoScanners();
    gl_PhotoToAccountData = true;
    gl_FIOOnLatin = true;
    gl_OrientValue = 1;
    gl_BrightnessSupported = false;
    Create();
    Show();
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_TRUE(form->cxPhotoToAccoutData->isChecked());
    EXPECT_TRUE(form->cxPhotoToAccoutData_2->isChecked());
    EXPECT_FALSE(form->cxDocPictureToAccoutData->isChecked());
    EXPECT_TRUE(form->cxFIOInLatin_2->isChecked());
    EXPECT_EQ(form->tbBrightness->Position(), 40);
    EXPECT_TRUE(form->tbBrightness->isEnabled()) << "scanner A supports brightness";
    ASSERT_EQ(form->cbScanListForTest->count(), 2);
    EXPECT_EQ(form->cbScanListForTest->currentIndex(), 0);
    EXPECT_EQ(engine->sourcesSelected, std::vector<int>{0});
    EXPECT_TRUE(form->pgcRecognize->tabBar()->isHidden()) << "the operator never switches sub-pages";
    EXPECT_TRUE(form->bRecognize->isDefault());
    EXPECT_EQ(nationalities.firstCalls, 1);
    EXPECT_TRUE(bool(nationalities.AfterPost()));
    // Setting the boxes from the globals wrote nothing; the scanner change wrote its index.
    TSettingsFile ini = Settings();
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("RECOGNIZE_INFO"), QStringLiteral("RecognizePhoto")));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("SCAN_INFO"), QStringLiteral("ScannerIndex"), -5), 0);
    EXPECT_EQ(ini.Keys(QStringLiteral("SCAN_INFO")).size(), 1);
}

TEST_F(Lifecycle, ShowWithSettingsFileRestoresScannerAndPlace)
{
    TwoScanners();
    {
        TSettingsFile ini(gl_sRecognizeIniFileName);
        ini.WriteInteger(QStringLiteral("SCAN_INFO"), QStringLiteral("ScannerIndex"), 1);
        // The test's screen is 800 wide: the window's minimum width fits it best.
        ini.WriteInteger(QStringLiteral("SCAN_FORM"), QStringLiteral("ScanFormWidth"), 840);
        ini.WriteInteger(QStringLiteral("SCAN_FORM"), QStringLiteral("ScanFormHeight"), 600);
        ini.UpdateFile();
    }
    Create();
    Show();
    EXPECT_EQ(form->cbScanListForTest->currentIndex(), 1);
    EXPECT_EQ(engine->sourcesSelected, std::vector<int>{1});
    EXPECT_EQ(gl_ScannerItemIndex, 1);
    EXPECT_EQ(form->size(), QSize(840, 600));
    EXPECT_EQ(form->ListBox1->count(), 2);

    // The scanner list's handler is attached again after the show.
    form->cbScanListForTest->setCurrentIndex(0);
    EXPECT_EQ(engine->sourcesSelected, (std::vector<int>{1, 0}));
    EXPECT_EQ(Settings().ReadInteger(QStringLiteral("SCAN_INFO"), QStringLiteral("ScannerIndex"), -5), 0)
        << "a scanner change is written at once";
}

TEST_F(Lifecycle, EachOpeningRestoresThePlaceTheLastClosingSaved)
{
    // The stored place is that of the window's contents, framed or not: a
    // frame the window system adds only after the window opened must not
    // move it at the next opening.
    for (bool framed : {true, false}) {
        SCOPED_TRACE(framed ? "framed" : "frameless");
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        {
            TSettingsFile ini(gl_sRecognizeIniFileName);
            ini.WriteInteger(QStringLiteral("SCAN_FORM"), QStringLiteral("ScanFormLeft"), screen.x() + 120);
            ini.WriteInteger(QStringLiteral("SCAN_FORM"), QStringLiteral("ScanFormTop"), screen.y() + 90);
            ini.UpdateFile();
        }
        for (int round = 0; round < 3; ++round) {
            SCOPED_TRACE(round);
            delete form;
            Create();
            form->setWindowFlag(Qt::FramelessWindowHint, !framed);
            Show();
            // The window is wider than the test's screen: it goes to the
            // screen's left edge, its frame, known once shown, beside it.
            const int frameLeft = form->geometry().x() - form->frameGeometry().x();
            EXPECT_EQ(form->geometry().topLeft(), screen.topLeft() + QPoint(frameLeft, 90));
            form->bCancel->click();
        }
    }
}

TEST_F(Lifecycle, AStoredSizeLargerThanTheScreenIsFittedToItAndWrittenBackSo)
{
    {
        TSettingsFile ini(gl_sRecognizeIniFileName);
        ini.WriteInteger(QStringLiteral("SCAN_FORM"), QStringLiteral("ScanFormWidth"), 99999999);
        ini.WriteInteger(QStringLiteral("SCAN_FORM"), QStringLiteral("ScanFormHeight"), 99999999);
        ini.UpdateFile();
    }
    Create();
    Show();
    const QRect screen = form->screen()->availableGeometry();
    EXPECT_LE(form->frameGeometry().height(), screen.height());
    EXPECT_EQ(form->width(), std::max(form->minimumWidth(), screen.width() - (form->frameGeometry().width() - form->width())))
        << "as wide as the screen, or the narrowest the window can be";
    const QSize shown = form->size();
    form->bCancel->click();
    EXPECT_EQ(Settings().ReadInteger(QStringLiteral("SCAN_FORM"), QStringLiteral("ScanFormWidth"), -1), shown.width());
    EXPECT_EQ(Settings().ReadInteger(QStringLiteral("SCAN_FORM"), QStringLiteral("ScanFormHeight"), -1), shown.height());
}

TEST_F(Lifecycle, NoScannerNoIndexReadAndActionsDisabled)
{
    {
        TSettingsFile ini(gl_sRecognizeIniFileName);
        ini.WriteInteger(QStringLiteral("SCAN_INFO"), QStringLiteral("ScannerIndex"), 3);
        ini.UpdateFile();
    }
    gl_ScannerItemIndex = 7;
    Create();
    Show();
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(form->cbScanListForTest->count(), 0);
    EXPECT_TRUE(engine->sourcesSelected.empty());
    EXPECT_EQ(gl_ScannerItemIndex, 7);
    form->ActionListUpdate();
    EXPECT_FALSE(form->acRecognize->isEnabled());
    EXPECT_FALSE(form->acScan->isEnabled());
    EXPECT_FALSE(form->bRecognize->isEnabled());
}

TEST_F(Lifecycle, EngineFailureWhileShowingIsReportedAndFormOpens)
{
    gl_RecognitionEngine = nullptr;
    engine = nullptr;
    gl_PhotoToAccountData = true;
    Create();
    Show();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].caption, LoadResString(&_S_ERROR));
    EXPECT_EQ(boxes.calls[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes.calls[0].owner, form);
    EXPECT_TRUE(boxes.calls[0].text.endsWith(QStringLiteral("\r\r") + LoadResString(&_S_ERROR_INIT_ENGINE_2)));
    EXPECT_TRUE(form->isVisible());
    // Step 9 still ran: the check boxes react again.
    form->cxFIOInLatin->click();
    EXPECT_TRUE(Settings().ReadBool(QStringLiteral("RECOGNIZE_INFO"), QStringLiteral("FIOOnLation"), false));
}

TEST_F(Lifecycle, SettingsFileThatCannotBeWrittenIsReportedAloneAndTheScannerIsStillChosen)
{
    // A folder in the file's place: the scanner's index cannot be written.
    QDir().mkpath(gl_sRecognizeIniFileName);
    TwoScanners();
    Create();
    Show();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_TRUE(boxes.calls[0].text.contains(gl_sRecognizeIniFileName)) << boxes.calls[0].text.toStdString();
    EXPECT_FALSE(boxes.calls[0].text.contains(LoadResString(&_S_ERROR_INIT_ENGINE_2))) << "the engine is fine";
    EXPECT_EQ(engine->sourcesSelected, std::vector<int>{0});
    EXPECT_TRUE(form->tbBrightness->isEnabled()) << "scanner A's settings were taken";
}

TEST_F(Lifecycle, EachCheckBoxIsWrittenAtOnce)
{
    Create();
    Show();
    form->cxFIOInLatin->click();
    EXPECT_TRUE(gl_FIOOnLatin);
    EXPECT_TRUE(Settings().ReadBool(QStringLiteral("RECOGNIZE_INFO"), QStringLiteral("FIOOnLation"), false));
    form->cxPhotoToAccoutData->click();
    EXPECT_TRUE(Settings().ReadBool(QStringLiteral("RECOGNIZE_INFO"), QStringLiteral("RecognizePhoto"), false));
    form->cxDocPictureToAccoutData->click();
    EXPECT_TRUE(Settings().ReadBool(QStringLiteral("RECOGNIZE_INFO"), QStringLiteral("RecognizeDocument"), false));
    form->cxDocPictureToAccoutData->click();
    EXPECT_FALSE(gl_DocumentToAccountData);
    EXPECT_FALSE(Settings().ReadBool(QStringLiteral("RECOGNIZE_INFO"), QStringLiteral("RecognizeDocument"), true));

    // On tsAdd the "_2" twin is not the active box: the global keeps the plain box's state.
    form->cxPhotoToAccoutData_2->click();
    EXPECT_TRUE(gl_PhotoToAccountData);

    // On tsEdit the "_2" boxes count, and a copy box rewrites the document wish.
    form->pgcRecognize->setCurrentWidget(form->tsEdit);
    form->cxFIOInLatin_2->click();
    EXPECT_TRUE(form->cxFIOInLatin_2->isChecked());
    form->cxFIOInLatin_2->click();
    EXPECT_FALSE(gl_FIOOnLatin);
    EXPECT_FALSE(Settings().ReadBool(QStringLiteral("RECOGNIZE_INFO"), QStringLiteral("FIOOnLation"), true));
    form->cxDocPictureToAccoutData_2->setChecked(true);
    gl_DocumentToAccountData = false;
    form->ledSexCurr->SetText(QStringLiteral("МУЖ"));
    form->cxCopySex->click();
    EXPECT_TRUE(gl_DocumentToAccountData);
    EXPECT_TRUE(Settings().ReadBool(QStringLiteral("RECOGNIZE_INFO"), QStringLiteral("RecognizeDocument"), false));
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(Lifecycle, CloseWritesEverySettingAndClearsScannerList)
{
    TwoScanners();
    Create();
    Show();
    form->cbScanListForTest->setCurrentIndex(1);
    form->rgOrient->SetItemIndex(1);
    form->rgRotation->SetItemIndex(2);
    form->tbBrightness->SetPosition(65);
    form->cxShowTwainDialog->setChecked(true);
    gl_PhotoToAccountData = true;
    form->pgcScanRecognize->setCurrentWidget(form->tsCommonOptions);
    form->bCancelOptions->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), 2);
    EXPECT_EQ(form->cbScanListForTest->count(), 0);

    TSettingsFile ini = Settings();
    const QString s = QStringLiteral("SCAN_INFO");
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("ScannerIndex"), -5), 1) << "clearing the list is no scanner change";
    EXPECT_FALSE(ini.ReadBool(s, QStringLiteral("TwainDialogSupported"), true)) << "scanner B has no interface-type";
    EXPECT_TRUE(ini.ReadBool(s, QStringLiteral("TwainDialogNeed"), false));
    EXPECT_TRUE(ini.ReadBool(s, QStringLiteral("BrightnessSupported"), false));
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("BrightnessValue"), -1), 65);
    EXPECT_TRUE(ini.ReadBool(s, QStringLiteral("OrientSupported"), false));
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("OrientValue"), -5), 1);
    EXPECT_FALSE(ini.ReadBool(s, QStringLiteral("PaperSizeSupported"), true));
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("PaperSizeIndex"), -5), -1);
    EXPECT_EQ(ini.ReadString(s, QStringLiteral("PaperSizeValue"), QStringLiteral("x")), QString());
    EXPECT_FALSE(ini.ReadBool(s, QStringLiteral("ColorModeSupported"), true));
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("ColorModeValue"), -5), -1);
    EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("RotationIndex"), -5), 2);
    EXPECT_EQ(gl_RotationIndex, 0) << "read only when the package loads";
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("RECOGNIZE_INFO"), QStringLiteral("RecognizePhoto"), false));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("SCAN_FORM"), QStringLiteral("ScanFormWidth"), -1), form->width());
    EXPECT_EQ(gl_BrightnessValue, 65);
    EXPECT_FALSE(gl_ColorModeSupported);

    // A second show fills the list again.
    Show();
    EXPECT_EQ(form->cbScanListForTest->count(), 2);
    EXPECT_EQ(form->cbScanListForTest->currentIndex(), 1);
}

namespace {

struct DateCase
{
    const char *birth, *issue, *expiry;
    int message; // 0 closes, 1 birthday wrong, 2 expiry wrong
};

} // namespace

TEST_F(Lifecycle, DateRulesOnBothSubPages)
{
    const DateCase cases[] = {
        {"", "", "", 0},
        {"01.01.1980", "01.01.2000", "01.01.2010", 0},
        {"01.01.2000", "01.01.2000", "01.01.2010", 1}, // birth equal to issue
        {"01.01.2011", "01.01.2000", "01.01.2010", 1}, // expiry before birth
        {"01.01.1980", "01.01.2010", "01.01.2010", 2}, // expiry equal to issue
        {"01.01.1980", "01.01.2010", "01.01.2005", 2},
        {"01.01.1980", "01.01.1970", "", 1},
        {"01.01.1980", "01.01.1990", "", 0},
        {"01.01.1980", "", "01.01.1980", 1},
        {"01.01.1980", "", "01.01.1990", 0},
        {"", "01.01.2010", "01.01.2009", 2},
        {"", "01.01.2010", "01.01.2011", 0},
        {"", "01.01.2010", "", 0},
    };
    Create();
    form->ledLastName->SetText(QStringLiteral("Иванов"));
    form->ledFirstName->SetText(QStringLiteral("Иван"));
    form->ledPassportNumber->SetText(QStringLiteral("4501 123456"));
    form->ledLastNameRec->SetText(QStringLiteral("Иванов"));
    form->ledFirstNameRec->SetText(QStringLiteral("Иван"));
    form->ledPassportNumberRec->SetText(QStringLiteral("4501 123456"));
    for (bool edit : {false, true}) {
        form->pgcRecognize->setCurrentWidget(edit ? form->tsEdit : form->tsAdd);
        const TABBYYRecognitionFM::TResultControls c = edit ? form->EditControls(false) : form->AddControls();
        int row = 0;
        for (const DateCase &dc : cases) {
            SCOPED_TRACE(testing::Message() << (edit ? "tsEdit" : "tsAdd") << " row " << row++);
            Show();
            boxes.calls.clear();
            c.DateOfBirth->SetText(QLatin1String(dc.birth));
            c.DateOfIssue->SetText(QLatin1String(dc.issue));
            c.DateOfExpiry->SetText(QLatin1String(dc.expiry));
            form->ActionListUpdate();
            form->bSave->click();
            if (dc.message == 0) {
                EXPECT_TRUE(boxes.calls.empty());
                EXPECT_FALSE(form->isVisible());
                EXPECT_EQ(form->result(), 1);
                continue;
            }
            ASSERT_EQ(boxes.calls.size(), 1u);
            EXPECT_EQ(boxes.calls[0].caption, LoadResString(&_S_ERROR));
            EXPECT_EQ(boxes.calls[0].icon, QMessageBox::Critical);
            EXPECT_EQ(boxes.calls[0].languageId, 0x19);
            EXPECT_EQ(boxes.calls[0].text, LoadResString(dc.message == 1 ? &_S_BIRTHDAY_WRONG : &_S_EXPIRY_WRONG));
            EXPECT_TRUE(form->isVisible());
            ui::TNullableDateEdit *focused = dc.message == 1 ? c.DateOfBirth : c.DateOfExpiry;
            EXPECT_TRUE(focused->Edit()->hasFocus());

            // The window's close button runs the same check.
            boxes.calls.clear();
            form->close();
            EXPECT_TRUE(form->isVisible());
            EXPECT_EQ(boxes.calls.size(), 1u);

            // Cancel closes whatever the dates say.
            boxes.calls.clear();
            form->bCancel->click();
            EXPECT_TRUE(boxes.calls.empty());
            EXPECT_FALSE(form->isVisible());
            EXPECT_EQ(form->result(), 2);
        }
    }
}

TEST_F(Lifecycle, TodayShownForAnUnreadableDateIsNotSavedUntilTheOperatorTouchesIt)
{
    // How the operator settles the date; no typed text: the date is left as shown.
    const struct {
        const char *what;
        bool visited;
        const char *typed;
        QDate saved;
    } cases[] = {
        {"untouched", false, nullptr, QDate()},
        {"passed over with Tab", true, nullptr, QDate()},
        {"typed", true, "01.03.2019", QDate(2019, 3, 1)},
        {"cleared", true, "", QDate()},
    };
    TwoScanners();
    Create(true);
    Show();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        if (!form->isVisible())
            Show();
        engine->fields = {{QStringLiteral("LastName"), QStringLiteral("ИВАНОВ")},
                          {QStringLiteral("FirstName"), QStringLiteral("ИВАН")},
                          {QStringLiteral("Number"), QStringLiteral("4501 123456")},
                          {QStringLiteral("DateOfBirth"), QStringLiteral("29.02.2019")},
                          {QStringLiteral("FullImage"), QString(), false}};
        form->acRecognize->trigger();
        ui::TNullableDateEdit *birth = form->dteDateOfBirthRec;
        ASSERT_FALSE(birth->IsNull()) << "shown as before";
        EXPECT_TRUE(birth->IsFontRed());
        if (c.visited) {
            birth->Edit()->setFocus();
            if (c.typed) {
                birth->Edit()->selectAll();
                QTest::keyClick(birth->Edit(), Qt::Key_Delete);
                QTest::keyClicks(birth->Edit(), c.typed);
            }
            QTest::keyClick(birth->Edit(), Qt::Key_Tab);
        }
        boxes.calls.clear();
        form->ActionListUpdate();
        form->bSave->click();
        if (!c.typed) {
            ASSERT_EQ(boxes.calls.size(), 1u);
            EXPECT_TRUE(boxes.calls[0].text.contains(QStringLiteral("Дата рождения"))) << boxes.calls[0].text.toStdString();
            EXPECT_NE(boxes.calls[0].text, LoadResString(&_S_BIRTHDAY_WRONG));
            EXPECT_TRUE(form->isVisible());
            EXPECT_TRUE(birth->Edit()->hasFocus());
            continue;
        }
        EXPECT_TRUE(boxes.calls.empty());
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(form->result(), 1);
        EXPECT_EQ(birth->Date(), c.saved);
    }
}

TEST_F(Lifecycle, EveryUnreadDateShownAsTodayIsNamedInOneMessage)
{
    TwoScanners();
    Create(true);
    Show();
    engine->fields = {{QStringLiteral("LastName"), QStringLiteral("ИВАНОВ")},
                      {QStringLiteral("FirstName"), QStringLiteral("ИВАН")},
                      {QStringLiteral("Number"), QStringLiteral("4501 123456")},
                      {QStringLiteral("DateOfBirth"), QStringLiteral("29.02.2019")},
                      {QStringLiteral("DateOfIssue"), QStringLiteral("01.03.2019")},
                      {QStringLiteral("DateOfExpiry"), QStringLiteral("31.04.2030")},
                      {QStringLiteral("FullImage"), QString(), false}};
    form->acRecognize->trigger();
    boxes.calls.clear();
    form->ActionListUpdate();
    form->bSave->click();
    ASSERT_EQ(boxes.calls.size(), 1u);
    const QString text = boxes.calls[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("Дата рождения"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Действителен до"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Когда выдан"))) << "read, so not named";
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->dteDateOfBirthRec->Edit()->hasFocus());
}

TEST_F(Lifecycle, UnreadableDateTextKeepsTheWindowOpenOnBothSubPages)
{
    Create();
    for (bool edit : {false, true}) {
        SCOPED_TRACE(edit ? "tsEdit" : "tsAdd");
        form->pgcRecognize->setCurrentWidget(edit ? form->tsEdit : form->tsAdd);
        const TABBYYRecognitionFM::TResultControls c = edit ? form->EditControls(false) : form->AddControls();
        c.LastName->SetText(QStringLiteral("Иванов"));
        c.FirstName->SetText(QStringLiteral("Иван"));
        c.PassportNumber->SetText(QStringLiteral("4501 123456"));
        c.DateOfBirth->SetText(QStringLiteral("01.01.1980"));
        Show();
        c.DateOfIssue->Edit()->setFocus();
        QTest::keyClicks(c.DateOfIssue->Edit(), "31.02.2010");
        QTest::keyClick(c.DateOfIssue->Edit(), Qt::Key_Tab);
        ASSERT_TRUE(c.DateOfIssue->HasUnreadableText());
        boxes.calls.clear();
        form->ActionListUpdate();
        form->bSave->click();
        ASSERT_EQ(boxes.calls.size(), 1u) << "not taken for an empty date";
        EXPECT_EQ(boxes.calls[0].caption, LoadResString(&_S_ERROR));
        EXPECT_EQ(boxes.calls[0].icon, QMessageBox::Critical);
        EXPECT_NE(boxes.calls[0].text.indexOf(QStringLiteral("31.02.2010")), -1);
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(c.DateOfIssue->Edit()->hasFocus());

        // Corrected, the window closes; cleared, it closes too.
        boxes.calls.clear();
        c.DateOfIssue->SetText(QStringLiteral("01.02.2010"));
        form->bSave->click();
        EXPECT_TRUE(boxes.calls.empty());
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(form->result(), 1);
        Show();
        c.DateOfIssue->SetText(QStringLiteral("xx"));
        c.DateOfIssue->SetNull();
        form->bSave->click();
        EXPECT_FALSE(form->isVisible());

        // Cancel does not ask.
        Show();
        c.DateOfIssue->SetText(QStringLiteral("xx"));
        boxes.calls.clear();
        form->bCancel->click();
        EXPECT_TRUE(boxes.calls.empty());
        EXPECT_EQ(form->result(), 2);
        c.DateOfIssue->SetNull();
    }
}

TEST_F(Lifecycle, EscapePressesThePagesCancelButton)
{
    Create();
    form->ledLastName->SetText(QStringLiteral("Иванов"));
    form->ledFirstName->SetText(QStringLiteral("Иван"));
    form->ledPassportNumber->SetText(QStringLiteral("1"));
    for (bool edit : {false, true}) {
        SCOPED_TRACE(edit ? "tsEdit" : "tsAdd");
        form->pgcRecognize->setCurrentWidget(edit ? form->tsEdit : form->tsAdd);
        const TABBYYRecognitionFM::TResultControls c = edit ? form->EditControls(false) : form->AddControls();
        // Dates the check would refuse: birth after issue.
        c.DateOfBirth->SetDate(QDate(2011, 1, 1));
        c.DateOfIssue->SetDate(QDate(2000, 1, 1));
        Show();
        c.LastName->Edit()->setFocus();
        boxes.calls.clear();
        QTest::keyClick(c.LastName->Edit(), Qt::Key_Escape);
        EXPECT_TRUE(boxes.calls.empty()) << "Escape runs no date check";
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(form->result(), 2);
        EXPECT_TRUE(form->FCancel);
    }
    form->pgcScanRecognize->setCurrentWidget(form->tsCommonOptions);
    Show();
    QTest::keyClick(form, Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), 2);
    EXPECT_FALSE(form->FCancel) << "the options page closes with \"Закрыть окно\"";
}

TEST_F(Lifecycle, ModalResultsFromExec)
{
    Create();
    QTimer::singleShot(0, form, [this] { form->bCancel->click(); });
    EXPECT_EQ(form->exec(), 2);
    form->ledLastName->SetText(QStringLiteral("Иванов"));
    form->ledFirstName->SetText(QStringLiteral("Иван"));
    form->ledPassportNumber->SetText(QStringLiteral("1"));
    QTimer::singleShot(0, form, [this] {
        form->ActionListUpdate();
        form->bSave->click();
    });
    EXPECT_EQ(form->exec(), 1);
    EXPECT_FALSE(form->FCancel) << "reset on every show";
}

TEST_F(Lifecycle, ActionEnablingOnBothSubPages)
{
    engine->scanners = {QStringLiteral("Scanner A")};
    Create();
    Show();
    form->ActionListUpdate();
    EXPECT_TRUE(form->acScan->isEnabled());
    EXPECT_TRUE(form->acRecognize->isEnabled());
    EXPECT_FALSE(form->acSave->isEnabled());
    EXPECT_FALSE(form->bSave->isEnabled());

    // tsAdd: surname, first name and number, trimmed.
    form->ledLastName->SetText(QStringLiteral("Иванов"));
    form->ledFirstName->SetText(QStringLiteral("Иван"));
    form->ledPassportNumber->SetText(QStringLiteral("   "));
    form->ActionListUpdate();
    EXPECT_FALSE(form->acSave->isEnabled());
    EXPECT_TRUE(form->bRecognize->isDefault());
    form->ledPassportNumber->SetText(QStringLiteral("4501 123456"));
    form->ActionListUpdate();
    EXPECT_TRUE(form->acSave->isEnabled());
    EXPECT_TRUE(form->bSave->isEnabled());
    EXPECT_TRUE(form->bSave->isDefault());
    EXPECT_FALSE(form->bRecognize->isDefault());

    // The options page never saves.
    form->pgcScanRecognize->setCurrentWidget(form->tsCommonOptions);
    form->ActionListUpdate();
    EXPECT_FALSE(form->acSave->isEnabled());

    // tsEdit: the "Rec" edits decide; copy boxes follow the current values.
    form->pgcScanRecognize->setCurrentWidget(form->tsScanAndRecognize);
    form->pgcRecognize->setCurrentWidget(form->tsEdit);
    form->ActionListUpdate();
    EXPECT_FALSE(form->acSave->isEnabled());
    form->ledLastNameRec->SetText(QStringLiteral("Петров"));
    form->ledFirstNameRec->SetText(QStringLiteral("Пётр"));
    form->ledPassportNumberRec->SetText(QStringLiteral("1"));
    form->ledLastNameCurr->SetText(QStringLiteral("Петров"));
    form->dteDateOfIssueCurr->SetDate(QDate(2010, 5, 6));
    form->ledNationalityCurr->SetText(QStringLiteral("  "));
    form->ActionListUpdate();
    EXPECT_TRUE(form->acSave->isEnabled());
    EXPECT_TRUE(form->cxCopyLastName->isEnabled());
    EXPECT_TRUE(form->cxCopyIssueDate->isEnabled());
    EXPECT_FALSE(form->cxCopyBirthDate->isEnabled());
    EXPECT_FALSE(form->cxCopyNationlity->isEnabled());
    EXPECT_FALSE(form->cxCopyFirstName->isEnabled());

    form->cxCopyLastName->setChecked(true);
    form->cxCopyIssueDate->setChecked(true);
    form->ledLastNameCurr->SetText(QString());
    form->dteDateOfIssueCurr->SetNull();
    form->ActionListUpdate();
    EXPECT_FALSE(form->cxCopyLastName->isEnabled());
    EXPECT_FALSE(form->cxCopyLastName->isChecked()) << "a box that loses its value is unticked";
    EXPECT_FALSE(form->cxCopyIssueDate->isChecked());
}
