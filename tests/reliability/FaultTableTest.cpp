// Faults end to end: the reference host runs headless once per fault switch
// of the stand-ins (the engine's and the host services'), on a settings file that already holds the operator's
// choices and a section of the host's own. For every switch: the host ends
// normally, the operator is told once and clearly (the fault's own text,
// followed only by the verdict the window gives after a failed recognition),
// the settings file is unchanged or validly rewritten with nothing of the
// host's lost, and no temporary or picture file is left behind.
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
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

/// Where the operator meets the fault.
enum class Shown {
    Nothing,      ///< the windows work as without the fault
    StartError,   ///< the engine does not start: the host reports the package's error, no window opens
    Availability, ///< the catalogue cannot be matched with the engine: reported, the windows still work
    EveryWindow,  ///< every recognition window shows it, then the verdict
    Verdict,      ///< only the window's verdict that nothing was recognised
    LogOnly,      ///< nothing to show: the window falls back and logs the reason
};

/// One fault switch of a stand-in (or a few together): the environment
/// variables that turn it on, and what the operator must meet.
struct FaultCase
{
    const char *name;
    std::vector<std::pair<const char *, const char *>> switches; ///< variable, value
    Shown shown;
    const char *text; ///< part of the message the operator sees (or of the log line)
    bool windowsOpen; ///< the recognition window opened, so the settings were rewritten
};

// Engine stand-in: PASSPORTREADER_FAULTS; host services: HOSTKIT_FAULTS.
const char kEngine[] = "PASSPORTREADER_FAULTS";
const char kHost[] = "HOSTKIT_FAULTS";

const FaultCase kFaults[] = {
    {"none", {}, Shown::Nothing, "", true},
    {"noclass", {{kEngine, "noclass"}}, Shown::StartError, "Класс движка распознавания не зарегистрирован", false},
    {"init", {{kEngine, "init"}}, Shown::StartError, "simulated fault \"init\"", false},
    {"scan", {{kEngine, "scan"}}, Shown::EveryWindow, "simulated fault \"scan\"", true},
    {"recognize", {{kEngine, "recognize"}}, Shown::EveryWindow, "simulated fault \"recognize\"", true},
    {"saveto", {{kEngine, "saveto"}}, Shown::LogOnly, "simulated fault \"saveto\"", true},
    {"settings", {{kEngine, "settings"}}, Shown::Nothing, "", true},
    {"documents", {{kEngine, "documents"}}, Shown::Availability, "simulated fault \"documents\"", true},
    {"noscanners", {{kEngine, "noscanners"}}, Shown::Verdict, "", true},
    {"host_nolog", {{kHost, "nolog"}}, Shown::Nothing, "", true},
    {"host_logfails", {{kHost, "logfails"}}, Shown::Nothing, "", true},
    {"host_noplugins", {{kHost, "noplugins"}}, Shown::Nothing, "", true},
    {"host_novideo", {{kHost, "novideo"}}, Shown::Nothing, "", true},
    {"host_nonationalities", {{kHost, "nonationalities"}}, Shown::Nothing, "", true},
    {"host_nolog_engine_scan", {{kHost, "nolog"}, {kEngine, "scan"}}, Shown::EveryWindow, "simulated fault \"scan\"", true},
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
};

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

    EnvironmentOverride environment;
    environment.Set("TMPDIR", temp);
    for (const auto &[variable, value] : fault.switches)
        environment.Set(variable, QString::fromUtf8(value));
    const QJsonObject report = r9test::RunReferenceHost({"--engine", "abbyy", "--output", home + "/records"}, 600000);
    if (HasFailure())
        return; // the host did not end normally; the rest would only repeat it
    const QJsonObject abbyy = report["abbyy"].toObject();
    ASSERT_FALSE(abbyy.isEmpty());

    // What the operator was told.
    const QJsonArray records = abbyy["records"].toArray();
    const QString startError = abbyy["error"].toString();
    const QString availability = abbyy["availabilityError"].toString();
    EXPECT_EQ(!startError.isEmpty(), fault.shown == Shown::StartError) << startError.toStdString();
    EXPECT_EQ(!availability.isEmpty(), fault.shown == Shown::Availability) << availability.toStdString();
    if (fault.shown == Shown::StartError) {
        EXPECT_TRUE(startError.contains(QString::fromUtf8(fault.text))) << startError.toStdString();
        EXPECT_TRUE(records.isEmpty());
    }
    if (fault.shown == Shown::Availability) {
        EXPECT_TRUE(availability.contains(QString::fromUtf8(fault.text))) << availability.toStdString();
    }
    if (fault.windowsOpen) {
        EXPECT_FALSE(records.isEmpty());
    }
    for (const QJsonValue &v : records) {
        const QJsonObject record = v.toObject();
        SCOPED_TRACE(record["document"].toString().toStdString());
        QStringList messages;
        for (const QJsonValue &m : record["messages"].toArray())
            messages << m.toString();
        if (fault.shown == Shown::EveryWindow) {
            ASSERT_EQ(messages.size(), 2) << messages.join(" | ").toStdString();
            EXPECT_TRUE(messages[0].contains(QString::fromUtf8(fault.text))) << messages[0].toStdString();
            EXPECT_TRUE(messages[1].startsWith(QString::fromUtf8(kVerdict)));
            EXPECT_EQ(record["modalResult"].toInt(), 2);
        } else if (fault.shown == Shown::Nothing || fault.shown == Shown::LogOnly) {
            EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
        } else {
            // At most the verdict, once; never a fault's text without context.
            EXPECT_LE(messages.size(), 1) << messages.join(" | ").toStdString();
            for (const QString &m : messages)
                EXPECT_TRUE(m.startsWith(QString::fromUtf8(kVerdict))) << m.toStdString();
        }
        if (fault.shown == Shown::LogOnly || fault.shown == Shown::Nothing) {
            EXPECT_EQ(record["modalResult"].toInt(), 1) << "the window still delivers the person";
        }
    }
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
        EXPECT_EQ(ini.ReadString("SCAN_INFO", "ScannerName", ""), "PassportReader Specimen Feeder");
        EXPECT_TRUE(ini.ValueExists("SCAN_INFO", "TwainDialogSupported")) << "written when the window closed";
        EXPECT_TRUE(ini.ValueExists("SCAN_FORM", "ScanFormWidth"));
    }

    // Nothing left behind: no temporary files (the engine's folder included),
    // no pictures in the data folder, no half-written settings.
    EXPECT_EQ(FilesUnder(temp), QStringList());
    for (const QString &file : FilesUnder(dataFolder))
        EXPECT_TRUE(file == "Recognize.iniu" || file == "hostkit.sqlite") << file.toStdString();
}

std::string CaseName(const testing::TestParamInfo<FaultCase> &info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(StandIns, FaultTable, testing::ValuesIn(kFaults), CaseName);

} // namespace
