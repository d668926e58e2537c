// Creation of the engine classes: the server library is loaded once and kept
// for the life of the process, because the objects it hands out run its code.

#include "sdk/ABBYY_PassportReaderSdk_TLB.h"
#include "sdk/PassportReaderServer.h"
#include "platform/OwnFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <dlfcn.h>
#include <mutex>

namespace {

QString GuidText(const GUID &g)
{
    return QStringLiteral("{%1-%2-%3-%4%5-%6%7%8%9%10%11}")
        .arg(g.Data1, 8, 16, QLatin1Char('0'))
        .arg(g.Data2, 4, 16, QLatin1Char('0'))
        .arg(g.Data3, 4, 16, QLatin1Char('0'))
        .arg(g.Data4[0], 2, 16, QLatin1Char('0'))
        .arg(g.Data4[1], 2, 16, QLatin1Char('0'))
        .arg(g.Data4[2], 2, 16, QLatin1Char('0'))
        .arg(g.Data4[3], 2, 16, QLatin1Char('0'))
        .arg(g.Data4[4], 2, 16, QLatin1Char('0'))
        .arg(g.Data4[5], 2, 16, QLatin1Char('0'))
        .arg(g.Data4[6], 2, 16, QLatin1Char('0'))
        .arg(g.Data4[7], 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString HresultText(HRESULT hr)
{
    return QStringLiteral("0x%1").arg(quint32(hr), 8, 16, QLatin1Char('0'));
}

QString DlErrorText()
{
    const char *text = dlerror();
    return text ? QString::fromLocal8Bit(text) : QStringLiteral("unknown loader error");
}

std::mutex g_serversLock;
// Library name -> dlopen handle. Never closed: live objects run code from it.
QHash<QString, void *> g_servers;

void *LoadServerLocked(const QString &libraryName)
{
    if (void *known = g_servers.value(libraryName))
        return known;

    QString firstError;
    // The host's own folder first, as for every other outside library.
    const QString exeFolder = r9base::ExecutableFolder();
    if (!exeFolder.isEmpty() && !libraryName.contains(QLatin1Char('/'))) {
        const QString local = QDir(exeFolder).filePath(libraryName);
        if (QFileInfo::exists(local)) {
            if (void *h = dlopen(QFile::encodeName(local).constData(), RTLD_NOW | RTLD_LOCAL)) {
                g_servers.insert(libraryName, h);
                return h;
            }
            // A library that is there but cannot load is the more telling error.
            firstError = DlErrorText();
        }
    }
    if (void *h = dlopen(QFile::encodeName(libraryName).constData(), RTLD_NOW | RTLD_LOCAL)) {
        g_servers.insert(libraryName, h);
        return h;
    }
    const QString searchError = DlErrorText();
    throw EEngineError(QStringLiteral("The recognition engine server %1 could not be loaded: %2")
                            .arg(libraryName, firstError.isEmpty() ? searchError : firstError),
                        REGDB_E_CLASSNOTREG);
}

} // namespace

void *abbyy::server::Load(const QString &libraryName)
{
    std::lock_guard lock(g_serversLock);
    return LoadServerLocked(libraryName);
}

void *abbyy::server::CreateObject(const QString &libraryName, const CLSID &clsid, const IID &iid)
{
    void *library = Load(libraryName);
    dlerror();
    auto entry = reinterpret_cast<DllGetClassObjectProc>(dlsym(library, "DllGetClassObject"));
    if (!entry)
        throw EEngineError(QStringLiteral("The recognition engine server %1 has no entry point DllGetClassObject: %2")
                                .arg(libraryName, DlErrorText()),
                            CLASS_E_CLASSNOTAVAILABLE);
    void *object = nullptr;
    const HRESULT hr = entry(clsid, iid, &object);
    if (FAILED(hr) || !object)
        throw EEngineError(QStringLiteral("The recognition engine server %1 did not create class %2 (error %3)")
                                .arg(libraryName, GuidText(clsid), HresultText(FAILED(hr) ? hr : E_POINTER)),
                            FAILED(hr) ? hr : E_POINTER);
    return object;
}

namespace {

[[noreturn]] void ThrowRemote(const QString &machineName)
{
    throw EEngineError(QStringLiteral("Creating the recognition engine on another machine (%1) is not supported")
                            .arg(machineName),
                        E_NOTIMPL);
}

} // namespace

IRecognitionEnginePtr CoRecognitionEngine::Create()
{
    return IRecognitionEnginePtr::Attach(static_cast<IRecognitionEngine *>(abbyy::server::CreateObject(
        QString::fromLatin1(PassportReaderServerLibrary), CLASS_RecognitionEngine, IID_IRecognitionEngine)));
}

IRecognitionEnginePtr CoRecognitionEngine::CreateRemote(const QString &machineName)
{
    ThrowRemote(machineName);
}

IInitParamsPtr CoInitParams::Create()
{
    return IInitParamsPtr::Attach(static_cast<IInitParams *>(abbyy::server::CreateObject(
        QString::fromLatin1(PassportReaderServerLibrary), CLASS_InitParams, IID_IInitParams)));
}

IInitParamsPtr CoInitParams::CreateRemote(const QString &machineName)
{
    ThrowRemote(machineName);
}
