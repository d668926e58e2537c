// Layout of the recognition window: the scan page with its two sub-pages and
// the options page, the actions, and the nationalities grid.
#include "abbyy/engABBYY9r_FM.h"

#include "base/PackageTexts.h"
#include "common/Recognition9r.h"
#include "common/ScannerOptionsGroup.h"
#include "common/engCommon9r.h"
#include "host/IDataSet.h"
#include "ui/TActionUpdater.h"
#include "ui/TNullableDateEdit.h"
#include "ui/TPictureBox.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TChoiceGroup.h"
#include "ui/TTrackSlider.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

const std::array<const char *, 44> TABBYYRecognitionFM::PaperSizes = recognition::PaperSizes;

namespace {

const char *const CountryField = "F_COUNTRY_NAME";
const char *const NationalityField = "F_COUNTRY_NATIONLITY";

/// The grid's view of the nationalities: its own column titles, the country
/// column read only, row numbers in the row header.
class TNationalitiesGridModel : public QIdentityProxyModel
{
public:
    TNationalitiesGridModel(host::IDataSet *dataSet, QObject *parent)
        : QIdentityProxyModel(parent), m_dataSet(dataSet)
    {
        setSourceModel(dataSet->Model());
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Vertical && role == Qt::DisplayRole)
            return section + 1;
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
            if (section == m_dataSet->FieldIndex(QLatin1String(CountryField)))
                return QStringLiteral("Страна");
            if (section == m_dataSet->FieldIndex(QLatin1String(NationalityField)))
                return QStringLiteral("Гражданство");
        }
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (!(flags(index) & Qt::ItemIsEditable))
            return false;
        return QIdentityProxyModel::setData(index, value, role);
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags f = QIdentityProxyModel::flags(index);
        if (index.isValid() && index.column() != m_dataSet->FieldIndex(QLatin1String(NationalityField)))
            f &= ~Qt::ItemIsEditable;
        else if (m_dataSet->FieldReadOnly(QLatin1String(NationalityField)))
            f &= ~Qt::ItemIsEditable;
        return f;
    }

private:
    host::IDataSet *m_dataSet;
};

template <class W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QCheckBox *makeCheck(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QCheckBox(caption, parent), name);
}

} // namespace

TABBYYRecognitionFM::TABBYYRecognitionFM(QWidget *owner) : TRecognitionWindow(owner)
{
    setObjectName(QStringLiteral("ABBYYRecognitionFM"));
    setWindowTitle(QStringLiteral("Сканирование/распознавание данных документа"));
    setProperty("HelpFile", QStringLiteral("CommonUserOperations.chm"));
    setProperty("HelpContext", 460);

    dsNationalities = named(new TGridDataSource(this), "dsNationalities");
    createActionList();
    acRecognize = ActionList->AddAction(QStringLiteral("acRecognize"), QStringLiteral("Распознать"));
    acScan = ActionList->AddAction(QStringLiteral("acScan"), QStringLiteral("Получить изображение"));
    acSave = ActionList->AddAction(QStringLiteral("acSave"), QStringLiteral("Готово"));
    // A scan or recognition may serve the scanner's own event loop while
    // the window is still enabled: a second press then does nothing.
    connect(acRecognize, &QAction::triggered, this, [this] { runExclusive([this] { acRecognizeExecute(); }); });
    connect(acScan, &QAction::triggered, this, [this] { runExclusive([this] { acScanExecute(); }); });
    connect(acSave, &QAction::triggered, this, [this] { acSaveExecute(); });

    buildPageControl();
    buildScanPage();
    buildOptionsPage();
    BindResultFields(this);

    // The window opens on the options page; the host selects the scan page.
    pgcScanRecognize->setCurrentWidget(tsCommonOptions);
    pgcRecognize->setCurrentWidget(tsAdd);

    connect(dsNationalities, &TGridDataSource::dataSetChanged, this,
            [this](host::IDataSet *ds) { bindNationalities(ds); });
    if (gl_cdsNationalities)
        dsNationalities->SetDataSet(gl_cdsNationalities);

    resize(1151, 651);
    setMinimumSize(840, 300);
}

void TABBYYRecognitionFM::buildTypeDocument()
{
    auto *type = new QHBoxLayout(pnlTypeDocument);
    type->setContentsMargins(0, 2, 0, 2);
    cbPassportTypes = named(new QComboBox(pnlTypeDocument), "cbPassportTypes");
    cbPassportTypes->setEditable(false);
    cbPassportTypes->setMaxVisibleItems(20);
    // Long type names must not hold the picture panel wide at small sizes.
    cbPassportTypes->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbPassportTypes->setMinimumContentsLength(12);
    type->addWidget(cbPassportTypes);
}

QGridLayout *TABBYYRecognitionFM::buildRecognizeGroup(QWidget *page, const char *suffix, QGroupBox *&group,
                                                      QPushButton *&button, QCheckBox *&photo, QCheckBox *&picture,
                                                      QCheckBox *&latin)
{
    const auto name = [suffix](const char *stem) { return QByteArray(stem) + suffix; };
    // Each name lives until the end of the statement that uses it.
    QGridLayout *grid = recognizeGroup(page, group, name("gbRecognize").constData(), button, name("bRecognize").constData());
    photo = makeCheck(group, name("cxPhotoToAccoutData").constData(), QStringLiteral("Поместить фотографию в учетные данные"));
    picture = makeCheck(group, name("cxDocPictureToAccoutData").constData(), QStringLiteral("Поместить изображение в учетные данные"));
    latin = makeCheck(group, name("cxFIOInLatin").constData(), QStringLiteral("Данные на латыни (загранпаспорта)"));
    grid->addWidget(button, 0, 0);
    grid->addWidget(photo, 1, 0);
    grid->addWidget(picture, 2, 0);
    grid->addWidget(latin, 3, 0);
    return grid;
}

void TABBYYRecognitionFM::buildAddPage()
{
    QVBoxLayout *page = dataPageLayout(tsAdd);
    QGridLayout *grid = buildRecognizeGroup(tsAdd, "", gbRecognize, bRecognize, cxPhotoToAccoutData,
                                            cxDocPictureToAccoutData, cxFIOInLatin);
    buildPhotoBox();
    grid->setRowStretch(4, 1);
    grid->addWidget(pnlPhoto, 0, 1, 5, 1, Qt::AlignRight);
    finishAddPage(page);
}

void TABBYYRecognitionFM::buildEditPage()
{
    QVBoxLayout *page = dataPageLayout(tsEdit);
    QGridLayout *grid = buildRecognizeGroup(tsEdit, "_2", gbRecognize_2, bRecognize_2, cxPhotoToAccoutData_2,
                                            cxDocPictureToAccoutData_2, cxFIOInLatin_2);
    buildCopyButton();
    grid->addWidget(sbCopyCurrentData, 3, 1, Qt::AlignRight);
    finishEditPage(page);
}

void TABBYYRecognitionFM::buildOptionsPage()
{
    auto *page = new QHBoxLayout(tsCommonOptions);
    // The scanner options and the grid scroll up and down in a low window
    // rather than squeeze; their column keeps the width they need.
    auto *leftScroll = new QScrollArea(tsCommonOptions);
    leftScroll->setObjectName(QStringLiteral("tsCommonOptionsScroll"));
    leftScroll->setFrameShape(QFrame::NoFrame);
    leftScroll->setWidgetResizable(true);
    leftScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *leftHolder = new QWidget();
    leftHolder->setObjectName(QStringLiteral("tsCommonOptionsContent"));
    auto *left = new QVBoxLayout(leftHolder);
    left->setContentsMargins(0, 0, 0, 0);

    const recognition::TScannerOptionsLayout options = buildScannerOptions(true);
    cxShowTwainDialog = options.cxShowTwainDialog;
    laShowTwainDialog = options.laShowTwainDialog;

    sbTurnLeft = named(new QToolButton(tsCommonOptions), "sbTurnLeft");
    sbTurnLeft->setAutoRaise(true);
    sbTurnLeft->setToolTip(QStringLiteral("Поворот против часовой на 90 градусов"));
    sbTurnLeft->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    sbTurnLeft->hide();
    sbTurnRight = named(new QToolButton(tsCommonOptions), "sbTurnRight");
    sbTurnRight->setAutoRaise(true);
    sbTurnRight->setToolTip(QStringLiteral("Поворот по часовой на 90 градусов"));
    sbTurnRight->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    sbTurnRight->hide();
    options.scannerRow->addWidget(sbTurnLeft);
    options.scannerRow->addWidget(sbTurnRight);
    left->addLayout(options.scannerRow);
    connect(bScanTest, &QPushButton::clicked, this, [this] { bScanTestClick(); });
    connect(sbTurnLeft, &QToolButton::clicked, this, [this] { runPictureGuarded([this] { sbTurnLeftClick(); }); });
    connect(sbTurnRight, &QToolButton::clicked, this, [this] { runPictureGuarded([this] { sbTurnRightClick(); }); });
    connect(tbBrightness, &QSlider::valueChanged, this, [this] { tbBrightnessChange(); });
    connect(imgBrightMin, &ui::TPictureBox::clicked, this, [this] { imgBrightMinClick(); });
    connect(imgBrightMax, &ui::TPictureBox::clicked, this, [this] { imgBrightMaxClick(); });
    left->addWidget(gbScannerOptions);

    laNationNames = named(new QLabel(QStringLiteral("Названия гражданства стран"), tsCommonOptions), "laNationNames");
    dbgNationlities = named(new QTableView(tsCommonOptions), "dbgNationlities");
    dbgNationlities->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgNationlities->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgNationlities->verticalHeader()->setVisible(true);
    laNationNames->setBuddy(dbgNationlities);
    // The two columns keep a usable width however the operator drags them.
    QHeaderView *header = dbgNationlities->horizontalHeader();
    connect(header, &QHeaderView::sectionResized, dbgNationlities, [this, header](int section, int, int size) {
        host::IDataSet *ds = dsNationalities->DataSet();
        if (!ds)
            return;
        const int minimum = section == ds->FieldIndex(QLatin1String(CountryField))       ? 75
                            : section == ds->FieldIndex(QLatin1String(NationalityField)) ? 150
                                                                                         : 0;
        if (size < minimum)
            header->resizeSection(section, minimum);
    });
    dbgNationlitiesFooter = named(new QLabel(tsCommonOptions), "dbgNationlitiesFooter");
    dbgNationlitiesFooter->setFrameShape(QFrame::Panel);
    dbgNationlitiesFooter->setFrameShadow(QFrame::Sunken);
    dbgNationlitiesFooter->setContentsMargins(4, 1, 4, 1);
    left->addWidget(laNationNames);
    left->addWidget(dbgNationlities, 1);
    left->addWidget(dbgNationlitiesFooter);

    ListBox1 = named(new QListWidget(tsCommonOptions), "ListBox1");
    ListBox1->hide();
    ListBox2 = named(new QListWidget(tsCommonOptions), "ListBox2");
    ListBox2->hide();
    left->addWidget(ListBox1);
    left->addWidget(ListBox2);

    auto *right = new QVBoxLayout();
    sbScanTest = named(new QScrollArea(tsCommonOptions), "sbScanTest");
    sbScanTest->setWidgetResizable(true);
    auto *testHolder = new QWidget();
    auto *testBox = new QVBoxLayout(testHolder);
    imgTempTest = named(new ui::TPictureBox(testHolder), "imgTempTest");
    imgTempTest->hide();
    imgWorkTest = named(new ui::TPictureBox(testHolder), "imgWorkTest");
    imgWorkTest->SetProportional(true);
    imgWorkTest->SetStretch(true);
    testBox->addWidget(imgWorkTest);
    sbScanTest->setWidget(testHolder);
    bCancelOptions = named(new QPushButton(QStringLiteral("Закрыть окно"), tsCommonOptions), "bCancelOptions");
    connect(bCancelOptions, &QPushButton::clicked, this, [this] { done(2); });
    auto *close = new QHBoxLayout();
    close->addStretch(1);
    close->addWidget(bCancelOptions);
    right->addWidget(sbScanTest, 1);
    right->addLayout(close);

    gbScannerOptions->setMinimumWidth(420);
    dbgNationlities->setMinimumHeight(120);
    leftScroll->setWidget(leftHolder);
    leftScroll->setMinimumWidth(leftHolder->minimumSizeHint().width()
                                + leftScroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
    page->addWidget(leftScroll, 0);
    page->addLayout(right, 1);
    tsCommonOptions->setMinimumWidth(0);
}

void TABBYYRecognitionFM::bindNationalities(host::IDataSet *dataSet)
{
    QAbstractItemModel *old = dbgNationlities->model();
    if (!dataSet || !dataSet->Model()) {
        dbgNationlities->setModel(nullptr);
        delete old;
        dbgNationlitiesFooter->clear();
        return;
    }
    auto *model = new TNationalitiesGridModel(dataSet, dbgNationlities);
    dbgNationlities->setModel(model);
    delete old;
    auto countRows = [this, model] {
        dbgNationlitiesFooter->setText(QString(texts::CountriesFooter).arg(model->rowCount()));
    };
    connect(model, &QAbstractItemModel::modelReset, dbgNationlitiesFooter, countRows);
    connect(model, &QAbstractItemModel::rowsInserted, dbgNationlitiesFooter, countRows);
    connect(model, &QAbstractItemModel::rowsRemoved, dbgNationlitiesFooter, countRows);
    countRows();

    const int country = dataSet->FieldIndex(QLatin1String(CountryField));
    const int nation = dataSet->FieldIndex(QLatin1String(NationalityField));
    QHeaderView *header = dbgNationlities->horizontalHeader();
    for (int c = 0; c < model->columnCount(); ++c)
        dbgNationlities->setColumnHidden(c, c != country && c != nation);
    if (country >= 0 && nation >= 0 && header->visualIndex(country) > header->visualIndex(nation))
        header->moveSection(header->visualIndex(country), header->visualIndex(nation));
    if (country >= 0)
        dbgNationlities->setColumnWidth(country, 181);
    if (nation >= 0)
        dbgNationlities->setColumnWidth(nation, 203);
    // The nationality, last, takes the rest of the grid's width: both columns
    // fit, whole titles and no sideways scrolling.
    header->setStretchLastSection(true);
}

void TABBYYRecognitionFM::AddPassportType(const QString &caption, TDocumentInfo *info)
{
    cbPassportTypes->addItem(caption, QVariant::fromValue(reinterpret_cast<quintptr>(info)));
}

TDocumentInfo *TABBYYRecognitionFM::PassportType(int index) const
{
    if (index < 0 || index >= cbPassportTypes->count())
        return nullptr;
    return reinterpret_cast<TDocumentInfo *>(cbPassportTypes->itemData(index).value<quintptr>());
}

TDocumentInfo *TABBYYRecognitionFM::SelectedPassportType() const
{
    return PassportType(cbPassportTypes->currentIndex());
}

namespace {

/// The writer's order of the fields: the engine's reading order.
constexpr std::array<recognition::TResultField, 12> kWriterOrder = {
    recognition::rfLastName,     recognition::rfFirstName,    recognition::rfMiddleName,
    recognition::rfPassportNumber, recognition::rfSex,        recognition::rfDateOfBirth,
    recognition::rfPlaceOfBirth, recognition::rfDateOfIssue,  recognition::rfDateOfExpiry,
    recognition::rfIssuedBy,     recognition::rfDepartmentCode, recognition::rfNationality};

TABBYYRecognitionFM::TResultControls controlsOf(const recognition::TResultFieldSet &f, recognition::TColumn c)
{
    using namespace recognition;
    return {f.Text(rfLastName, c),   f.Text(rfFirstName, c),    f.Text(rfMiddleName, c),
            f.Text(rfPassportNumber, c), f.Text(rfSex, c),      f.Date(rfDateOfBirth, c),
            f.Text(rfPlaceOfBirth, c), f.Date(rfDateOfIssue, c), f.Date(rfDateOfExpiry, c),
            f.Text(rfIssuedBy, c),   f.Text(rfDepartmentCode, c), f.Text(rfNationality, c)};
}

} // namespace

TABBYYRecognitionFM::TResultControls TABBYYRecognitionFM::AddControls() const
{
    return controlsOf(m_fields, recognition::TColumn::Add);
}

TABBYYRecognitionFM::TResultControls TABBYYRecognitionFM::EditControls(bool current) const
{
    return controlsOf(m_fields, current ? recognition::TColumn::Current : recognition::TColumn::Recognized);
}

std::array<QCheckBox *, 12> TABBYYRecognitionFM::CopyBoxes() const
{
    std::array<QCheckBox *, 12> boxes{};
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = m_fields.CopyBox(kWriterOrder[i]);
    return boxes;
}

bool TABBYYRecognitionFM::IsOptionsPageActive() const
{
    return optionsPageShown();
}

bool TABBYYRecognitionFM::IsAddPageActive() const
{
    return pgcScanRecognize->currentWidget() == tsScanAndRecognize && pgcRecognize->currentWidget() == tsAdd;
}

bool TABBYYRecognitionFM::IsEditPageActive() const
{
    return pgcScanRecognize->currentWidget() == tsScanAndRecognize && pgcRecognize->currentWidget() == tsEdit;
}

TABBYYRecognitionFM *TABBYYRecognitionFM_Create(QWidget *owner)
{
    ABBYYRecognitionFM = new TABBYYRecognitionFM(owner);
    return ABBYYRecognitionFM;
}
