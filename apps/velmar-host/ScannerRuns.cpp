#include "ScannerRuns.h"

#include "AbbyyRequest.h"
#include "CognitiveOperator.h"
#include "CognitiveRequest.h"
#include "ScannerDialogAnswerer.h"
#include "ScannerPick.h"
#include "ScriptedOperator.h"

#include <QDir>
#include <QJsonArray>
#include <cstdio>

namespace {

/// What the entry keeps of the scanner choice and the windows met on the way.
void AddScannerOutcome(QJsonObject &entry, const ScannerPick &pick, const ScannerDialogAnswerer &scanner,
                       MessageBoxAnswerer &boxes)
{
    // The engine may hand its choice to the source manager's own list.
    const ScannerPick &made = pick.chosen.isEmpty() && !scanner.pick.chosen.isEmpty() ? scanner.pick : pick;
    const QJsonObject outcome = made.ToJson();
    for (auto it = outcome.begin(); it != outcome.end(); ++it)
        entry[it.key()] = it.value();
    if (made.chosen.isEmpty())
        std::fprintf(stderr, "velmar-host: %s\n", qPrintable(made.Failure()));
    if (!scanner.seen.isEmpty())
        entry["windows"] = QJsonArray::fromStringList(scanner.seen);
    if (const QStringList messages = boxes.Take(); !messages.isEmpty())
        entry["messages"] = QJsonArray::fromStringList(messages);
}

QString Screenshot(const ScannerRunRequest &r)
{
    return QDir(r.folder).filePath(QStringLiteral("form.png"));
}

} // namespace

QJsonObject RunAbbyyFromScanner(const PackageLoader &package, const ScannerRunRequest &r)
{
    MessageBoxAnswerer boxes;
    ScannerDialogAnswerer scanner(r.scanner, {ScannerDialogAnswerer::Answer::Scan});
    ScannerPick pick;
    pick.wanted = r.scanner;
    ScriptedOperatorPlan plan;
    plan.screenshotFile = Screenshot(r);
    plan.pageScreenshotFolder = r.formPages;
    plan.pageScreenshotPrefix = QStringLiteral("ABBYYRecognitionFM-");
    plan.scanner = &pick;
    AbbyyRequest request;
    request.current = r.current;
    request.documentType = r.documentType;
    request.operate = [plan](TABBYYRecognitionFM *form) { OperateRecognitionWindow(form, plan); };
    QJsonObject entry = AbbyyResultEntry(RunAbbyyRequest(package, request), r.folder);
    entry["documentType"] = r.documentType;
    if (!pick.chosen.isEmpty())
        entry["screenshot"] = plan.screenshotFile;
    AddScannerOutcome(entry, pick, scanner, boxes);
    return entry;
}

QJsonObject RunScanifyFromScanner(const PackageLoader &package, const ScannerRunRequest &r)
{
    MessageBoxAnswerer boxes;
    ScannerDialogAnswerer scanner(r.scanner, {ScannerDialogAnswerer::Answer::Scan});
    EngineDialogAnswerer dialogs;
    ScannerPick pick;
    pick.wanted = r.scanner;
    dialogs.PickSource(&pick);
    CognitiveOperatorPlan plan;
    plan.screenshotFile = Screenshot(r);
    plan.pageScreenshotFolder = r.formPages;
    plan.pageScreenshotPrefix = QStringLiteral("CognitiveRecognitionFM-");
    plan.chooseScanner = true;
    CognitiveOperatorLog log;
    CognitiveRequest request;
    request.current = r.current;
    request.operate = [plan, &log](TCognitiveRecognitionFM *form) { OperateCognitiveWindow(form, plan, &log); };
    QJsonObject entry = ResultEntry(RunCognitiveRequest(package, request), r.folder);
    entry["repeated"] = log.repeated;
    if (!pick.chosen.isEmpty())
        entry["screenshot"] = plan.screenshotFile;
    if (const QStringList answered = dialogs.Take(); !answered.isEmpty())
        entry["engineDialogs"] = QJsonArray::fromStringList(answered);
    AddScannerOutcome(entry, pick, scanner, boxes);
    return entry;
}
