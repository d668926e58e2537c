#pragma once
// The TWAIN layer's module state and its helpers, shared by the layer's
// source files and reachable by the tests (not part of the public header).

#include "twain/MultiTWAIN.h"

#include <QString>
#include <array>
#include <functional>

class QWidget;

namespace twain {

inline constexpr int32_t LayerVersion = 106;
inline constexpr int32_t MaxDibs = 999;
inline constexpr uint32_t CallbackMarker = 0xF0F0F;
/// The source manager's library on this platform.
inline constexpr const char *SourceManagerLibrary = "libtwaindsm.so";

/// Every session variable of the layer, with its initial value.
struct Session
{
    int32_t state = TWAIN_PRESESSION;
    TW_IDENTITY appId{};
    TW_IDENTITY sourceId{};
    void *library = nullptr;
    /// The loader's words for the source manager that could not be loaded.
    QString loadFailure;
    DSMENTRYPROC entry = nullptr;
    int32_t availability = 0; // 0 not yet known, 1 available, -1 not available
    int32_t hideUI = 0;
    TW_USERINTERFACE userInterface{};
    TW_PENDINGXFERS pendingXfers{};
    TWAIN_HWND managerParent = 0;
    TWAIN_HDIB lastNative = nullptr;
    bool closeRequested = false; // the source asked to be closed (MSG_CLOSEDSREQ)
    TW_INT16 resultCode = 0;
    int32_t errorCode = 0;
    int32_t errorResult = 0;
    int32_t errorCondition = 0;
    std::array<TWAIN_HDIB, MaxDibs> dibs{};
    int32_t dibCount = 0;
    hDibCallbackProc callback = nullptr;
    uint32_t callbackMarker = 0;
};

Session &session();
/// The application identity as it is before TWAIN_RegisterApp.
TW_IDENTITY DefaultAppIdentity();

// ---- errors and warnings --------------------------------------------------
/// Keeps the first error since ClearError; codes 2 to 5 also keep the result
/// and condition codes of the moment.
void RecordError(int32_t code);
/// Writes a fault of the scanner (what went wrong, and the source's
/// condition: a paper jam, an empty feeder) to the host's log: the operator
/// may have seen it only in the source's own window.
void LogScannerFault(const QString &what, int32_t condition);
void ClearError();
/// Description of an error code of this layer (empty outside 0 to 13).
QString ErrorDescription(int32_t code);
QString ResultCodeDescription(int32_t rc);
QString ConditionCodeDescription(int32_t cc);
/// An owner-less warning box captioned "TWAIN Error" with the exclamation icon;
/// cause, when given, goes to the log beside the text (the box shows the text alone).
void Warning(const QString &text, const QString &cause = QString());
/// The recorded error for the log: its code and description and, for the
/// failed operations, the result and condition codes.
QString LastErrorCause();
/// The "Assertion failed" box of a failed consistency check. Only the box:
/// each caller decides whether to go on (TWAIN_DS still sends the triplet)
/// or to stop (TWAIN_NativeXferGetAll outside state 6 returns at once).
void AssertionFailed();
/// The words the source manager or the open source has for the recorded
/// error (DG_CONTROL / DAT_STATUSUTF8), asked while the session is still
/// where the error happened; empty when they have none.
QString FailureWords();
/// Tells the operator that an acquisition could not start: in the words the
/// manager or the source has for it, owned by the caller's window (0 or a
/// handle of no window: no owner); without such words, TWAIN_ReportLastError.
void ReportStartFailure(TWAIN_HWND callerWindow);
/// Warning texts that name the source manager's library.
QString LoadFailedText();
QString OpenFailedText();

// ---- FIX32 and item types ---------------------------------------------------
TW_FIX32 ToFix32(double r);
double Fix32ToFloat(TW_FIX32 f);
/// Size of one item of a TWTY_ type (0 to 12); 0 for any other type.
int ItemSize(int itemType);
bool TypeMatch(int a, int b);
/// Rewrites the list of `count` items of `itemType` (TWTY_INT16 or TWTY_UINT16)
/// to the pixel types present in both the list and the mask, ascending; the
/// new count.
uint32_t FilterTypeList(TW_UINT8 *items, uint32_t count, int32_t mask);

// ---- windows ----------------------------------------------------------------
/// The live top-level widget of a window handle, or null.
QWidget *WindowOf(TWAIN_HWND hwnd);
/// The "Acquire Proxy" window (one pixel, frameless, kept off the taskbar),
/// shown; null when it cannot be made.
QWidget *CreateProxyWindow();
/// The application object exists (made on first use for hosts without one).
bool EnsureApplication();

// ---- hooks for tests --------------------------------------------------------
/// Where the source manager is looked for: the host executable's folder, then
/// the loader's search path. A test may name another library file (absolute
/// path or bare name) or, with an entry, replace the library by an in-process
/// function; empty values restore the normal lookup.
void SetSourceManagerOverride(const QString &library, DSMENTRYPROC entry = nullptr);
/// The slice length of the modal loop in milliseconds.
inline constexpr int LoopSliceMs = 10;

/// File dialog answers: `save` tells the save dialog from the open dialog;
/// the hook returns the chosen name or an empty string for Cancel.
using FileDialogHook = std::function<QString(bool save, const QString &filter)>;
FileDialogHook SetFileDialogHook(FileDialogHook hook);
/// Shows the file dialog of the DIB file functions; an empty name when
/// cancelled; ".bmp" appended to a name without extension.
QString AskBitmapFileName(bool save);

/// Resets every session variable to its initial value (tests only: the
/// library is not unloaded).
void ResetSessionForTests();

} // namespace twain
