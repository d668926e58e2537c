#include "ManagerSession.h"

#include "platform/GlobalMemory.h"
#include "Messages.h"
#include "platform/OwnFolder.h"
#include "twaindsm/TwainDsmHooks.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWidget>
#include <cstring>
#include <dlfcn.h>

namespace twainclient {

namespace {

constexpr const char *ManagerLibrary = "libtwaindsm.so";

template <std::size_t N>
void CopyName(char (&target)[N], const QByteArray &text)
{
    const std::size_t n = std::min<std::size_t>(N - 1, std::size_t(text.size()));
    std::memcpy(target, text.constData(), n);
    target[n] = '\0';
}

using r9base::ExecutableFolder;

/// The manager beside the executable, else the one the loader finds. The
/// manager keeps itself loaded for the process, so the handle is not closed.
DSMENTRYPROC LoadManager(QString *why)
{
    const QString beside = QDir(ExecutableFolder()).filePath(QString::fromLatin1(ManagerLibrary));
    const QByteArray path = QFileInfo::exists(beside) ? QFile::encodeName(beside) : QByteArray(ManagerLibrary);
    void *library = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char *words = dlerror();
        *why = words ? QString::fromLocal8Bit(words) : QString();
        return nullptr;
    }
    auto entry = reinterpret_cast<DSMENTRYPROC>(dlsym(library, TWAIN_DSM_ENTRY_NAME));
    if (!entry)
        *why = QString::fromLatin1(TWAIN_DSM_ENTRY_NAME);
    return entry;
}

TW_IDENTITY ApplicationIdentity()
{
    TW_IDENTITY id{};
    id.Version.MajorNum = 1;
    id.Version.Language = TWLG_USA;
    id.Version.Country = TWCY_USA;
    CopyName(id.Version.Info, "1.0");
    id.ProtocolMajor = 2;
    id.ProtocolMinor = 4;
    id.SupportedGroups = DG_CONTROL | DG_IMAGE;
    CopyName(id.Manufacturer, "Recognition9r");
    CopyName(id.ProductFamily, "Recognition engines");
    CopyName(id.ProductName, "Recognition engine");
    return id;
}

} // namespace

TW_UINTPTR CallerWindow()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return 0;
    QWidget *w = QApplication::activeModalWidget();
    if (!w)
        w = QApplication::activeWindow();
    return w ? TW_UINTPTR(w->winId()) : 0;
}

ManagerSession::ManagerSession() : m_app(ApplicationIdentity()), m_parent(CallerWindow())
{
    QString why;
    m_entry = LoadManager(&why);
    if (!m_entry) {
        m_failure = NoManagerMessage(why);
        return;
    }
    if (toManager(DAT_PARENT, MSG_OPENDSM, &m_parent) != TWRC_SUCCESS) {
        TW_STATUS status{};
        m_entry(&m_app, nullptr, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
        const QString words = wordsFor(nullptr, status.ConditionCode);
        m_failure = words.isEmpty() ? ManagerBusyMessage() : words;
        return;
    }
    m_open = true;
}

ManagerSession::~ManagerSession()
{
    if (m_sourceOpen) {
        // Walked down from wherever the acquisition left it: steps the
        // source is already past fail harmlessly, and a manager left open
        // would refuse every later scan of the process.
        TW_PENDINGXFERS pending{};
        toSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
        TW_USERINTERFACE ui{};
        toSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
        toManager(DAT_IDENTITY, MSG_CLOSEDS, &m_source);
    }
    if (m_open)
        toManager(DAT_PARENT, MSG_CLOSEDSM, &m_parent);
}

TW_UINT16 ManagerSession::toManager(TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    return m_entry(&m_app, nullptr, DG_CONTROL, dat, msg, data);
}

TW_UINT16 ManagerSession::toSource(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    return m_entry(&m_app, &m_source, dg, dat, msg, data);
}

QStringList ManagerSession::sources()
{
    QStringList names;
    if (!m_open)
        return names;
    TW_IDENTITY id{};
    for (TW_UINT16 msg = MSG_GETFIRST; toManager(DAT_IDENTITY, msg, &id) == TWRC_SUCCESS; msg = MSG_GETNEXT)
        names << QString::fromLocal8Bit(id.ProductName, int(strnlen(id.ProductName, sizeof id.ProductName)));
    return names;
}

void ManagerSession::relist()
{
    TW_IDENTITY unused{};
    if (m_open && toManager(DAT_IDENTITY, TWAINDSM_MSG_RELIST, &unused) != TWRC_SUCCESS)
    {
        TW_STATUS status{}; // its condition is nobody's fault
        toManager(DAT_STATUS, MSG_GET, &status);
    }
}

bool ManagerSession::openSource(const QString &productName, TW_UINT16 *condition, QString *words)
{
    m_source = TW_IDENTITY{};
    CopyName(m_source.ProductName, productName.toLocal8Bit());
    // An empty name would be the manager's default source, which the
    // operator did not choose here.
    if (m_open && !productName.isEmpty() && toManager(DAT_IDENTITY, MSG_OPENDS, &m_source) == TWRC_SUCCESS) {
        m_sourceOpen = true;
        return true;
    }
    TW_STATUS status{};
    if (m_open)
        toManager(DAT_STATUS, MSG_GET, &status);
    *condition = productName.isEmpty() ? TW_UINT16(TWCC_NODS) : status.ConditionCode;
    *words = m_open ? wordsFor(nullptr, status.ConditionCode) : QString();
    return false;
}

TW_UINT16 ManagerSession::sourceCondition(QString *words)
{
    TW_STATUS status{};
    if (!m_sourceOpen || toSource(DG_CONTROL, DAT_STATUS, MSG_GET, &status) != TWRC_SUCCESS)
        return TWCC_BUMMER;
    if (words)
        *words = wordsFor(&m_source, status.ConditionCode);
    return status.ConditionCode;
}

QString ManagerSession::wordsFor(pTW_IDENTITY dest, TW_UINT16 condition)
{
    if (condition == TWCC_SUCCESS)
        return {};
    TW_STATUSUTF8 text{};
    text.Status.ConditionCode = condition;
    if (m_entry(&m_app, dest, DG_CONTROL, DAT_STATUSUTF8, MSG_GET, &text) != TWRC_SUCCESS || !text.UTF8string)
        return {};
    QString words;
    if (const char *bytes = static_cast<const char *>(GlobalLock(text.UTF8string))) {
        const std::size_t size = std::min<std::size_t>(text.Size, GlobalSize(text.UTF8string));
        words = QString::fromUtf8(bytes, int(strnlen(bytes, size))).trimmed();
        GlobalUnlock(text.UTF8string);
    }
    GlobalFree(text.UTF8string);
    return words;
}

} // namespace twainclient
