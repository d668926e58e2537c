// Reference host of the recognition package: loads it at run time, starts
// it, lets the operator choose the recogniser and reports what it found. With
// no display it runs offscreen and prints its report as JSON.
#include "PackageLoader.h"
#include "common/Recognition9r.h"
#include "common/engCommon9r.h"
#include "common/engSelectRecognizer9r_FM.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace {

bool haveDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

const char *kindName(TTypeDocument type)
{
    switch (type) {
    case tdPassport: return "tdPassport";
    case tdForeignPassport: return "tdForeignPassport";
    case tdDriverLicense: return "tdDriverLicense";
    case tdIdentificationCard: return "tdIdentificationCard";
    case tdMRZDocument: return "tdMRZDocument";
    }
    return "unknown";
}

QJsonArray catalogueJson(const PackageLoader &package)
{
    QJsonArray out;
    TStringList *list = *package.Variable<TStringList *>("gl_ListAllowedDocuments");
    for (int i = 0; list && i < list->Count(); ++i) {
        const TDocumentInfo *info = list->Objects(i);
        out.append(QJsonObject{{"identifier", info->FIdentifier},
                               {"name", info->FDocName},
                               {"shortName", info->FShortDocName},
                               {"kind", kindName(info->FTypeDocument)},
                               {"enabled", info->FIsEnabled}});
    }
    return out;
}

QJsonObject settingsJson(const PackageLoader &package)
{
    auto b = [&](const char *n) { return QJsonValue(*package.Variable<bool>(n)); };
    auto i = [&](const char *n) { return QJsonValue(*package.Variable<std::int32_t>(n)); };
    auto s = [&](const char *n) { return QJsonValue(*package.Variable<QString>(n)); };
    return QJsonObject{
        {"gl_PhotoToAccountData", b("gl_PhotoToAccountData")},
        {"gl_DocumentToAccountData", b("gl_DocumentToAccountData")},
        {"gl_FIOOnLatin", b("gl_FIOOnLatin")},
        {"gl_sScannerName", s("gl_sScannerName")},
        {"gl_ScannerItemIndex", i("gl_ScannerItemIndex")},
        {"gl_ShowTwainSupported", b("gl_ShowTwainSupported")},
        {"gl_TwainDialogNeed", b("gl_TwainDialogNeed")},
        {"gl_SelectScanner", b("gl_SelectScanner")},
        {"gl_BrightnessSupported", b("gl_BrightnessSupported")},
        {"gl_BrightnessValue", i("gl_BrightnessValue")},
        {"gl_OrientSupported", b("gl_OrientSupported")},
        {"gl_OrientValue", i("gl_OrientValue")},
        {"gl_PaperSizeSupported", b("gl_PaperSizeSupported")},
        {"gl_PaperSizeIndex", i("gl_PaperSizeIndex")},
        {"gl_PaperSizeValue", s("gl_PaperSizeValue")},
        {"gl_ColorModeSupported", b("gl_ColorModeSupported")},
        {"gl_ColorModeValue", i("gl_ColorModeValue")},
        {"gl_RotationIndex", i("gl_RotationIndex")},
        {"settingsFile", s("gl_sRecognizeIniFileName")},
    };
}

/// Shows the recogniser choice as the host does; offscreen an operator's
/// Enter is simulated. Returns {engine index, "do not ask again"}.
QJsonObject chooseRecognizer(const PackageLoader &package, bool headless)
{
    auto create = package.Function<TSelectRecognizerFM *(*)(QWidget *)>("TSelectRecognizerFM_Create");
    TSelectRecognizerFM *dialog = create(nullptr);
    if (headless)
        QTimer::singleShot(0, dialog, [dialog] { dialog->bOK->click(); });
    const int result = dialog->exec();
    const int engine = dialog->cbSelect->currentIndex();
    const bool notShow = dialog->cxNotShow->isChecked();
    delete dialog;
    *package.Variable<TSelectRecognizerFM *>("SelectRecognizerFM") = nullptr;
    return QJsonObject{{"modalResult", result},
                       {"engineIndex", engine},
                       {"engine", engine == 0 ? "ABBYY PassportReader SDK" : "Cognitive Scanify API"},
                       {"doNotShowAgain", notShow}};
}

} // namespace

int main(int argc, char **argv)
{
    const bool headless = !haveDisplay();
    if (headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmar-host"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Velmar-Q-70 reference host for the recognition package"));
    parser.addHelpOption();
    parser.process(app);

    try {
        PackageLoader package;
        package.Function<void (*)()>("Initialize")();
        struct Stop
        {
            const PackageLoader &p;
            ~Stop() { p.Function<void (*)()>("Finalize")(); }
        } stop{package};

        QJsonObject report;
        report["package"] = package.Path();
        report["dataFolder"] = package.Function<QString (*)()>("GetUserDataFolder")();
        report["catalogue"] = catalogueJson(package);
        report["settings"] = settingsJson(package);
        report["recognizerChoice"] = chooseRecognizer(package, headless);

        const QByteArray json = QJsonDocument(report).toJson(QJsonDocument::Indented);
        std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
        if (!headless) {
            const QJsonObject choice = report["recognizerChoice"].toObject();
            QMessageBox::information(nullptr, QStringLiteral("Velmar-Q-70"),
                                     QStringLiteral("Выбрано: %1\nБольше не показывать: %2")
                                         .arg(choice["engine"].toString(),
                                              choice["doNotShowAgain"].toBool() ? "да" : "нет"));
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "velmar-host: %s\n", e.what());
        return 1;
    }
    return 0;
}
