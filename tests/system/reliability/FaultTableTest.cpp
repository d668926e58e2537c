// Faults end to end: the reference host runs headless once per fault switch
// of the stand-ins (both engines', the TWAIN specimen scanner's and the host
// services'), on a settings file that already holds the operator's choices
// and a section of the host's own. For every switch: the host ends normally,
// the operator is told once per window or scan and clearly (the fault's own
// text, followed only by the verdict the passport-reader window gives after a
// failed recognition), the settings file is unchanged or validly rewritten
// with nothing of the host's lost, and no temporary or picture file is left
// behind (the Scanify engine's package folders excepted: they are kept).
//
// A new switch of any stand-in is one row of kFaults.
#include "common/TSettingsFile.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

/// Which of the host's paths the switch is met on.
enum class Path {
    Abbyy,      ///< --engine abbyy: the passport-reader engine's windows
    Scanify,    ///< --engine scanify: the Scanify engine's windows
    DocPicture, ///< --doc-picture: the document-picture window's scans over TWAIN
};

/// Where the operator meets the fault.
enum class Shown {
    Nothing,      ///< the windows work as without the fault
    StartError,   ///< the engine does not start: the host reports the package's error, no window opens
    Availability, ///< the catalogue cannot be matched with the engine: reported, the windows still work
    EveryWindow,  ///< every recognition window (or every scan) shows it; the passport reader's then gives its verdict
    NoScanner,    ///< nothing to recognise with: the window says nothing and is cancelled
    LogOnly,      ///< nothing to show: the window falls back and logs the reason
    NoPicture,    ///< the scanner ends the scan as the operator's cancel would: no picture, nothing to tell
    SettingsWrite, ///< every window says its settings could not be written, each time it tries
    NoFeeder,     ///< the engine offers no specimen feeder: its first scanner is the source manager's, whose page matches no document
};

/// What the host finds where its settings belong.
enum class Settings {
    Good,          ///< the operator's settings and a section of the host's own
    Utf8,          ///< the same text, but in UTF-8: nothing of it reads
    Oversized,     ///< larger than any settings file: not read
    Garbage,       ///< bytes that are no text at all
    Folder,        ///< a folder where the file belongs: it cannot be written
    NoDataFolder,  ///< a file where the data folder belongs: no folder can be made
};

/// One fault switch of a stand-in (or a few together): the environment
/// variables that turn it on, and what the operator must meet.
struct FaultCase
{
    const char *name;
    Path path;
    std::vector<std::pair<const char *, const char *>> switches; ///< variable, value
    Shown shown;
    const char *text; ///< part of the message the operator sees (or of the log line)
    bool windowsOpen; ///< a window opened, so the settings were rewritten
    Settings settings = Settings::Good;
    int boxes = -1; ///< the document-picture window: boxes in all its runs (-1: none)
};

// Engines: PASSPORTREADER_FAULTS, SCPROXY_FAULTS; host services: HOSTKIT_FAULTS;
// the TWAIN specimen scanner: TWAINSPECIMEN_FAULTS; and the engines' specimen
// folders. The source manager's SANE bridge has switches of its own
// (TWAINSANE_JAM_AFTER), met with SANE's test backend in tests/components/twaindsm/sane.
const char kEngine[] = "PASSPORTREADER_FAULTS";
const char kScanify[] = "SCPROXY_FAULTS";
const char kHost[] = "HOSTKIT_FAULTS";
const char kScanner[] = "TWAINSPECIMEN_FAULTS";
const char kTwainFailed[] = "TWAIN_ReportLastError: an error occurred";

const FaultCase kFaults[] = {
    {"none", Path::Abbyy, {}, Shown::Nothing, "", true},
    {"noclass", Path::Abbyy, {{kEngine, "noclass"}}, Shown::StartError, "Класс движка распознавания не зарегистрирован", false},
    {"init", Path::Abbyy, {{kEngine, "init"}}, Shown::StartError, "simulated fault \"init\"", false},
    {"scan", Path::Abbyy, {{kEngine, "scan"}}, Shown::EveryWindow, "simulated fault \"scan\"", true},
    {"recognize", Path::Abbyy, {{kEngine, "recognize"}}, Shown::EveryWindow, "simulated fault \"recognize\"", true},
    {"saveto", Path::Abbyy, {{kEngine, "saveto"}}, Shown::LogOnly, "simulated fault \"saveto\"", true},
    {"settings", Path::Abbyy, {{kEngine, "settings"}}, Shown::Nothing, "", true},
    {"documents", Path::Abbyy, {{kEngine, "documents"}}, Shown::Availability, "simulated fault \"documents\"", true},
    {"noscanners", Path::Abbyy, {{kEngine, "noscanners"}}, Shown::NoScanner, "", true},
    {"host_nolog", Path::Abbyy, {{kHost, "nolog"}}, Shown::Nothing, "", true},
    {"host_logfails", Path::Abbyy, {{kHost, "logfails"}}, Shown::Nothing, "", true},
    {"host_noplugins", Path::Abbyy, {{kHost, "noplugins"}}, Shown::Nothing, "", true},
    {"host_novideo", Path::Abbyy, {{kHost, "novideo"}}, Shown::Nothing, "", true},
    {"host_nonationalities", Path::Abbyy, {{kHost, "nonationalities"}}, Shown::Nothing, "", true},
    {"host_nolog_engine_scan", Path::Abbyy, {{kHost, "nolog"}, {kEngine, "scan"}}, Shown::EveryWindow, "simulated fault \"scan\"", true},
    // Without the specimens installed the engine offers no feeder: it scans from the specimen TWAIN source.
    {"nospecimens", Path::Abbyy, {{"PASSPORTREADER_SPECIMENS", "/nonexistent/specimens"}}, Shown::NoFeeder, "Данные не распознаны", true},
    // Settings that cannot be read are kept aside before the first write.
    {"settings_utf8", Path::Abbyy, {}, Shown::LogOnly, "не удалось прочитать", true, Settings::Utf8},
    {"settings_oversized", Path::Abbyy, {}, Shown::LogOnly, "не удалось прочитать", true, Settings::Oversized},
    {"settings_garbage", Path::Abbyy, {}, Shown::LogOnly, "не удалось прочитать", true, Settings::Garbage},
    {"settings_folder", Path::Abbyy, {}, Shown::SettingsWrite, "Не удалось записать файл настроек", true, Settings::Folder},
    // Without its data folder the package names the settings file bare, so it
    // lives in the host's working folder: the operator works on, nothing lost.
    {"settings_nodatafolder", Path::Abbyy, {}, Shown::Nothing, "", true, Settings::NoDataFolder},

    {"scanify_none", Path::Scanify, {}, Shown::Nothing, "", true},
    {"scanify_init", Path::Scanify, {{kScanify, "init"}}, Shown::StartError, "simulated fault \"init\"", false},
    {"scanify_context", Path::Scanify, {{kScanify, "context"}}, Shown::EveryWindow, "simulated fault \"context\"", true},
    {"scanify_package", Path::Scanify, {{kScanify, "package"}}, Shown::EveryWindow, "simulated fault \"package\"", true},
    {"scanify_nosource", Path::Scanify, {{kScanify, "nosource"}}, Shown::EveryWindow, "TWAIN-источник не был указан", true},
    {"scanify_sourceopen", Path::Scanify, {{kScanify, "sourceopen"}}, Shown::EveryWindow, "simulated fault \"sourceopen\"", true},
    {"scanify_setconfig", Path::Scanify, {{kScanify, "setconfig"}}, Shown::EveryWindow, "simulated fault \"setconfig\"", true},
    {"scanify_scanempty", Path::Scanify, {{kScanify, "scanempty"}}, Shown::EveryWindow, "Отсканировано 0 документов.", true},
    {"scanify_scanerror", Path::Scanify, {{kScanify, "scanerror"}}, Shown::EveryWindow, "simulated fault \"scanerror\"", true},
    {"scanify_recog", Path::Scanify, {{kScanify, "recog"}}, Shown::EveryWindow, "simulated fault \"recog\"", true},
    {"scanify_nodocument", Path::Scanify, {{kScanify, "nodocument"}}, Shown::EveryWindow, "такого типа не поддерживается", true},
    // The engine's export result is not examined: the missing picture shows when the window loads it.
    {"scanify_export", Path::Scanify, {{kScanify, "export"}}, Shown::EveryWindow, "Не удалось загрузить изображение из файла", true},
    // (The specimens not installed at all end a scripted run before any
    // window with exit code 4: the package suite's root without the doubles.)
    {"scanify_host_nolog_recog", Path::Scanify, {{kHost, "nolog"}, {kScanify, "recog"}}, Shown::EveryWindow, "simulated fault \"recog\"", true},

    {"scanner_none", Path::DocPicture, {}, Shown::Nothing, "", true},
    {"scanner_cancel", Path::DocPicture, {{kScanner, "cancel"}}, Shown::NoPicture, "", true},
    {"scanner_closedsreq", Path::DocPicture, {{kScanner, "closedsreq"}}, Shown::NoPicture, "", true},
    // The last scan is cancelled in the scanner's dialog: three failures.
    {"scanner_failxfer", Path::DocPicture, {{kScanner, "failxfer"}}, Shown::EveryWindow, kTwainFailed, true, Settings::Good, 3},
    {"scanner_shortpages", Path::DocPicture, {{kScanner, "shortpages"}}, Shown::Nothing, "", true},
    {"scanner_openfails", Path::DocPicture, {{kScanner, "openfails"}}, Shown::EveryWindow, kTwainFailed, true, Settings::Good, 4},
    {"scanner_enablefails", Path::DocPicture, {{kScanner, "enablefails"}}, Shown::EveryWindow, kTwainFailed, true, Settings::Good, 4},
    {"scanner_capsfail", Path::DocPicture, {{kScanner, "capsfail"}}, Shown::Nothing, "", true},
};

void PrintTo(const FaultCase &fault, std::ostream *os)
{
    *os << fault.name;
}

const char kVerdict[] = "Данные не распознаны";

/// The Scanify feeder's specimen pages without a fault: the box each asks
/// for (empty: none) and how its window ends.
struct ScanifyPage
{
    const char *document;
    const char *message;
    int modalResult;
};
const ScanifyPage kScanifyPages[] = {
    {"01-Passport1.json", "", 1},
    {"02-InoPas1.json", "", 1},
    {"03-DRVL.json", "", 1}, // the impossible date is cleared, the window closes
    {"04-InoPas_MRZ.json", "", 1},
    {"05-PaspBLR1.json", "Распознавание данных документа такого типа не поддерживается.", 2}, // not a kind the form fills
    {"06-IdCardKAZ.json", "Распознавание данных документа такого типа не поддерживается.", 2},
    {"07-biopasp_mdl.json", "", 1},
    {"08-InoPas_MRZ-upside-down.json", "Данные загранпаспорта не распознаны.", 1},
};

const ScanifyPage *FindScanifyPage(const QString &document)
{
    for (const ScanifyPage &page : kScanifyPages)
        if (document == QLatin1String(page.document))
            return &page;
    return nullptr;
}

const char kSettings[] = "[RECOGNIZE_INFO]\r\nRecognizePhoto=1\r\nRecognizeDocument=1\r\nFIOOnLation=0\r\n\r\n"
                         "[SCAN_INFO]\r\nScannerName=PassportReader Specimen Feeder\r\nScannerIndex=0\r\n"
                         "BrightnessValue=50\r\n\r\n"
                         "[HOST_NOTES]\r\nDesk=Проходная №2\r\n";

QByteArray SettingsBytes(Settings kind)
{
    const QString text = QString::fromUtf8(kSettings);
    switch (kind) {
    case Settings::Utf8: return text.toUtf8();
    case Settings::Oversized: {
        QByteArray bytes = r9test::Utf16LeFile(text);
        bytes.append(QByteArray(TSettingsFile::MaxFileSize, ' '));
        return bytes;
    }
    case Settings::Garbage: {
        QByteArray bytes;
        for (int i = 0; i < 3000; ++i)
            bytes.append(char((i * 7919 + 13) & 0xFF));
        return bytes;
    }
    default: return r9test::Utf16LeFile(text);
    }
}

/// Every file under folder, and every empty folder (with a trailing "/").
QStringList FilesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!it.fileInfo().isDir())
            files << QDir(folder).relativeFilePath(path);
        else if (QDir(path).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            files << QDir(folder).relativeFilePath(path) + QLatin1Char('/');
    }
    files.sort();
    return files;
}

QStringList Texts(const QJsonValue &array)
{
    QStringList texts;
    for (const QJsonValue &m : array.toArray())
        texts << m.toString();
    return texts;
}

/// Sets environment variables for the host while it lives, then removes them.
class EnvironmentOverride
{
public:
    void Set(const char *name, const QString &value)
    {
        qputenv(name, value.toLocal8Bit());
        m_names.push_back(name);
    }
    ~EnvironmentOverride()
    {
        for (const char *name : m_names)
            qunsetenv(name);
    }

private:
    std::vector<const char *> m_names;
};

class FaultTable : public testing::TestWithParam<FaultCase>
{
protected:
    /// The recognition windows of one engine's path.
    void CheckRecognition(const QJsonObject &engine);
    /// The document-picture window's scans: a single one, a feeder of
    /// three pages, and a scan followed by one the operator cancels.
    void CheckDocPicture(const QJsonObject &report);
    int m_boxes = 0; ///< message boxes the operator met in the run
};

void FaultTable::CheckRecognition(const QJsonObject &engine)
{
    const FaultCase &fault = GetParam();
    const QString faultText = QString::fromUtf8(fault.text);
    const QJsonArray records = engine["records"].toArray();
    const QString startError = engine["error"].toString();
    const QString availability = engine["availabilityError"].toString();
    EXPECT_EQ(!startError.isEmpty(), fault.shown == Shown::StartError) << startError.toStdString();
    EXPECT_EQ(!availability.isEmpty(), fault.shown == Shown::Availability) << availability.toStdString();
    if (fault.shown == Shown::StartError) {
        EXPECT_TRUE(startError.contains(faultText)) << startError.toStdString();
        EXPECT_TRUE(records.isEmpty());
    }
    if (fault.shown == Shown::Availability) {
        EXPECT_TRUE(availability.contains(faultText)) << availability.toStdString();
    }
    if (fault.windowsOpen) {
        EXPECT_FALSE(records.isEmpty());
    }
    int delivered = 0;
    int pages = 0;
    for (const QJsonValue &v : records) {
        const QJsonObject record = v.toObject();
        SCOPED_TRACE(record["document"].toString().toStdString());
        const QStringList messages = Texts(record["messages"]);
        m_boxes += int(messages.size());
        delivered += record["modalResult"].toInt() == 1;
        if (fault.shown == Shown::EveryWindow) {
            // The passport reader's window follows a failed recognition
            // with its verdict; the Scanify window ends with the error.
            const int expected = fault.path == Path::Abbyy ? 2 : 1;
            ASSERT_EQ(messages.size(), expected) << messages.join(" | ").toStdString();
            EXPECT_TRUE(messages[0].contains(faultText)) << messages[0].toStdString();
            if (expected == 2) {
                EXPECT_TRUE(messages[1].startsWith(QString::fromUtf8(kVerdict)));
            }
            EXPECT_EQ(record["modalResult"].toInt(), 2);
        } else if (fault.shown == Shown::SettingsWrite) {
            // The window still works; each write it tries is reported.
            EXPECT_FALSE(messages.isEmpty());
            for (const QString &m : messages)
                EXPECT_TRUE(m.contains(faultText)) << m.toStdString();
        } else if (fault.path == Path::Scanify) {
            // The Scanify specimens themselves ask for a word now and then
            // (a kind of document not supported, a page upside down):
            // exactly where the page asks for it.
            const ScanifyPage *page = FindScanifyPage(record["document"].toString());
            ASSERT_NE(page, nullptr) << "a page of the feeder's specimens";
            ++pages;
            if (page->message[0] == '\0') {
                EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
            } else {
                ASSERT_EQ(messages.size(), 1);
                EXPECT_TRUE(messages[0].startsWith(QString::fromUtf8(page->message))) << messages[0].toStdString();
            }
            EXPECT_EQ(record["modalResult"].toInt(), page->modalResult);
        } else if (fault.shown == Shown::NoFeeder) {
            ASSERT_EQ(messages.size(), 1) << messages.join(" | ").toStdString();
            EXPECT_TRUE(messages[0].startsWith(faultText)) << messages[0].toStdString();
            EXPECT_EQ(record["modalResult"].toInt(), 2);
        } else if (fault.shown == Shown::NoScanner) {
            EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
            EXPECT_EQ(record["modalResult"].toInt(), 2);
        } else if (fault.shown == Shown::Availability) {
            // The documents cannot be matched with the engine's: a window
            // either delivers without a word or ends with the verdict alone.
            ASSERT_LE(messages.size(), 1);
            if (messages.isEmpty()) {
                EXPECT_EQ(record["modalResult"].toInt(), 1);
            } else {
                EXPECT_TRUE(messages[0].startsWith(QString::fromUtf8(kVerdict))) << messages[0].toStdString();
                EXPECT_EQ(record["modalResult"].toInt(), 2);
            }
        } else if (fault.shown == Shown::Nothing || fault.shown == Shown::LogOnly) {
            EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
            EXPECT_EQ(record["modalResult"].toInt(), 1) << "the window still delivers the person";
        } else {
            ADD_FAILURE() << "no check for this row";
        }
    }
    if (fault.path == Path::Scanify && fault.shown != Shown::EveryWindow && fault.shown != Shown::StartError) {
        EXPECT_EQ(pages, int(std::size(kScanifyPages))) << "every page of the feeder";
    }
    if (fault.shown == Shown::Nothing) {
        EXPECT_GT(delivered, 0) << "without a fault persons are delivered";
    }
}

void FaultTable::CheckDocPicture(const QJsonObject &report)
{
    const FaultCase &fault = GetParam();
    const QJsonObject runs = report["docPicture"].toObject();
    ASSERT_EQ(runs.size(), 3) << QJsonDocument(runs).toJson().toStdString();
    const QStringList messages = Texts(report["messages"]);
    m_boxes = int(messages.size());
    int scans = 0;
    for (const QString &name : runs.keys()) {
        SCOPED_TRACE(name.toStdString());
        const QJsonObject run = runs[name].toObject();
        scans += int(Texts(run["windows"]).filter(QStringLiteral("Specimen Scanner")).size());
        const bool picture = run["picture"].isObject();
        EXPECT_EQ(picture, fault.shown == Shown::Nothing) << QJsonDocument(run).toJson().toStdString();
        EXPECT_EQ(run["modalResult"].toInt(), picture ? 1 : 2);
    }
    if (fault.shown == Shown::Nothing) {
        EXPECT_TRUE(QFileInfo::exists(runs["scan"].toObject()["file"].toString())) << "the picture was stored";
    }
    if (fault.shown == Shown::EveryWindow) {
        // Once per scan that failed: not for the one the operator cancels
        // in the scanner's dialog when the dialog came up at all.
        EXPECT_EQ(messages.size(), fault.boxes) << messages.join(" | ").toStdString();
        EXPECT_EQ(scans, 4);
        for (const QString &m : messages)
            EXPECT_EQ(m, QString::fromUtf8(fault.text));
    } else {
        EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
    }
}

TEST_P(FaultTable, HostEndsNormallyTellsOnceAndKeepsTheSettings)
{
    const FaultCase &fault = GetParam();
    const QString home = r9test::TestHome();
    const QString dataFolder = home + "/.config/Velmar-Q-70";
    const QString settings = dataFolder + "/Recognize.iniu";
    const QString temp = home + "/tmp";
    ASSERT_TRUE(QDir().mkpath(dataFolder) && QDir().mkpath(temp));
    const QByteArray before = SettingsBytes(fault.settings);
    if (fault.settings == Settings::Folder) {
        ASSERT_TRUE(QDir().mkpath(settings));
    } else if (fault.settings == Settings::NoDataFolder) {
        ASSERT_TRUE(QDir(dataFolder).removeRecursively());
        r9test::WriteFile(dataFolder, before);
    } else {
        r9test::WriteFile(settings, before);
    }

    // SANE's configuration of its own, with no backend: the source list
    // holds the specimen scanner alone and nothing probes the machine's
    // scanners (whose backends, unloaded at the end, the leak check would
    // count against the host).
    const QString sane = home + "/sane";
    ASSERT_TRUE(QDir().mkpath(sane));
    r9test::WriteFile(sane + "/dll.conf", {});

    EnvironmentOverride environment;
    environment.Set("TMPDIR", temp);
    // A session's own runtime folder, as a desktop gives one: without it
    // Qt makes one in the temporary folder, which would count as left behind.
    const QString runtime = home + "/runtime";
    ASSERT_TRUE(QDir().mkpath(runtime));
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    environment.Set("XDG_RUNTIME_DIR", runtime);
    environment.Set("SANE_CONFIG_DIR", sane);
    // A window that cannot get ready is given up on soon.
    environment.Set("VELMAR_HOST_PATIENCE_MS", QStringLiteral("250"));
    for (const auto &[variable, value] : fault.switches)
        environment.Set(variable, QString::fromUtf8(value));
    QStringList arguments{"--output", home + "/records"};
    switch (fault.path) {
    case Path::Abbyy: arguments << "--engine" << "abbyy"; break;
    case Path::Scanify: arguments << "--engine" << "scanify"; break;
    case Path::DocPicture: arguments << "--doc-picture"; break;
    }
    // A run takes seconds (tens under the sanitizers): a hang fails soon.
    const QJsonObject report = r9test::RunReferenceHost(arguments, 90000);
    if (HasFailure())
        return; // the host did not end normally; the rest would only repeat it

    // What the operator was told.
    if (fault.path == Path::DocPicture) {
        CheckDocPicture(report);
    } else {
        const QJsonObject engine = report[fault.path == Path::Abbyy ? "abbyy" : "scanify"].toObject();
        ASSERT_FALSE(engine.isEmpty());
        CheckRecognition(engine);
    }
    RecordProperty("boxes", m_boxes);
    // A fault the operator is told of is in the host's log too, whichever
    // path met it (the document picture's scanner as much as the engines').
    const bool logged = fault.shown == Shown::LogOnly || (fault.path == Path::DocPicture && fault.shown == Shown::EveryWindow);
    if (logged && fault.text[0] != '\0') {
        const QByteArray log = r9test::ReadFile(home + "/.local/state/Velmar-Q-70/Velmar-Q-70.log");
        EXPECT_TRUE(QString::fromUtf8(log).contains(QString::fromUtf8(fault.text)));
    }

    // The settings file: untouched, or rewritten whole with the host's own
    // section and the operator's choices kept.
    const QByteArray after = r9test::ReadFile(settings);
    if (fault.settings == Settings::Folder) {
        EXPECT_TRUE(QFileInfo(settings).isDir());
        EXPECT_EQ(FilesUnder(settings), QStringList());
    } else if (fault.settings == Settings::NoDataFolder) {
        EXPECT_EQ(r9test::ReadFile(dataFolder), before) << "the file in the folder's place is left alone";
        const TSettingsFile ini(home + "/Recognize.iniu");
        EXPECT_TRUE(ini.ValueExists("SCAN_INFO", "TwainDialogSupported")) << "written when the window closed";
    } else if (fault.settings != Settings::Good) {
        // What could not be read is kept aside whole; the file is written anew.
        EXPECT_EQ(r9test::ReadFile(settings + ".bad"), before);
        ASSERT_TRUE(after.startsWith("\xFF\xFE") && after.size() % 2 == 0);
        const TSettingsFile ini(settings);
        EXPECT_TRUE(ini.ValueExists("SCAN_INFO", "TwainDialogSupported")) << "written when the window closed";
        EXPECT_TRUE(ini.ValueExists("SCAN_FORM", "ScanFormWidth"));
    } else if (!fault.windowsOpen) {
        EXPECT_EQ(after, before);
    } else {
        ASSERT_TRUE(after.startsWith("\xFF\xFE") && after.size() % 2 == 0);
        const TSettingsFile ini(settings);
        EXPECT_EQ(ini.ReadString("HOST_NOTES", "Desk", ""), "Проходная №2");
        EXPECT_EQ(ini.ReadString("RECOGNIZE_INFO", "RecognizePhoto", ""), "1");
        if (fault.path == Path::DocPicture) {
            // The document-picture window keeps its own keys; the
            // recognition windows' scanner stays as it was.
            EXPECT_EQ(ini.ReadString("SCAN_INFO", "ScannerName", ""), "PassportReader Specimen Feeder");
            EXPECT_TRUE(ini.ValueExists("SCAN_DOC_INFO", "ShowScanerList")) << "written when the window closed";
            EXPECT_TRUE(ini.ValueExists("SCAN_DOC_FORM", "ScanFormWidth"));
        } else {
            if (fault.path == Path::Abbyy) {
                EXPECT_EQ(ini.ReadString("SCAN_INFO", "ScannerName", ""), "PassportReader Specimen Feeder");
                EXPECT_TRUE(ini.ValueExists("SCAN_INFO", "TwainDialogSupported")) << "written when the window closed";
            } else {
                // Asked for the source every time (the default), the window
                // forgets the remembered one when a recognition gets to the
                // scanner and remembers the engine's source once it opened.
                EXPECT_EQ(ini.ReadString("SCAN_INFO", "SelectScanner", ""), "1");
                const QString scanner = ini.ReadString("SCAN_INFO", "ScannerName", "-");
                EXPECT_TRUE(QStringList({"", "PassportReader Specimen Feeder", "Scanify Specimen Feeder"}).contains(scanner))
                    << scanner.toStdString();
                EXPECT_TRUE(ini.ValueExists("SCAN_INFO", "TwainDialogNeed")) << "written when the window closed";
            }
            EXPECT_TRUE(ini.ValueExists("SCAN_FORM", "ScanFormWidth"));
        }
    }

    // Nothing left behind: no temporary files (the engines' folders
    // included), no pictures in the data folder, no half-written settings.
    // The Scanify engine writes its configuration files there and keeps a
    // package folder for every recognition.
    EXPECT_EQ(FilesUnder(temp), QStringList());
    if (fault.settings != Settings::NoDataFolder) {
        EXPECT_FALSE(QFileInfo::exists(home + "/Recognize.iniu")) << "settings land in the data folder";
    }
    const QRegularExpression kept(fault.path == Path::Scanify
                                      ? QStringLiteral("^(Recognize\\.iniu|hostkit\\.sqlite|ScApi_(270|90)\\.Ini"
                                                       "|dss[0-9A-F]{4}/[^/]+)$")
                                      : QStringLiteral("^(Recognize\\.iniu(\\.bad)?|hostkit\\.sqlite)$"));
    const QStringList dataFiles = fault.settings == Settings::NoDataFolder ? QStringList() : FilesUnder(dataFolder);
    for (const QString &file : dataFiles) {
        if (fault.settings == Settings::Folder && file == QLatin1String("Recognize.iniu/"))
            continue; // the row's own folder in the file's place
        EXPECT_TRUE(kept.match(file).hasMatch()) << file.toStdString();
    }
}

std::string CaseName(const testing::TestParamInfo<FaultCase> &info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(StandIns, FaultTable, testing::ValuesIn(kFaults), CaseName);

} // namespace
