#include "SaneDevices.h"

#include "SaneCall.h"

#include "TwainTypes.h"

#include <QApplication>
#include <QLabel>
#include <QSet>
#include <QWindow>
#include <chrono>
#include <dlfcn.h>
#include <sane/sane.h>

namespace twainsane {

namespace {

constexpr int ProductNameBytes = int(sizeof(TW_STR32)) - 1;

int g_uses = 0;

/// The text cut to `bytes` in the locale's encoding, never inside a character.
QByteArray fitted(QString text, int bytes)
{
    QByteArray encoded = text.toLocal8Bit();
    while (encoded.size() > bytes && !text.isEmpty()) {
        text.chop(1);
        encoded = text.trimmed().toLocal8Bit();
    }
    return encoded;
}

} // namespace

/// SANE's library carries helpers its backends share (the USB layer among
/// them, with the count of its users). This library is loaded with the
/// source manager's local scope, and so is SANE's library with it: each
/// backend then binds to a copy of its own, and some never stop theirs, so
/// every listing of the devices (which starts every backend) left USB
/// contexts behind: two descriptors a backend, some seventy with Debian's
/// configuration, and the host ran out of descriptors after a dozen
/// listings. In the global scope, as in a program linked with SANE, the
/// backends share SANE's.
void shareSanesHelpers()
{
    static const bool shared = dlopen("libsane.so.1", RTLD_NOW | RTLD_NOLOAD | RTLD_GLOBAL) != nullptr;
    (void)shared;
}

SaneUse::SaneUse()
{
    if (g_uses == 0) {
        shareSanesHelpers();
        SANE_Int version = 0;
        if (sane_init(&version, nullptr) != SANE_STATUS_GOOD)
            return;
    }
    ++g_uses;
    m_started = true;
}

SaneUse::~SaneUse()
{
    if (m_started && --g_uses == 0)
        sane_exit();
}

std::vector<DeviceSource> NameSources(const std::vector<DeviceDescription> &devices)
{
    std::vector<DeviceSource> sources;
    QSet<QByteArray> taken;
    for (const DeviceDescription &d : devices) {
        const QString base = QStringLiteral("SANE: %1 %2")
                                 .arg(QString::fromLocal8Bit(d.vendor), QString::fromLocal8Bit(d.model))
                                 .simplified();
        QByteArray name = fitted(base, ProductNameBytes);
        for (int n = 2; taken.contains(name); ++n) {
            const QByteArray suffix = " #" + QByteArray::number(n);
            name = fitted(base, ProductNameBytes - int(suffix.size())) + suffix;
        }
        taken.insert(name);
        sources.push_back({d.name, name});
    }
    return sources;
}

namespace {

using Clock = std::chrono::steady_clock;

/// "Поиск сканеров ..." for as long as the devices are listed: the
/// operator's window waits meanwhile and would say nothing.
class SearchNotice
{
public:
    SearchNotice()
    {
        if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
            return;
        m_window = new QLabel(QString::fromUtf8(SearchingText));
        m_window->setObjectName(QLatin1String(SearchNoticeName));
        m_window->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
        m_window->setFrameStyle(QFrame::Box | QFrame::Plain);
        m_window->setMargin(16);
        m_window->setAttribute(Qt::WA_ShowWithoutActivating);
        // Over the operator's window, whatever it is.
        if (QWidget *over = QApplication::activeWindow()) {
            m_window->winId();
            if (over->windowHandle())
                m_window->windowHandle()->setTransientParent(over->windowHandle());
            m_window->adjustSize();
            m_window->move(over->geometry().center() - m_window->rect().center());
        }
        m_window->show();
    }
    ~SearchNotice() { delete m_window; }
    SearchNotice(const SearchNotice &) = delete;
    SearchNotice &operator=(const SearchNotice &) = delete;

private:
    QLabel *m_window = nullptr;
};

std::vector<DeviceSource> g_sources;
bool g_asked = false;
Clock::time_point g_listedAt; // when the last listing ended

/// How long a list stays fresh (TWAINSANE_LIST_FRESH_MS, default 5 s).
Clock::duration freshFor()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("TWAINSANE_LIST_FRESH_MS", &ok);
    return std::chrono::milliseconds(ok && ms >= 0 ? ms : 5000);
}

} // namespace

const std::vector<DeviceSource> &KeptSources()
{
    return g_asked ? g_sources : Sources();
}

const std::vector<DeviceSource> &Sources(Asking asking)
{
    // Kept for the session, also when empty (no scanner attached): every
    // scan would wait seconds for the same answer. A scanner switched on
    // later is found when the operator searches again, which always lists.
    if (g_asked && asking == Asking::Kept)
        return g_sources;
    // A look of the program's own for a device missing from the list is
    // answered by a list just made: with backends that probe the network,
    // each listing takes seconds.
    if (g_asked && asking == Asking::UnlessFresh && Clock::now() - g_listedAt < freshFor())
        return g_sources;
    bool listed = false;
    std::vector<DeviceDescription> devices;
    const SearchNotice notice;
    RunOffThread([&] {
        SaneUse use;
        if (!use.started())
            return;
        listed = true;
        const SANE_Device **list = nullptr;
        if (sane_get_devices(&list, SANE_FALSE) == SANE_STATUS_GOOD && list)
            for (const SANE_Device **d = list; *d; ++d)
                if ((*d)->name && (*d)->name[0])
                    devices.push_back({(*d)->name, (*d)->vendor ? (*d)->vendor : "", (*d)->model ? (*d)->model : ""});
    });
    if (!listed)
        return g_sources;
    g_sources = NameSources(devices);
    g_asked = true;
    g_listedAt = Clock::now();
    return g_sources;
}

} // namespace twainsane
