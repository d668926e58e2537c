// Layout of the Scanify recognition window: the scan page with the scanned
// picture and the two data pages, the hidden options page, and the actions.
#include "scanify/engCognitive9r_FM.h"

#include "common/Recognition9r.h"

#include "ui/TActionUpdater.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TChoiceGroup.h"
#include "ui/TNullableDateEdit.h"
#include "ui/TPictureBox.h"
#include "ui/TTrackSlider.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <class W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

/// A check box with its caption on a separate label, as the wishes are laid out.
QCheckBox *labelledCheck(QWidget *parent, QGridLayout *grid, int row, const char *name, const char *labelName,
                         QLabel *&label, const QString &caption)
{
    auto *box = named(new QCheckBox(parent), name);
    label = named(new QLabel(caption, parent), labelName);
    label->setBuddy(box);
    auto *line = new QHBoxLayout();
    line->addWidget(box);
    line->addWidget(label, 1);
    grid->addLayout(line, row, 0);
    return box;
}

QToolButton *turnButton(QWidget *parent, const char *name, const QString &hint)
{
    auto *b = named(new QToolButton(parent), name);
    b->setAutoRaise(true);
    b->setToolTip(hint);
    b->setIcon(parent->style()->standardIcon(QStyle::SP_BrowserReload));
    b->hide();
    return b;
}

} // namespace

TCognitiveRecognitionFM::TCognitiveRecognitionFM(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                         | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("CognitiveRecognitionFM"));
    setWindowTitle(QStringLiteral("Распознавание данных документа"));
    setModal(true);
    setSizeGripEnabled(true);
    setProperty("HelpFile", QStringLiteral("CommonUserOperations.chm"));
    setProperty("HelpContext", 460);

    ActionList = named(new ui::TActionUpdater(this, [this] { ActionListUpdate(); }), "ActionList");
    acRecognize = ActionList->AddAction(QStringLiteral("acRecognize"), QStringLiteral("Распознать"));
    acSave = ActionList->AddAction(QStringLiteral("acSave"), QStringLiteral("Готово"));
    acScan = ActionList->AddAction(QStringLiteral("acScan"), QStringLiteral("Получить изображение"));
    connect(acRecognize, &QAction::triggered, this, [this] { acRecognizeExecute(); });
    connect(acSave, &QAction::triggered, this, [this] { acSaveExecute(); });

    pgcScanRecognize = named(new QTabWidget(this), "pgcScanRecognize");
    tsScanAndRecognize = named(new QWidget(), "tsScanAndRecognize");
    tsCommonOptions = named(new QWidget(), "tsCommonOptions");
    pgcScanRecognize->addTab(tsScanAndRecognize, QStringLiteral("Сканирование/распознавание"));
    pgcScanRecognize->addTab(tsCommonOptions, QStringLiteral("Установки"));
    pgcScanRecognize->tabBar()->hide();
    pgcScanRecognize->setCurrentWidget(tsScanAndRecognize);
    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(pgcScanRecognize);

    buildScanPage();
    buildOptionsPage();
    BindResultFields(this);
    pgcRecognize->setCurrentWidget(tsAdd);

    // Bound as laid out; FormShow binds the TWAIN-dialog box of tsEdit too.
    connectOptionBoxes(false);
    connect(cxProtocol, &QCheckBox::toggled, this, [this] { cxProtocolClick(); });
    for (QCheckBox *box : m_fields.CopyBoxes())
        connect(box, &QCheckBox::toggled, this, [this] { cxDocPictureToAccoutDataClick(); });

    resize(1097, 610);
    setMinimumSize(840, 300);
}

void TCognitiveRecognitionFM::buildScanPage()
{
    auto *page = new QHBoxLayout(tsScanAndRecognize);
    page->setContentsMargins(4, 4, 4, 4);

    // Left: the scanned page, with the repeat offer on top of it.
    pnlScan = named(new QFrame(tsScanAndRecognize), "pnlScan");
    auto *scan = new QVBoxLayout(pnlScan);
    scan->setContentsMargins(0, 0, 0, 0);
    pnlPassportScan = named(new QFrame(pnlScan), "pnlPassportScan");
    pnlPassportScan->setFrameShape(QFrame::StyledPanel);
    auto *picture = new QVBoxLayout(pnlPassportScan);
    pnlRepeatRecognize = named(new QFrame(pnlPassportScan), "pnlRepeatRecognize");
    auto *repeat = new QHBoxLayout(pnlRepeatRecognize);
    repeat->setContentsMargins(0, 0, 0, 0);
    bRepeatRecognize = named(new QPushButton(QStringLiteral("Распознать повторно"), pnlRepeatRecognize),
                             "bRepeatRecognize");
    sbTurnLeftForRepeat = turnButton(pnlRepeatRecognize, "sbTurnLeftForRepeat",
                                     QStringLiteral("Поворот против часовой на 90 градусов"));
    sbTurnRightForRepeat = turnButton(pnlRepeatRecognize, "sbTurnRightForRepeat",
                                      QStringLiteral("Поворот по часовой на 90 градусов"));
    repeat->addWidget(sbTurnLeftForRepeat);
    repeat->addWidget(bRepeatRecognize);
    repeat->addWidget(sbTurnRightForRepeat);
    repeat->addStretch(1);
    pnlRepeatRecognize->hide();
    connect(bRepeatRecognize, &QPushButton::clicked, this, [this] { bRepeatRecognizeClick(); });
    imgTempRecognize = named(new ui::TPictureBox(pnlPassportScan), "imgTempRecognize");
    imgTempRecognize->hide();
    imgWorkRecognize = named(new ui::TPictureBox(pnlPassportScan), "imgWorkRecognize");
    imgWorkRecognize->SetProportional(true);
    imgWorkRecognize->SetStretch(true);
    picture->addWidget(pnlRepeatRecognize);
    picture->addWidget(imgWorkRecognize, 1);
    pnlTypeDocument = named(new QFrame(pnlScan), "pnlTypeDocument");
    pnlTypeDocument->setFixedHeight(8);
    scan->addWidget(pnlPassportScan, 1);
    scan->addWidget(pnlTypeDocument);

    // Right: the two data pages and the closing buttons.
    pnlRecognize = named(new QFrame(tsScanAndRecognize), "pnlRecognize");
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
}

void TCognitiveRecognitionFM::buildAddPage()
{
    auto *page = new QVBoxLayout(recognition::ScrollingPage(tsAdd));
    gbRecognize = named(new QGroupBox(QStringLiteral(" Распознавание "), tsAdd), "gbRecognize");
    auto *grid = new QGridLayout(gbRecognize);
    bRecognize = named(new QPushButton(gbRecognize), "bRecognize");
    ui::TActionUpdater::BindButton(bRecognize, acRecognize);
    grid->addWidget(bRecognize, 0, 0, Qt::AlignLeft);
    cxPhotoToAccoutData = labelledCheck(gbRecognize, grid, 1, "cxPhotoToAccoutData", "laPhotoToAccoutData",
                                        laPhotoToAccoutData, QStringLiteral("Поместить фотографию в учетные данные"));
    cxDocPictureToAccoutData = labelledCheck(gbRecognize, grid, 2, "cxDocPictureToAccoutData",
                                             "laDocPictureToAccoutData", laDocPictureToAccoutData,
                                             QStringLiteral("Поместить изображение в учетные данные"));
    cxShowTWAINDialog_Add = named(new QCheckBox(QStringLiteral("Показывать TWAIN-диалог"), gbRecognize),
                                  "cxShowTWAINDialog_Add");
    cxSelectScanner_Add = named(new QCheckBox(QStringLiteral("Выбор сканера"), gbRecognize), "cxSelectScanner_Add");
    cxProtocol = named(new QCheckBox(QStringLiteral("Протокол"), gbRecognize), "cxProtocol");
    auto *options = new QHBoxLayout();
    options->addWidget(cxShowTWAINDialog_Add);
    options->addWidget(cxSelectScanner_Add);
    options->addWidget(cxProtocol);
    options->addStretch(1);
    grid->addLayout(options, 3, 0);
    grid->setRowStretch(4, 1);
    pnlPhoto = named(new QGroupBox(QStringLiteral("Фотография"), gbRecognize), "pnlPhoto");
    pnlPhoto->setFixedSize(130, 160);
    auto *photo = new QVBoxLayout(pnlPhoto);
    imgPhoto = named(new ui::TPictureBox(pnlPhoto), "imgPhoto");
    imgPhoto->SetProportional(true);
    photo->addWidget(imgPhoto);
    grid->addWidget(pnlPhoto, 0, 1, 5, 1, Qt::AlignRight);
    page->addWidget(gbRecognize);
    page->addLayout(m_fields.BuildAddFields(tsAdd));
    page->addStretch(1);
}

void TCognitiveRecognitionFM::buildEditPage()
{
    auto *page = new QVBoxLayout(recognition::ScrollingPage(tsEdit));
    gbRecognize_2 = named(new QGroupBox(QStringLiteral(" Распознавание "), tsEdit), "gbRecognize_2");
    auto *grid = new QGridLayout(gbRecognize_2);
    bRecognize_2 = named(new QPushButton(gbRecognize_2), "bRecognize_2");
    ui::TActionUpdater::BindButton(bRecognize_2, acRecognize);
    grid->addWidget(bRecognize_2, 0, 0, Qt::AlignLeft);
    cxPhotoToAccoutData_2 = labelledCheck(gbRecognize_2, grid, 1, "cxPhotoToAccoutData_2", "laPhotoToAccoutData_2",
                                          laPhotoToAccoutData_2,
                                          QStringLiteral("Поместить фотографию в учетные данные"));
    cxDocPictureToAccoutData_2 = labelledCheck(gbRecognize_2, grid, 2, "cxDocPictureToAccoutData_2",
                                               "laDocPictureToAccoutData_2", laDocPictureToAccoutData_2,
                                               QStringLiteral("Поместить изображение в учетные данные"));
    cxShowTWAINDialog = named(new QCheckBox(QStringLiteral("Показывать TWAIN-диалог"), gbRecognize_2),
                              "cxShowTWAINDialog");
    cxSelectScanner = named(new QCheckBox(QStringLiteral("Выбор сканера"), gbRecognize_2), "cxSelectScanner");
    auto *options = new QHBoxLayout();
    options->addWidget(cxShowTWAINDialog);
    options->addWidget(cxSelectScanner);
    options->addStretch(1);
    grid->addLayout(options, 3, 0);
    sbCopyCurrentData = named(new QToolButton(gbRecognize_2), "sbCopyCurrentData");
    sbCopyCurrentData->setText(QStringLiteral("Копировать"));
    sbCopyCurrentData->setAutoRaise(true);
    sbCopyCurrentData->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    sbCopyCurrentData->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(sbCopyCurrentData, &QToolButton::clicked, this, [this] { sbCopyCurrentDataClick(); });
    grid->addWidget(sbCopyCurrentData, 3, 1, Qt::AlignRight);
    page->addWidget(gbRecognize_2);
    page->addLayout(m_fields.BuildEditColumns(tsEdit, pnlCurrentData, pnlRecognizedData), 1);
    // The recognised values show their marking hints; the current ones none.
    pnlRecognizedData->setToolTip(QStringLiteral("Распознанные данные"));
}

void TCognitiveRecognitionFM::buildOptionsPage()
{
    // Laid out as in the passport-reader window; here nothing is bound to it.
    auto *page = new QVBoxLayout(tsCommonOptions);
    auto *scanner = new QHBoxLayout();
    cbScanListForTest = named(new QComboBox(tsCommonOptions), "cbScanListForTest");
    bScanTest = named(new QPushButton(QStringLiteral("Сканировать"), tsCommonOptions), "bScanTest");
    scanner->addWidget(new QLabel(QStringLiteral("Сканер"), tsCommonOptions));
    scanner->addWidget(cbScanListForTest, 1);
    scanner->addWidget(bScanTest);
    page->addLayout(scanner);
    tbBrightness = named(new ui::TTrackSlider(tsCommonOptions), "tbBrightness");
    tbBrightness->setRange(0, 100);
    page->addWidget(tbBrightness);
    cbPaperSize = named(new QComboBox(tsCommonOptions), "cbPaperSize");
    page->addWidget(cbPaperSize);
    rgOrient = named(new ui::TChoiceGroup(QStringLiteral(" Ориентация  "), tsCommonOptions), "rgOrient");
    rgOrient->SetItems({QStringLiteral("Портретная"), QStringLiteral("Альбомная")});
    rgColorMode = named(new ui::TChoiceGroup(QStringLiteral(" Цветность изображения "), tsCommonOptions),
                        "rgColorMode");
    rgColorMode->SetItems({QStringLiteral("Черно-белое c оттенками серого"), QStringLiteral("Цветное")});
    rgRotation = named(new ui::TChoiceGroup(QStringLiteral(" Поворот отсканированного изображения "), tsCommonOptions),
                       "rgRotation");
    rgRotation->SetItems({QStringLiteral("Не поворачивать"), QStringLiteral("Против часовой на 90 градусов"),
                          QStringLiteral("По часовой на 90 градусов")});
    page->addWidget(rgOrient);
    page->addWidget(rgColorMode);
    page->addWidget(rgRotation);
    bCancelOptions = named(new QPushButton(QStringLiteral("Закрыть окно"), tsCommonOptions), "bCancelOptions");
    page->addWidget(bCancelOptions, 0, Qt::AlignRight);
    page->addStretch(1);
}

TCognitiveRecognitionFM *TCognitiveRecognitionFM_Create(QWidget *owner)
{
    CognitiveRecognitionFM = new TCognitiveRecognitionFM(owner);
    return CognitiveRecognitionFM;
}
