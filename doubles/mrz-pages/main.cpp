// mrz-pages FOLDER [--seed S] [--count N] [--first K] [--dpi D] [--scans]
// Writes test pages page-NNNN.jpg (or .png) with their truth page-NNNN.json:
// the mix of scans, photographs, zone crops and pages without a zone, or with
// --scans the scanner pages alone.
// The same seed gives the same pages on every machine.

#include "PageGenerator.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Test pages with machine-readable zones and their truth."));
    cli.addHelpOption();
    cli.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("where the pages go"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("seed of the set"), QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("pages to write"), QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption first(QStringLiteral("first"), QStringLiteral("index of the first page"), QStringLiteral("K"), QStringLiteral("0"));
    const QCommandLineOption dpi(QStringLiteral("dpi"), QStringLiteral("every page at this resolution (default: the mix)"),
                                 QStringLiteral("D"), QStringLiteral("0"));
    const QCommandLineOption scans(QStringLiteral("scans"), QStringLiteral("scanner pages only (no photographs, crops or pages without a zone)"));
    cli.addOptions({seed, count, first, dpi, scans});
    cli.process(app);
    if (cli.positionalArguments().size() != 1)
        cli.showHelp(2);
    bool ok1 = false, ok2 = false, ok3 = false, ok4 = false;
    const quint64 s = cli.value(seed).toULongLong(&ok1);
    const int n = cli.value(count).toInt(&ok2);
    const int k = cli.value(first).toInt(&ok3);
    const int d = cli.value(dpi).toInt(&ok4);
    if (!ok1 || !ok2 || !ok3 || !ok4 || n < 0 || k < 0 || d < 0 || d > 1200) {
        std::fprintf(stderr, "mrz-pages: seed, count, first and dpi must be non-negative numbers (dpi at most 1200)\n");
        return 2;
    }
    const QString folder = cli.positionalArguments().first();
    for (int i = k; i < k + n; ++i) {
        QString error;
        if (!mrzpages::WritePage(mrzpages::MakeSetPage(s, i, d, cli.isSet(scans) ? mrzpages::SetMix::Scans : mrzpages::SetMix::RealWorld), folder, QStringLiteral("page-%1").arg(i, 4, 10, QLatin1Char('0')), &error)) {
            std::fprintf(stderr, "mrz-pages: %s\n", qPrintable(error));
            return 1;
        }
    }
    return 0;
}
