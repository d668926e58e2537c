// Layout of the Scanify recognition window: the scan page with the scanned
// picture and the two data pages, the hidden options page, and the actions.
#include "scanify/engCognitive9r_FM.h"

#include "common/Recognition9r.h"
#include "common/ScannerOptionsGroup.h"

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

TCognitiveRecognitionFM::TCognitiveRecognitionFM(QWidget *owner) : TRecognitionWindow(owner)
{
    setObjectName(QStringLiteral("CognitiveRecognitionFM"));
    setWindowTitle(QStringLiteral("Распознавание данных документа"));
    setProperty("HelpFile", QStringLiteral("CommonUserOperations.chm"));
    setProperty("HelpContext", 460);

    createActionList();
    acRecognize = ActionList->AddAction(QStringLiteral("acRecognize"), QStringLiteral("Распознать"));
    acSave = ActionList->AddAction(QStringLiteral("acSave"), QStringLiteral("Готово"));
    acScan = ActionList->AddAction(QStringLiteral("acScan"), QStringLiteral("Получить изображение"));
    connect(acRecognize, &QAction::triggered, this, [this] { acRecognizeExecute(); });
    connect(acSave, &QAction::triggered, this, [this] { acSaveExecute(); });

    buildPageControl();
    pgcScanRecognize->tabBar()->hide();
    pgcScanRecognize->setCurrentWidget(tsScanAndRecognize);

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

void TCognitiveRecognitionFM::buildPictureTop(QVBoxLayout *picture)
{
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
    picture->addWidget(pnlRepeatRecognize);
}

void TCognitiveRecognitionFM::buildTypeDocument()
{
    pnlTypeDocument->setFixedHeight(8);
}

QGridLayout *TCognitiveRecognitionFM::buildRecognizeGroup(QWidget *page, bool edit)
{
    const char *suffix = edit ? "_2" : "";
    const auto name = [suffix](const char *stem) { return QByteArray(stem) + suffix; };
    // Each name lives until the end of the statement that uses it.
    QGroupBox *&group = edit ? gbRecognize_2 : gbRecognize;
    QPushButton *&button = edit ? bRecognize_2 : bRecognize;
    QGridLayout *grid = recognizeGroup(page, group, name("gbRecognize").constData(), button,
                                       name("bRecognize").constData());
    grid->addWidget(button, 0, 0, Qt::AlignLeft);
    (edit ? cxPhotoToAccoutData_2 : cxPhotoToAccoutData) =
        labelledCheck(group, grid, 1, name("cxPhotoToAccoutData").constData(),
                      name("laPhotoToAccoutData").constData(), edit ? laPhotoToAccoutData_2 : laPhotoToAccoutData,
                      QStringLiteral("Поместить фотографию в учетные данные"));
    (edit ? cxDocPictureToAccoutData_2 : cxDocPictureToAccoutData) =
        labelledCheck(group, grid, 2, name("cxDocPictureToAccoutData").constData(),
                      name("laDocPictureToAccoutData").constData(),
                      edit ? laDocPictureToAccoutData_2 : laDocPictureToAccoutData,
                      QStringLiteral("Поместить изображение в учетные данные"));
    QCheckBox *&twain = edit ? cxShowTWAINDialog : cxShowTWAINDialog_Add;
    QCheckBox *&scanner = edit ? cxSelectScanner : cxSelectScanner_Add;
    twain = named(new QCheckBox(QStringLiteral("Показывать TWAIN-диалог"), group),
                  edit ? "cxShowTWAINDialog" : "cxShowTWAINDialog_Add");
    scanner = named(new QCheckBox(QStringLiteral("Выбор сканера"), group), edit ? "cxSelectScanner" : "cxSelectScanner_Add");
    auto *options = new QHBoxLayout();
    options->addWidget(twain);
    options->addWidget(scanner);
    if (!edit) {
        cxProtocol = named(new QCheckBox(QStringLiteral("Протокол"), group), "cxProtocol");
        options->addWidget(cxProtocol);
    }
    options->addStretch(1);
    grid->addLayout(options, 3, 0);
    return grid;
}

void TCognitiveRecognitionFM::buildAddPage()
{
    QVBoxLayout *page = dataPageLayout(tsAdd);
    QGridLayout *grid = buildRecognizeGroup(tsAdd, false);
    grid->setRowStretch(4, 1);
    buildPhotoBox();
    // A small photo is enlarged to the box, keeping its proportions (said
    // here, not left to the picture box's default).
    imgPhoto->SetStretch(true);
    grid->addWidget(pnlPhoto, 0, 1, 5, 1, Qt::AlignRight);
    finishAddPage(page);
}

void TCognitiveRecognitionFM::buildEditPage()
{
    QVBoxLayout *page = dataPageLayout(tsEdit);
    QGridLayout *grid = buildRecognizeGroup(tsEdit, true);
    buildCopyButton();
    grid->addWidget(sbCopyCurrentData, 3, 1, Qt::AlignRight);
    finishEditPage(page);
}

void TCognitiveRecognitionFM::buildOptionsPage()
{
    // Laid out as in the passport-reader window; here nothing is bound to it.
    auto *page = new QVBoxLayout(tsCommonOptions);
    const recognition::TScannerOptionsLayout options = buildScannerOptions(false);
    page->addLayout(options.scannerRow);
    page->addWidget(gbScannerOptions);
    bCancelOptions = named(new QPushButton(QStringLiteral("Закрыть окно"), tsCommonOptions), "bCancelOptions");
    page->addWidget(bCancelOptions, 0, Qt::AlignRight);
    page->addStretch(1);
}

TCognitiveRecognitionFM *TCognitiveRecognitionFM_Create(QWidget *owner)
{
    CognitiveRecognitionFM = new TCognitiveRecognitionFM(owner);
    return CognitiveRecognitionFM;
}
