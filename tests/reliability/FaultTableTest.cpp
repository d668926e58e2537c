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
    Verdict,      ///< only the window's verdict that nothing was recognised
    LogOnly,      ///< nothing to show: the window falls back and logs the reason
    NoPicture,    ///< the scanner ends the scan as the operator's cancel would: no picture, nothing to tell
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
};

// Engines: PASSPORTREADER_FAULTS, SCPROXY_FAULTS; host services: HOSTKIT_FAULTS;
// the TWAIN specimen scanner: TWAINSPECIMEN_FAULTS. The source manager
// stand-in has no switches of its own.
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
    {"noscanners", Path::Abbyy, {{kEngine, "noscanners"}}, Shown::Verdict, "", true},
    {"host_nolog", Path::Abbyy, {{kHost, "nolog"}}, Shown::Nothing, "", true},
    {"host_logfails", Path::Abbyy, {{kHost, "logfails"}}, Shown::Nothing, "", true},
    {"host_noplugins", Path::Abbyy, {{kHost, "noplugins"}}, Shown::Nothing, "", true},
    {"host_novideo", Path::Abbyy, {{kHost, "novideo"}}, Shown::Nothing, "", true},
    {"host_nonationalities", Path::Abbyy, {{kHost, "nonationalities"}}, Shown::Nothing, "", true},
    {"host_nolog_engine_scan", Path::Abbyy, {{kHost, "nolog"}, {kEngine, "scan"}}, Shown::EveryWindow, "simulated fault \"scan\"", true},

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
    {"scanify_host_nolog_recog", Path::Scanify, {{kHost, "nolog"}, {kScanify, "recog"}}, Shown::EveryWindow, "simulated fault \"recog\"", true},

    {"scanner_none", Path::DocPicture, {}, Shown::Nothing, "", true},
    {"scanner_cancel", Path::DocPicture, {{kScanner, "cancel"}}, Shown::NoPicture, "", true},
    {"scanner_closedsreq", Path::DocPicture, {{kScanner, "closedsreq"}}, Shown::NoPicture, "", true},
    {"scanner_failxfer", Path::DocPicture, {{kScanner, "failxfer"}}, Shown::EveryWindow, kTwainFailed, true},
    {"scanner_shortpages", Path::DocPicture, {{kScanner, "shortpages"}}, Shown::Nothing, "", true},
    {"scanner_openfails", Path::DocPicture, {{kScanner, "openfails"}}, Shown::EveryWindow, kTwainFailed, true},
    {"scanner_enablefails", Path::DocPicture, {{kScanner, "enablefails"}}, Shown::EveryWindow, kTwainFailed, true},
    {"scanner_capsfail", Path::DocPicture, {{kScanner, "capsfail"}}, Shown::Nothing, "", true},
};

void PrintTo(const FaultCase &fault, std::ostream *os)
{
    *os << fault.name;
}

const char kVerdict[] = "Данные не распознаны";

const char kSettings[] = "[RECOGNIZE_INFO]\r\nRecognizePhoto=1\r\nRecognizeDocument=1\r\nFIOOnLation=0\r\n\r\n"
                         "[SCAN_INFO]\r\nScannerName=PassportReader Specimen Feeder\r\nScannerIndex=0\r\n"
                         "BrightnessValue=50\r\n\r\n"
                         "[HOST_NOTES]\r\nDesk=Проходная №2\r\n";

QStringList FilesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
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
        } else if (fault.path == Path::Scanify) {
            // The Scanify specimens themselves ask for a word now and then
            // (a date that does not read, a kind of document not supported,
            // a page upside down): never more than one per window.
            EXPECT_LE(messages.size(), 1) << messages.join(" | ").toStdString();
        } else if (fault.shown == Shown::Nothing || fault.shown == Shown::LogOnly) {
            EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
            EXPECT_EQ(record["modalResult"].toInt(), 1) << "the window still delivers the person";
        } else {
            // At most the verdict, once; never a fault's text without context.
            EXPECT_LE(messages.size(), 1) << messages.join(" | ").toStdString();
            for (const QString &m : messages)
                EXPECT_TRUE(m.startsWith(QString::fromUtf8(kVerdict))) << m.toStdString();
        }
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
        EXPECT_GE(messages.size(), scans - 1) << messages.join(" | ").toStdString();
        EXPECT_LE(messages.size(), scans) << messages.join(" | ").toStdString();
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
    const QByteArray before = r9test::Utf16LeFile(QString::fromUtf8(kSettings));
    r9test::WriteFile(settings, before);

    // SANE's configuration of its own, with no backend: the source list
    // holds the specimen scanner alone and nothing probes the machine's
    // scanners (whose backends, unloaded at the end, the leak check would
    // count against the host).
    const QString sane = home + "/sane";
    ASSERT_TRUE(QDir().mkpath(sane));
    r9test::WriteFile(sane + "/dll.conf", {});

    EnvironmentOverride environment;
    environment.Set("TMPDIR", temp);
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
    const QJsonObject report = r9test::RunReferenceHost(arguments, 600000);
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
    if (fault.shown == Shown::LogOnly && fault.text[0] != '\0') {
        const QByteArray log = r9test::ReadFile(home + "/.local/state/Velmar-Q-70/Velmar-Q-70.log");
        EXPECT_TRUE(QString::fromUtf8(log).contains(QString::fromUtf8(fault.text)));
    }

    // The settings file: untouched, or rewritten whole with the host's own
    // section and the operator's choices kept.
    const QByteArray after = r9test::ReadFile(settings);
    if (!fault.windowsOpen) {
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
    const QRegularExpression kept(fault.path == Path::Scanify
                                      ? QStringLiteral("^(Recognize\\.iniu|hostkit\\.sqlite|ScApi_(270|90)\\.Ini"
                                                       "|dss[0-9A-F]{4}/[^/]+)$")
                                      : QStringLiteral("^(Recognize\\.iniu|hostkit\\.sqlite)$"));
    for (const QString &file : FilesUnder(dataFolder))
        EXPECT_TRUE(kept.match(file).hasMatch()) << file.toStdString();
}

std::string CaseName(const testing::TestParamInfo<FaultCase> &info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(StandIns, FaultTable, testing::ValuesIn(kFaults), CaseName);

} // namespace
