// The reference host's Scanify path without a display: every page of the
// stand-in's feeder ends as a stored person's record, or as a cancelled
// window when there is nothing to keep.
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTransform>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

/// A run of the Scanify engine alone, with the stand-in's switches of feed
/// (none: its own specimens, all of them), started as program.
r9test::HostRun RunScanifyHostAllowingFailure(const QStringList &arguments, const QMap<QString, QString> &feed = {},
                                              const QString &program = {})
{
    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("SCPROXY_FEED");
    for (auto it = feed.begin(); it != feed.end(); ++it)
        env.insert(it.key(), it.value());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    host.setProcessEnvironment(env);
    host.setWorkingDirectory(r9test::TestHome());
    host.start(program.isEmpty() ? QCoreApplication::applicationDirPath() + "/velmar-host" : program,
               QStringList{"--engine", "scanify"} + arguments);
    EXPECT_TRUE(host.waitForFinished(300000));
    r9test::HostRun run;
    run.exitCode = host.exitCode();
    run.errors = QString::fromLocal8Bit(host.readAllStandardError());
    run.report = QJsonDocument::fromJson(host.readAllStandardOutput()).object();
    return run;
}

/// The host's whole report of a run that must succeed.
QJsonObject RunScanifyHostReport(const QStringList &arguments, const QMap<QString, QString> &feed = {},
                                 const QString &program = {})
{
    const r9test::HostRun run = RunScanifyHostAllowingFailure(arguments, feed, program);
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    return run.report;
}

QJsonObject RunScanifyHost(const QStringList &arguments)
{
    return RunScanifyHostReport(arguments)["scanify"].toObject();
}

QJsonObject Entry(const QJsonArray &records, const QString &document)
{
    for (const QJsonValue &v : records)
        if (v.toObject()["document"].toString() == document)
            return v.toObject();
    return {};
}

bool Has(const QJsonObject &record, const char *list, const char *key)
{
    return record[QLatin1String(list)].toArray().contains(QJsonValue(QLatin1String(key)));
}

TEST(ScanifyHostRun, ScriptedOperatorWorksEveryFeederPageAndStoresTheRecords)
{
    if (!QFileInfo::exists(QCoreApplication::applicationDirPath() + "/libscproxy.so"))
        GTEST_SKIP() << "the stand-in engine library is not built";
    const QString out = r9test::TestHome() + "/records";
    const QString pagesFolder = r9test::TestHome() + "/scanify-pages";
    const QJsonObject whole = RunScanifyHostReport({"--output", out, "--form-pages", pagesFolder});
    // The operator picks the engine the run is for.
    EXPECT_EQ(whole["recognizerChoice"].toObject()["engineIndex"].toInt(), 1);
    EXPECT_EQ(whole["recognizerChoice"].toObject()["engine"].toString(), "Cognitive Scanify API");
    // Three pages of the first window, as opened, at the minimum size and maximised.
    const QStringList shots = QDir(pagesFolder).entryList({"*.png"});
    EXPECT_EQ(shots.size(), 9) << shots.join(", ").toStdString();
    EXPECT_TRUE(shots.contains("CognitiveRecognitionFM-tsScanAndRecognize-tsAdd.png"));
    EXPECT_TRUE(shots.contains("CognitiveRecognitionFM-tsCommonOptions-min.png"));
    const QJsonObject report = whole["scanify"].toObject();
    ASSERT_FALSE(report.contains("error")) << report["error"].toString().toStdString();
    const QJsonArray records = report["records"].toArray();
    const int pages = QDir(QCoreApplication::applicationDirPath() + "/specimens/scanify").entryList({"*.json"}).size();
    ASSERT_EQ(records.size(), pages);

    const QJsonObject passport = Entry(records, "01-Passport1.json");
    EXPECT_EQ(passport["modalResult"].toInt(), 1);
    EXPECT_EQ(passport["page"].toString(), "described");
    const QJsonObject p = passport["record"].toObject();
    EXPECT_EQ(p["lastName"].toString(), QStringLiteral("ПЕТРОВСКАЯ"));
    EXPECT_EQ(p["passportNumber"].toString(), QStringLiteral("99 12 345678"));
    EXPECT_EQ(p["dateOfBirth"].toString(), QStringLiteral("1991-09-03"));
    EXPECT_EQ(p["documentName"].toString(), QStringLiteral("Паспорт"));
    EXPECT_TRUE(Has(p, "doubtful", "lastName"));
    EXPECT_FALSE(Has(p, "doubtful", "firstName"));
    const QDir folder(passport["recordFolder"].toString());
    EXPECT_TRUE(folder.exists("record.json"));
    EXPECT_TRUE(folder.exists("photo.png"));
    EXPECT_TRUE(folder.exists("document.png"));
    EXPECT_TRUE(QFile::exists(passport["screenshot"].toString()));
    EXPECT_TRUE(passport["engineDialogs"].toArray().contains(QJsonValue("ScanifySourceDialog: Scanify Specimen Feeder")));

    // The licence's impossible date is left empty and marked: "Готово" takes it as it is.
    const QJsonObject licenceEntry = Entry(records, "03-DRVL.json");
    EXPECT_EQ(licenceEntry["modalResult"].toInt(), 1);
    EXPECT_FALSE(licenceEntry.contains("messages"));
    const QJsonObject licence = licenceEntry["record"].toObject();
    EXPECT_TRUE(Has(licence, "erroneous", "dateOfIssue"));
    EXPECT_TRUE(Has(licence, "erroneous", "passportNumber"));
    EXPECT_TRUE(licence["dateOfIssue"].isNull());

    const QJsonObject bio = Entry(records, "07-biopasp_mdl.json")["record"].toObject();
    EXPECT_TRUE(Has(bio, "erroneous", "issuedBy"));
    EXPECT_TRUE(Has(bio, "doubtful", "dateOfIssue"));

    const QJsonObject upsideDown = Entry(records, "08-InoPas_MRZ-upside-down.json");
    EXPECT_TRUE(upsideDown["repeated"].toBool());
    EXPECT_EQ(upsideDown["modalResult"].toInt(), 1);
    EXPECT_EQ(upsideDown["record"].toObject()["lastName"].toString(), QStringLiteral("LINDQVIST"));

    // Nothing to keep: the operator cancels.
    EXPECT_EQ(Entry(records, "05-PaspBLR1.json")["modalResult"].toInt(), 2);
    const QJsonObject none = Entry(records, "06-IdCardKAZ.json");
    EXPECT_EQ(none["modalResult"].toInt(), 2);
    EXPECT_EQ(none["messages"].toArray().size(), 1);

    // The first person comes back: the window opens on its edit page.
    const QJsonObject again = RunScanifyHost({"--output", r9test::TestHome() + "/again", "--person",
                                              passport["recordFolder"].toString() + "/record.json"});
    const QJsonObject first = Entry(again["records"].toArray(), "01-Passport1.json")["record"].toObject();
    EXPECT_EQ(first["lastName"].toString(), QStringLiteral("ПЕТРОВСКАЯ"));
    EXPECT_EQ(first["issuedBy"].toString(), p["issuedBy"].toString());
}

TEST(ScanifyHostRun, TheHostWorksTheWindowForEveryPageTheFeederHolds)
{
    if (!QFileInfo::exists(QCoreApplication::applicationDirPath() + "/libscproxy.so"))
        GTEST_SKIP() << "the stand-in engine library is not built";
    // Loose pictures, no descriptions: a passport lying on its side, which
    // the usual turn brings upright, and the same page upright, which it
    // does not; a page that matches no name is left out. The names come
    // separated as the stand-in takes them.
    const QString feeder = r9test::TestHome() + "/feeder";
    QDir().mkpath(feeder);
    const QImage page(QCoreApplication::applicationDirPath() + "/specimens/04-ForeignPassport_MRZ.png");
    ASSERT_FALSE(page.isNull());
    ASSERT_TRUE(page.transformed(QTransform().rotate(90)).save(feeder + "/a-sideways.png"));
    ASSERT_TRUE(page.save(feeder + "/b-upright.jpg"));
    ASSERT_TRUE(page.save(feeder + "/c-left-out.png"));
    const QJsonObject report = RunScanifyHostReport({"--output", r9test::TestHome() + "/records"},
                                                    {{"SCPROXY_SPECIMENS", feeder}, {"SCPROXY_FEED", "a-*; B-UPRIGHT"}})["scanify"].toObject();
    ASSERT_FALSE(report.contains("error")) << report["error"].toString().toStdString();
    const QJsonArray records = report["records"].toArray();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].toObject()["document"].toString(), "a-sideways.png");
    EXPECT_EQ(records[0].toObject()["modalResult"].toInt(), 1);
    EXPECT_EQ(records[0].toObject()["record"].toObject()["lastName"].toString(), "HALVORSEN");
    EXPECT_EQ(records[0].toObject()["page"].toString(), "read") << "a picture without description is read from its pixels";
    EXPECT_EQ(records[1].toObject()["document"].toString(), "b-upright.jpg");
    EXPECT_EQ(records[1].toObject()["modalResult"].toInt(), 2) << "no document in it: nothing to keep";
}

TEST(ScanifyHostRun, TheHostStartedThroughALinkFeedsTheStandinsPages)
{
    if (!QFileInfo::exists(QCoreApplication::applicationDirPath() + "/libscproxy.so"))
        GTEST_SKIP() << "the stand-in engine library is not built";
    // A link in another folder, as an installation puts one on the search
    // path; the host runs from a folder of its own.
    const QString links = r9test::TestHome() + "/links";
    QDir().mkpath(links);
    ASSERT_TRUE(QFile::link(QCoreApplication::applicationDirPath() + "/velmar-host", links + "/velmar-host"));
    const QJsonObject report = RunScanifyHostReport({"--output", r9test::TestHome() + "/records"},
                                                    {{"SCPROXY_FEED", "01-*"}}, links + "/velmar-host")["scanify"].toObject();
    ASSERT_FALSE(report.contains("error")) << report["error"].toString().toStdString();
    const QJsonArray records = report["records"].toArray();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].toObject()["document"].toString(), "01-Passport1.json");
    EXPECT_EQ(records[0].toObject()["modalResult"].toInt(), 1);
}

TEST(ScanifyHostRun, APageLeftForARepeatRunIsTakenAwayBeforeTheNextPerson)
{
    if (!QFileInfo::exists(QCoreApplication::applicationDirPath() + "/libscproxy.so"))
        GTEST_SKIP() << "the stand-in engine library is not built";
    // A passport whose zone neither turn reads: the first run and the repeat
    // run both offer a repeat. The next window must scan the next page.
    const QString feeder = r9test::TestHome() + "/unread-feeder";
    QDir().mkpath(feeder);
    QImage blank(600, 400, QImage::Format_RGB888);
    blank.fill(Qt::white);
    ASSERT_TRUE(blank.save(feeder + "/a-unread.png"));
    r9test::WriteFile(feeder + "/a-unread.json", R"({"formId": "InoPas_MRZ", "zone": "ZoneOfMRZ", "picture": "a-unread.png",
        "fields": [{"id": "IN_SurName", "value": "", "readsOnlyUpright": true},
                   {"id": "IN_Name", "value": "", "readsOnlyUpright": true}]})");
    const QImage page(QCoreApplication::applicationDirPath() + "/specimens/04-ForeignPassport_MRZ.png");
    ASSERT_TRUE(page.transformed(QTransform().rotate(90)).save(feeder + "/b-sideways.png"));
    const QJsonObject report = RunScanifyHostReport({"--output", r9test::TestHome() + "/records"},
                                                    {{"SCPROXY_SPECIMENS", feeder}})["scanify"].toObject();
    const QJsonArray records = report["records"].toArray();
    ASSERT_EQ(records.size(), 2) << report["error"].toString().toStdString();
    EXPECT_EQ(records[0].toObject()["document"].toString(), "a-unread.json");
    EXPECT_TRUE(records[0].toObject()["repeated"].toBool());
    EXPECT_EQ(records[1].toObject()["document"].toString(), "b-sideways.png");
    EXPECT_EQ(records[1].toObject()["record"].toObject()["lastName"].toString(), "HALVORSEN");
}

TEST(ScanifyHostRun, AFeedThatMatchesNoPageIsRefusedBeforeAnyWindowOpens)
{
    if (!QFileInfo::exists(QCoreApplication::applicationDirPath() + "/libscproxy.so"))
        GTEST_SKIP() << "the stand-in engine library is not built";
    const r9test::HostRun run = RunScanifyHostAllowingFailure({"--output", r9test::TestHome() + "/records"},
                                                              {{"SCPROXY_FEED", "nothing-like-this"}});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.errors.contains("nothing-like-this")) << run.errors.toStdString();
    EXPECT_TRUE(run.report.isEmpty()) << "a window was opened";
}

TEST(ScanifyHostRun, UnknownEngineIsRefused)
{
    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    host.setProcessEnvironment(env);
    host.start(QCoreApplication::applicationDirPath() + "/velmar-host", {"--engine", "tesseract"});
    ASSERT_TRUE(host.waitForFinished(60000));
    EXPECT_EQ(host.exitCode(), 2);
    EXPECT_TRUE(host.readAllStandardError().contains("--engine"));
}

} // namespace
