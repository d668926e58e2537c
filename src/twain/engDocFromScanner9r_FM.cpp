// The document-picture window: layout, settings, one TWAIN acquisition per
// scan, quarter turns.
#include "twain/engDocFromScanner9r_FM.h"

#include "base/PackageTexts.h"
#include "twain/DibLayout.h"
#include "twain/LockedBlock.h"

#include "common/FormSettings.h"
#include "common/Recognition9r.h"
#include "common/TSettingsFile.h"
#include "common/engCommon9r_p.h"
#include "base/engCommon9rMessages.h"
#include "platform/PageImage.h"
#include "common/PictureTurn.h"
#include "ui/TActionUpdater.h"
#include "ui/TBusyGuard.h"
#include "ui/TMessageBox.h"
#include "ui/TPictureBox.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdlib>
#include <exception>
#include <new>

namespace {


template <class W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QToolButton *turnButton(QWidget *parent, const char *name, const QString &hint, bool left)
{
    auto *b = named(new QToolButton(parent), name);
    b->setAutoRaise(true);
    b->setToolTip(hint);
    QImage glyph = parent->style()->standardIcon(QStyle::SP_BrowserReload).pixmap(16, 16).toImage();
    if (left)
        glyph = glyph.mirrored(true, false);
    b->setIcon(QPixmap::fromImage(glyph));
    return b;
}

} // namespace

namespace {

bool dibIsDrawable(TWAIN_HDIB hdib)
{
    const twain::LockedBlock block(hdib);
    return block && twain::ReadDibLayout(block.data(), block.size()).has_value();
}

bool dibCovers(TWAIN_HDIB hdib, int w, int h)
{
    const twain::LockedBlock block(hdib);
    if (!block)
        return false;
    const auto layout = twain::ReadDibLayout(block.data(), block.size());
    return layout && layout->width == w && layout->rows() == uint32_t(h);
}

} // namespace

TDocScannerCalls TDocScannerCalls::Layer()
{
    return {TWAIN_SelectImageSource, TWAIN_SetHideUI,   TWAIN_AcquireNative,    TWAIN_FreeNative,
            TWAIN_GetNumDibs,        TWAIN_GetDib,      TWAIN_ClearDibList,     TWAIN_DibWidth,
            TWAIN_DibHeight,         TWAIN_CreateDibPalette, TWAIN_DeletePalette, TWAIN_DrawDibToDC,
            dibIsDrawable};
}

TDocFromScannerFM::TDocFromScannerFM(QWidget *owner) : ui::TFormDialog(owner)
{
    setObjectName(QStringLiteral("DocFromScannerFM"));
    setWindowTitle(QStringLiteral("Сканирование документа"));
    setProperty("HelpFile", QStringLiteral("CommonUserOperations.chm"));
    setProperty("HelpContext", 480);

    ActionList = named(new ui::TActionUpdater(this, [this] { ActionListUpdate(); }), "ActionList");
    acSave = ActionList->AddAction(QStringLiteral("acSave"), QStringLiteral("Сохранить"));
    connect(acSave, &QAction::triggered, this, [this] { acSaveExecute(); });

    auto *top = new QHBoxLayout();
    bScanTest = named(new QPushButton(QStringLiteral("Сканировать"), this), "bScanTest");
    sbTurnLeft = turnButton(this, "sbTurnLeft", QStringLiteral("Поворот против часовой на 90 градусов"), true);
    sbTurnRight = turnButton(this, "sbTurnRight", QStringLiteral("Поворот по часовой на 90 градусов"), false);
    cxShowScanerList = named(new QCheckBox(this), "cxShowScanerList");
    laShowScanerList = named(new QLabel(QStringLiteral("Выбрать сканер из списка"), this), "laShowScanerList");
    laShowScanerList->setBuddy(cxShowScanerList);
    top->addWidget(bScanTest);
    top->addWidget(sbTurnLeft);
    top->addWidget(sbTurnRight);
    top->addSpacing(12);
    top->addWidget(cxShowScanerList);
    top->addWidget(laShowScanerList);
    top->addStretch(1);

    sbScanTest = named(new QScrollArea(this), "sbScanTest");
    sbScanTest->setWidgetResizable(true);
    auto *holder = new QWidget();
    auto *pictures = new QVBoxLayout(holder);
    pictures->setContentsMargins(0, 0, 0, 0);
    imgTempTest = named(new ui::TPictureBox(holder), "imgTempTest");
    imgTempTest->SetProportional(true);
    imgTempTest->SetStretch(true);
    imgTempTest->hide();
    imgWorkTest = named(new ui::TPictureBox(holder), "imgWorkTest");
    imgWorkTest->SetProportional(true);
    imgWorkTest->SetStretch(true);
    pictures->addWidget(imgWorkTest);
    sbScanTest->setWidget(holder);

    pnlButtons = named(new QFrame(this), "pnlButtons");
    auto *buttons = new QHBoxLayout(pnlButtons);
    buttons->setContentsMargins(0, 4, 0, 0);
    bSave = named(new QPushButton(pnlButtons), "bSave");
    ui::TActionUpdater::BindButton(bSave, acSave);
    bCancel = named(new QPushButton(QStringLiteral("Отмена"), pnlButtons), "bCancel");
    buttons->addStretch(1);
    buttons->addWidget(bSave);
    buttons->addWidget(bCancel);

    auto *page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(sbScanTest, 1);
    page->addWidget(pnlButtons);

    connect(bScanTest, &QPushButton::clicked, this, [this] { bScanTestClick(); });
    // The turn itself lets a failure go; the window shows it to the operator.
    connect(sbTurnLeft, &QToolButton::clicked, this, [this] { runPictureGuarded([this] { sbTurnLeftClick(); }); });
    connect(sbTurnRight, &QToolButton::clicked, this, [this] { runPictureGuarded([this] { sbTurnRightClick(); }); });
    connect(bSave, &QPushButton::clicked, this, [this] {
        if (acSave->isEnabled())
            done(1);
    });
    connect(bCancel, &QPushButton::clicked, this, [this] { done(2); });

    setMinimumSize(500, 600);
    resize(640, 700);
}

TDocFromScannerFM::~TDocFromScannerFM()
{
    freeTempBitmap();
    if (DocFromScannerFM == this)
        DocFromScannerFM = nullptr;
}

void TDocFromScannerFM::freeTempBitmap()
{
    delete TempBitmap;
    TempBitmap = nullptr;
    m_spareBitmap = QImage();
    if (m_palette)
        Calls.DeletePalette(m_palette);
    m_palette = nullptr;
}

void TDocFromScannerFM::FormShow()
{
    freeTempBitmap();
    TempBitmap = new QImage();
    try {
        WithRecognizeIniFile([this](TSettingsFile &ini) {
            cxShowScanerList->setChecked(settings::Stored(ini, settings::ShowScannerList));
            // Without a stored position the window system places the window,
            // as designed.
            settings::ReadFormBounds(ini, this, settings::ScanDocFormBounds);
        });
    } catch (const std::exception &e) {
        ui::ShowMessageBox(this, QString::fromUtf8(e.what()), LoadResString(&_S_ERROR), QMessageBox::Critical);
    }
}

void TDocFromScannerFM::FormClose()
{
    freeTempBitmap();
    try {
        WithRecognizeIniFile([this](TSettingsFile &ini) {
            settings::Write(ini, settings::ShowScannerList, cxShowScanerList->isChecked());
            settings::WriteFormBounds(ini, this, settings::ScanDocFormBounds);
            ini.UpdateFile();
        });
    } catch (const std::exception &e) {
        // The picture is the operator's work: a settings file that cannot be
        // written must not keep the window from handing it over.
        ui::ShowMessageBox(this, QString::fromUtf8(e.what()), LoadResString(&_S_ERROR), QMessageBox::Critical);
    }
}

void TDocFromScannerFM::releaseEarlierPages(TWAIN_HDIB kept)
{
    const int32_t count = Calls.GetNumDibs();
    for (int32_t i = 0; i < count; ++i) {
        TWAIN_HDIB page = Calls.GetDib(i);
        if (page && page != kept)
            Calls.FreeNative(page);
    }
    Calls.ClearDibList();
}

bool TDocFromScannerFM::drawIntoTempBitmap(TWAIN_HDIB dib)
{
    if (!Calls.DibIsDrawable(dib))
        return false;
    const int w = Calls.DibWidth(dib);
    const int32_t height = Calls.DibHeight(dib);
    if (w <= 0 || height == 0 || height == INT32_MIN)
        return false;
    const int h = height < 0 ? -height : height;
    if (m_palette)
        Calls.DeletePalette(m_palette);
    m_palette = Calls.CreateDibPalette(dib);
    QImage bitmap = takeSpareBitmap(w, h);
    if (bitmap.isNull())
        throw std::bad_alloc();
    // A drawable DIB of the bitmap's own size paints every pixel of it
    // opaque: a blank page first would be one more pass over the page.
    if (!dibCovers(dib, w, h))
        bitmap.fill(Qt::white);
    {
        QPainter canvas(&bitmap);
        Calls.DrawDibToDC(&canvas, 0, 0, w, h, dib, 0, 0);
    }
    *TempBitmap = bitmap;
    return true;
}

QImage TDocFromScannerFM::takeSpareBitmap(int w, int h)
{
    QImage spare;
    spare.swap(m_spareBitmap);
    if (spare.size() == QSize(w, h) && spare.format() == QImage::Format_RGB32 && spare.isDetached())
        return spare;
    spare = QImage(); // gone before the new one is made
    return imaging::NewPageImage(w, h, QImage::Format_RGB32);
}

void TDocFromScannerFM::bScanTestClick()
{
    if (cxShowScanerList->isChecked() && !Calls.SelectImageSource(TWAIN_HWND(winId())))
        return;
    ui::TBusyGuard busy(this);
    if (!TempBitmap)
        TempBitmap = new QImage();
    TWAIN_HDIB dib = nullptr;
    try {
        Calls.SetHideUI(0);
        dib = Calls.AcquireNative(TWAIN_HWND(winId()), TWAIN_ANYTYPE);
        // Only the last page is kept; the layer's list still holds the others.
        releaseEarlierPages(dib);
        if (dib) {
            bool drawn = false, outOfMemory = false;
            try {
                drawn = drawIntoTempBitmap(dib);
            } catch (const std::bad_alloc &) {
                outOfMemory = true;
                ui::ShowMessageBox(this, LoadResString(&_S_NOT_ENOUGH_RESOURCE), LoadResString(&_S_MESSAGE),
                                   QMessageBox::Information);
            }
            // A page that could not become a picture (unreadable, or too
            // large for memory) leaves the previous one: a blank bitmap
            // would throw away what the operator had.
            if (drawn) {
                QImage earlier = imgTempTest->Picture();
                imgTempTest->SetPicture(*TempBitmap);
                imgWorkTest->SetPicture(*TempBitmap);
                // Only a new picture starts unturned: without one, the
                // picture shown keeps its angle and the next turn goes on
                // from there.
                imgTempTest->SetTag(0);
                // The page before takes the next page when nothing else
                // holds it: a copy the host took keeps its pixels.
                if (earlier.isDetached())
                    m_spareBitmap = std::move(earlier);
            } else if (!outOfMemory) {
                ui::ShowMessageBox(this, QString(texts::ScannedPictureUnreadable),
                                   LoadResString(&_S_ERROR), QMessageBox::Critical);
            }
            Calls.FreeNative(dib);
            dib = nullptr;
        }
    } catch (const std::exception &e) {
        if (dib)
            Calls.FreeNative(dib);
        ui::ShowMessageBox(this, QString::fromUtf8(e.what()), LoadResString(&_S_ERROR), QMessageBox::Critical);
    }
}

void TDocFromScannerFM::sbTurnLeftClick()
{
    imaging::TurnImage(imgTempTest, imgWorkTest, imaging::TurnDirection::Left);
}

void TDocFromScannerFM::sbTurnRightClick()
{
    imaging::TurnImage(imgTempTest, imgWorkTest, imaging::TurnDirection::Right);
}

void TDocFromScannerFM::acSaveExecute()
{
}

void TDocFromScannerFM::ActionListUpdate()
{
    acSave->setEnabled(imgWorkTest->HasGraphic());
}

TDocFromScannerFM *TDocFromScannerFM_Create(QWidget *owner)
{
    DocFromScannerFM = new TDocFromScannerFM(owner);
    return DocFromScannerFM;
}
