#include "abbyy/engUtilsABBYY9r.h"

#include "common/OperatorLog.h"
#include "base/PackageTexts.h"
#include "base/PackageUnits.h"
#include "base/ResString.h"
#include "common/TOrderedStrings.h"
#include "common/engCommon9r.h"
#include "base/engCommon9rMessages.h"
#include "host/Sdlogfile.h"

#include <QImage>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <array>
#include <exception>
#include <stdexcept>

IRecognitionEnginePtr gl_RecognitionEngine;

namespace abbyy {
RecognitionEngineFactory CreateRecognitionEngine = &CoRecognitionEngine::Create;
InitParamsFactory CreateInitParams = &CoInitParams::Create;
} // namespace abbyy

namespace {

/// More symbols than any field of a document holds.
constexpr std::int32_t MaxFieldSymbols = 4096;

const QString kCr2 = QStringLiteral("\r\r");

QString errorText(const std::exception &e)
{
    return QString::fromUtf8(e.what());
}

} // namespace

namespace {

QString startEngine()
{
    QString result;
    const QString initError = LoadResString(&_S_ERROR_INIT_ABBYY_ENGINE);

    IRecognitionEnginePtr engine;
    try {
        engine = abbyy::CreateRecognitionEngine();
    } catch (const std::exception &) {
    }
    if (!engine)
        return initError + kCr2 + QString(texts::EngineClassMissing);
    gl_RecognitionEngine = engine;

    try {
        engine->EnablePreprocessedImageCoordinatesMode();
        if (engine->IsInitialized())
            return result;
        IInitParamsPtr params = abbyy::CreateInitParams();
        if (!params)
            throw std::runtime_error(texts::EngineInitParamsMissing);
        // The engine answers false when it could not start; that is a failure
        // even though the call itself went through.
        if (!engine->Init(params.get()))
            throw std::runtime_error(texts::EngineInitFailed);
        engine->LogMode(3);
    } catch (const std::exception &e) {
        result = initError + kCr2 + errorText(e) + kCr2 + LoadResString(&_S_GO_TO_ADMIN);
    }
    return result;
}

} // namespace

QString InitEngine()
{
    // The host shows the text; support finds it in the log.
    const QString result = startEngine();
    if (!result.isEmpty())
        recognition::LogFailure(QStringLiteral("InitEngine"), result);
    return result;
}

void CloseEngine()
{
    if (!gl_RecognitionEngine)
        return;
    gl_RecognitionEngine->Close();
    gl_RecognitionEngine = nullptr;
}

IStringsArrayPtr GetAllowedDocuments()
{
    if (!gl_RecognitionEngine)
        return nullptr;
    try {
        return gl_RecognitionEngine->AllowedDocuments();
    } catch (const std::exception &e) {
        WriteLogFileMessage(QStringLiteral("GetAllowedDocuments: ") + errorText(e));
        return nullptr;
    }
}

QString SetScannerProps(bool twainDialogAvailable, bool showTwainDialog,
                        bool brightnessAvailable, int brightness,
                        bool orientAvailable, int orientIndex,
                        bool paperSizeAvailable, bool paperSizeSelected, const QString &paperSize,
                        bool colorModeAvailable, int colorModeIndex)
{
    // Held for the whole call, so a settings change by a callee cannot pull
    // the objects away underneath.
    const IStringsArrayPtr settings = gl_ScanSettings;
    const IRecognitionEnginePtr engine = gl_RecognitionEngine;
    if (!settings)
        return QString(texts::ScannerSettingsMissing);
    if (!engine)
        return QString(texts::EngineNotStarted);

    try {
        // Support is asked first, as the engine may log or cache the query.
        if (settings->Contains(QStringLiteral("interface-type")) && twainDialogAvailable)
            settings->Set_(QStringLiteral("interface-type"),
                           showTwainDialog ? QStringLiteral("Twain") : QStringLiteral("None"));
        if (settings->Contains(QStringLiteral("brightness")) && brightnessAvailable)
            settings->Set_(QStringLiteral("brightness"), QString::number(brightness));
        if (settings->Contains(QStringLiteral("orientation")) && orientAvailable)
            settings->Set_(QStringLiteral("orientation"),
                           orientIndex == 0 ? QStringLiteral("Portrait") : QStringLiteral("Landscape"));
        if (paperSizeAvailable && settings->Contains(QStringLiteral("paper-size")) && paperSizeSelected)
            settings->Set_(QStringLiteral("paper-size"), paperSize);
        if (settings->Contains(QStringLiteral("picture-mode")) && colorModeAvailable) {
            if (colorModeIndex == 0)
                settings->Set_(QStringLiteral("picture-mode"), QStringLiteral("Grayscale"));
            else if (colorModeIndex == 1)
                settings->Set_(QStringLiteral("picture-mode"), QStringLiteral("Color"));
        }
        engine->SetScanSettings(settings.get());
    } catch (const std::exception &e) {
        return errorText(e);
    }
    return QString();
}

void ChangeBrightness(QImage *Bitmap, int Amount)
{
    if (!Bitmap)
        throw std::invalid_argument("ChangeBrightness: no bitmap");

    std::array<uchar, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[size_t(i)] = uchar(std::clamp(i + Amount, 0, 255));

    // These formats lay a pixel out as blue, green, red and alpha (or 0xFF)
    // on little-endian machines and keep their fourth byte as it is.
    const QImage::Format format = Bitmap->format();
    const bool premultiplied = format == QImage::Format_ARGB32_Premultiplied;
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 && !premultiplied)
        Bitmap->convertTo(QImage::Format_RGB32);
    if (Bitmap->height() <= 0)
        throw std::out_of_range("Scan line index out of range");

    // Lines are walked by their stride: a picture over outside memory may pad them.
    const int width = Bitmap->width();
    for (int y = 0; y < Bitmap->height(); ++y) {
        uchar *p = Bitmap->scanLine(y);
        if (premultiplied) {
            // A premultiplied colour never exceeds its alpha.
            for (int x = 0; x < width; ++x, p += 4) {
                const uchar alpha = p[3];
                p[0] = std::min(table[p[0]], alpha);
                p[1] = std::min(table[p[1]], alpha);
                p[2] = std::min(table[p[2]], alpha);
            }
            continue;
        }
        for (int x = 0; x < width; ++x, p += 4) {
            p[0] = table[p[0]];
            p[1] = table[p[1]];
            p[2] = table[p[2]];
        }
    }
}

void CheckSymbols(IFieldsCollection *Fields, const QString &fieldName, QWidget *edit)
{
    if (!Fields || !edit || !abbyy::HasUntrustedSymbols(Fields, fieldName))
        return;
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, UntrustedSymbolColor());
    edit->setPalette(palette);
}

namespace abbyy {

bool HasUntrustedSymbols(IFieldsCollection *Fields, const QString &fieldName)
{
    if (!Fields)
        return false;
    try {
        const IRecognizedFieldPtr found = Fields->Field(fieldName);
        if (!found)
            return false;
        const std::int32_t length = found->Length();
        // No field of a document holds that many symbols; asking the engine
        // for each of them would hold the window for minutes.
        if (length > MaxFieldSymbols)
            return true;
        for (std::int32_t i = 0; i < length; ++i) {
            IRecognizedFieldPtr field = Fields->Field(fieldName);
            if (!field)
                return true;
            IRecognizedSymbolPtr symbol = field->Symbol(i);
            if (!symbol || !symbol->Trusted())
                return true;
        }
    } catch (const std::exception &e) {
        // A value whose confidence cannot be read is a value to check.
        WriteLogFileMessage(QStringLiteral("CheckSymbols(%1): ").arg(fieldName) + errorText(e));
        return true;
    }
    return false;
}

} // namespace abbyy

void InterfacePacketToVariant(TInterfacePacket *Packet, QVariant &Variant)
{
    Variant.clear();
    if (!Packet) {
        Variant = QVariant::fromValue(nullptr);
        return;
    }
    Variant = QVariant::fromValue(std::move(*Packet));
    Packet->clear();
}

QString SetDocumentsAvailability(TOrderedStrings *catalogue)
{
    QString result;
    WriteLogFileMessage(QStringLiteral("SetDocumentsAvailability___1"));
    try {
        if (!gl_RecognitionEngine)
            throw std::runtime_error(texts::EngineNotStarted);
        if (!catalogue)
            throw std::runtime_error(texts::CatalogueNotGiven);
        const IStringsArrayPtr documents = gl_RecognitionEngine->AllowedDocuments();
        WriteLogFileMessage(QStringLiteral("SetDocumentsAvailability___2"));
        if (!documents)
            throw std::runtime_error(texts::EngineGaveNoDocumentList);
        if (!gl_ListAvailableDocuments)
            throw std::runtime_error(texts::CatalogueNotLoaded);
        const std::int32_t count = documents->Count();
        for (std::int32_t i = 0; i < count; ++i) {
            const QString name = documents->Name(i);
            gl_ListAvailableDocuments->Add(name);
            const int index = catalogue->IndexOfName(name);
            if (index >= 0)
                if (TDocumentInfo *info = catalogue->Objects(index))
                    info->FIsEnabled = true;
        }
    } catch (const std::exception &e) {
        result = errorText(e);
        recognition::LogFailure(QStringLiteral("SetDocumentsAvailability"), result);
    }
    return result;
}

void engUtilsABBYY9r_Initialization() {}

// At unload the engine is only released, never closed: the host closes it with
// CloseEngine while it still can.
void engUtilsABBYY9r_Finalization()
{
    if (gl_RecognitionEngine)
        gl_RecognitionEngine = nullptr;
}
