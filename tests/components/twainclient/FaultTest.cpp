// Faults of the scanner as outcomes with the operator's message, and a
// source that never answers given up.
#include "support/ScannerSources.h"

#include "TwainClient.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <gtest/gtest.h>

using namespace scannertest;
using twainclient::Outcome;

TEST(TwainClientFaults, FaultsOfTheScannerBecomeOutcomesWithAMessageInRussian)
{
    struct Case
    {
        const char *source;
        const char *specimenFaults;
        const char *saneStatus; // a read status of the SANE device; null: none
        Outcome outcome;
        const char *message; // UTF-8
    };
    // The whole message: what the operator reads must not change unnoticed.
    const Case cases[] = {
        {"Scanner nobody attached", nullptr, nullptr, Outcome::NoScanner,
         "Сканер «Scanner nobody attached» не найден: проверьте, что он подключён и включён."},
        {"", nullptr, nullptr, Outcome::NoScanner, "Сканер «» не найден: проверьте, что он подключён и включён."},
        {SpecimenSource, "openfails", nullptr, Outcome::SourceRefused,
         "Сканер «Specimen Scanner» не удалось подготовить к сканированию."},
        {SpecimenSource, "enablefails", nullptr, Outcome::SourceRefused,
         "Сканер «Specimen Scanner» не удалось подготовить к сканированию."},
        {SpecimenSource, "cancel", nullptr, Outcome::Cancelled, "Сканирование отменено."},
        {SpecimenSource, "closedsreq", nullptr, Outcome::Cancelled, "Сканирование отменено."},
        {SpecimenSource, "failxfer", nullptr, Outcome::Failed,
         "Сканер «Specimen Scanner» не смог отсканировать страницу."},
        {SaneSource, nullptr, "SANE_STATUS_JAMMED", Outcome::PaperJam, "Бумага застряла в сканере."},
        {SaneSource, nullptr, "SANE_STATUS_COVER_OPEN", Outcome::CoverOpen, "Крышка сканера открыта."},
        {SaneSource, nullptr, "SANE_STATUS_NO_DOCS", Outcome::NoDocument, "На стекле сканера нет документа."},
        // a device unplugged while it reads the page: the source's words
        {SaneSource, nullptr, "SANE_STATUS_IO_ERROR", Outcome::DeviceGone,
         "Сканер не отвечает: проверьте, что он подключён и включён."},
        {SaneSource, nullptr, "SANE_STATUS_CANCELLED", Outcome::Cancelled, "Сканирование отменено."},
        // the device's own reason, where no outcome of its own names it
        {SaneSource, nullptr, "SANE_STATUS_NO_MEM", Outcome::Failed, "Не хватает памяти для сканирования."},
        {SaneSource, nullptr, "SANE_STATUS_INVAL", Outcome::Failed, "Сканер не принял настройки сканирования."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.source << " " << (c.specimenFaults ? c.specimenFaults : "")
                                        << (c.saneStatus ? c.saneStatus : ""));
        ScannerSources sources;
        if (c.specimenFaults)
            sources.setSpecimenFaults(QLatin1String(c.specimenFaults));
        if (c.saneStatus)
            sources.configureSane({QStringLiteral("read-status-code %1").arg(QLatin1String(c.saneStatus))});
        const twainclient::Result r = twainclient::AcquirePage(QString::fromUtf8(c.source), {});
        QCoreApplication::processEvents(); // a box would be up by now
        EXPECT_EQ(r.outcome, c.outcome) << r.message.toStdString();
        EXPECT_TRUE(r.page.isNull());
        EXPECT_EQ(r.message, QString::fromUtf8(c.message)) << r.message.toStdString();
        // The caller tells the operator: the source shows no box of its own.
        EXPECT_EQ(CloseNotices(), QStringList());
    }
    // Once the fault is gone the same scanners scan again.
    ScannerSources sources;
    for (const char *source : {SpecimenSource, SaneSource})
        EXPECT_EQ(twainclient::AcquirePage(QLatin1String(source), {}).outcome, Outcome::Scanned) << source;
}

TEST(TwainClientFaults, ASourceThatDoesNotAnswerIsGivenUpAndClosed)
{
    ScannerSources sources;
    struct Case
    {
        const char *source;
        bool window;
    };
    for (const Case c : {Case{SpecimenSource, true}, Case{SaneSource, false}}) {
        SCOPED_TRACE(c.source);
        // The specimen's window waits for an operator who never comes; the
        // SANE device holds back its lines for longer than the client waits.
        sources.setSaneOptions({QStringLiteral("read-delay=yes"), QStringLiteral("read-delay-duration=200000")});
        twainclient::Settings settings;
        settings.showSourceWindow = c.window;
        settings.patience = std::chrono::milliseconds(100);
        const twainclient::Result r = twainclient::AcquirePage(QLatin1String(c.source), settings);
        EXPECT_EQ(r.outcome, Outcome::NoAnswer) << r.message.toStdString();
        EXPECT_TRUE(r.message.contains(QLatin1String(c.source))) << r.message.toStdString();
        for (QWidget *w : QApplication::topLevelWidgets())
            EXPECT_FALSE(w->isVisible() && w->objectName().endsWith(QLatin1String("ScanDialog")))
                << w->objectName().toStdString();
        // Closed: the source opens again at once.
        sources.setSaneOptions({});
        EXPECT_EQ(twainclient::AcquirePage(QLatin1String(c.source), {}).outcome, Outcome::Scanned);
    }
}

TEST(TwainClientFaults, AFaultTheSourcesWindowShowedIsNotRepeatedWhenTheOperatorClosesIt)
{
    ScannerSources sources;
    sources.configureSane({QStringLiteral("read-status-code SANE_STATUS_JAMMED")});
    // The operator scans, reads the fault in the source's window and closes it.
    QString shown;
    QTimer operatorAtTheWindow;
    bool scanned = false;
    QObject::connect(&operatorAtTheWindow, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() != QLatin1String("SaneScanDialog") || !w->isVisible())
                continue;
            auto *status = w->findChild<QLabel *>(QStringLiteral("laStatus"));
            if (!scanned) {
                scanned = true;
                Click(w, "bScan");
            } else if (status && !status->text().isEmpty() && shown.isEmpty()) {
                shown = status->text();
                Click(w, "bCancel");
            }
        }
    });
    operatorAtTheWindow.start(5);
    twainclient::Settings settings;
    settings.showSourceWindow = true;
    const twainclient::Result r = twainclient::AcquirePage(QLatin1String(SaneSource), settings);
    EXPECT_TRUE(shown.contains(QStringLiteral("застряла"))) << shown.toStdString();
    EXPECT_EQ(r.outcome, Outcome::Cancelled) << r.message.toStdString();
    EXPECT_EQ(CloseNotices(), QStringList());
}
