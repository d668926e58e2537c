// The options page of the recognition window: the scanner, what it supports,
// the test scan, brightness and the nationality names.
#include "abbyy/engABBYY9r_FM.h"

#include "abbyy/engABBYY9r_FM_RecognizePictures.h"
#include "abbyy/engUtilsABBYY9r.h"
#include "common/FormSettings.h"
#include "base/PackageTexts.h"
#include "common/engCommon9r_p.h"
#include "common/TSettingsFile.h"
#include "host/IDataSet.h"
#include "imaging/PictureFile.h"
#include "common/PictureTurn.h"
#include "ui/TBusyGuard.h"
#include "ui/TPictureBox.h"
#include "ui/TChoiceGroup.h"
#include "ui/TMessageBox.h"
#include "ui/TTrackSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QScopeGuard>
#include <stdexcept>

namespace {

/// Red caption (or font) for an option the scanner does not support; false
/// gives the widget back the colours of its parent.
void setRed(QWidget *widget, bool red)
{
    if (red) {
        QPalette pal = widget->palette();
        pal.setColor(QPalette::WindowText, Qt::red);
        pal.setColor(QPalette::ButtonText, Qt::red);
        pal.setColor(QPalette::Text, Qt::red);
        widget->setPalette(pal);
    } else {
        widget->setPalette(QPalette());
    }
}

void setTag(QObject *control, int tag)
{
    control->setProperty("tag", tag);
}

IRecognitionEngine &engine()
{
    if (!gl_RecognitionEngine)
        throw std::runtime_error(texts::EngineNotStarted);
    return *gl_RecognitionEngine;
}

} // namespace

QString TABBYYRecognitionFM::ApplyScannerProps()
{
    return SetScannerProps(cxShowTwainDialog->isEnabled(), cxShowTwainDialog->isChecked(),
                           tbBrightness->isEnabled(), tbBrightness->Position(),
                           rgOrient->isEnabled(), rgOrient->ItemIndex(),
                           cbPaperSize->isEnabled(), cbPaperSize->currentIndex() >= 0, cbPaperSize->currentText(),
                           rgColorMode->isEnabled(), rgColorMode->ItemIndex());
}

void TABBYYRecognitionFM::cbScanListForTestChange()
{
    runGuarded([this] { doScannerChange(); });
}

void TABBYYRecognitionFM::doScannerChange()
{
    const int index = cbScanListForTest->currentIndex();
    // The scanner is chosen for this session whether or not it can be
    // remembered: a settings file that cannot be written is said as such,
    // and is no fault of the engine's.
    try {
        WithRecognizeIniFile([&](TSettingsFile &ini) {
            settings::Write(ini, settings::ScannerIndex, index);
            ini.UpdateFile();
        });
    } catch (const std::exception &e) {
        ui::ShowMessageBox(this, QString::fromUtf8(e.what()), LoadResString(&_S_ERROR), QMessageBox::Critical);
    }
    gl_ScannerItemIndex = index;
    ListBox1->clear();

    if (cbScanListForTest->count() > 0) {
        engine().CurrentScanSource(index);
        // A scanner that cannot describe itself keeps the settings we had.
        try {
            gl_ScanSettings = engine().GetScanSettings();
        } catch (const std::exception &) {
        }
    }
    IStringsArray *settings = gl_ScanSettings.get();
    auto supported = [settings](const char *name) { return settings && settings->Contains(QLatin1String(name)); };

    setRed(laShowTwainDialog, false);
    setTag(cxShowTwainDialog, 0);
    if (supported("interface-type")) {
        cxShowTwainDialog->setEnabled(true);
    } else {
        setRed(laShowTwainDialog, true);
        setTag(cxShowTwainDialog, 1);
        cxShowTwainDialog->setEnabled(false);
    }

    setTag(tbBrightness, 0);
    if (supported("brightness")) {
        tbBrightness->setEnabled(true);
    } else {
        setTag(tbBrightness, 1);
        tbBrightness->SetPosition(0);
        laBrightValue->clear();
        tbBrightness->setEnabled(false);
    }

    setRed(rgOrient, false);
    setTag(rgOrient, 0);
    if (supported("orientation")) {
        rgOrient->setEnabled(true);
    } else {
        rgOrient->SetItemIndex(-1);
        setRed(rgOrient, true);
        setTag(rgOrient, 1);
        rgOrient->setEnabled(false);
    }

    // The paper size is shown, never chosen.
    setRed(laPaperSize, false);
    if (supported("paper-size")) {
        const int item = cbPaperSize->findText(settings->Value(QStringLiteral("paper-size")), Qt::MatchExactly);
        if (item >= 0)
            cbPaperSize->setCurrentIndex(item);
    }
    setRed(laPaperSize, true);
    cbPaperSize->setEnabled(false);

    setRed(rgColorMode, false);
    setTag(rgColorMode, 0);
    if (supported("picture-mode")) {
        rgColorMode->setEnabled(true);
    } else {
        rgColorMode->SetItemIndex(-1);
        setRed(rgColorMode, true);
        setTag(rgColorMode, 1);
        rgColorMode->setEnabled(false);
    }

    if (settings) {
        const int count = settings->Count();
        for (int i = 0; i < count; ++i) {
            const QString name = settings->Name(i);
            ListBox1->addItem(name + QStringLiteral(" - ") + settings->Value(name));
        }
    }
}

void TABBYYRecognitionFM::bScanTestClick()
{
    imgTempTest->SetTag(0);
    runGuarded([this] {
        ui::TBusyGuard busy(this);
        ApplyScannerProps(); // a refused option does not stop the test scan
        const QString path = engine().Scan();
        QString finalName = path;
        // The test picture is only shown: its file goes, also when it cannot be loaded.
        const auto removeFile = qScopeGuard([&finalName] { QFile::remove(finalName); });
        if (QFileInfo(path).suffix().toLower() == QLatin1String("bmp")) {
            const QImage picture = imaging::LoadPictureFile(path);
            imgTempTest->SetPicture(picture);
            imgWorkTest->SetPicture(picture);
        } else if (imaging::IsJpegFileName(path)) {
            imgWorkTest->SetPicture(imaging::LoadPictureFile(path));
        } else {
            // As a recognition scan: under the bitmap name, replacing what an
            // earlier scan left there. A scan that cannot be moved is deleted
            // where it lies; nothing else is touched then.
            const abbyy::TScannedPicture moved = abbyy::MoveScannedPicture(path);
            if (!moved.Moved)
                return;
            finalName = moved.FileName;
            const QImage picture = imaging::LoadPictureFile(finalName);
            imgTempTest->SetPicture(picture);
            imgWorkTest->SetPicture(picture);
        }
    });
}

void TABBYYRecognitionFM::tbBrightnessChange()
{
    laBrightValue->setText(QString::number(tbBrightness->Position()));
}

void TABBYYRecognitionFM::imgBrightMinClick()
{
    tbBrightness->StepDown();
    laBrightValue->setText(QString::number(tbBrightness->Position()));
}

void TABBYYRecognitionFM::imgBrightMaxClick()
{
    tbBrightness->StepUp();
    laBrightValue->setText(QString::number(tbBrightness->Position()));
}

void TABBYYRecognitionFM::sbTurnLeftClick()
{
    imaging::TurnImage(imgTempTest, imgWorkTest, imaging::TurnDirection::Left);
}

void TABBYYRecognitionFM::sbTurnRightClick()
{
    imaging::TurnImage(imgTempTest, imgWorkTest, imaging::TurnDirection::Right);
}

void TABBYYRecognitionFM::NationAfterPost(host::IDataSet *DataSet)
{
    if (!DataSet || DataSet->ChangeCount() <= 0)
        return;
    // A refused delta stays pending, so the next post sends it again.
    runGuarded([DataSet] {
        DataSet->DataRequest(DataSet->Delta());
        DataSet->DataRequest(QVariant(QStringLiteral("Start")));
        DataSet->MergeChangeLog();
    });
}
