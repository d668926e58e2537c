// The TWAIN session: module variables, the application identity, loading
// the source manager, the state steps, calls through the entry, condition
// code, availability, and the picture list.
#include "MultiTWAIN_p.h"

#include "platform/GlobalMemory.h"
#include "platform/OwnFolder.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace twain {

namespace {

struct Override
{
    QString library;
    DSMENTRYPROC entry = nullptr;
};

Override &sourceManagerOverride()
{
    static Override o;
    return o;
}

void copyString(char *field, std::size_t fieldSize, const char *text)
{
    // TW_STR32 fields hold at most 33 characters and the terminating zero.
    std::memset(field, 0, fieldSize);
    if (text)
        std::memcpy(field, text, strnlen(text, fieldSize - 1));
}

/// The host executable's folder first; otherwise the bare name, which the
/// loader looks up in the system library folders and on its search path.
QByteArray sourceManagerPath()
{
    const QString name = sourceManagerOverride().library.isEmpty() ? QString::fromLatin1(SourceManagerLibrary)
                                                                   : sourceManagerOverride().library;
    if (QFileInfo(name).isAbsolute())
        return QFile::encodeName(name);
    const QString beside = QDir(r9base::ExecutableFolder()).filePath(name);
    if (QFileInfo::exists(beside))
        return QFile::encodeName(beside);
    return QFile::encodeName(name);
}

} // namespace

Session &session()
{
    static Session s = [] {
        Session init;
        init.appId = DefaultAppIdentity();
        return init;
    }();
    return s;
}

TW_IDENTITY DefaultAppIdentity()
{
    TW_IDENTITY id{};
    id.Id = 0;
    id.Version.MajorNum = 1;
    id.Version.MinorNum = 0;
    id.Version.Language = TWLG_USA;
    id.Version.Country = TWCY_USA;
    copyString(id.Version.Info, sizeof id.Version.Info, "<?>");
    id.ProtocolMajor = 1;
    id.ProtocolMinor = 6;
    id.SupportedGroups = DG_CONTROL | DG_IMAGE;
    copyString(id.Manufacturer, sizeof id.Manufacturer, "<?>");
    copyString(id.ProductFamily, sizeof id.ProductFamily, "<?>");
    copyString(id.ProductName, sizeof id.ProductName, "<?>");
    return id;
}

void SetSourceManagerOverride(const QString &library, DSMENTRYPROC entry)
{
    sourceManagerOverride() = Override{library, entry};
}

void ResetSessionForTests()
{
    Session &s = session();
    if (s.library)
        dlclose(s.library);
    s = Session{};
    s.appId = DefaultAppIdentity();
}

bool EnsureApplication()
{
    if (QCoreApplication::instance())
        return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
    // A host without Qt of its own (a C program) still gets the layer's
    // windows and dialogs: the layer makes the application object once. On
    // a machine without a display (no platform named, no X or Wayland
    // display) a window application would end the process, so it gets one
    // without windows: the scanner scans without its window, and the
    // layer's boxes are not shown.
    static int argc = 1;
    static char arg0[] = "recognition9r";
    static char *argv[] = {arg0, nullptr};
    const bool display = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
                         || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!display) {
        new QCoreApplication(argc, argv);
        return false;
    }
    new QApplication(argc, argv);
    return true;
}

QWidget *WindowOf(TWAIN_HWND hwnd)
{
    if (hwnd == 0 || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return nullptr;
    return QWidget::find(static_cast<WId>(hwnd));
}

QWidget *CreateProxyWindow()
{
    if (!EnsureApplication())
        return nullptr;
    // It only owns the source manager and the source's dialog: the operator
    // is not meant to notice it.
    auto *proxy = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    proxy->setWindowTitle(QStringLiteral("Acquire Proxy"));
    proxy->setObjectName(QStringLiteral("AcquireProxy"));
    proxy->setAttribute(Qt::WA_ShowWithoutActivating);
    proxy->resize(1, 1);
    proxy->show();
    proxy->winId();
    return proxy;
}

} // namespace twain

using twain::session;

extern "C" {

void TWAIN_RegisterApp(uint16_t nMajorNum, uint16_t nMinorNum, uint16_t nLanguage, uint16_t nCountry,
                       const char *lpszVersion, const char *lpszMfg, const char *lpszFamily,
                       const char *lpszProduct)
{
    TW_IDENTITY &id = session().appId;
    id.Id = 0;
    id.Version.MajorNum = nMajorNum;
    id.Version.MinorNum = nMinorNum;
    id.Version.Language = nLanguage;
    id.Version.Country = nCountry;
    twain::copyString(id.Version.Info, sizeof id.Version.Info, lpszVersion);
    id.ProtocolMajor = 1;
    id.ProtocolMinor = 6;
    id.SupportedGroups = DG_CONTROL | DG_IMAGE;
    twain::copyString(id.Manufacturer, sizeof id.Manufacturer, lpszMfg);
    twain::copyString(id.ProductFamily, sizeof id.ProductFamily, lpszFamily);
    twain::copyString(id.ProductName, sizeof id.ProductName, lpszProduct);
}

int32_t TWAIN_LayerVersion(void) { return twain::LayerVersion; }
int32_t TWAIN_State(void) { return session().state; }
TWAIN_BOOL TWAIN_GetHideUI(void) { return session().hideUI; }
void TWAIN_SetHideUI(int32_t fHide) { session().hideUI = fHide != 0 ? 1 : 0; }
int32_t TWAIN_GetResultCode(void) { return session().resultCode; }

void TWAIN_FreeNative(TWAIN_HDIB hdib)
{
    if (hdib)
        GlobalFree(hdib);
}

TW_HANDLE TWAIN_AllocHandle(size_t size) { return GlobalAlloc(GHND, size); }
void *TWAIN_LockHandle(TW_HANDLE h) { return GlobalLock(h); }
TWAIN_BOOL TWAIN_UnlockHandle(TW_HANDLE h) { return GlobalUnlock(h) != 0 ? 1 : 0; }
size_t TWAIN_HandleSize(TW_HANDLE h) { return GlobalSize(h); }
TWAIN_BOOL TWAIN_FreeHandle(TW_HANDLE h) { return h != nullptr && GlobalFree(h) == nullptr ? 1 : 0; }

void TWAIN_RegisterCallback(hDibCallbackProc proc)
{
    session().callback = proc;
    session().callbackMarker = twain::CallbackMarker;
}

void TWAIN_UnRegisterCallback(void)
{
    session().callback = nullptr;
    session().callbackMarker = 0;
}

void TWAIN_ClearDibList(void)
{
    session().dibs.fill(nullptr);
    session().dibCount = 0;
}

int32_t TWAIN_GetNumDibs(void) { return session().dibCount; }

TWAIN_HDIB TWAIN_GetDib(int32_t index)
{
    if (index < 0 || index >= session().dibCount)
        return nullptr;
    return session().dibs[static_cast<std::size_t>(index)];
}

TWAIN_BOOL TWAIN_LoadSourceManager(void)
{
    twain::Session &s = session();
    if (s.state >= TWAIN_SM_LOADED)
        return 1;
    if (DSMENTRYPROC fake = twain::sourceManagerOverride().entry) {
        s.entry = fake;
        s.availability = 1;
        s.state = TWAIN_SM_LOADED;
        return 1;
    }
    const QByteArray path = twain::sourceManagerPath();
    s.library = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    // The loader's words name what was missing; the warning's text does not.
    const auto loaderWords = [] {
        const char *words = dlerror();
        return words ? QString::fromLocal8Bit(words) : QString();
    };
    if (!s.library)
        s.loadFailure = loaderWords();
    if (s.library) {
        s.entry = reinterpret_cast<DSMENTRYPROC>(dlsym(s.library, TWAIN_DSM_ENTRY_NAME));
        if (s.entry) {
            s.availability = 1;
            s.state = TWAIN_SM_LOADED;
        } else {
            s.loadFailure = loaderWords();
            dlclose(s.library);
            s.library = nullptr;
        }
    } else {
        s.entry = nullptr;
    }
    return s.state >= TWAIN_SM_LOADED;
}

TWAIN_BOOL TWAIN_OpenSourceManager(TWAIN_HWND hwnd)
{
    twain::Session &s = session();
    s.managerParent = hwnd;
    TWAIN_LoadSourceManager();
    if (TWAIN_Mgr(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &s.managerParent))
        s.state = TWAIN_SM_OPEN;
    return s.state >= TWAIN_SM_OPEN;
}

TWAIN_BOOL TWAIN_OpenDefaultSource(void)
{
    twain::Session &s = session();
    if (s.state != TWAIN_SM_OPEN)
        return 0;
    s.sourceId.Id = 0;
    s.sourceId.ProductName[0] = '\0';
    if (TWAIN_Mgr(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &s.sourceId))
        s.state = TWAIN_SOURCE_OPEN;
    else
        twain::RecordError(4);
    return s.state == TWAIN_SOURCE_OPEN;
}

TWAIN_BOOL TWAIN_EnableSource(TWAIN_HWND hwnd)
{
    twain::Session &s = session();
    if (s.state != TWAIN_SOURCE_OPEN)
        return 0;
    s.userInterface.ShowUI = s.hideUI == 0 ? 1 : 0;
    s.userInterface.ModalUI = 0;
    s.userInterface.hParent = reinterpret_cast<TW_HANDLE>(hwnd);
    // The source decides while it is enabled whether it can show its window,
    // and the modal loop needs the application object: a host without one
    // (a C program) gets it now, as the proxy window's path gives it.
    twain::EnsureApplication();
    TWAIN_DS(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &s.userInterface);
    if (s.resultCode == TWRC_FAILURE) {
        twain::RecordError(5);
    } else {
        s.state = TWAIN_SOURCE_ENABLED;
        // A new round of transfers: a picture or a close request of an
        // earlier one must not end the modal loop of a host that drives the
        // session itself.
        s.lastNative = nullptr;
        s.closeRequested = false;
    }
    return s.state == TWAIN_SOURCE_ENABLED;
}

TWAIN_BOOL TWAIN_DisableSource(void)
{
    twain::Session &s = session();
    if (s.state == TWAIN_SOURCE_ENABLED && TWAIN_DS(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &s.userInterface))
        s.state = TWAIN_SOURCE_OPEN;
    return s.state <= TWAIN_SOURCE_OPEN;
}

TWAIN_BOOL TWAIN_CloseSource(void)
{
    twain::Session &s = session();
    s.resultCode = 0;
    if (s.state == TWAIN_SOURCE_ENABLED)
        TWAIN_DisableSource();
    if (s.state == TWAIN_SOURCE_OPEN && TWAIN_Mgr(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &s.sourceId))
        s.state = TWAIN_SM_OPEN;
    return s.state <= TWAIN_SM_OPEN;
}

TWAIN_BOOL TWAIN_CloseSourceManager(TWAIN_HWND hwnd)
{
    twain::Session &s = session();
    s.resultCode = 0;
    if (TWAIN_CloseSource()) {
        TWAIN_HWND parent = hwnd;
        if (TWAIN_Mgr(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent))
            s.state = TWAIN_SM_LOADED;
    }
    return s.state <= TWAIN_SM_LOADED;
}

TWAIN_BOOL TWAIN_UnloadSourceManager(void)
{
    twain::Session &s = session();
    if (s.state == TWAIN_SM_LOADED) {
        if (s.library)
            dlclose(s.library);
        s.library = nullptr;
        s.entry = nullptr;
        s.state = TWAIN_PRESESSION;
    }
    return s.state == TWAIN_PRESESSION;
}

TWAIN_BOOL TWAIN_DS(UnsignedInt32 DG, UnsignedInt32 DAT, UnsignedInt32 MSG, void *pData)
{
    twain::Session &s = session();
    if (s.state < TWAIN_SOURCE_OPEN)
        twain::AssertionFailed();
    s.resultCode = TWRC_FAILURE;
    if (s.entry)
        s.resultCode = static_cast<TW_INT16>(
            s.entry(&s.appId, &s.sourceId, DG, static_cast<TW_UINT16>(DAT), static_cast<TW_UINT16>(MSG), pData));
    return s.resultCode == TWRC_SUCCESS;
}

TWAIN_BOOL TWAIN_Mgr(UnsignedInt32 DG, UnsignedInt32 DAT, UnsignedInt32 MSG, void *pData)
{
    twain::Session &s = session();
    s.resultCode = TWRC_FAILURE;
    if (s.entry)
        s.resultCode = static_cast<TW_INT16>(
            s.entry(&s.appId, nullptr, DG, static_cast<TW_UINT16>(DAT), static_cast<TW_UINT16>(MSG), pData));
    return s.resultCode == TWRC_SUCCESS;
}

int32_t TWAIN_GetConditionCode(void)
{
    twain::Session &s = session();
    TW_STATUS status{};
    if (s.state >= TWAIN_SOURCE_OPEN)
        TWAIN_DS(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    else if (s.state == TWAIN_SM_OPEN)
        TWAIN_Mgr(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    else
        return TWCC_SEQERROR;
    if (s.resultCode != TWRC_SUCCESS)
        return TWCC_BUMMER;
    return status.ConditionCode;
}

TWAIN_BOOL TWAIN_IsAvailable(void)
{
    twain::Session &s = session();
    if (s.entry)
        return 1;
    if (s.availability == 0) {
        if (TWAIN_LoadSourceManager()) {
            s.availability = 1;
            TWAIN_UnloadSourceManager();
        } else {
            s.availability = -1;
        }
    }
    return s.availability > 0;
}

} // extern "C"
