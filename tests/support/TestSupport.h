#pragma once
#include "ui/TMessageBox.h"
#include <QByteArray>
#include <QJsonObject>
#include <QStringList>
#include <QString>
#include <vector>

class QWidget;

namespace r9test {

/// The temporary home folder of the running test (HOME and XDG_CONFIG_HOME
/// point into it).
QString TestHome();

/// Records every message box shown while it lives and answers each with
/// `answer`, instead of blocking on a modal window.
class MessageBoxRecorder
{
public:
    explicit MessageBoxRecorder(QMessageBox::StandardButton answer = QMessageBox::Ok);
    ~MessageBoxRecorder();
    std::vector<ui::MessageBoxCall> calls;

private:
    ui::MessageBoxHook m_previous;
    QMessageBox::StandardButton m_answer;
};

QByteArray ReadFile(const QString &path);

/// The permission bits of a file or folder itself (a link is not followed); -1 when it is not there.
int ModeOf(const QString &path);

/// The most permissive umask a user could have, for the guard's life.
class PermissiveUmask
{
public:
    PermissiveUmask();
    ~PermissiveUmask();
    PermissiveUmask(const PermissiveUmask &) = delete;
    PermissiveUmask &operator=(const PermissiveUmask &) = delete;

private:
    unsigned m_previous;
};
/// text as a settings file holds it: UTF-16 LE behind a byte-order mark.
QByteArray Utf16LeFile(const QString &text);

/// Runs the reference host (next to the test executable) as a program
/// without a display, in the test's home, and returns its JSON report. A
/// host that does not finish in time or fails is a test failure.
QJsonObject RunReferenceHost(const QStringList &arguments, int timeoutMs = 300000);
/// The same for a run that may fail: its report, exit code and error output.
/// A host that does not finish in time or crashes is a test failure.
struct HostRun
{
    QJsonObject report;
    int exitCode = -1;
    QString errors;
};
HostRun RunReferenceHostAllowingFailure(const QStringList &arguments, int timeoutMs = 300000);
void WriteFile(const QString &path, const QByteArray &bytes);

/// The tooltip a shown window would show for the mouse resting on widget
/// (the widget's own, else the nearest parent's, as Qt passes it up); empty
/// when none would show.
QString ToolTipShownFor(QWidget *widget);

/// Under the address checker, keeps SANE's backend `name` ("test", "pnm")
/// loaded for the process. SANE unloads its backends at its exit, and some
/// keep buffers of their own in their static data: unloaded, those show as
/// leaks of an unnamed module, which they are not. Elsewhere it does nothing.
void KeepSaneBackendLoaded(const char *name);

/// Sets an environment variable for the lifetime of the object.
class EnvSwitch
{
public:
    EnvSwitch(const char *name, const QByteArray &value);
    ~EnvSwitch();
    EnvSwitch(const EnvSwitch &) = delete;
    EnvSwitch &operator=(const EnvSwitch &) = delete;

private:
    QByteArray m_name, m_old;
    bool m_had;
};

} // namespace r9test
