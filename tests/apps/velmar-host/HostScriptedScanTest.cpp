// The reference host's scripted document picture from a named scanner, on
// SANE's test backend: a scan that takes seconds is waited for while its
// progress moves and given up when it stops moving; a run that stores no
// picture, or names no source there is, fails and says why.
#include "support/SaneFixture.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

using namespace sanetest;

namespace {

/// The host inherits the private SANE folder and the source options. In the
/// sanitizer build its leak check is left out: SANE's test backend, unloaded
/// at the end, does not free all it allocates.
r9test::HostRun runHost(const QStringList &arguments)
{
    const QByteArray asanOptions = qgetenv("ASAN_OPTIONS");
    qputenv("ASAN_OPTIONS", asanOptions + (asanOptions.isEmpty() ? "" : ":") + "detect_leaks=0");
    const r9test::HostRun run =
        r9test::RunReferenceHostAllowingFailure(QStringList{"--doc-picture", "--scripted"} + arguments, 120000);
    if (asanOptions.isNull())
        qunsetenv("ASAN_OPTIONS");
    else
        qputenv("ASAN_OPTIONS", asanOptions);
    return run;
}

/// Pages that take the backend seconds, read in many small pieces.
QStringList slowPage()
{
    return {QStringLiteral("resolution=200"), QStringLiteral("br-x=60"), QStringLiteral("br-y=60"),
            QStringLiteral("read-delay=yes"), QStringLiteral("read-delay-duration=200000")};
}

} // namespace

TEST_F(SaneSourceTest, TheScriptedHostWaitsForAScanWhileItMovesAndGivesUpWhenItStops)
{
    struct Case
    {
        const char *name;
        QStringList options;
        const char *scannerPatienceMs; ///< null: the host's own
        bool stored;
    };
    // A hand scanner does not know the length of its page: the progress
    // shows nothing but "busy" until the page ends.
    const Case cases[] = {
        {"a page of seconds, its progress moving", slowPage(), nullptr, true},
        {"a page with no progress to show, past the patience", slowPage() << QStringLiteral("hand-scanner=yes"), "100", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setSourceOptions(c.options);
        if (c.scannerPatienceMs)
            qputenv("VELMAR_HOST_SCANNER_PATIENCE_MS", c.scannerPatienceMs);
        QTemporaryDir output;
        ASSERT_TRUE(output.isValid());
        const r9test::HostRun run = runHost({"--scanner", "SANE: Noname", "--output", output.path()});
        qunsetenv("VELMAR_HOST_SCANNER_PATIENCE_MS");
        const QJsonObject scan = run.report["docPicture"].toObject()["scan"].toObject();
        const QStringList windows = QVariant(scan["windows"].toArray().toVariantList()).toStringList();
        const bool stored = QFileInfo::exists(QDir(output.path()).filePath(QStringLiteral("doc-picture/document.png")));
        EXPECT_EQ(stored, c.stored) << QJsonDocument(scan).toJson().toStdString() << run.errors.toStdString();
        EXPECT_EQ(scan["picture"].isObject(), c.stored);
        EXPECT_EQ(windows.contains(QStringLiteral("scanner stalled: cancelled")), !c.stored)
            << windows.join(QLatin1Char('|')).toStdString();
        if (c.stored) {
            EXPECT_TRUE(windows.filter(QStringLiteral("cancelled")).isEmpty()) << windows.join(QLatin1Char('|')).toStdString();
        }
        EXPECT_EQ(run.exitCode, c.stored ? 0 : 3);
        EXPECT_EQ(run.errors.contains(QStringLiteral("velmar-host: no picture was stored from the scanner \"SANE: Noname\"")),
                  !c.stored)
            << run.errors.toStdString();
    }
}

TEST_F(SaneSourceTest, TheScriptedHostSaysSoWhenNoSourceMatchesTheScannerNamed)
{
    QTemporaryDir output;
    ASSERT_TRUE(output.isValid());
    const r9test::HostRun run = runHost({"--scanner", "Kodak", "--output", output.path()});
    const QJsonObject scan = run.report["docPicture"].toObject()["scan"].toObject();
    const QString error = scan["error"].toString();
    EXPECT_TRUE(error.startsWith(QStringLiteral("no scanner source matches \"Kodak\"; the sources are: ")))
        << error.toStdString();
    const QJsonArray sources = scan["sources"].toArray();
    EXPECT_TRUE(sources.contains(QLatin1String(FirstSource)));
    EXPECT_TRUE(sources.contains(QLatin1String(SecondSource)));
    EXPECT_TRUE(error.contains(QLatin1String(FirstSource)));
    EXPECT_TRUE(scan["picture"].isNull());
    EXPECT_TRUE(run.errors.contains(QStringLiteral("velmar-host: ") + error)) << run.errors.toStdString();
    EXPECT_EQ(run.exitCode, 3);
}
