// printed_pages --seed S --count N --out DIR [--kind InternalPassport|DrivingLicence|ForeignPassport]
// Writes pages NNNN.jpg (or .png when kept lossless) with their truth
// NNNN.json: page i is drawn from seed S + i. The same seed gives the same
// page on every machine.

#include "PrintedPages.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription(
        QStringLiteral("Pages of documents with printed fields (internal passport, driving licence, foreign passport) and their truth.\n"
                       "Page i is drawn from seed S + i; without --kind the kinds come in turn by seed.\n"
                       "Seeds below %1 are for development. Seeds %1 to %2 are the EVALUATION set (%3 pages, %4 of each\n"
                       "kind): measure on them with the benchmark, never look at them or tune on them.")
            .arg(printedpages::kEvaluationSeed)
            .arg(printedpages::kEvaluationSeed + printedpages::kEvaluationCount - 1)
            .arg(printedpages::kEvaluationCount)
            .arg(printedpages::kEvaluationCount / 3));
    cli.addHelpOption();
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("seed of the first page"), QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("pages to write"), QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("where the pages go"), QStringLiteral("DIR"));
    const QCommandLineOption kind(QStringLiteral("kind"), QStringLiteral("every page of this kind: InternalPassport, DrivingLicence or ForeignPassport"),
                                  QStringLiteral("KIND"));
    cli.addOptions({seed, count, out, kind});
    cli.process(app);
    bool ok1 = false, ok2 = false;
    const quint64 s = cli.value(seed).toULongLong(&ok1);
    const int n = cli.value(count).toInt(&ok2);
    if (!ok1 || !ok2 || n < 0 || !cli.isSet(out)) {
        std::fprintf(stderr, "printed_pages: --out DIR is needed; seed and count are non-negative numbers\n");
        return 2;
    }
    std::optional<printed::DocumentKind> k;
    if (cli.isSet(kind)) {
        k = printed::KindByName(cli.value(kind));
        if (!k) {
            std::fprintf(stderr, "printed_pages: no kind %s\n", qPrintable(cli.value(kind)));
            return 2;
        }
    }
    for (int i = 0; i < n; ++i) {
        QString error;
        if (!printedpages::WritePage(printedpages::MakeSeedPage(s + quint64(i), k), cli.value(out),
                                     QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')), &error)) {
            std::fprintf(stderr, "printed_pages: %s\n", qPrintable(error));
            return 1;
        }
    }
    return 0;
}
