// The scanner the host is asked to recognise from is picked by a piece of
// its name in each engine's own scanner choice; a name no source holds, and
// options that cannot make a run, are said plainly.
#include "HostOnGlass.h"
#include "TestPages.h"

#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace scannertest;

TEST(ScannerChoice, ANameNoSourceHoldsIsToldWithTheSourcesThereAre)
{
    for (const Engine engine : {Engine::Abbyy, Engine::Scanify}) {
        SCOPED_TRACE(EngineName(engine));
        GlassRequest request;
        request.engine = engine;
        request.scanner = QStringLiteral("NoSuchScanner");
        request.page = PageWithoutDocument();
        const GlassRun run = RunHostOnGlass(request);
        const QJsonObject &entry = run.entry;
        const std::string report = QJsonDocument(entry).toJson().toStdString() + run.errors.toStdString();
        EXPECT_EQ(run.exitCode, 3) << report;
        EXPECT_FALSE(entry.contains("record")) << report;
        EXPECT_FALSE(entry.contains("page")) << report;
        const QString said = entry["error"].toString();
        EXPECT_TRUE(said.startsWith(QStringLiteral("no scanner source matches \"NoSuchScanner\"; the sources are: "))) << report;
        EXPECT_TRUE(run.errors.contains(said)) << report;
        // The pnm device is among the sources offered, through the source manager.
        EXPECT_TRUE(entry["sources"].toArray().contains(QLatin1String(pnmglass::SourceName))) << report;
    }
}

TEST(ScannerChoice, OptionsThatCannotMakeARunAreRefusedBeforeAnyWindow)
{
    struct Case
    {
        QStringList arguments;
        const char *said;
    };
    const Case cases[] = {
        {{"--scanner", "PNM", "--document-type", "Passport_XX"}, "--document-type Passport_XX: no such document type"},
        {{"--document-type", "Passport_RU"}, "add --scanner"},
        {{"--scanner", "PNM", "--camera"}, "not with --camera"},
        {{"--scanner", "PNM", "--doc-picture", "--document-type", "Passport_RU"}, "is not recognised"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const r9test::HostRun run = r9test::RunReferenceHostAllowingFailure(c.arguments, 120000);
        EXPECT_EQ(run.exitCode, 2) << run.errors.toStdString();
        EXPECT_TRUE(run.errors.contains(QString::fromUtf8(c.said))) << run.errors.toStdString();
        EXPECT_TRUE(run.report.isEmpty());
    }
}
