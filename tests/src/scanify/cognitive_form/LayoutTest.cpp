// The window's controls by name, caption and limit, built from the shared
// field table, and the form variable the host reads.
#include "CognitiveFixture.h"
#include "support/RecognitionWindowChecks.h"

#include "common/RecognitionFields.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TChoiceGroup.h"
#include "ui/TNullableDateEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

using namespace r9test;
using recognition::TColumn;

namespace {

class CognitiveLayout : public CognitiveFixture
{
};

TEST_F(CognitiveLayout, WindowPagesButtonsAndFormVariable)
{
    Create();
    EXPECT_EQ(CognitiveRecognitionFM, form);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Распознавание данных документа"));
    EXPECT_EQ(form->size(), QSize(1097, 610));
    EXPECT_EQ(form->minimumSize(), QSize(840, 300));
    EXPECT_EQ(form->property("HelpContext").toInt(), 460);
    EXPECT_EQ(form->pgcScanRecognize->currentWidget(), form->tsScanAndRecognize);
    EXPECT_TRUE(form->pgcScanRecognize->tabBar()->isHidden()) << "the settings page is never shown";
    EXPECT_EQ(form->pgcScanRecognize->tabText(1), QStringLiteral("Установки"));
    EXPECT_EQ(form->bSave->text(), QStringLiteral("Готово"));
    EXPECT_EQ(form->bCancel->text(), QStringLiteral("Отмена"));
    EXPECT_EQ(form->bRecognize->text(), QStringLiteral("Распознать"));
    EXPECT_EQ(form->bRecognize_2->text(), QStringLiteral("Распознать"));
    EXPECT_EQ(form->acScan->text(), QStringLiteral("Получить изображение"));
    EXPECT_EQ(form->bRepeatRecognize->text(), QStringLiteral("Распознать повторно"));
    EXPECT_TRUE(form->pnlRepeatRecognize->isHidden());
    EXPECT_TRUE(form->sbTurnLeftForRepeat->isHidden());
    EXPECT_EQ(form->sbTurnRightForRepeat->toolTip(), QStringLiteral("Поворот по часовой на 90 градусов"));
    EXPECT_TRUE(form->imgTempRecognize->isHidden());
    EXPECT_EQ(form->sbCopyCurrentData->text(), QStringLiteral("Копировать"));
    EXPECT_EQ(form->laPhotoToAccoutData_2->text(), QStringLiteral("Поместить фотографию в учетные данные"));
    EXPECT_EQ(form->laDocPictureToAccoutData->text(), QStringLiteral("Поместить изображение в учетные данные"));
    EXPECT_EQ(form->cxShowTWAINDialog->text(), QStringLiteral("Показывать TWAIN-диалог"));
    EXPECT_EQ(form->cxSelectScanner_Add->text(), QStringLiteral("Выбор сканера"));
    EXPECT_EQ(form->cxProtocol->text(), QStringLiteral("Протокол"));
    EXPECT_EQ(form->bCancelOptions->text(), QStringLiteral("Закрыть окно"));
    for (const char *name : {"pnlTypeDocument", "pnlCurrentData", "pnlRecognizedData", "cbScanListForTest",
                             "tbBrightness", "cbPaperSize", "rgOrient", "rgColorMode", "rgRotation", "imgPhoto"})
        EXPECT_NE(form->findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    delete form;
    form = nullptr;
    EXPECT_EQ(CognitiveRecognitionFM, nullptr) << "a host must never see a freed window";
}

TEST_F(CognitiveLayout, HiddenOptionsPageIsLaidOutAsInThePassportReaderWindow)
{
    Create();
    auto *group = form->findChild<QGroupBox *>(QStringLiteral("gbScannerOptions"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), QStringLiteral(" Параметры сканера "));
    for (const char *name : {"imgBrightMin", "tbBrightness", "imgBrightMax", "laBrightValue", "rgOrient", "rgColorMode",
                             "laPaperSize", "cbPaperSize", "rgRotation"})
        EXPECT_NE(group->findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    EXPECT_EQ(group->findChild<QWidget *>(QStringLiteral("imgBrightMin"))->toolTip(), QStringLiteral("Яркость: темнее"));
    EXPECT_EQ(group->findChild<QWidget *>(QStringLiteral("imgBrightMax"))->toolTip(), QStringLiteral("Яркость: светлее"));
    auto *paper = form->findChild<QLabel *>(QStringLiteral("laPaperSize"));
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(paper->text(), QStringLiteral("Размер бумаги"));
    EXPECT_EQ(paper->buddy(), form->cbPaperSize);
    EXPECT_EQ(form->cbPaperSize->count(), 44);
    EXPECT_EQ(form->findChild<QLabel *>(QStringLiteral("laScannerList"))->buddy(), form->cbScanListForTest);
    EXPECT_TRUE(form->rgRotation->isHidden());
    // The scanner's own dialog is chosen on the data pages here.
    EXPECT_EQ(form->findChild<QWidget *>(QStringLiteral("cxShowTwainDialog")), nullptr);
}

TEST_F(CognitiveLayout, EveryFieldInEveryColumnByNameCaptionAndLimit)
{
    Create();
    for (const recognition::TFieldDescription &f : recognition::ResultFields()) {
        SCOPED_TRACE(f.stem);
        for (TColumn column : {TColumn::Add, TColumn::Current, TColumn::Recognized}) {
            const QString name = recognition::ControlName(f, column);
            QWidget *control = form->findChild<QWidget *>(name);
            ASSERT_NE(control, nullptr) << name.toStdString();
            EXPECT_EQ(control, form->Fields().Control(f.field, column));
            const QString caption = QString::fromUtf8(column != TColumn::Add && f.editCaption ? f.editCaption : f.caption);
            if (f.date) {
                auto *date = qobject_cast<ui::TNullableDateEdit *>(control);
                ASSERT_NE(date, nullptr);
                EXPECT_EQ(form->findChild<QLabel *>(recognition::DateLabelName(f, column))->text(), caption);
                EXPECT_EQ(date->ReadOnly(), column == TColumn::Current);
            } else {
                auto *edit = qobject_cast<ui::TCaptionedEdit *>(control);
                ASSERT_NE(edit, nullptr);
                EXPECT_EQ(edit->EditLabel()->text(), caption);
                EXPECT_EQ(edit->MaxLength(), f.maxLength);
                EXPECT_EQ(edit->ReadOnly(), column == TColumn::Current);
            }
        }
        QCheckBox *copy = form->findChild<QCheckBox *>(QLatin1String(f.copyBox));
        ASSERT_NE(copy, nullptr);
        EXPECT_TRUE(copy->text().isEmpty());
    }
    // The members carry the same controls.
    EXPECT_EQ(form->ledLastName->objectName(), QStringLiteral("ledLastName"));
    EXPECT_EQ(form->dteDateOfExpiryRec->objectName(), QStringLiteral("dteDateOfExpiryRec"));
    EXPECT_EQ(form->laDateOfIssueCurr->objectName(), QStringLiteral("laDateOfIssueCurr"));
    EXPECT_EQ(form->cxCopyNationlity->objectName(), QStringLiteral("cxCopyNationlity"));
    EXPECT_EQ(form->ledDepartmentCodeRec->EditLabel()->text(), QStringLiteral("Код подраз- деления"));
    EXPECT_EQ(form->ledDepartmentCode->EditLabel()->text(), QStringLiteral("Код подразделения"));
    EXPECT_EQ(form->ledSex->MaxLength(), 6);
    EXPECT_EQ(form->ledPassportNumber->MaxLength(), 100);
    EXPECT_EQ(form->ledPlaceOfBirth->MaxLength(), 255);
    EXPECT_EQ(form->ledDepartmentCode->MaxLength(), 20);
    EXPECT_EQ(form->ledLastName->MaxLength(), 0);
}

TEST_F(CognitiveLayout, RecognisedValuesWithoutAHintShowNoTooltip)
{
    Create(true);
    Show();
    ExpectNoTooltipWithoutAHint(form);
}

TEST_F(CognitiveLayout, EveryFieldIsInSightWithoutScrollingAtTheInitialSize)
{
    Create();
    Show();
    const QSize initial = form->size();
    EXPECT_EQ(initial, QSize(1097, 610));
    ExpectEveryFieldInSight(form, false, initial);
    ExpectEveryFieldInSight(form, true, initial);
}

TEST(CountryInfo, KeepsItsCode)
{
    std::unique_ptr<TCountryInfo> info(TCountryInfo::Create(QStringLiteral("RUS")));
    EXPECT_EQ(info->FKod, QStringLiteral("RUS"));
}

} // namespace
