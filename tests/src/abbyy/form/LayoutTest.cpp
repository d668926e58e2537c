// The window as built: names, captions, kinds, limits and hidden parts the
// host and the operator rely on.
#include "FormFixture.h"
#include "support/RecognitionWindowChecks.h"

#include "common/RecognitionFields.h"

#include "ui/TNullableDateEdit.h"
#include "ui/TPictureBox.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TChoiceGroup.h"
#include "ui/TTrackSlider.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

using namespace r9test;

namespace {

class Layout : public FormFixture {};

struct EditRow { const char *name; const char *caption; int maxLength; };

const EditRow edits[] = {
    {"ledLastName", "Фамилия", 0},          {"ledFirstName", "Имя", 0},
    {"ledMiddleName", "Отчество", 0},       {"ledPassportNumber", "Номер", 100},
    {"ledSex", "Пол", 6},                   {"ledPlaceOfBirth", "Место рождения", 255},
    {"ledIssuedBy", "Кем выдан", 255},      {"ledDepartmentCode", "Код подразделения", 20},
    {"ledNationality", "Гражданство", 100},
};
const EditRow dates[] = {
    {"dteDateOfBirth", "Дата рождения", 0},
    {"dteDateOfIssue", "Когда выдан", 0},
    {"dteDateOfExpiry", "Действителен до", 0},
};

} // namespace

TEST_F(Layout, WindowPagesAndActions)
{
    Create(false, false);
    EXPECT_EQ(ABBYYRecognitionFM, form);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Сканирование/распознавание данных документа"));
    EXPECT_EQ(form->size(), QSize(1151, 651));
    EXPECT_EQ(form->minimumSize(), QSize(840, 300));
    EXPECT_EQ(form->pgcScanRecognize->currentWidget(), form->tsCommonOptions) << "the layout opens on the options page";
    EXPECT_EQ(form->pgcScanRecognize->tabText(0), QStringLiteral("Сканирование/распознавание"));
    EXPECT_EQ(form->pgcScanRecognize->tabText(1), QStringLiteral("Установки"));
    EXPECT_EQ(form->pgcRecognize->tabPosition(), QTabWidget::South);
    EXPECT_EQ(form->acRecognize->text(), QStringLiteral("Распознать"));
    EXPECT_EQ(form->acScan->text(), QStringLiteral("Получить изображение"));
    EXPECT_EQ(form->acSave->text(), QStringLiteral("Готово"));
    EXPECT_EQ(form->bSave->text(), QStringLiteral("Готово"));
    EXPECT_EQ(form->bRecognize->text(), QStringLiteral("Распознать"));
    EXPECT_EQ(form->bRecognize_2->text(), QStringLiteral("Распознать"));
    EXPECT_EQ(form->bCancel->text(), QStringLiteral("Отмена"));
    EXPECT_EQ(form->sbCopyCurrentData->text(), QStringLiteral("Копировать"));
    EXPECT_EQ(form->cbPassportTypes->maxVisibleItems(), 20);
    EXPECT_TRUE(form->imgTempRecognize->isHidden());
    EXPECT_FALSE(form->imgWorkRecognize->isHidden());
    EXPECT_TRUE(form->imgWorkRecognize->Proportional());
    EXPECT_EQ(form->findChild<QObject *>(QStringLiteral("dsNationalities")), form->dsNationalities);

    TCountryInfo *country = TCountryInfo::Create(QStringLiteral("RU"));
    EXPECT_EQ(country->FKod, QStringLiteral("RU"));
    delete country;

    delete form;
    form = nullptr;
    EXPECT_EQ(ABBYYRecognitionFM, nullptr) << "a freed window must not stay in the form variable";
}

TEST_F(Layout, ResultControlsOnBothSubPages)
{
    Create();
    for (const char *suffix : {"", "Curr", "Rec"}) {
        for (const EditRow &row : edits) {
            const QString name = QLatin1String(row.name) + QLatin1String(suffix);
            auto *edit = form->findChild<ui::TCaptionedEdit *>(name);
            ASSERT_NE(edit, nullptr) << name.toStdString();
            QString caption = QString::fromUtf8(row.caption);
            if (name == QLatin1String("ledDepartmentCodeCurr") || name == QLatin1String("ledDepartmentCodeRec"))
                caption = QStringLiteral("Код подраз- деления");
            EXPECT_EQ(edit->EditLabel()->text(), caption) << name.toStdString();
            EXPECT_EQ(edit->MaxLength(), row.maxLength) << name.toStdString();
            EXPECT_EQ(edit->ReadOnly(), QLatin1String(suffix) == QLatin1String("Curr")) << name.toStdString();
            EXPECT_TRUE((*suffix ? form->tsEdit : form->tsAdd)->isAncestorOf(edit)) << name.toStdString();
        }
        for (const EditRow &row : dates) {
            const QString name = QLatin1String(row.name) + QLatin1String(suffix);
            auto *edit = form->findChild<ui::TNullableDateEdit *>(name);
            ASSERT_NE(edit, nullptr) << name.toStdString();
            EXPECT_TRUE(edit->IsNull());
            bool labelled = false;
            for (QLabel *label : edit->parentWidget()->findChildren<QLabel *>())
                labelled |= label->text() == QString::fromUtf8(row.caption);
            EXPECT_TRUE(labelled) << name.toStdString();
        }
    }
    EXPECT_EQ(form->ledLastNameRec, form->EditControls(false).LastName);
    EXPECT_EQ(form->dteDateOfExpiryCurr, form->EditControls(true).DateOfExpiry);

    // The twelve copy boxes exist by name and sit between the two columns.
    const char *copyNames[] = {"cxCopyLastName", "cxCopyFirstName", "cxCopyMiddleName", "cxCopyNumber",
                               "cxCopySex", "cxCopyBirthDate", "cxCopyIssueDate", "cxCopyExpiryDate",
                               "cxCopyBirthPlace", "cxCopyIssueBy", "cxCopyDepartmentCode", "cxCopyNationlity"};
    for (const char *name : copyNames) {
        auto *box = form->findChild<QCheckBox *>(QLatin1String(name));
        ASSERT_NE(box, nullptr) << name;
        EXPECT_TRUE(form->tsEdit->isAncestorOf(box));
    }
    for (const auto &[name, caption] : {std::pair{"cxPhotoToAccoutData", "Поместить фотографию в учетные данные"},
                                        std::pair{"cxDocPictureToAccoutData", "Поместить изображение в учетные данные"},
                                        std::pair{"cxFIOInLatin", "Данные на латыни (загранпаспорта)"}}) {
        EXPECT_EQ(form->findChild<QCheckBox *>(QLatin1String(name))->text(), QString::fromUtf8(caption));
        EXPECT_EQ(form->findChild<QCheckBox *>(QLatin1String(name) + QLatin1String("_2"))->text(), QString::fromUtf8(caption));
    }
}

TEST_F(Layout, RecognisedValuesWithoutAHintShowNoTooltip)
{
    Create(true);
    Show();
    ExpectNoTooltipWithoutAHint(form);
}

TEST_F(Layout, EveryFieldIsInSightWithoutScrollingAtTheInitialSize)
{
    Create();
    Show();
    const QSize initial = form->size();
    ExpectEveryFieldInSight(form, false, initial);
    ExpectEveryFieldInSight(form, true, initial);
}

TEST_F(Layout, OptionsPage)
{
    Create(false, false);
    EXPECT_EQ(form->laScannerList->text(), QStringLiteral("Сканер"));
    EXPECT_EQ(form->bScanTest->text(), QStringLiteral("Сканировать"));
    EXPECT_TRUE(form->sbTurnLeft->isHidden());
    EXPECT_TRUE(form->sbTurnRight->isHidden());
    EXPECT_EQ(form->sbTurnLeft->toolTip(), QStringLiteral("Поворот против часовой на 90 градусов"));
    EXPECT_EQ(form->sbTurnRight->toolTip(), QStringLiteral("Поворот по часовой на 90 градусов"));
    EXPECT_EQ(form->gbScannerOptions->title(), QStringLiteral(" Параметры сканера "));
    EXPECT_EQ(form->imgBrightMin->toolTip(), QStringLiteral("Яркость: темнее"));
    EXPECT_EQ(form->imgBrightMax->toolTip(), QStringLiteral("Яркость: светлее"));
    EXPECT_EQ(form->tbBrightness->minimum(), 0);
    EXPECT_EQ(form->tbBrightness->maximum(), 100);
    EXPECT_EQ(form->tbBrightness->tickPosition(), QSlider::NoTicks);
    EXPECT_EQ(form->laBrightValue->text(), QStringLiteral("20"));
    EXPECT_EQ(form->laShowTwainDialog->text(), QStringLiteral("Показывать TWAIN-диалог сканера"));
    EXPECT_EQ(form->rgOrient->title(), QStringLiteral(" Ориентация  "));
    EXPECT_EQ(form->rgOrient->Items(), (QStringList{QStringLiteral("Портретная"), QStringLiteral("Альбомная")}));
    EXPECT_EQ(form->rgColorMode->title(), QStringLiteral(" Цветность изображения "));
    EXPECT_EQ(form->rgColorMode->Items(),
              (QStringList{QStringLiteral("Черно-белое c оттенками серого"), QStringLiteral("Цветное")}));
    EXPECT_TRUE(form->rgRotation->isHidden());
    EXPECT_EQ(form->rgRotation->title(), QStringLiteral(" Поворот отсканированного изображения "));
    EXPECT_EQ(form->rgRotation->Count(), 3);
    EXPECT_EQ(form->laPaperSize->text(), QStringLiteral("Размер бумаги"));
    EXPECT_EQ(form->laNationNames->text(), QStringLiteral("Названия гражданства стран"));
    EXPECT_EQ(form->bCancelOptions->text(), QStringLiteral("Закрыть окно"));
    EXPECT_TRUE(form->imgTempTest->isHidden());
    EXPECT_TRUE(form->ListBox1->isHidden());
    EXPECT_TRUE(form->ListBox2->isHidden());

    ASSERT_EQ(form->cbPaperSize->count(), 44);
    EXPECT_EQ(form->cbPaperSize->itemText(0), QStringLiteral("BroadSheet"));
    EXPECT_EQ(form->cbPaperSize->itemText(16), QStringLiteral("A4"));
    EXPECT_EQ(form->cbPaperSize->itemText(42), QStringLiteral("EnvelopeMonarch"));
    EXPECT_EQ(form->cbPaperSize->itemText(43), QString());
}

TEST_F(Layout, NationalitiesGrid)
{
    Create(false, false);
    QTableView *grid = form->dbgNationlities;
    QAbstractItemModel *model = grid->model();
    ASSERT_NE(model, nullptr);
    const int name = nationalities.FieldIndex(QStringLiteral("F_COUNTRY_NAME"));
    const int nation = nationalities.FieldIndex(QStringLiteral("F_COUNTRY_NATIONLITY"));
    const int kod = nationalities.FieldIndex(QStringLiteral("F_COUNTRY_KOD"));
    EXPECT_TRUE(grid->isColumnHidden(kod));
    EXPECT_FALSE(grid->isColumnHidden(name));
    EXPECT_FALSE(grid->isColumnHidden(nation));
    QHeaderView *header = grid->horizontalHeader();
    EXPECT_LT(header->visualIndex(name), header->visualIndex(nation)) << "country first";
    EXPECT_EQ(model->headerData(name, Qt::Horizontal).toString(), QStringLiteral("Страна"));
    EXPECT_EQ(model->headerData(nation, Qt::Horizontal).toString(), QStringLiteral("Гражданство"));
    EXPECT_EQ(grid->columnWidth(name), 181);
    header->resizeSection(name, 10);
    EXPECT_EQ(grid->columnWidth(name), 75);
    header->resizeSection(name, 181);
    EXPECT_FALSE(model->flags(model->index(0, name)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model->flags(model->index(0, nation)) & Qt::ItemIsEditable);
    EXPECT_EQ(model->headerData(1, Qt::Vertical).toInt(), 2) << "row numbers";
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(form->dbgNationlitiesFooter->text(), QStringLiteral("Стран: 2")) << "footer row";
}

namespace {

/// The controls of a page an operator reads or works.
QList<QWidget *> controlsOf(QWidget *page)
{
    QList<QWidget *> out;
    for (QWidget *w : page->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(page) || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (qobject_cast<QLabel *>(w) || qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractButton *>(w)
            || qobject_cast<QComboBox *>(w) || qobject_cast<QGroupBox *>(w) || qobject_cast<QTableView *>(w))
            out << w;
    }
    return out;
}

/// Every control at least as large as it needs to be readable, and no two
/// controls of one parent on top of each other.
void expectReadable(QWidget *page, const char *where)
{
    SCOPED_TRACE(where);
    const QList<QWidget *> controls = controlsOf(page);
    ASSERT_FALSE(controls.isEmpty());
    for (QWidget *w : controls) {
        const QSize need = w->minimumSizeHint();
        const QString name = w->objectName() + QLatin1Char('/') + w->metaObject()->className();
        EXPECT_GE(w->height(), std::min(need.height(), w->maximumHeight())) << name.toStdString();
        if (!qobject_cast<QLabel *>(w) || !static_cast<QLabel *>(w)->wordWrap()) {
            EXPECT_GE(w->width(), std::min(need.width(), w->maximumWidth())) << name.toStdString();
        }
    }
    for (QWidget *a : controls)
        for (QWidget *b : controls)
            if (a < b && a->parentWidget() == b->parentWidget()) {
                EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                    << a->objectName().toStdString() << " over " << b->objectName().toStdString();
            }
}

} // namespace

TEST_F(Layout, ReadableDownToTheMinimumSizeOnEveryPage)
{
    Create();
    Show();
    for (QSize size : {QSize(1000, 450), QSize(840, 300)}) {
        SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height());
        form->pgcScanRecognize->setCurrentWidget(form->tsScanAndRecognize);
        form->resize(size);
        QCoreApplication::processEvents();
        ASSERT_EQ(form->size(), size);
        form->pgcRecognize->setCurrentWidget(form->tsAdd);
        QCoreApplication::processEvents();
        expectReadable(form->tsAdd, "tsAdd");
        form->pgcRecognize->setCurrentWidget(form->tsEdit);
        QCoreApplication::processEvents();
        expectReadable(form->tsEdit, "tsEdit");
        EXPECT_TRUE(form->pnlRecognize->geometry().right() < form->tsScanAndRecognize->width())
            << "the data panel stays inside the window";
        form->pgcScanRecognize->setCurrentWidget(form->tsCommonOptions);
        QCoreApplication::processEvents();
        expectReadable(form->tsCommonOptions, "tsCommonOptions");
        EXPECT_GE(form->dbgNationlities->height(), 100) << "the grid keeps rows to work in";
    }
    EXPECT_EQ(form->minimumSize(), QSize(840, 300));
}

TEST_F(Layout, MaximisedWindowWidensTheDataColumnsAndTheGridFits)
{
    Create(true);
    Show();
    form->resize(1920, 1040);
    QCoreApplication::processEvents();
    EXPECT_GE(form->pnlRecognize->width(), form->width() * 2 / 5) << "the data gets its share of the width";
    for (ui::TCaptionedEdit *e : {form->ledIssuedByCurr, form->ledIssuedByRec, form->ledLastNameRec})
        EXPECT_GE(e->Edit()->width(), 250) << e->objectName().toStdString();

    // Long values show their start, however the program put them in.
    const QString longValue = QStringLiteral("ОТДЕЛОМ ВНУТРЕННИХ ДЕЛ ГОРОДА ЛУГОВСКА ЗАРЕЧНОЙ ОБЛАСТИ ") + QString(80, QChar(u'Я'));
    form->ledIssuedByCurr->SetText(longValue);
    EXPECT_EQ(form->ledIssuedByCurr->Edit()->cursorPosition(), 0);
    form->ledIssuedByRec->Edit()->setText(longValue);
    EXPECT_EQ(form->ledIssuedByRec->Edit()->cursorPosition(), 0);

    // The nationalities grid: its two columns fill it, no sideways scrolling,
    // both titles whole.
    for (QSize size : {QSize(1920, 1040), QSize(1151, 651), form->minimumSize()}) {
        SCOPED_TRACE(size.width());
        form->pgcScanRecognize->setCurrentWidget(form->tsCommonOptions);
        form->resize(size);
        QCoreApplication::processEvents();
        QTableView *grid = form->dbgNationlities;
        QHeaderView *header = grid->horizontalHeader();
        EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
        EXPECT_LE(header->length(), grid->viewport()->width());
        const int nation = nationalities.FieldIndex(QStringLiteral("F_COUNTRY_NATIONLITY"));
        const int name = nationalities.FieldIndex(QStringLiteral("F_COUNTRY_NAME"));
        for (int section : {name, nation})
            EXPECT_GE(header->sectionSize(section), header->sectionSizeHint(section)) << section;
    }
}

TEST_F(Layout, FormOwnsDocumentTypes)
{
    Create();
    auto *second = new TDocumentInfo(QStringLiteral("Passport_BY"), QStringLiteral("Паспорт РБ"), QString(),
                                     QStringLiteral("белорус"), tdPassport, true);
    form->AddPassportType(QStringLiteral("Паспорт РБ"), second);
    form->cbPassportTypes->setCurrentIndex(1);
    EXPECT_EQ(form->SelectedPassportType(), second);
    EXPECT_EQ(form->PassportType(0)->FIdentifier, QStringLiteral("Passport_RU"));
    EXPECT_EQ(form->PassportType(5), nullptr);
    form->FormDestroy(); // frees both; the sanitizer run catches a leak or a double free
    EXPECT_EQ(form->PassportType(1), nullptr);
}
