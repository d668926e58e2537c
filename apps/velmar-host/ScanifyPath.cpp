#include "ScanifyPath.h"

#include "CognitiveOperator.h"
#include "CognitiveRequest.h"
#include "EngineLog.h"
#include "PackageLoader.h"
#include "ScannerRuns.h"
#include "ScriptedOperator.h"
#include "Soak.h"
#include "scanify-feed/ScanifySpecimen.h"
#include "scanify-feed/SpecimenFeed.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <cstdio>
#include <exception>

namespace {

/// The file the report names a page by: its description, else its picture.
QString PageFile(const scproxy::ScanifySpecimen &page)
{
    return QFileInfo(page.described ? page.descriptionPath : page.picturePath).fileName();
}

QString PersonFolder(const ScanifyPathOptions &o, int n)
{
    return QDir(o.output).filePath(QStringLiteral("scanify-person-%1").arg(n, 2, 10, QLatin1Char('0')));
}

} // namespace

QJsonObject RunScanifyPath(const PackageLoader &package, const ScanifyPathOptions &o)
{
    QJsonObject report;
    try {
        package.Function<void (*)()>("LoadCognitiveDll")();
    } catch (const std::exception &e) {
        report["error"] = QString::fromUtf8(e.what());
        return report;
    }
    struct Unload
    {
        const PackageLoader &p;
        ~Unload() { p.Function<void (*)()>("FreeCognitiveDll")(); }
    } unload{package};
    const QString initError = package.Function<QString (*)()>("InitScanify")();
    if (!initError.isEmpty()) {
        report["error"] = initError;
        return report;
    }
    struct Close
    {
        const PackageLoader &p;
        ~Close() { p.Function<void (*)()>("CloseScanify")(); }
    } close{package};

    std::optional<PersonRecord> current;
    if (!o.person.isEmpty())
        current = PersonRecord::Load(o.person);

    QJsonArray records;
    if (!o.scripted) {
        EngineLog engineLog("SCPROXY_LOG");
        CognitiveRequest request;
        request.current = current;
        records.append(engineLog.WithPage(ResultEntry(RunCognitiveRequest(package, request), PersonFolder(o, 1))));
        report["records"] = records;
        return report;
    }
    if (!o.scanner.isEmpty()) {
        EngineLog engineLog("SCPROXY_LOG");
        records.append(
            engineLog.WithPage(RunScanifyFromScanner(package, {o.scanner, QString(), current, PersonFolder(o, 1), o.formPages})));
        report["records"] = records;
        return report;
    }

    // The pages the stand-in's feeder holds, in the order it feeds them: its
    // own list, from its folder and feed switches as it reads them.
    QStringList problems;
    const scproxy::ScanifySpecimenList pages =
        scproxy::FeederPages(scproxy::SpecimenFolder(), scproxy::FeedPatterns(), &problems);
    if (!problems.isEmpty())
        report["documentProblems"] = QJsonArray::fromStringList(problems);
    if (pages.empty()) {
        // Nothing to feed: no window would open, and an empty report would
        // look like a run that went well.
        report["error"] = QStringLiteral("no specimen pages to feed in %1 (SCPROXY_SPECIMENS, SCPROXY_FEED)")
                              .arg(QDir::toNativeSeparators(scproxy::SpecimenFolder()));
        std::fprintf(stderr, "velmar-host: %s\n", qPrintable(report["error"].toString()));
        return report;
    }
    EngineDialogAnswerer dialogs;
    if (o.soak > 0) {
        const QString data = package.Function<QString (*)()>("GetUserDataFolder")();
        report["soak"] = RunSoak(data, o.soak, int(pages.size()), [&](int) {
            CognitiveOperatorLog log;
            CognitiveRequest request;
            request.operate = [&log](TCognitiveRecognitionFM *form) { OperateCognitiveWindow(form, {}, &log); };
            const CognitiveResult result = RunCognitiveRequest(package, request);
            dialogs.Take();
            return SoakWindow{result.modalResult, result.modalResult == 1 && result.record};
        });
        return report;
    }
    MessageBoxAnswerer boxes;
    EngineLog engineLog("SCPROXY_LOG");
    int n = 0;
    for (const auto &page : pages) {
        ++n;
        const QString folder = PersonFolder(o, n);
        CognitiveOperatorPlan plan;
        plan.screenshotFile = QDir(folder).filePath(QStringLiteral("form.png"));
        if (n == 1 && !o.formPages.isEmpty()) {
            plan.pageScreenshotFolder = o.formPages;
            plan.pageScreenshotPrefix = QStringLiteral("CognitiveRecognitionFM-");
        }
        CognitiveOperatorLog log;
        CognitiveRequest request;
        request.current = current;
        request.operate = [plan, &log](TCognitiveRecognitionFM *form) { OperateCognitiveWindow(form, plan, &log); };
        QJsonObject entry = engineLog.WithPage(ResultEntry(RunCognitiveRequest(package, request), folder));
        entry["document"] = PageFile(*page);
        entry["repeated"] = log.repeated;
        entry["screenshot"] = plan.screenshotFile;
        if (const QStringList messages = boxes.Take(); !messages.isEmpty())
            entry["messages"] = QJsonArray::fromStringList(messages);
        if (const QStringList answered = dialogs.Take(); !answered.isEmpty())
            entry["engineDialogs"] = QJsonArray::fromStringList(answered);
        records.append(entry);
    }
    report["records"] = records;
    return report;
}
