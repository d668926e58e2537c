// The Scanify window's working run: point the engine at a configuration,
// scan one page into a new package, recognise it, and put the fields of the
// first document into the active data page.
#include "scanify/engCognitive9r_FM.h"

#include "common/FieldOutcome.h"
#include "common/LoadPictureFromFile.h"
#include "common/OperatorLog.h"
#include "common/PackageFiles.h"
#include "common/PrivateFiles.h"
#include "common/TProfileFile.h"
#include "common/engCommon9r.h"
#include "imaging/QuarterTurn.h"
#include "scanify/CognitiveForms.h"
#include "scanify/ConfigKeys.h"
#include "scanify/ScanifyLog.h"
#include "scanify/ScanifyText.h"
#include "scanify/engUtilsScanify9r.h"
#include "scanify/scapi.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TMessageBox.h"
#include "ui/TPictureBox.h"

#include <QDir>
#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QPushButton>
#include <QTabWidget>
#include <QTime>
#include <algorithm>
#include <map>
#include <stdexcept>

using scanify::Protocol;

namespace {

const QString kCr2 = QStringLiteral("\r\r");
const QString kScanDeviceClosed = QStringLiteral("Устройство сканирования закрыто");

/// The hourglass over the whole application while the run works; shown and
/// taken back as the run goes, and always taken back at its end.
class TRunCursor
{
public:
    ~TRunCursor() { Restore(); }
    void Show()
    {
        if (!m_shown)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        m_shown = true;
    }
    void Restore()
    {
        if (m_shown)
            QApplication::restoreOverrideCursor();
        m_shown = false;
    }

private:
    bool m_shown = false;
};

/// Whatever ends the run (a stop, an exception): the form is enabled again,
/// an open scanner is closed, the cursor restored.
QString packageFolder();

class TRunCleanup
{
public:
    TRunCleanup(QWidget *form, ScScanDeviceHandle &device, TRunCursor &cursor)
        : m_form(form), m_device(device), m_cursor(cursor)
    {
    }
    ~TRunCleanup()
    {
        m_form->setEnabled(true);
        if (m_device != 0) {
            try {
                SC_CALL(ScScannerClose)(m_device);
            } catch (const std::exception &) {
                // The library is gone: there is no device left to close.
            }
            m_device = 0;
            Protocol(kScanDeviceClosed);
        }
        // A run that failed before the scan left the package's folder
        // empty: nothing in it to keep, so it does not pile up in the data
        // folder (rmdir removes only an empty folder). What the engine left
        // in it is the person's document: for the user alone, whatever the
        // engine made of the modes.
        if (gl_hScPackage != 0) {
            try {
                if (const QString folder = packageFolder(); !folder.isEmpty()) {
                    QDir().rmdir(folder);
                    MakePrivate(folder);
                }
            } catch (const std::exception &) {
                // The library is gone: its folder stays.
            }
        }
        m_cursor.Restore();
    }
    TRunCleanup(const TRunCleanup &) = delete;
    TRunCleanup &operator=(const TRunCleanup &) = delete;

private:
    QWidget *m_form;
    ScScanDeviceHandle &m_device;
    TRunCursor &m_cursor;
};

/// The engine's calls that write into the package (the package itself, the
/// scan, the exported page, the fields' pictures) make their files private
/// from the first byte. Only they: the run's own boxes leave the process's
/// umask as the user has it, for the host's own files (the scan's call holds
/// the engine's scanner dialog, which is shown under the private umask).
template <typename Call>
decltype(auto) privately(Call &&call)
{
    const TPrivateCreation privateFiles;
    return call();
}

QString engineError()
{
    return scanify::FromEngineText(SC_CALL(ScGetErrorMessage)(gl_hScInstance, 0));
}

QString packageFolder()
{
    TScPackageInformation info{};
    SC_CALL(ScPackageGetInformation)(gl_hScPackage, &info);
    return scanify::FromEngineField(info.szName);
}

/// The document was read on the page as the configuration's zone turns it,
/// and that is how it stands upright; the scan itself lies as it lay on the
/// glass. The picture the host keeps is the upright one. A turn that is no
/// quarter turn, or a page too large to turn, leaves the page as scanned.
void showUpright(ui::TPictureBox *image, const QString &configFile, const QString &zone)
{
    const int turn = TProfileFile(configFile).ReadInteger(zone, QLatin1String(scanify::configkey::ZoneTurn), 0);
    const int clockwise = (turn % 360 + 360) % 360;
    if (clockwise == 0 || clockwise % 90 != 0 || !image->HasGraphic())
        return;
    const QImage upright = imaging::QuarterTurned(image->Picture(), clockwise);
    if (!upright.isNull())
        image->SetPicture(upright);
}

/// The outcome that paints a mark as it was read back from a control.
recognition::TFieldOutcome outcomeOf(recognition::TFieldMark mark)
{
    recognition::TFieldOutcome outcome;
    outcome.doubtful = mark == recognition::TFieldMark::Doubtful;
    outcome.error = mark == recognition::TFieldMark::Erroneous;
    return outcome;
}

/// A picture the engine left in the package folder, into an image control;
/// a file that cannot be loaded raises.
void loadPicture(const QString &file, ui::TPictureBox *image)
{
    const QString error = LoadPictureFromFile(file, image);
    if (!error.isEmpty())
        throw std::runtime_error(error.toStdString());
}

} // namespace

void TCognitiveRecognitionFM::acRecognizeExecute()
{
    runExclusive([this] { runGuarded([this] { ScanAndRecognize(QStringLiteral("ScApi_270.ini")); }); });
}

void TCognitiveRecognitionFM::bRepeatRecognizeClick()
{
    runExclusive([this] { runGuarded([this] { ScanAndRecognize(QStringLiteral("ScApi_90.ini")); }); });
}

void TCognitiveRecognitionFM::ScanAndRecognize(const QString &AScApiIniFileName)
{
    // A configuration file deleted while the host runs is written anew, as
    // the engine's load would, before the engine is pointed at it.
    CreateScApiIniFile();
    const QString dataFolder = GetUserDataFolder();
    // The engine takes the name as it stands; the file was written as
    // "ScApi_270.Ini", and Linux file names depend on case.
    const QString sFullIniFileName = PackageFilePath(dataFolder, AScApiIniFileName);
    const QByteArray iniName = scanify::ToEngineText(sFullIniFileName);
    if (!ScIsTrue(SC_CALL(ScSetupContext)(gl_hScInstance, iniName.constData()))) {
        ui::ShowMessageBox(this, QStringLiteral("Error ScSetupContext ") + kCr2 + engineError(),
                           LoadResString(&_S_INFORMATION), QMessageBox::Critical);
        return;
    }
    scanify::WriteShowTwain(gl_TwainDialogNeed);

    // The kind of document belongs to this run's document alone: one from an
    // earlier run must not go to the host with data typed by hand.
    FDocumentName.clear();
    pnlRepeatRecognize->hide();
    imgPhoto->Clear();
    imgTempRecognize->Clear();
    imgWorkRecognize->Clear();
    if (gl_SelectScanner)
        gl_sScannerName.clear();

    ScScanDeviceHandle hScScanDev = 0;
    TRunCursor cursor;
    ClearControls();
    cursor.Show();
    bool boLastNameIsEmpty = false;
    bool boFirstNameIsEmpty = false;
    setEnabled(false);
    TRunCleanup cleanup(this, hScScanDev, cursor);

    QString sError;
    if (!privately([&] { return CreatePack(gl_hScPackage, sError); })) {
        cursor.Restore();
        ui::ShowMessageBox(this, LoadResString(&_S_ERROR_CREATE_PACKAGE) + kCr2 + sError, LoadResString(&_S_ERROR),
                           QMessageBox::Critical);
        return;
    }
    if (!OpenTwainSource(hScScanDev, sError, ScWindowHandle(winId()), gl_sScannerName)) {
        repaint();
        cursor.Restore();
        ui::ShowMessageBox(this, sError, LoadResString(&_S_ERROR), QMessageBox::Critical);
        return;
    }
    try {
        SC_CALL(ScScannerSetConfiguration)(hScScanDev, scanify::configkey::SelectedConfiguration);
    } catch (const std::exception &e) {
        ui::ShowMessageBox(this, QStringLiteral("ScScannerSetConfiguration ") + kCr2 + QString::fromUtf8(e.what()),
                           QApplication::applicationDisplayName(), QMessageBox::NoIcon);
        return;
    }
    Protocol(QStringLiteral("Сканирование по конфигурации \"ScanAllDocuments\" hScScanDev = ")
             + QString::number(hScScanDev));
    QTime TimeBegin = QTime::currentTime();

    ScImageHandle hScImage = 0;
    if (!privately([&] { return ScanToPackage(hScScanDev, hScImage, sError); })) {
        cursor.Restore();
        ui::ShowMessageBox(this, sError, LoadResString(&_S_ERROR), QMessageBox::Critical);
        return;
    }
    const QString sPassportImageName = scanify::InPackageFolder(packageFolder(), QStringLiteral("PassportRF.jpg"));
    privately([&] { ExportImageToArchive(hScImage, sPassportImageName); });
    loadPicture(sPassportImageName, imgWorkRecognize);
    repaint();
    Protocol(QStringLiteral("Отсканированное изображение паспорта сжато и сохранёно в ") + sPassportImageName
             + QLatin1Char('.'));

    if (hScScanDev != 0) {
        SC_CALL(ScScannerClose)(hScScanDev);
        hScScanDev = 0;
        Protocol(kScanDeviceClosed);
    }

    Protocol(QStringLiteral("Начало распознавания..."));
    TimeBegin = QTime::currentTime();
    cursor.Show();
    QApplication::processEvents();
    if (!privately([] { return ScIsTrue(SC_CALL(ScPackageRecog)(gl_hScPackage, nullptr)); })) {
        cursor.Restore();
        const QString engineText = engineError();
        sError = LoadResString(&_S_RECOGNITION_ERROR) + kCr2 + engineText;
        Protocol(engineText);
        ui::ShowMessageBox(this, sError, LoadResString(&_S_ERROR), QMessageBox::Critical);
        return;
    }
    Protocol(QStringLiteral("  завершено."));
    Protocol(QStringLiteral("  ") + QString::number(TimeBegin.msecsTo(QTime::currentTime()))
             + QStringLiteral(" мсек"));

    // A page the window cannot take leaves its outcome in the log too: the
    // engine and the form it found, if any, with no field filled.
    const auto notSupported = [&](const QString &form) {
        recognition::LogRecognitionOutcome(QStringLiteral("Scanify"), QString(), form, m_fields, activeColumn());
        cursor.Restore();
        ui::ShowMessageBox(this, LoadResString(&_S_DOCUMENT_NOT_SUPPORTED), LoadResString(&_S_MESSAGE),
                           QMessageBox::Information);
    };
    const ScDocumentHandle hScDoc = SC_CALL(ScPackageGetFirstDoc)(gl_hScPackage);
    if (hScDoc == 0) {
        notSupported(QString());
        return;
    }
    TScDocInformation DocInfo{};
    SC_CALL(ScPackageGetDocInformation)(hScDoc, &DocInfo);
    const std::int32_t nCurrentForm = DocInfo.nForm;
    TScFormInformation ScFormInfo{};
    SC_CALL(ScPackageGetFormInformation)(gl_hScPackage, nCurrentForm, &ScFormInfo);
    const QString sFormName = scanify::FromEngineField(ScFormInfo.szId);
    Protocol(sFormName);
    // The field list serves the protocol only.
    const std::int32_t fieldCount = std::min(ScFormInfo.nFieldsCount, scanify::MaxFormFields);
    for (std::int32_t i = 1; i <= fieldCount; ++i) {
        TScFieldInformation FieldInformation{};
        SC_CALL(ScPackageGetFieldInformation)(gl_hScPackage, nCurrentForm, i, &FieldInformation);
        Protocol(scanify::FromEngineField(FieldInformation.szId));
    }

    const scanify::TCognitiveForm *kind = scanify::FindCognitiveForm(sFormName);
    if (!kind) {
        // A form the window cannot take is, for the operator, a page without
        // a document: no field would come, and silence leaves them guessing.
        notSupported(sFormName);
        return;
    }
    FDocumentName = LoadResString(kind->documentName);
    const recognition::TColumn column = activeColumn();
    // Two fields filling one box (series and number, country and code): the
    // box shows the worst mark of its parts, not just the last one's.
    std::map<recognition::TResultField, recognition::TFieldMark> worst;
    for (const scanify::TFieldMapping &m : kind->Fields()) {
        QWidget *control = m_fields.Control(m.target, column);
        const bool empty = FillDocumentCtrl(hScDoc, control, QLatin1String(m.engineField));
        const recognition::TFieldMark mark = recognition::MarkOf(control);
        recognition::TFieldMark &boxMark = worst[m.target];
        if (mark < boxMark)
            recognition::PaintOutcome(control, outcomeOf(boxMark), recognition::TMarking::Background);
        boxMark = std::max(boxMark, mark);
        if (m.emptyFlag == scanify::TFieldMapping::LastNameEmpty)
            boLastNameIsEmpty = empty;
        else if (m.emptyFlag == scanify::TFieldMapping::FirstNameEmpty)
            boFirstNameIsEmpty = empty;
    }
    const QString sPhotoFile =
        scanify::FromEngineText(SC_CALL(ScPackageGetFieldValue)(hScDoc, kind->photoField, nullptr));
    ledIssuedByRec->SetHint(ledIssuedByRec->Text());
    // The fields are in: their outcome is logged before a photo that cannot
    // be read ends the run.
    recognition::LogRecognitionOutcome(QStringLiteral("Scanify"), FDocumentName, sFormName, m_fields, activeColumn());
    if (!sPhotoFile.isEmpty())
        loadPicture(scanify::InPackageFolder(packageFolder(), sPhotoFile), imgPhoto);

    if (QFileInfo::exists(sPassportImageName) && sFormName == QLatin1String("InoPas_MRZ") && boLastNameIsEmpty
        && boFirstNameIsEmpty) {
        pnlRepeatRecognize->show();
        cursor.Restore();
        ui::ShowMessageBox(this, LoadResString(&_S_REPEAT_RECOGNIZE), LoadResString(&_S_MESSAGE),
                           QMessageBox::Information);
    } else {
        if (kind->turnZone)
            showUpright(imgWorkRecognize, sFullIniFileName, QLatin1String(kind->turnZone));
        preferSave();
    }
}
