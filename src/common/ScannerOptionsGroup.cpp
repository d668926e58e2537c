#include "common/ScannerOptionsGroup.h"

#include "common/TRecognitionWindow.h"

#include "ui/TChoiceGroup.h"
#include "ui/TPictureBox.h"
#include "ui/TTrackSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace recognition {

const std::array<const char *, 44> PaperSizes = {
    "BroadSheet", "Tabloid", "Double", "Fanfold", "Legal", "Folio", "Letter", "Slide", "Executive",
    "Statement", "GermanLegalFanfold", "GermanFanfold", "A0", "A1", "A2", "A3", "A4", "A5",
    "B1_ISO", "B2_ISO", "B3_ISO", "B4_ISO", "B5_ISO", "B6_ISO", "B4_JIS", "B5_JIS", "B6_JIS",
    "C3", "C4", "C5", "C6", "RA2", "RA3", "RA4", "QUARTO", "DL", "Envelope14", "Envelope12",
    "Envelope11", "Envelope10", "Envelope9", "EnvelopeCheck", "EnvelopeMonarch", ""};

namespace {

template <class W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

/// The two brightness glyphs: a dim and a bright sun.
QImage brightnessGlyph(bool bright)
{
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(bright ? QColor(200, 140, 0) : QColor(60, 60, 60), 1.5));
    p.setBrush(bright ? QColor(255, 210, 0) : QColor(90, 90, 90));
    p.drawEllipse(QPointF(8, 8), 4, 4);
    if (bright)
        for (int i = 0; i < 8; ++i) {
            const QTransform t = QTransform().translate(8, 8).rotate(45.0 * i);
            p.drawLine(t.map(QPointF(5.5, 0)), t.map(QPointF(7.5, 0)));
        }
    return img;
}

ui::TPictureBox *brightnessPicture(QWidget *parent, const char *name, bool bright, const QString &hint)
{
    auto *picture = named(new ui::TPictureBox(parent), name);
    picture->SetPicture(brightnessGlyph(bright));
    picture->setFixedSize(18, 18);
    picture->setToolTip(hint);
    picture->setCursor(Qt::PointingHandCursor);
    return picture;
}

} // namespace

} // namespace recognition

recognition::TScannerOptionsLayout TRecognitionWindow::buildScannerOptions(bool withTwainDialog)
{
    using namespace recognition;
    QWidget *page = tsCommonOptions;
    TScannerOptionsLayout c;
    c.scannerRow = new QHBoxLayout();
    laScannerList = named(new QLabel(QStringLiteral("Сканер"), page), "laScannerList");
    cbScanListForTest = named(new QComboBox(page), "cbScanListForTest");
    cbScanListForTest->setEditable(false);
    laScannerList->setBuddy(cbScanListForTest);
    bScanTest = named(new QPushButton(QStringLiteral("Сканировать"), page), "bScanTest");
    c.scannerRow->addWidget(laScannerList);
    c.scannerRow->addWidget(cbScanListForTest, 1);
    c.scannerRow->addWidget(bScanTest);

    QGroupBox *group = gbScannerOptions =
        named(new QGroupBox(QStringLiteral(" Параметры сканера "), page), "gbScannerOptions");
    auto *opts = new QVBoxLayout(group);
    auto *bright = new QHBoxLayout();
    imgBrightMin = brightnessPicture(group, "imgBrightMin", false, QStringLiteral("Яркость: темнее"));
    tbBrightness = named(new ui::TTrackSlider(group), "tbBrightness");
    tbBrightness->setRange(0, 100);
    tbBrightness->SetPosition(20);
    imgBrightMax = brightnessPicture(group, "imgBrightMax", true, QStringLiteral("Яркость: светлее"));
    laBrightValue = named(new QLabel(QStringLiteral("20"), group), "laBrightValue");
    laBrightValue->setMinimumWidth(24);
    bright->addWidget(imgBrightMin);
    bright->addWidget(tbBrightness, 1);
    bright->addWidget(imgBrightMax);
    bright->addWidget(laBrightValue);
    opts->addLayout(bright);

    if (withTwainDialog) {
        auto *twain = new QHBoxLayout();
        c.cxShowTwainDialog = named(new QCheckBox(group), "cxShowTwainDialog");
        c.laShowTwainDialog =
            named(new QLabel(QStringLiteral("Показывать TWAIN-диалог сканера"), group), "laShowTwainDialog");
        c.laShowTwainDialog->setBuddy(c.cxShowTwainDialog);
        twain->addWidget(c.cxShowTwainDialog);
        twain->addWidget(c.laShowTwainDialog, 1);
        opts->addLayout(twain);
    }

    auto *radios = new QHBoxLayout();
    rgOrient = named(new ui::TChoiceGroup(QStringLiteral(" Ориентация  "), group), "rgOrient");
    rgOrient->SetItems({QStringLiteral("Портретная"), QStringLiteral("Альбомная")});
    rgColorMode = named(new ui::TChoiceGroup(QStringLiteral(" Цветность изображения "), group), "rgColorMode");
    rgColorMode->SetItems({QStringLiteral("Черно-белое c оттенками серого"), QStringLiteral("Цветное")});
    radios->addWidget(rgOrient);
    radios->addWidget(rgColorMode, 1);
    opts->addLayout(radios);

    auto *paper = new QHBoxLayout();
    laPaperSize = named(new QLabel(QStringLiteral("Размер бумаги"), group), "laPaperSize");
    cbPaperSize = named(new QComboBox(group), "cbPaperSize");
    cbPaperSize->setEditable(false);
    for (const char *size : PaperSizes)
        cbPaperSize->addItem(QLatin1String(size));
    laPaperSize->setBuddy(cbPaperSize);
    paper->addWidget(laPaperSize);
    paper->addWidget(cbPaperSize, 1);
    opts->addLayout(paper);

    rgRotation = named(new ui::TChoiceGroup(QStringLiteral(" Поворот отсканированного изображения "), group),
                         "rgRotation");
    rgRotation->SetItems({QStringLiteral("Не поворачивать"), QStringLiteral("Против часовой на 90 градусов"),
                            QStringLiteral("По часовой на 90 градусов")});
    rgRotation->hide();
    opts->addWidget(rgRotation);
    return c;
}
