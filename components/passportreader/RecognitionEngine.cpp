#include "RecognitionEngine.h"
#include "PrintedSpecimen.h"
#include "ZoneSpecimen.h"

#include "platform/PageLoader.h"
#include "MrzReader.h"
#include "Parallel.h"

#include "FieldsCollection.h"
#include "PageOrigin.h"
#include "enginekit/RecognitionLog.h"
#include "ScannerFault.h"
#include "ServerConfig.h"
#include "SourceScanner.h"
#include "SpecimenPackage.h"
#include "TwainClient.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <future>

namespace passportreader {

namespace {

const QString kInterfaceType = QStringLiteral("interface-type");
const QString kBrightness = QStringLiteral("brightness");
const QString kOrientation = QStringLiteral("orientation");
const QString kPaperSize = QStringLiteral("paper-size");
const QString kPictureMode = QStringLiteral("picture-mode");

// Pictures the scanners deliver live here until the process ends.
QString ScanFolder()
{
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/passportreader-XXXXXX"));
    return folder.isValid() ? folder.path() : QDir::tempPath();
}

std::atomic<int> g_pageCounter{0};

QImage ZoneReadable(const QImage &page);

/// A page file of ours, removed when it goes out of scope unless its path
/// is cleared first: a page left behind after every recognition (or every
/// failed one) would fill the temporary folder in a day's work at the desk,
/// and each is a person's document.
struct PageDiscard
{
    QString path;
    ~PageDiscard()
    {
        if (!path.isEmpty())
            QFile::remove(path);
    }
};


/// What the zone of a page makes of it for a document type, and the layout
/// of any zone found.
struct ZoneReading
{
    std::shared_ptr<const Specimen> specimen;
    QString zone;
};

ZoneReading ReadZoneOf(const QImage &page, const QString &documentType)
{
    ZoneReading out;
    const mrz::MrzResult zone = ReadZoneFor(ZoneReadable(page), documentType);
    if (zone.found)
        out.zone = mrz::FormatName(zone.format);
    out.specimen = WithPrintedFields(SpecimenFromZoneReading(zone, documentType), zone, page, documentType);
    return out;
}

/// The page as the zone reader reads it alike: pictures whose pixels it
/// takes as they are (grey, palette, opaque colour) stay as loaded, others
/// become the engine's colour page.
QImage ZoneReadable(const QImage &page)
{
    switch (page.format()) {
    case QImage::Format_Grayscale8:
    case QImage::Format_Indexed8:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_RGB32:
    case QImage::Format_RGB888: return page;
    default: return page.convertToFormat(QImage::Format_RGB888);
    }
}

/// Text that is wrong for a setting, or empty when value is acceptable.
QString CheckSetting(const QString &name, const QString &value)
{
    auto oneOf = [&](QStringList allowed) -> QString {
        if (allowed.contains(value))
            return {};
        return QStringLiteral("Value \"%1\" of scanner setting \"%2\" is not one of: %3").arg(value, name, allowed.join(QStringLiteral(", ")));
    };
    if (name == kInterfaceType)
        return oneOf({QStringLiteral("Twain"), QStringLiteral("None")});
    if (name == kOrientation)
        return oneOf({QStringLiteral("Portrait"), QStringLiteral("Landscape")});
    if (name == kPictureMode)
        return oneOf({QStringLiteral("Grayscale"), QStringLiteral("Color")});
    if (name == kBrightness) {
        bool ok = false;
        const int b = value.toInt(&ok);
        if (!ok || b < 0 || b > 100)
            return QStringLiteral("Brightness \"%1\" is not a whole number from 0 to 100").arg(value);
    }
    return {};
}

QString SettingValue(const StringsArray::Entries &settings, const QString &name, const QString &fallback)
{
    for (const auto &e : settings)
        if (e.first == name)
            return e.second;
    return fallback;
}

/// The page as this scanner's settings make it look.
QImage ApplySettings(const QImage &source, const StringsArray::Entries &settings)
{
    QImage page = source.convertToFormat(QImage::Format_RGB888);
    // 50 is neutral; every step away lightens or darkens by two levels.
    const int shift = (SettingValue(settings, kBrightness, QStringLiteral("50")).toInt() - 50) * 2;
    const bool grey = SettingValue(settings, kPictureMode, QStringLiteral("Color")) == QLatin1String("Grayscale");
    for (int y = 0; y < page.height(); ++y) {
        uchar *p = page.scanLine(y);
        for (int x = 0; x < page.width(); ++x, p += 3) {
            if (grey) {
                const int g = (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000;
                p[0] = p[1] = p[2] = uchar(g);
            }
            if (shift != 0)
                for (int c = 0; c < 3; ++c)
                    p[c] = uchar(std::clamp(p[c] + shift, 0, 255));
        }
    }
    return page;
}

const QList<QPair<QString, QString>> &FixedDocuments()
{
    // The last one is a type the package's catalogue does not know.
    static const QList<QPair<QString, QString>> docs = {
        {QStringLiteral("Passport_RU"), QStringLiteral("Russian Federation: internal passport")},
        {QStringLiteral("ForeignPassport_RU"), QStringLiteral("Russian Federation: passport for travel abroad")},
        {QStringLiteral("DriverLicense_RU"), QStringLiteral("Russian Federation: driving licence")},
        {QStringLiteral("ForeignPassport_MRZ"), QStringLiteral("Any passport: machine-readable zone")},
        {QStringLiteral("Passport_BY"), QStringLiteral("Belarus: passport")},
        {QStringLiteral("ForeignPassport_BY"), QStringLiteral("Belarus: passport for travel abroad")},
        {QStringLiteral("ID_KZ"), QStringLiteral("Kazakhstan: identity card")},
        {QStringLiteral("ForeignPassport_KZ"), QStringLiteral("Kazakhstan: passport for travel abroad")},
        {QStringLiteral("BirthCertificate_RU"), QStringLiteral("Russian Federation: birth certificate")},
    };
    return docs;
}

} // namespace

RecognitionEngine::RecognitionEngine()
{
    m_scanners.push_back({QStringLiteral("PassportReader Specimen Feeder"),
                          {{kInterfaceType, QStringLiteral("Twain")},
                           {kBrightness, QStringLiteral("50")},
                           {kOrientation, QStringLiteral("Landscape")},
                           {kPaperSize, QStringLiteral("A4")},
                           {kPictureMode, QStringLiteral("Color")}},
                          0,
                          {}});
    // A plain card slot: no brightness, orientation or colour choice, and a
    // paper size the operator's list does not have.
    m_scanners.push_back({QStringLiteral("PassportReader Card Slot"),
                          {{kInterfaceType, QStringLiteral("None")}, {kPaperSize, QStringLiteral("ID-1")}},
                          0,
                          {}});
}

QStringList RecognitionEngine::AllowedTypes()
{
    QStringList types;
    for (const auto &d : FixedDocuments())
        types << d.first;
    for (const auto &s : SpecimenCatalogue::Instance().Specimens(SpecimenFolder()))
        if (!types.contains(s->documentType))
            types << s->documentType;
    return types;
}

bool RecognitionEngine::CheckReady(const char *operation)
{
    if (m_initialized)
        return true;
    Fail(E_FAIL, QStringLiteral("%1: the recognition engine is not initialised (call Init first)").arg(QLatin1String(operation)));
    return false;
}

int RecognitionEngine::ScannerCount() const
{
    return FaultActive(fault::NoScanners) ? 0 : int(m_scanners.size()) - m_hiddenFeeders;
}

RecognitionEngine::Scanner &RecognitionEngine::Offered(int index)
{
    return m_scanners[size_t(index + m_hiddenFeeders)];
}

HRESULT RecognitionEngine::raw_Init(IInitParams *params, bool *result)
{
    if (!result)
        return E_POINTER;
    *result = false;
    if (!params)
        return Fail(E_POINTER, QStringLiteral("Init needs the engine's set-up parameters (IInitParams)"));
    if (FaultActive(fault::Init))
        return Fail(E_FAIL, FaultMessage(fault::Init, QStringLiteral("The recognition engine could not start: its licence was not found")));
    // The feeders keep their settings and their place in the feed; the
    // sources are those the manager finds now (a scanner switched on since
    // the last start counts).
    m_scanners.resize(kFeeders);
    // Without the specimens installed the desk sees its real scanners alone.
    m_hiddenFeeders = doubles::SpecimensInstalled(SpecimenFolder()) ? 0 : kFeeders;
    // Once per start of the engine: a scanner switched on since the
    // process's first list is found (listing can take seconds, a scan never
    // waits for it).
    for (const QString &source : twainclient::ListSources(nullptr, true))
        m_scanners.push_back({source, SourceScannerSettings(), 0, source});
    if (m_current >= int(m_scanners.size()) - m_hiddenFeeders)
        m_current = 0;
    m_initialized = true;
    *result = true;
    return S_OK;
}

HRESULT RecognitionEngine::raw_Close()
{
    m_initialized = false;
    return S_OK;
}

HRESULT RecognitionEngine::raw_IsInitialized(bool *result)
{
    if (!result)
        return E_POINTER;
    *result = m_initialized;
    return S_OK;
}

HRESULT RecognitionEngine::raw_ScannersCount(std::int32_t *result)
{
    if (!result)
        return E_POINTER;
    *result = 0;
    if (!CheckReady("ScannersCount"))
        return E_FAIL;
    *result = ScannerCount();
    return S_OK;
}

HRESULT RecognitionEngine::raw_ScannerName(std::int32_t index, QString *result)
{
    if (!result)
        return E_POINTER;
    if (!CheckReady("ScannerName"))
        return E_FAIL;
    if (index < 0 || index >= ScannerCount())
        return Fail(E_INVALIDARG, QStringLiteral("There is no scanner number %1 (%2 attached)").arg(index).arg(ScannerCount()));
    *result = Offered(index).name;
    return S_OK;
}

HRESULT RecognitionEngine::raw_CurrentScanSource(std::int32_t index)
{
    if (!CheckReady("CurrentScanSource"))
        return E_FAIL;
    if (index < 0 || index >= ScannerCount())
        return Fail(E_INVALIDARG, QStringLiteral("There is no scanner number %1 (%2 attached)").arg(index).arg(ScannerCount()));
    m_current = index;
    return S_OK;
}

HRESULT RecognitionEngine::raw_GetScanSettings(IStringsArray **result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    if (!CheckReady("GetScanSettings"))
        return E_FAIL;
    if (ScannerCount() == 0)
        return Fail(E_FAIL, QStringLiteral("No scanner is attached"));
    if (FaultActive(fault::Settings))
        return Fail(E_FAIL, FaultMessage(fault::Settings, QStringLiteral("The scanner did not report its settings")));
    // Asked of the source once, when the operator first looks: opening a
    // scanner can take seconds.
    Scanner &current = Offered(m_current);
    if (!current.source.isEmpty() && !current.offersAsked) {
        current.settings = OfferedSettings(current.source, current.settings);
        current.offersAsked = true;
    }
    // A copy: changes reach the scanner only through SetScanSettings.
    *result = (new StringsArray(Offered(m_current).settings))->Hand();
    return S_OK;
}

HRESULT RecognitionEngine::raw_SetScanSettings(IStringsArray *settings)
{
    if (!CheckReady("SetScanSettings"))
        return E_FAIL;
    if (!settings)
        return Fail(E_POINTER, QStringLiteral("SetScanSettings needs a settings array"));
    if (ScannerCount() == 0)
        return Fail(E_FAIL, QStringLiteral("No scanner is attached"));
    return Guard([&]() -> HRESULT {
        Scanner &scanner = Offered(m_current);
        StringsArray::Entries updated = scanner.settings;
        const std::int32_t n = settings->Count();
        for (std::int32_t i = 0; i < n; ++i) {
            const QString name = settings->Name(i);
            const QString value = settings->Value(name);
            auto it = std::find_if(updated.begin(), updated.end(), [&](const auto &e) { return e.first == name; });
            if (it == updated.end())
                return Fail(E_INVALIDARG, QStringLiteral("Scanner \"%1\" has no setting \"%2\"").arg(scanner.name, name));
            const QString wrong = CheckSetting(name, value);
            if (!wrong.isEmpty())
                return Fail(E_INVALIDARG, wrong);
            it->second = value;
        }
        scanner.settings = updated; // all or nothing
        return S_OK;
    });
}

QString RecognitionEngine::ScanPage(std::optional<twainclient::Outcome> *sourceEnd,
                                    const std::function<void(const QImage &)> &scanned)
{
    if (ScannerCount() == 0) {
        Fail(E_FAIL, QStringLiteral("No scanner is attached"));
        return {};
    }
    Scanner &scanner = Offered(m_current);
    if (FaultActive(fault::Scan)) {
        Fail(E_FAIL, FaultMessage(fault::Scan, QStringLiteral("Scanner \"%1\" does not respond").arg(scanner.name)));
        return {};
    }
    if (!scanner.source.isEmpty()) {
        twainclient::Result scan = ScanFromSource(scanner.source, scanner.settings);
        scan.dib = {}; // the page file is written as the engine's own BMP, with the digest of its bytes
        if (sourceEnd)
            *sourceEnd = scan.outcome;
        if (scan.page.isNull()) {
            Fail(E_FAIL, scan.message);
            return {};
        }
        if (scanned)
            scanned(scan.page);
        QByteArray bytes;
        const QString path = WritePage(scan.page, &bytes);
        if (!path.isEmpty())
            RememberScannerPage(bytes);
        return path;
    }
    QStringList problems;
    const QString folder = SpecimenFolder();
    const SpecimenList pages = SpecimenCatalogue::Instance().Specimens(folder, &problems);
    if (pages.empty()) {
        QString text = doubles::EmptyFeederText(scanner.name, folder);
        if (!problems.isEmpty())
            text += QStringLiteral(" (") + problems.join(QStringLiteral("; ")) + QLatin1Char(')');
        Fail(E_FAIL, text);
        return {};
    }
    const auto &specimen = pages[scanner.nextPage % pages.size()];
    scanner.nextPage = (scanner.nextPage + 1) % pages.size();

    QByteArray bytes;
    const QString path = WritePage(ApplySettings(specimen->picture, scanner.settings), &bytes);
    if (!path.isEmpty())
        SpecimenCatalogue::Instance().RememberDelivered(bytes, specimen);
    return path;
}

QString RecognitionEngine::WritePage(const QImage &page, QByteArray *bytes)
{
    {
        QBuffer buffer(bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!page.save(&buffer, "BMP")) {
            Fail(E_FAIL, QStringLiteral("The scanned page could not be encoded"));
            return {};
        }
    }
    // The page is a BMP picture under a temporary name; the caller gives it
    // its final name.
    const QString path = QDir(ScanFolder()).filePath(QStringLiteral("page-%1.tmp").arg(++g_pageCounter, 4, 10, QLatin1Char('0')));
    if (const QString failed = twainclient::WritePageFile(path, {*bytes}); !failed.isEmpty()) {
        Fail(E_FAIL, failed);
        return {};
    }
    return path;
}

HRESULT RecognitionEngine::raw_Scan(QString *filePath)
{
    if (!filePath)
        return E_POINTER;
    filePath->clear();
    if (!CheckReady("Scan"))
        return E_FAIL;
    return Guard([&]() -> HRESULT {
        const QString path = ScanPage();
        if (path.isEmpty())
            return E_FAIL;
        *filePath = path;
        return S_OK;
    });
}

HRESULT RecognitionEngine::raw_AllowedDocuments(IStringsArray **result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    if (!CheckReady("AllowedDocuments"))
        return E_FAIL;
    if (FaultActive(fault::Documents))
        return Fail(E_FAIL, FaultMessage(fault::Documents, QStringLiteral("The list of document types could not be read")));
    return Guard([&]() -> HRESULT {
        StringsArray::Entries entries = FixedDocuments();
        for (const QString &type : AllowedTypes())
            if (std::none_of(entries.cbegin(), entries.cend(), [&](const auto &e) { return e.first == type; }))
                entries.append({type, QStringLiteral("Specimen document")});
        *result = (new StringsArray(entries))->Hand();
        return S_OK;
    });
}

HRESULT RecognitionEngine::RecognizeFile(const QString &path, const QString &documentType, IFieldsCollection **result,
                                         bool pageIsOurs)
{
    PageDiscard discard{pageIsOurs ? path : QString()};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(E_FAIL, QStringLiteral("Cannot open the picture %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    QString loadError;
    const QImage loaded = imaging::LoadPage(bytes, &loadError);
    if (loaded.isNull())
        return Fail(E_FAIL, QStringLiteral("The file %1 is not a picture the engine can read").arg(path));
    // A real scanner's page is what its pixels say, however much it looks
    // like a specimen; only the feeders' pages are matched to descriptions.
    const bool readFromPixels = EveryPageReadFromPixels() || PageFromScanner(bytes);
    // The colour copy of a page is needed only to match it with the
    // specimens: the zone reader and the page's pictures read the page as
    // it was loaded (a scan of 24 MB is not copied for nothing).
    const QImage page = readFromPixels ? loaded : loaded.convertToFormat(QImage::Format_RGB888);
    auto specimen = readFromPixels ? nullptr : SpecimenCatalogue::Instance().Identify(SpecimenFolder(), bytes, page);
    if (specimen) {
        enginekit::LogRecognition(EngineLogFile(), enginekit::PageReading::Described, QFileInfo(specimen->descriptionPath).fileName());
        // A page of another document type yields nothing, as a real reader does.
        if (specimen->documentType != documentType)
            specimen.reset();
    } else {
        const ZoneReading read = ReadZoneOf(page, documentType);
        specimen = read.specimen;
        enginekit::LogRecognition(EngineLogFile(), enginekit::PageReading::Read,
                                read.zone.isEmpty() ? QStringLiteral("no zone") : read.zone);
    }
    const HRESULT collected = Collect(specimen, page, path, pageIsOurs, result);
    discard.path.clear(); // the collection deletes it
    return collected;
}

HRESULT RecognitionEngine::Collect(std::shared_ptr<const Specimen> specimen, const QImage &page, const QString &path,
                                   bool pageIsOurs, IFieldsCollection **result)
{
    auto *collection = new FieldsCollection(specimen, page, path);
    if (pageIsOurs)
        collection->DeletePageWithCollection();
    *result = collection->Hand();
    return S_OK;
}

HRESULT RecognitionEngine::raw_Recognize(const QString &path, const QString &documentType, IFieldsCollection **result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    if (!CheckReady("Recognize"))
        return E_FAIL;
    return Guard([&]() -> HRESULT {
        if (!AllowedTypes().contains(documentType))
            return Fail(E_INVALIDARG, QStringLiteral("Document type \"%1\" is not supported by the engine").arg(documentType));
        if (FaultActive(fault::Recognize))
            return Fail(E_FAIL, FaultMessage(fault::Recognize, QStringLiteral("Recognition of %1 failed").arg(path)));
        return RecognizeFile(path, documentType, result);
    });
}

HRESULT RecognitionEngine::raw_ScanAndRecognize(const QString &documentType, IFieldsCollection **result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    if (!CheckReady("ScanAndRecognize"))
        return E_FAIL;
    return Guard([&]() -> HRESULT {
        if (!AllowedTypes().contains(documentType))
            return Fail(E_INVALIDARG, QStringLiteral("Document type \"%1\" is not supported by the engine").arg(documentType));
        std::optional<twainclient::Outcome> sourceEnd;
        // A source's page is read while its file is written: the operator
        // waits for both, and each takes a core of its own.
        QImage sourcePage;
        std::future<ZoneReading> reading;
        const QString scanned = ScanPage(&sourceEnd, [&](const QImage &page) {
            sourcePage = page;
            mrz::PrepareReader(); // the glyphs drawn on this thread, not the reading's
            reading = mrz::Aside(ReadZoneOf, page, documentType);
        });
        if (scanned.isEmpty() && sourceEnd == twainclient::Outcome::Cancelled)
            return S_OK; // the operator's cancel: nothing to recognise, no fault
        if (scanned.isEmpty() && sourceEnd && sourceEnd != twainclient::Outcome::Scanned) {
            QString words;
            raw_GetErrorDescription(&words);
            *result = (new ScannerFaultCollection(words))->Hand();
            return S_OK;
        }
        if (scanned.isEmpty())
            return E_FAIL;
        // Kept as a picture file with its proper extension: it is the
        // collection's "FullImage" path.
        const QString page = QFileInfo(scanned).path() + QLatin1Char('/') + QFileInfo(scanned).completeBaseName() + QStringLiteral(".bmp");
        PageDiscard discard{scanned};
        QFile::remove(page);
        if (!QFile::rename(scanned, page))
            return Fail(E_FAIL, QStringLiteral("Cannot keep the scanned page as %1").arg(page));
        discard.path = page;
        if (FaultActive(fault::Recognize))
            return Fail(E_FAIL, FaultMessage(fault::Recognize, QStringLiteral("Recognition of the scanned page failed")));
        if (!reading.valid()) {
            discard.path.clear(); // recognising the file takes care of it
            return RecognizeFile(page, documentType, result, true);
        }
        // Only a source of the manager tells how its scan ended: its page is
        // read from its pixels, as they came from the source.
        const ZoneReading read = reading.get();
        enginekit::LogRecognition(EngineLogFile(), enginekit::PageReading::Read,
                                read.zone.isEmpty() ? QStringLiteral("no zone") : read.zone);
        const HRESULT collected = Collect(read.specimen, sourcePage, page, true, result);
        discard.path.clear(); // the collection deletes it
        return collected;
    });
}

HRESULT RecognitionEngine::raw_LogMode(std::int32_t mode)
{
    if (mode < 0)
        return Fail(E_INVALIDARG, QStringLiteral("Log mode %1 is not valid").arg(mode));
    m_logMode = mode;
    return S_OK;
}

HRESULT RecognitionEngine::raw_EnablePreprocessedImageCoordinatesMode()
{
    m_preprocessedCoordinates = true;
    return S_OK;
}

} // namespace passportreader
