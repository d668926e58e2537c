#include "ScannerSources.h"

#include "TestSupport.h"
#include "ManagerSupport.h"
#include "SaneTestDevices.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTimer>

namespace scannertest {

namespace {

/// Every test of a program that scans sees the same SANE devices, from its
/// start: SANE reads its configuration folder at its first use only, and a
/// test that runs before one that scans may list the sources.
const bool g_privateSane = [] {
    r9test::KeepSaneBackendLoaded("test");
    r9test::UseSaneTestDevices();
    return true;
}();

} // namespace

ScannerSources::ScannerSources()
{
    (void)g_privateSane;
    r9test::UseSaneTestDevices();
    // The device list as SANE has it at every opening: tests reconfigure
    // the backend between scans.
    qputenv("TWAINSANE_LIST_FRESH_MS", "0");
    setSaneOptions({});
    qunsetenv("TWAINSPECIMEN_FAULTS");
}

ScannerSources::~ScannerSources()
{
    for (const char *v : {"TWAINSANE_OPTIONS", "TWAINSANE_LIST_FRESH_MS", "TWAINSPECIMEN_FAULTS"})
        qunsetenv(v);
    CloseNotices();
    // The scanners open as the next test sets them.
    QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm/sane-choices.ini"));
}

void ScannerSources::configureSane(const QStringList &lines)
{
    r9test::ConfigureSaneTestDevices(lines);
}

void ScannerSources::setSaneOptions(const QStringList &options)
{
    qputenv("TWAINSANE_OPTIONS", (r9test::SmallPageOptions() + options).join(QLatin1Char(';')).toLocal8Bit());
}

void ScannerSources::setSpecimenFaults(const QString &faults)
{
    qputenv("TWAINSPECIMEN_FAULTS", faults.toLocal8Bit());
}

QStringList CloseNotices()
{
    return twaintest::ScannerNotices();
}

struct DialogAnswer::Watch
{
    QTimer timer;
};

DialogAnswer::DialogAnswer(const char *objectName, std::function<void(QWidget *)> act) : m_watch(new Watch)
{
    QObject::connect(&m_watch->timer, &QTimer::timeout, [this, objectName, act] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (!m_answered && w->objectName() == QLatin1String(objectName) && w->isVisible()) {
                m_answered = true;
                act(w);
            }
    });
    m_watch->timer.start(5);
}

DialogAnswer::~DialogAnswer()
{
    delete m_watch;
}

void Click(QWidget *dialog, const char *button)
{
    if (auto *b = dialog->findChild<QPushButton *>(QLatin1String(button)))
        b->click();
}

} // namespace scannertest
