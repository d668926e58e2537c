#include "support/TestSupport.h"

#include <QFileInfo>
#include <dlfcn.h>
#include <QCoreApplication>
#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>
#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>

namespace r9test {

int ModeOf(const QString &path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

PermissiveUmask::PermissiveUmask() : m_previous(::umask(0)) {}

PermissiveUmask::~PermissiveUmask() { ::umask(mode_t(m_previous)); }

MessageBoxRecorder::MessageBoxRecorder(QMessageBox::StandardButton answer)
    : m_answer(answer)
{
    m_previous = ui::SetMessageBoxHook([this](const ui::MessageBoxCall &call) {
        calls.push_back(call);
        return m_answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    ui::SetMessageBoxHook(m_previous);
}

QByteArray ReadFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QByteArray Utf16LeFile(const QString &text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text)
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return bytes;
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file " + path.toStdString());
}

HostRun RunReferenceHostAllowingFailure(const QStringList &arguments, int timeoutMs)
{
    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    host.setProcessEnvironment(env);
    host.setWorkingDirectory(TestHome());
    host.start(QCoreApplication::applicationDirPath() + "/velmar-host", arguments);
    EXPECT_TRUE(host.waitForFinished(timeoutMs));
    HostRun run;
    run.errors = QString::fromLocal8Bit(host.readAllStandardError());
    EXPECT_EQ(host.exitStatus(), QProcess::NormalExit) << "the host crashed: " << run.errors.toStdString();
    run.exitCode = host.exitCode();
    run.report = QJsonDocument::fromJson(host.readAllStandardOutput()).object();
    return run;
}

QJsonObject RunReferenceHost(const QStringList &arguments, int timeoutMs)
{
    const HostRun run = RunReferenceHostAllowingFailure(arguments, timeoutMs);
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    return run.report;
}

QString ToolTipShownFor(QWidget *widget)
{
    QToolTip::hideText();
    const QPoint at(2, 2);
    QHelpEvent event(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

EnvSwitch::EnvSwitch(const char *name, const QByteArray &value)
    : m_name(name), m_old(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name))
{
    qputenv(name, value);
}

EnvSwitch::~EnvSwitch()
{
    if (m_had)
        qputenv(m_name.constData(), m_old);
    else
        qunsetenv(m_name.constData());
}

void KeepSaneBackendLoaded(const char *name)
{
#if defined(__SANITIZE_ADDRESS__)
    // The backends lie in "sane" beside SANE's own library, wherever that is.
    void *sane = dlopen("libsane.so.1", RTLD_NOW | RTLD_LOCAL);
    Dl_info info{};
    if (!sane || !dladdr(dlsym(sane, "sane_init"), &info) || !info.dli_fname)
        return;
    const QString backend = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath()
                            + QStringLiteral("/sane/libsane-%1.so.1").arg(QLatin1String(name));
    // The same object SANE loads by that path, never unloaded from now on.
    dlopen(QFile::encodeName(backend).constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
#else
    (void)name;
#endif
}

} // namespace r9test
