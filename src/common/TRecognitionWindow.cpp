#include "common/TRecognitionWindow.h"

#include "common/FormSettings.h"
#include "ui/TActionUpdater.h"
#include "ui/TPictureBox.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

using recognition::TColumn;

namespace {

template <class W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TRecognitionWindow::TRecognitionWindow(QWidget *owner) : ui::TFormDialog(owner) {}

// ---- building ---------------------------------------------------------------

void TRecognitionWindow::createActionList()
{
    ActionList = named(new ui::TActionUpdater(this, [this] { ActionListUpdate(); }), "ActionList");
}

void TRecognitionWindow::buildPageControl()
{
    pgcScanRecognize = named(new QTabWidget(this), "pgcScanRecognize");
    tsScanAndRecognize = named(new QWidget(), "tsScanAndRecognize");
    tsCommonOptions = named(new QWidget(), "tsCommonOptions");
    pgcScanRecognize->addTab(tsScanAndRecognize, QStringLiteral("Сканирование/распознавание"));
    pgcScanRecognize->addTab(tsCommonOptions, QStringLiteral("Установки"));
    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(pgcScanRecognize);
}

void TRecognitionWindow::buildScanPage()
{
    auto *page = new QHBoxLayout(tsScanAndRecognize);
    page->setContentsMargins(4, 4, 4, 4);

    // Left: the document picture, and below it the window's own panel.
    pnlScan = named(new QFrame(tsScanAndRecognize), "pnlScan");
    auto *scan = new QVBoxLayout(pnlScan);
    scan->setContentsMargins(0, 0, 0, 0);
    pnlPassportScan = named(new QFrame(pnlScan), "pnlPassportScan");
    pnlPassportScan->setFrameShape(QFrame::StyledPanel);
    auto *picture = new QVBoxLayout(pnlPassportScan);
    buildPictureTop(picture);
    imgTempRecognize = named(new ui::TPictureBox(pnlPassportScan), "imgTempRecognize");
    imgTempRecognize->hide();
    imgWorkRecognize = named(new ui::TPictureBox(pnlPassportScan), "imgWorkRecognize");
    imgWorkRecognize->SetProportional(true);
    imgWorkRecognize->SetStretch(true);
    picture->addWidget(imgWorkRecognize, 1);
    pnlTypeDocument = named(new QFrame(pnlScan), "pnlTypeDocument");
    buildTypeDocument();
    scan->addWidget(pnlPassportScan, 1);
    scan->addWidget(pnlTypeDocument);

    // Right: the two data pages and the closing buttons.
    pnlRecognize = named(new QFrame(tsScanAndRecognize), "pnlRecognize");
    // At least as wide as the window was designed for; a wider window
    // shares its width between the picture and the data.
    pnlRecognize->setMinimumWidth(600);
    auto *rec = new QVBoxLayout(pnlRecognize);
    rec->setContentsMargins(0, 0, 0, 0);
    pgcRecognize = named(new QTabWidget(pnlRecognize), "pgcRecognize");
    pgcRecognize->setTabPosition(QTabWidget::South);
    tsAdd = named(new QWidget(), "tsAdd");
    tsEdit = named(new QWidget(), "tsEdit");
    pgcRecognize->addTab(tsAdd, QStringLiteral("tsAdd"));
    pgcRecognize->addTab(tsEdit, QStringLiteral("tsEdit"));
    pnlButtons = named(new QFrame(pnlRecognize), "pnlButtons");
    auto *buttons = new QHBoxLayout(pnlButtons);
    buttons->setContentsMargins(0, 4, 0, 0);
    bSave = named(new QPushButton(pnlButtons), "bSave");
    bCancel = named(new QPushButton(QStringLiteral("Отмена"), pnlButtons), "bCancel");
    buttons->addStretch(1);
    buttons->addWidget(bSave);
    buttons->addWidget(bCancel);
    rec->addWidget(pgcRecognize, 1);
    rec->addWidget(pnlButtons);

    page->addWidget(pnlScan, 1);
    page->addWidget(pnlRecognize, 1);

    // bSave runs its action, then closes with OK (subject to the date check).
    ui::TActionUpdater::BindButton(bSave, acSave);
    connect(bSave, &QPushButton::clicked, this, [this] {
        if (acSave->isEnabled())
            done(1);
    });
    connect(bCancel, &QPushButton::clicked, this, [this] {
        bCancelClick();
        done(2);
    });

    buildAddPage();
    buildEditPage();
    // Never so narrow that a data page scrolls sideways (wider fonts than
    // designed for): the picture gives way instead.
    int width = pnlRecognize->minimumWidth();
    for (QWidget *data : {tsAdd, tsEdit}) {
        if (const auto *scroll = data->findChild<QScrollArea *>())
            width = std::max(width, scroll->widget()->minimumSizeHint().width()
                                        + scroll->verticalScrollBar()->sizeHint().width()
                                        + 2 * pgcRecognize->style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
    }
    pnlRecognize->setMinimumWidth(width);
}

QVBoxLayout *TRecognitionWindow::dataPageLayout(QWidget *page)
{
    auto *layout = new QVBoxLayout(recognition::ScrollingPage(page));
    // Narrow margins: at the window's initial size every field is in sight
    // without scrolling; the page scrolls only in a smaller window.
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(4);
    return layout;
}

QGridLayout *TRecognitionWindow::recognizeGroup(QWidget *page, QGroupBox *&group, const char *groupName,
                                                QPushButton *&button, const char *buttonName)
{
    group = named(new QGroupBox(QStringLiteral(" Распознавание "), page), groupName);
    auto *grid = new QGridLayout(group);
    button = named(new QPushButton(group), buttonName);
    ui::TActionUpdater::BindButton(button, acRecognize);
    return grid;
}

void TRecognitionWindow::buildPhotoBox()
{
    pnlPhoto = named(new QGroupBox(QStringLiteral("Фотография"), gbRecognize), "pnlPhoto");
    pnlPhoto->setFixedSize(130, 160);
    auto *photo = new QVBoxLayout(pnlPhoto);
    imgPhoto = named(new ui::TPictureBox(pnlPhoto), "imgPhoto");
    imgPhoto->SetProportional(true);
    photo->addWidget(imgPhoto);
}

void TRecognitionWindow::buildCopyButton()
{
    sbCopyCurrentData = named(new QToolButton(gbRecognize_2), "sbCopyCurrentData");
    sbCopyCurrentData->setText(QStringLiteral("Копировать"));
    sbCopyCurrentData->setAutoRaise(true);
    sbCopyCurrentData->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    sbCopyCurrentData->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(sbCopyCurrentData, &QToolButton::clicked, this, [this] { sbCopyCurrentDataClick(); });
}

void TRecognitionWindow::finishAddPage(QVBoxLayout *page)
{
    page->addWidget(gbRecognize);
    page->addLayout(m_fields.BuildAddFields(tsAdd));
    page->addStretch(1);
}

void TRecognitionWindow::finishEditPage(QVBoxLayout *page)
{
    page->addWidget(gbRecognize_2);
    // Three columns of equal rows: current values, copy boxes, recognised values.
    // The recognised values show their own marking hints; the panel has none,
    // so a value without a hint shows no tooltip at all.
    page->addLayout(m_fields.BuildEditColumns(tsEdit, pnlCurrentData, pnlRecognizedData), 1);
}

// ---- behaviour --------------------------------------------------------------

bool TRecognitionWindow::optionsPageShown() const
{
    return pgcScanRecognize->currentWidget() == tsCommonOptions;
}

TColumn TRecognitionWindow::activeColumn() const
{
    return pgcRecognize->currentWidget() == tsEdit ? TColumn::Recognized : TColumn::Add;
}

void TRecognitionWindow::FormCloseQuery(bool &CanClose)
{
    if (optionsPageShown() || FCancel)
        return;
    if (!m_fields.ConfirmDateOrder(this, activeColumn()))
        CanClose = false;
}

QPushButton *TRecognitionWindow::escapeButton() const
{
    return bCancel;
}

void TRecognitionWindow::keyPressEvent(QKeyEvent *event)
{
    // Escape presses the page's cancel button; "Отмена" closes whatever the
    // dates say.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        escapeButton()->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TRecognitionWindow::updateSaveAction(std::optional<recognition::TResultField> copyExcept)
{
    if (optionsPageShown()) {
        acSave->setEnabled(false);
        return;
    }
    if (pgcScanRecognize->currentWidget() != tsScanAndRecognize)
        return;
    const TColumn column = activeColumn();
    acSave->setEnabled(m_fields.HasNameAndNumber(column));
    if (column == TColumn::Recognized)
        m_fields.UpdateCopyBoxes(copyExcept);
    if (acSave->isEnabled())
        preferSave();
}

void TRecognitionWindow::preferSave()
{
    bRecognize->setDefault(false);
    bRecognize_2->setDefault(false);
    bSave->setDefault(true);
}

void TRecognitionWindow::acSaveExecute()
{
    // Nothing to do: bSave closes the window with OK after the date check.
}

void TRecognitionWindow::bCancelClick()
{
    FCancel = true;
}

void TRecognitionWindow::showOption(QCheckBox *addBox, QCheckBox *editBox, bool value)
{
    addBox->setChecked(value);
    editBox->setChecked(value);
}

void TRecognitionWindow::saveOption(QCheckBox *addBox, QCheckBox *editBox, const settings::TBoolSetting &setting)
{
    runGuarded([&] { settings::SaveOptionBox(pgcRecognize, tsAdd, tsEdit, addBox, editBox, setting); });
}

void TRecognitionWindow::cxPhotoToAccoutDataClick()
{
    saveOption(cxPhotoToAccoutData, cxPhotoToAccoutData_2, settings::RecognizePhoto);
}

void TRecognitionWindow::cxDocPictureToAccoutDataClick()
{
    // The copy boxes are bound here as well: the box of the active page decides.
    saveOption(cxDocPictureToAccoutData, cxDocPictureToAccoutData_2, settings::RecognizeDocument);
}

void TRecognitionWindow::runExclusive(const std::function<void()> &work)
{
    if (m_running)
        return;
    struct TRunning
    {
        bool &flag;
        ~TRunning() { flag = false; }
    };
    m_running = true;
    TRunning running{m_running};
    work();
}

void TRecognitionWindow::connectOption(QCheckBox *box, std::function<void()> handler)
{
    m_optionConnections.push_back(connect(box, &QCheckBox::toggled, this, std::move(handler)));
}

void TRecognitionWindow::disconnectOptions()
{
    for (const QMetaObject::Connection &c : m_optionConnections)
        disconnect(c);
    m_optionConnections.clear();
}

void TRecognitionWindow::rebindOptions()
{
    disconnectOptions();
    using W = TRecognitionWindow;
    bindOption(cxPhotoToAccoutData, &W::cxPhotoToAccoutDataClick);
    bindOption(cxPhotoToAccoutData_2, &W::cxPhotoToAccoutDataClick);
    bindOption(cxDocPictureToAccoutData, &W::cxDocPictureToAccoutDataClick);
    bindOption(cxDocPictureToAccoutData_2, &W::cxDocPictureToAccoutDataClick);
}
