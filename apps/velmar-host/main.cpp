// Reference host of the recognition package: loads it at run time, starts
// it, lets the operator choose the recogniser and reports what it found (as
// JSON). With no display it runs offscreen with the scripted operator; with
// --scripted the scripted operator answers every window under a display too.
#include "AbbyyRequest.h"
#include "EngineLog.h"
#include "DocPictureRequest.h"
#include "CameraRequest.h"
#include "PackageLoader.h"
#include "PersonRecord.h"
#include "PrivateRecords.h"
#include "ScanifyPath.h"
#include "ScannerRuns.h"
#include "ScriptedOperator.h"
#include "Soak.h"
#include "Specimens.h"
#include "SpecimenPackage.h"
#include "common/Recognition9r.h"
#include "common/engCommon9r.h"
#include "common/engSelectRecognizer9r_FM.h"
#include "services/HostKit.h"
#include "scanify-feed/ScanifySpecimen.h"
#include "scanify-feed/SpecimenFeed.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTimer>
#include <cstdio>

namespace {

bool haveDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

const char *kindName(TTypeDocument type)
{
    switch (type) {
    case tdPassport: return "tdPassport";
    case tdForeignPassport: return "tdForeignPassport";
    case tdDriverLicense: return "tdDriverLicense";
    case tdIdentificationCard: return "tdIdentificationCard";
    case tdMRZDocument: return "tdMRZDocument";
    }
    return "unknown";
}

QJsonArray catalogueJson(const PackageLoader &package)
{
    QJsonArray out;
    TOrderedStrings *list = *package.Variable<TOrderedStrings *>("gl_ListAllowedDocuments");
    for (int i = 0; list && i < list->Count(); ++i) {
        const TDocumentInfo *info = list->Objects(i);
        out.append(QJsonObject{{"identifier", info->FIdentifier},
                               {"name", info->FDocName},
                               {"shortName", info->FShortDocName},
                               {"kind", kindName(info->FTypeDocument)},
                               {"enabled", info->FIsEnabled}});
    }
    return out;
}

QJsonObject settingsJson(const PackageLoader &package)
{
    auto b = [&](const char *n) { return QJsonValue(*package.Variable<bool>(n)); };
    auto i = [&](const char *n) { return QJsonValue(*package.Variable<std::int32_t>(n)); };
    auto s = [&](const char *n) { return QJsonValue(*package.Variable<QString>(n)); };
    return QJsonObject{
        {"gl_PhotoToAccountData", b("gl_PhotoToAccountData")},
        {"gl_DocumentToAccountData", b("gl_DocumentToAccountData")},
        {"gl_FIOOnLatin", b("gl_FIOOnLatin")},
        {"gl_sScannerName", s("gl_sScannerName")},
        {"gl_ScannerItemIndex", i("gl_ScannerItemIndex")},
        {"gl_ShowTwainSupported", b("gl_ShowTwainSupported")},
        {"gl_TwainDialogNeed", b("gl_TwainDialogNeed")},
        {"gl_SelectScanner", b("gl_SelectScanner")},
        {"gl_BrightnessSupported", b("gl_BrightnessSupported")},
        {"gl_BrightnessValue", i("gl_BrightnessValue")},
        {"gl_OrientSupported", b("gl_OrientSupported")},
        {"gl_OrientValue", i("gl_OrientValue")},
        {"gl_PaperSizeSupported", b("gl_PaperSizeSupported")},
        {"gl_PaperSizeIndex", i("gl_PaperSizeIndex")},
        {"gl_PaperSizeValue", s("gl_PaperSizeValue")},
        {"gl_ColorModeSupported", b("gl_ColorModeSupported")},
        {"gl_ColorModeValue", i("gl_ColorModeValue")},
        {"gl_RotationIndex", i("gl_RotationIndex")},
        {"gl_PackageKeepDays", i("gl_PackageKeepDays")},
        {"settingsFile", s("gl_sRecognizeIniFileName")},
    };
}

/// Shows the recogniser choice as the host does. An engine asked for on the
/// command line is picked in the list (0: ABBYY, 1: Scanify), as the operator
/// would; in a scripted run the operator's Enter is simulated. Returns
/// {engine index, "do not ask again"}.
QJsonObject chooseRecognizer(const PackageLoader &package, bool scripted, int wanted)
{
    auto create = package.Function<TSelectRecognizerFM *(*)(QWidget *)>("TSelectRecognizerFM_Create");
    TSelectRecognizerFM *dialog = create(nullptr);
    if (wanted >= 0)
        dialog->cbSelect->setCurrentIndex(wanted);
    if (scripted)
        QTimer::singleShot(0, dialog, [dialog] { dialog->bOK->click(); });
    const int result = dialog->exec();
    const int engine = dialog->cbSelect->currentIndex();
    const bool notShow = dialog->cxNotShow->isChecked();
    delete dialog;
    *package.Variable<TSelectRecognizerFM *>("SelectRecognizerFM") = nullptr;
    return QJsonObject{{"modalResult", result},
                       {"engineIndex", engine},
                       {"engine", engine == 0 ? "ABBYY PassportReader SDK" : "Cognitive Scanify API"},
                       {"doNotShowAgain", notShow}};
}

/// Tells the operator which recogniser was chosen; in a scripted run the box
/// is answered with its OK button. Returns what the report keeps of it.
QJsonObject reportChoice(const QJsonObject &choice, bool scripted)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Velmar-Q-70"),
                    QStringLiteral("Выбрано: %1\nБольше не показывать: %2")
                        .arg(choice["engine"].toString(), choice["doNotShowAgain"].toBool() ? "да" : "нет"),
                    QMessageBox::Ok);
    if (scripted)
        QTimer::singleShot(0, &box, [&box] { box.button(QMessageBox::Ok)->click(); });
    const int answer = box.exec();
    return QJsonObject{{"text", box.text()}, {"answer", answer == QMessageBox::Ok ? "OK" : "closed"}};
}

struct HostOptions
{
    bool scripted = false;
    QString documents;      ///< folder of documents; empty: the built-in specimens
    QString person;         ///< stored person's record for the edit path
    QString output;         ///< where the persons' records go
    QString formPages;      ///< screenshots of every page of the window
    QString engine;         ///< "abbyy", "scanify" or "all"
    bool docPicture = false; ///< the document-picture window instead of recognition
    bool camera = false;    ///< the camera snapshot window instead of recognition
    int soak = 0;           ///< recognitions of a long run; 0: one per document
    QString scanner;        ///< scripted: scan from the source whose name holds this
    QString documentType;   ///< scripted recognition from a scanner: the catalogue identifier chosen
};

/// The document type a recognition from a named scanner chooses by default:
/// the foreign passport with a machine-readable zone.
const QString DefaultScannerDocumentType = QStringLiteral("ForeignPassport_MRZ");

QString PersonFolder(const HostOptions &o, int n)
{
    return QDir(o.output).filePath(QStringLiteral("person-%1").arg(n, 2, 10, QLatin1Char('0')));
}

/// The documents the ABBYY path feeds: --documents, else the built-in specimens.
QString AbbyyDocumentsFolder(const HostOptions &o)
{
    return o.documents.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/specimens") : o.documents;
}

/// The ABBYY path of the host: start the engine, mark the document types it
/// reads, run the requests, close the engine.
QJsonObject RunAbbyyPath(const PackageLoader &package, const HostOptions &o)
{
    QJsonObject report;
    if (!o.documents.isEmpty())
        qputenv("PASSPORTREADER_SPECIMENS", QFileInfo(o.documents).absoluteFilePath().toLocal8Bit());
    const QString initError = package.Function<QString (*)()>("InitEngine")();
    if (!initError.isEmpty()) {
        report["error"] = initError;
        return report;
    }
    struct Close
    {
        const PackageLoader &p;
        ~Close()
        {
            try {
                p.Function<void (*)()>("CloseEngine")();
            } catch (const std::exception &e) {
                std::fprintf(stderr, "velmar-host: closing the engine: %s\n", e.what());
            }
        }
    } close{package};
    const QString availability = package.Function<QString (*)(TOrderedStrings *)>("SetDocumentsAvailability")(
        *package.Variable<TOrderedStrings *>("gl_ListAllowedDocuments"));
    if (!availability.isEmpty())
        report["availabilityError"] = availability;

    std::optional<PersonRecord> current;
    if (!o.person.isEmpty())
        current = PersonRecord::Load(o.person);

    QJsonArray records;
    if (o.scripted && !o.scanner.isEmpty()) {
        EngineLog engineLog("PASSPORTREADER_LOG");
        records.append(engineLog.WithPage(
            RunAbbyyFromScanner(package, {o.scanner, o.documentType, current, PersonFolder(o, 1), o.formPages})));
        report["records"] = records;
        return report;
    }
    if (!o.scripted) {
        EngineLog engineLog("PASSPORTREADER_LOG");
        AbbyyRequest request;
        request.current = current;
        records.append(engineLog.WithPage(AbbyyResultEntry(RunAbbyyRequest(package, request), PersonFolder(o, 1))));
        report["records"] = records;
        return report;
    }

    const QString folder = AbbyyDocumentsFolder(o);
    QStringList problems;
    const std::vector<SpecimenDocument> documents = ReadSpecimenFolder(folder, &problems);
    report["documentsFolder"] = QFileInfo(folder).absoluteFilePath();
    if (!problems.isEmpty())
        report["documentProblems"] = QJsonArray::fromStringList(problems);
    if (o.soak > 0) {
        const QString data = package.Function<QString (*)()>("GetUserDataFolder")();
        report["soak"] = RunSoak(data, o.soak, int(documents.size()), [&](int n) {
            AbbyyRequest request;
            request.documentType = documents[size_t(n - 1) % documents.size()].documentType;
            request.operate = [](TABBYYRecognitionFM *form) { OperateRecognitionWindow(form, ScriptedOperatorPlan{}); };
            const AbbyyResult result = RunAbbyyRequest(package, request);
            return SoakWindow{result.modalResult, result.modalResult == 1 && result.record};
        });
        return report;
    }
    MessageBoxAnswerer answerer;
    EngineLog engineLog("PASSPORTREADER_LOG");
    int n = 0;
    for (const SpecimenDocument &document : documents) {
        ++n;
        const QString personFolder = PersonFolder(o, n);
        ScriptedOperatorPlan plan;
        plan.screenshotFile = QDir(personFolder).filePath(QStringLiteral("form.png"));
        if (n == 1 && !o.formPages.isEmpty()) {
            plan.pageScreenshotFolder = o.formPages;
            plan.pageScreenshotPrefix = QStringLiteral("ABBYYRecognitionFM-");
        }
        AbbyyRequest request;
        request.current = current;
        request.documentType = document.documentType;
        request.operate = [plan](TABBYYRecognitionFM *form) { OperateRecognitionWindow(form, plan); };
        QJsonObject entry = engineLog.WithPage(AbbyyResultEntry(RunAbbyyRequest(package, request), personFolder));
        entry["document"] = QFileInfo(document.descriptionPath).fileName();
        entry["documentType"] = document.documentType;
        entry["screenshot"] = plan.screenshotFile;
        const QStringList messages = answerer.Take();
        if (!messages.isEmpty())
            entry["messages"] = QJsonArray::fromStringList(messages);
        records.append(entry);
    }
    report["records"] = records;
    return report;
}

/// The document-picture path: one scan stored as the person's document
/// picture; scripted, also a multi-page delivery and a cancelled scan.
QJsonObject RunDocPicturePath(const PackageLoader &package, const HostOptions &o)
{
    const QString folder = QDir(o.output).filePath(QStringLiteral("doc-picture"));
    if (!o.scripted)
        return RunDocPictureByHand(package, folder);
    QJsonObject report;
    DocPictureRun single;
    single.folder = folder;
    if (!o.scanner.isEmpty()) {
        // One scan from the scanner asked for; the runs below are the specimen's.
        single.source = o.scanner;
        report["scan"] = RunDocPictureScripted(package, single);
        return report;
    }
    report["scan"] = RunDocPictureScripted(package, single);

    // The specimen scanner's feeder holds three pages; the window keeps the last.
    const QByteArray pages = qgetenv("TWAINSPECIMEN_PAGES");
    qputenv("TWAINSPECIMEN_PAGES", "3");
    DocPictureRun multi;
    multi.turns = 0;
    QJsonObject multiResult = RunDocPictureScripted(package, multi);
    multiResult["feederPages"] = 3;
    report["multiPageScan"] = multiResult;
    if (pages.isNull())
        qunsetenv("TWAINSPECIMEN_PAGES");
    else
        qputenv("TWAINSPECIMEN_PAGES", pages);

    // A scan turned once, then a second scan cancelled in the scanner's
    // dialog: the window keeps the first picture.
    DocPictureRun cancelled;
    cancelled.scans = {DocPictureRun::Answer::Scan, DocPictureRun::Answer::Cancel};
    report["scanThenCancelledScan"] = RunDocPictureScripted(package, cancelled);
    return report;
}

/// A folder the run writes into, created now: an operator's work must not
/// be lost at "Готово" for want of it. Empty when it is usable, else why not.
QString PrepareFolder(const char *option, const QString &folder)
{
    const QString path = QFileInfo(folder).absoluteFilePath();
    // What the run writes there is personal: a folder it makes is the
    // user's alone; one the user named that is there already is left as it is.
    if (!QFileInfo(path).isDir() && !MakeRecordFolder(path))
        return QStringLiteral("%1: cannot create the folder %2").arg(QLatin1String(option), folder);
    QTemporaryFile probe(QDir(path).filePath(QStringLiteral(".velmar-host-XXXXXX")));
    if (!probe.open())
        return QStringLiteral("%1: cannot write into the folder %2 (%3)")
            .arg(QLatin1String(option), folder, probe.errorString());
    return {};
}

/// Why the options cannot make the run asked for, before any window opens;
/// empty when they can.
QString RefusedOptions(const HostOptions &o)
{
    if (!o.documents.isEmpty() && !QFileInfo(o.documents).isDir())
        return QStringLiteral("--documents: no such folder %1").arg(o.documents);
    if (const QString &formPages = o.formPages; !formPages.isEmpty()) {
        // Only the scripted operator of the recognition windows takes them.
        const char *other = o.docPicture ? "--doc-picture" : o.camera ? "--camera" : o.soak > 0 ? "--soak" : nullptr;
        if (other)
            return QStringLiteral("--form-pages %1: the pages of the recognition windows are taken by the "
                                  "scripted operator; there are none to take with %2")
                .arg(formPages, QLatin1String(other));
        if (!o.scripted)
            return QStringLiteral("--form-pages %1: the pages are taken by the scripted operator; "
                                  "add --scripted to take them at a display")
                .arg(formPages);
        if (QString why = PrepareFolder("--form-pages", formPages); !why.isEmpty())
            return why;
    }
    // A long run of the recognition windows stores nothing; the other
    // windows ignore --soak and store what they take.
    if (o.soak > 0 && (o.docPicture || o.camera))
        return QStringLiteral("--soak %1: a long run is one of the recognition windows; %2 stores what it takes")
            .arg(o.soak)
            .arg(QLatin1String(o.docPicture ? "--doc-picture" : "--camera"));
    if (!o.documentType.isEmpty() && o.scanner.isEmpty())
        return QStringLiteral("--document-type %1: the document type is chosen for a recognition from a scanner; "
                              "add --scanner")
            .arg(o.documentType);
    if (!o.scanner.isEmpty()) {
        const char *other = o.camera ? "--camera" : o.soak > 0 ? "--soak" : nullptr;
        if (other)
            return QStringLiteral("--scanner %1: a scanner is picked for a recognition or a document picture, "
                                  "not with %2")
                .arg(o.scanner, QLatin1String(other));
        if (!o.scripted)
            return QStringLiteral("--scanner %1: the scanner is picked by the scripted operator; at a display the "
                                  "operator picks it; add --scripted to have it picked")
                .arg(o.scanner);
        if (!o.documentType.isEmpty() && o.docPicture)
            return QStringLiteral("--document-type %1: the document picture is not recognised").arg(o.documentType);
    }
    if (o.soak == 0)
        return PrepareFolder("--output", o.output);
    return {};
}

/// A folder of the run's records that is there already must take them.
QString UsableRecordFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists())
        return {}; // created in the output folder, which takes it
    if (!info.isDir())
        return QStringLiteral("--output: %1 is not a folder; the run stores its records there").arg(folder);
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".velmar-host-XXXXXX")));
    if (!probe.open())
        return QStringLiteral("--output: cannot write into the folder %1 (%2); the run stores its records there")
            .arg(folder, probe.errorString());
    return {};
}

/// Exit code of a scripted run that cannot be done: the specimen documents
/// it feeds are not installed.
constexpr int SpecimensMissingExit = 4;

/// The specimen folders a scripted run feeds from that are not installed
/// (joined for one line); empty when the run needs none or finds them all.
QString MissingSpecimens(const HostOptions &o)
{
    if (!o.scripted || !o.scanner.isEmpty() || o.camera)
        return {};
    QStringList missing;
    const auto need = [&](const QString &path) {
        if (!QFileInfo::exists(path))
            missing << QDir::toNativeSeparators(path);
    };
    if (o.docPicture) {
        // The specimen scanner is a source beside the source manager, unless
        // the caller points the manager at sources of its own.
        if (qEnvironmentVariableIsEmpty("TWAINDSM_SOURCES"))
            need(QCoreApplication::applicationDirPath() + QStringLiteral("/twain/libtwainspecimen.so"));
        return missing.join(QStringLiteral(", "));
    }
    if (o.engine != QLatin1String("scanify") && o.documents.isEmpty())
        need(AbbyyDocumentsFolder(o));
    if (o.engine != QLatin1String("abbyy"))
        need(scproxy::SpecimenFolder());
    return missing.join(QStringLiteral(", "));
}

/// Why the run asked for cannot work or keep what its windows take, known
/// before any window opens: no document or page to feed, or a folder of its
/// records (left by an earlier run) that cannot take them. Empty when it can.
QString RefusedRun(const HostOptions &o)
{
    QStringList folders;
    if (o.docPicture) {
        folders << QStringLiteral("doc-picture");
    } else if (o.camera) {
        folders << QStringLiteral("camera");
    } else {
        const auto numbered = [&](const char *prefix, int count) {
            for (int n = 1; n <= count && o.soak == 0; ++n)
                folders << QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(n, 2, 10, QLatin1Char('0'));
        };
        if (o.engine != QLatin1String("scanify")) {
            int documents = 1; // one window at the display, or from the scanner named
            if (o.scanner.isEmpty() && (o.scripted || !o.documents.isEmpty())) {
                const QString folder = AbbyyDocumentsFolder(o);
                documents = int(ReadSpecimenFolder(folder, nullptr).size());
                if (documents == 0)
                    return QStringLiteral("%1 %2: no document description to feed (*.json naming its picture and "
                                          "its documentType)")
                        .arg(QLatin1String(o.documents.isEmpty() ? "the specimens folder" : "--documents"), folder);
            }
            numbered("person-", documents);
        }
        if (o.engine != QLatin1String("abbyy")) {
            int pages = 1;
            if (o.scripted && o.scanner.isEmpty()) {
                // The stand-in's feeder, listed as the Scanify path will list it.
                QStringList problems;
                const QString folder = scproxy::SpecimenFolder();
                pages = int(scproxy::FeederPages(folder, scproxy::FeedPatterns(), &problems).size());
                // A folder that is not there was refused before (the
                // specimens not installed); a feed that picks nothing from a
                // folder that is there is the caller's mistake.
                if (pages == 0)
                    return QStringLiteral("no specimen pages to feed in %1 (SCPROXY_SPECIMENS, SCPROXY_FEED)%2")
                        .arg(QDir::toNativeSeparators(folder),
                             problems.isEmpty() ? QString() : QStringLiteral(": ") + problems.first());
            }
            numbered("scanify-person-", pages);
        }
    }
    for (const QString &name : folders)
        if (QString why = UsableRecordFolder(QDir(o.output).filePath(name)); !why.isEmpty())
            return why;
    return {};
}

/// What the run could not keep: every record or picture that was not stored.
void CollectStoreErrors(const QJsonValue &value, QStringList &errors)
{
    if (value.isArray()) {
        for (const QJsonValue &v : value.toArray())
            CollectStoreErrors(v, errors);
    } else if (value.isObject()) {
        const QJsonObject o = value.toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            if (it.key() == QLatin1String("storeError"))
                errors << it.value().toString();
            else
                CollectStoreErrors(it.value(), errors);
    }
}

/// Whether the run kept all it took; what it did not is said on stderr.
bool AllStored(const QJsonObject &report)
{
    QStringList errors;
    CollectStoreErrors(report, errors);
    for (const QString &e : errors)
        std::fprintf(stderr, "velmar-host: not stored: %s\n", qPrintable(e));
    return errors.isEmpty();
}

/// Why the catalogue has no document type of that identifier, with those it has; empty when it has.
QString UnknownDocumentType(const PackageLoader &package, const QString &identifier)
{
    QStringList known;
    TOrderedStrings *list = *package.Variable<TOrderedStrings *>("gl_ListAllowedDocuments");
    for (int i = 0; list && i < list->Count(); ++i)
        if (const TDocumentInfo *info = list->Objects(i)) {
            if (info->FIdentifier == identifier)
                return {};
            known << info->FIdentifier;
        }
    return QStringLiteral("--document-type %1: no such document type in the catalogue; its types are: %2")
        .arg(identifier, known.join(QStringLiteral(", ")));
}

/// Whether every engine's window found the scanner named (each one that did
/// not has said so on stderr).
bool AllScannersFound(const QJsonObject &report)
{
    for (const char *engine : {"abbyy", "scanify"})
        for (const QJsonValue &record : report[QLatin1String(engine)].toObject()["records"].toArray())
            if (!record.toObject().contains(QLatin1String("scanner")))
                return false;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const bool headless = !haveDisplay();
    if (headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmar-host"));
    QApplication::setApplicationVersion(QStringLiteral(R9_PACKAGE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Velmar-Q-70 reference host for the recognition package"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption scriptedOption(QStringLiteral("scripted"),
        QStringLiteral("Work the recognition window by script even with a display (without one it always is)."));
    const QCommandLineOption documentsOption(QStringLiteral("documents"),
        QStringLiteral("Folder of documents (pictures with their descriptions) instead of the built-in specimens."),
        QStringLiteral("folder"));
    const QCommandLineOption personOption(QStringLiteral("person"),
        QStringLiteral("A stored person's record (record.json): the window opens on the edit page with its values."),
        QStringLiteral("record.json"));
    const QCommandLineOption outputOption(QStringLiteral("output"),
        QStringLiteral("Folder of the persons' records (default: velmar-records in the current folder)."),
        QStringLiteral("folder"), QStringLiteral("velmar-records"));
    const QCommandLineOption homeOption(QStringLiteral("records-in-home"),
        QStringLiteral("Keep the records in velmar-records of the home folder, wherever the host was started "
                       "(the menu entry starts it so); not with --output."));
    const QCommandLineOption pagesOption(QStringLiteral("form-pages"),
        QStringLiteral("Write a PNG screenshot of every page of the recognition window into this folder."),
        QStringLiteral("folder"));
    const QCommandLineOption docPictureOption(QStringLiteral("doc-picture"),
        QStringLiteral("Scan a document picture over TWAIN (no recognition) and store it as document.png."));
    const QCommandLineOption scannerOption(QStringLiteral("scanner"),
        QStringLiteral("Scripted: recognise one page (with --doc-picture: scan one picture) from the source whose "
                       "name holds this text, picked in each engine's scanner choice; exit code 3 when no source "
                       "matched (with --doc-picture: when no picture was stored)."),
        QStringLiteral("text"));
    const QCommandLineOption documentTypeOption(QStringLiteral("document-type"),
        QStringLiteral("With --scanner: the document type chosen in the passport-reader window, a catalogue "
                       "identifier (default ForeignPassport_MRZ)."),
        QStringLiteral("identifier"));
    const QCommandLineOption cameraOption(QStringLiteral("camera"),
        QStringLiteral("Open the camera snapshot window instead of recognition; the frame and the fragment go to the output folder."));
    const QCommandLineOption soakOption(QStringLiteral("soak"),
        QStringLiteral("Scripted long run: this many recognitions in one process, cycling through the documents, "
                       "measured at the start, after 100 and at the end; nothing is stored."),
        QStringLiteral("count"));
    const QCommandLineOption engineOption(QStringLiteral("engine"),
        QStringLiteral("The recognition engines to run: abbyy, scanify or all (default; at a display the recogniser choice decides)."),
        QStringLiteral("engine"), QStringLiteral("all"));
    parser.addOptions({scriptedOption, documentsOption, personOption, outputOption, homeOption, pagesOption, cameraOption,
                       docPictureOption, soakOption, engineOption, scannerOption, documentTypeOption});
    parser.process(app);
    HostOptions options;
    options.scripted = headless || parser.isSet(scriptedOption);
    options.documents = parser.value(documentsOption);
    options.person = parser.value(personOption);
    if (parser.isSet(homeOption) && parser.isSet(outputOption)) {
        std::fprintf(stderr, "velmar-host: --records-in-home and --output name two places for the records\n");
        return 2;
    }
    // A launcher's current folder is its own choice, not the user's.
    options.output = parser.isSet(homeOption) ? QDir::home().filePath(parser.value(outputOption))
                                              : QFileInfo(parser.value(outputOption)).absoluteFilePath();
    options.formPages = parser.value(pagesOption);
    options.docPicture = parser.isSet(docPictureOption);
    options.camera = parser.isSet(cameraOption);
    options.scanner = parser.value(scannerOption);
    options.documentType = parser.value(documentTypeOption);
    options.soak = parser.value(soakOption).toInt();
    if (options.soak > 0)
        options.scripted = true;
    options.engine = parser.value(engineOption).toLower();
    if (!QStringList{"abbyy", "scanify", "all"}.contains(options.engine)) {
        std::fprintf(stderr, "velmar-host: --engine takes abbyy, scanify or all, not \"%s\"\n",
                     qPrintable(options.engine));
        return 2;
    }
    if (const QString missing = MissingSpecimens(options); !missing.isEmpty()) {
        std::fprintf(stderr,
                     "velmar-host: the specimen documents this scripted run feeds are not installed (missing: %s); "
                     "install the package %s, or name a scanner with --scanner\n",
                     qPrintable(missing), doubles::SpecimenPackage);
        return SpecimensMissingExit;
    }
    if (QString refused = RefusedOptions(options); !refused.isEmpty() || !(refused = RefusedRun(options)).isEmpty()) {
        std::fprintf(stderr, "velmar-host: %s\n", qPrintable(refused));
        return 2;
    }

    try {
        PackageLoader package;
        package.Function<void (*)()>("Initialize")();
        struct Stop
        {
            const PackageLoader &p;
            ~Stop() { p.Function<void (*)()>("Finalize")(); }
        } stop{package};

        QJsonObject report;
        report["package"] = package.Path();
        report["dataFolder"] = package.Function<QString (*)()>("GetUserDataFolder")();
        // The host's own services (log, security, cameras, nationalities) go
        // into the package before any form is created, the document
        // picture's too: a scanner fault shown is logged with its cause.
        auto kit = hostkit::CreateServices(report["dataFolder"].toString());
        auto install = package.Function<void (*)(const host::THostServices *)>("InstallHostServices");
        install(kit->Services());
        struct Uninstall
        {
            void (*install)(const host::THostServices *);
            ~Uninstall() { install(nullptr); }
        } uninstall{install};
        if (options.docPicture) {
            std::optional<MessageBoxAnswerer> answerer;
            if (options.scripted)
                answerer.emplace();
            report["docPicture"] = RunDocPicturePath(package, options);
            const QStringList messages = answerer ? answerer->Take() : QStringList();
            if (!messages.isEmpty())
                report["messages"] = QJsonArray::fromStringList(messages);
            const QByteArray json = QJsonDocument(report).toJson(QJsonDocument::Indented);
            std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
            if (!AllStored(report))
                return 1;
            // A scan asked of a named scanner that stored no picture has failed
            // (the specimen runs' outcomes are their report).
            if (options.scripted && !options.scanner.isEmpty()
                && !report["docPicture"].toObject()["scan"].toObject().contains("file")) {
                std::fprintf(stderr, "velmar-host: no picture was stored from the scanner \"%s\"\n",
                             qPrintable(options.scanner));
                return 3;
            }
            return 0;
        }
        report["catalogue"] = catalogueJson(package);
        if (!options.scanner.isEmpty() && !options.camera) {
            if (options.documentType.isEmpty())
                options.documentType = DefaultScannerDocumentType;
            if (QString refused = UnknownDocumentType(package, options.documentType); !refused.isEmpty()) {
                std::fprintf(stderr, "velmar-host: %s\n", qPrintable(refused));
                return 2;
            }
        }
        report["settings"] = settingsJson(package);
        report["platform"] = QGuiApplication::platformName();
        if (!options.camera) {
            const int wanted = options.engine == QLatin1String("scanify") ? 1
                               : options.engine == QLatin1String("abbyy") ? 0
                                                                          : -1;
            const QJsonObject choice = chooseRecognizer(package, options.scripted, wanted);
            report["recognizerChoice"] = choice;
            // At the desk the host opens the window of the engine chosen; a
            // scripted run of both engines goes on with both.
            if (!options.scripted && wanted < 0)
                options.engine = choice["engineIndex"].toInt() == 1 ? QStringLiteral("scanify") : QStringLiteral("abbyy");
        }

        if (options.camera)
            report["camera"] = RunCameraPath(package, *kit, {options.scripted, options.output});
        else if (options.engine != QLatin1String("scanify"))
            report["abbyy"] = RunAbbyyPath(package, options);
        if (!options.camera && options.engine != QLatin1String("abbyy"))
            report["scanify"] = RunScanifyPath(package, {options.scripted, options.person, options.output, options.soak,
                                                         options.formPages, options.scanner});

        // With a display the operator is told the choice, at the end of the run.
        if (!headless && !options.camera)
            report["choiceBox"] = reportChoice(report["recognizerChoice"].toObject(), options.scripted);
        const QByteArray json = QJsonDocument(report).toJson(QJsonDocument::Indented);
        std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
        // An engine that would not start has told the operator so and ends
        // the run normally; a record that could not be stored has failed it.
        if (!AllStored(report))
            return 1;
        if (!options.scanner.isEmpty() && !AllScannersFound(report))
            return 3;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "velmar-host: %s\n", e.what());
        return 1;
    }
    return 0;
}
