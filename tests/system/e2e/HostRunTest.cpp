// The reference host's main job without a display: every specimen ends as a
// stored person's record, with the recognised values and both pictures.
#include "base/engCommon9rMessages.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

/// A stored record's folder and its files (the values, the pictures) are the user's alone.
void ExpectPrivateRecord(const QString &folder, const QStringList &files)
{
    EXPECT_EQ(r9test::ModeOf(folder), 0700) << folder.toStdString();
    for (const QString &name : files)
        EXPECT_EQ(r9test::ModeOf(folder + "/" + name), 0600) << name.toStdString();
}

TEST(HostRun, ScriptedOperatorStoresEverySpecimenAndTheEditPathMarksDifferences)
{
    const QString out = r9test::TestHome() + "/records";
    const QJsonObject report = [&] {
        const r9test::PermissiveUmask open;
        return r9test::RunReferenceHost({"--output", out, "--form-pages", r9test::TestHome() + "/pages"});
    }();
    const QJsonArray records = report["abbyy"].toObject()["records"].toArray();
    const int specimens = QDir(QCoreApplication::applicationDirPath() + "/specimens").entryList({"*.json"}).size();
    ASSERT_GT(specimens, 0);
    ASSERT_EQ(records.size(), specimens);
    // The report shows every setting, the days package folders are kept too (the default).
    EXPECT_EQ(report["settings"].toObject()["gl_PackageKeepDays"].toInt(-1), 30);
    for (const QJsonValue &v : records) {
        const QJsonObject entry = v.toObject();
        SCOPED_TRACE(entry["document"].toString().toStdString());
        EXPECT_EQ(entry["modalResult"].toInt(), 1);
        EXPECT_EQ(entry["page"].toString(), "described") << "the feeder's page, as the engine's log says";
        const QJsonObject record = entry["record"].toObject();
        EXPECT_EQ(record["documentType"].toString(), entry["documentType"].toString());
        EXPECT_FALSE(record["lastName"].toString().isEmpty());
        const QDir folder(entry["recordFolder"].toString());
        EXPECT_TRUE(folder.exists("record.json"));
        EXPECT_TRUE(folder.exists("document.png"));
        ExpectPrivateRecord(folder.path(), folder.entryList({"record.json", "*.png"}, QDir::Files));
        EXPECT_TRUE(QFile::exists(entry["screenshot"].toString()));
        // A field found but unreadable is no value: never the window's word
        // for it as a surname or a place of birth.
        for (const QString &key : record.keys())
            EXPECT_NE(record[key].toString(), LoadResString(&_S_NOT_RECOGNIZED)) << key.toStdString();
    }
    // The passport whose place of birth is on the page but empty.
    QJsonObject noPlace;
    for (const QJsonValue &v : records)
        if (v.toObject()["document"].toString() == "04-ForeignPassport_MRZ.json")
            noPlace = v.toObject()["record"].toObject();
    EXPECT_EQ(noPlace["placeOfBirth"].toString(QStringLiteral("missing")), "");
    EXPECT_EQ(noPlace["unreadable"].toArray(), QJsonArray{"placeOfBirth"});
    EXPECT_FALSE(noPlace["doubtful"].toArray().contains(QJsonValue("placeOfBirth")));
    // Three pages of each engine's window, as opened, at the minimum size and maximised.
    const QStringList pages = QDir(r9test::TestHome() + "/pages").entryList({"*.png"});
    EXPECT_EQ(pages.size(), 18);
    EXPECT_EQ(pages.filter(QRegularExpression("^CognitiveRecognitionFM-")).size(), 9);
    EXPECT_TRUE(pages.contains("ABBYYRecognitionFM-tsCommonOptions-min.png")) << pages.join(", ").toStdString();
    EXPECT_TRUE(pages.contains("ABBYYRecognitionFM-tsScanAndRecognize-tsEdit-max.png"));
    // They show the persons' data, as the records do; so does the folder of the records.
    ExpectPrivateRecord(r9test::TestHome() + "/pages", pages);
    EXPECT_EQ(r9test::ModeOf(out), 0700);

    // The first person comes back: with its stored record the window opens on
    // the edit page; a changed surname must come out marked.
    const QString stored = out + "/person-01/record.json";
    QJsonObject person = QJsonDocument::fromJson(r9test::ReadFile(stored)).object();
    const QString surname = person["lastName"].toString();
    person["lastName"] = "ДРУГОВ";
    person["doubtful"] = QJsonArray();
    r9test::WriteFile(stored, QJsonDocument(person).toJson());
    const QJsonObject again = r9test::RunReferenceHost({"--output", r9test::TestHome() + "/again", "--person", stored});
    const QJsonObject first = again["abbyy"].toObject()["records"].toArray().at(0).toObject()["record"].toObject();
    EXPECT_EQ(first["lastName"].toString(), surname);
    EXPECT_TRUE(first["doubtful"].toArray().contains(QJsonValue("lastName")));
    EXPECT_FALSE(first["doubtful"].toArray().contains(QJsonValue("firstName")));
}

} // namespace

namespace {

TEST(HostRun, TheDocumentPictureAndTheCamerasFramesAreStoredForTheUserAlone)
{
    const r9test::PermissiveUmask open;
    const QString out = r9test::TestHome() + "/private";
    const struct
    {
        const char *path;
        const char *folder;
        QStringList files;
    } cases[] = {
        {"--doc-picture", "doc-picture", {"document.png"}},
        {"--camera", "camera", {"frame.png", "fragment.png"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        r9test::RunReferenceHost({c.path, "--output", out}, 120000);
        ExpectPrivateRecord(out + "/" + c.folder, c.files);
    }
}

TEST(HostRun, FoldersThatCannotServeTheRunAreRefusedBeforeAnyWindowOpens)
{
    // A plain file stands where a folder would have to be created: no one,
    // root included, can make the folder.
    const QString file = r9test::TestHome() + "/a-file";
    r9test::WriteFile(file, "not a folder");
    const QString records = r9test::TestHome() + "/records";
    // Left by an earlier run: files where the run's own folders would go.
    const QString left = r9test::TestHome() + "/left";
    QDir().mkpath(left);
    for (const char *name : {"person-02", "scanify-person-01", "doc-picture", "camera"})
        r9test::WriteFile(left + "/" + name, "not a folder");
    const QString empty = r9test::TestHome() + "/no-descriptions";
    QDir().mkpath(empty);
    r9test::WriteFile(empty + "/broken.json", "{\"fields\": []}");
    const struct
    {
        QStringList arguments;
        const char *named; ///< the option the refusal names
    } cases[] = {
        {{"--output", left}, "person-02"},
        {{"--output", left, "--engine", "scanify"}, "scanify-person-01"},
        {{"--output", left, "--doc-picture"}, "doc-picture"},
        {{"--output", left, "--camera"}, "camera"},
        {{"--documents", empty}, "--documents"},
        {{"--camera", "--soak", "3"}, "--soak"},
        {{"--doc-picture", "--soak", "3"}, "--soak"},
        {{"--output", file + "/records"}, "--output"},
        {{"--output", file + "/records", "--doc-picture"}, "--output"},
        {{"--output", file + "/records", "--camera"}, "--output"},
        {{"--documents", r9test::TestHome() + "/no-such-folder"}, "--documents"},
        {{"--documents", file}, "--documents"},
        {{"--form-pages", file + "/pages"}, "--form-pages"},
        {{"--form-pages", r9test::TestHome() + "/pages", "--doc-picture"}, "--doc-picture"},
        {{"--form-pages", r9test::TestHome() + "/pages", "--camera"}, "--camera"},
        {{"--form-pages", r9test::TestHome() + "/pages", "--soak", "3"}, "--soak"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QStringList arguments = c.arguments;
        if (!arguments.contains("--output"))
            arguments << "--output" << records;
        if (!arguments.contains("--engine"))
            arguments << "--engine" << "abbyy";
        const r9test::HostRun run = r9test::RunReferenceHostAllowingFailure(arguments);
        EXPECT_EQ(run.exitCode, 2) << "refused before any window opens";
        EXPECT_TRUE(run.errors.contains(QLatin1String(c.named))) << run.errors.toStdString();
        // The folder named, as given.
        EXPECT_TRUE(run.errors.contains(c.arguments.at(1))) << run.errors.toStdString();
        EXPECT_TRUE(run.report.isEmpty()) << "a window was opened";
    }
}

} // namespace

namespace {

TEST(HostRun, ARecordThatCannotBeStoredIsReportedInItsEntryAndTheOthersAreKept)
{
    // A folder where the first person's document picture would go: the
    // person's folder itself takes files, so the run starts.
    const QString out = r9test::TestHome() + "/records";
    QDir().mkpath(out + "/person-01/document.png");
    const r9test::HostRun run = r9test::RunReferenceHostAllowingFailure({"--output", out, "--engine", "abbyy"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.errors.contains("document.png")) << run.errors.toStdString();
    const QJsonArray records = run.report["abbyy"].toObject()["records"].toArray();
    ASSERT_GT(records.size(), 1);
    const QJsonObject first = records[0].toObject();
    EXPECT_TRUE(first["storeError"].toString().contains("document.png")) << first["storeError"].toString().toStdString();
    EXPECT_FALSE(first["record"].toObject()["lastName"].toString().isEmpty());
    for (qsizetype i = 1; i < records.size(); ++i)
        EXPECT_TRUE(QFile::exists(records[i].toObject()["recordFolder"].toString() + "/record.json")) << i;
}

} // namespace
