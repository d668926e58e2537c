#include "common/ScannerOptionsGroup.h"

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

TScannerOptionsControls BuildScannerOptions(QWidget *page, bool withTwainDialog)
{
    TScannerOptionsControls c;
    c.scannerRow = new QHBoxLayout();
    c.laScannerList = named(new QLabel(QStringLiteral("Сканер"), page), "laScannerList");
    c.cbScanListForTest = named(new QComboBox(page), "cbScanListForTest");
    c.cbScanListForTest->setEditable(false);
    c.laScannerList->setBuddy(c.cbScanListForTest);
    c.bScanTest = named(new QPushButton(QStringLiteral("Сканировать"), page), "bScanTest");
    c.scannerRow->addWidget(c.laScannerList);
    c.scannerRow->addWidget(c.cbScanListForTest, 1);
    c.scannerRow->addWidget(c.bScanTest);

    QGroupBox *group = c.gbScannerOptions =
        named(new QGroupBox(QStringLiteral(" Параметры сканера "), page), "gbScannerOptions");
    auto *opts = new QVBoxLayout(group);
    auto *bright = new QHBoxLayout();
    c.imgBrightMin = brightnessPicture(group, "imgBrightMin", false, QStringLiteral("Яркость: темнее"));
    c.tbBrightness = named(new ui::TTrackSlider(group), "tbBrightness");
    c.tbBrightness->setRange(0, 100);
    c.tbBrightness->SetPosition(20);
    c.imgBrightMax = brightnessPicture(group, "imgBrightMax", true, QStringLiteral("Яркость: светлее"));
    c.laBrightValue = named(new QLabel(QStringLiteral("20"), group), "laBrightValue");
    c.laBrightValue->setMinimumWidth(24);
    bright->addWidget(c.imgBrightMin);
    bright->addWidget(c.tbBrightness, 1);
    bright->addWidget(c.imgBrightMax);
    bright->addWidget(c.laBrightValue);
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
    c.rgOrient = named(new ui::TChoiceGroup(QStringLiteral(" Ориентация  "), group), "rgOrient");
    c.rgOrient->SetItems({QStringLiteral("Портретная"), QStringLiteral("Альбомная")});
    c.rgColorMode = named(new ui::TChoiceGroup(QStringLiteral(" Цветность изображения "), group), "rgColorMode");
    c.rgColorMode->SetItems({QStringLiteral("Черно-белое c оттенками серого"), QStringLiteral("Цветное")});
    radios->addWidget(c.rgOrient);
    radios->addWidget(c.rgColorMode, 1);
    opts->addLayout(radios);

    auto *paper = new QHBoxLayout();
    c.laPaperSize = named(new QLabel(QStringLiteral("Размер бумаги"), group), "laPaperSize");
    c.cbPaperSize = named(new QComboBox(group), "cbPaperSize");
    c.cbPaperSize->setEditable(false);
    for (const char *size : PaperSizes)
        c.cbPaperSize->addItem(QLatin1String(size));
    c.laPaperSize->setBuddy(c.cbPaperSize);
    paper->addWidget(c.laPaperSize);
    paper->addWidget(c.cbPaperSize, 1);
    opts->addLayout(paper);

    c.rgRotation = named(new ui::TChoiceGroup(QStringLiteral(" Поворот отсканированного изображения "), group),
                         "rgRotation");
    c.rgRotation->SetItems({QStringLiteral("Не поворачивать"), QStringLiteral("Против часовой на 90 градусов"),
                            QStringLiteral("По часовой на 90 градусов")});
    c.rgRotation->hide();
    opts->addWidget(c.rgRotation);
    return c;
}

} // namespace recognition
