#include "support/TestSupport.h"
#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>
#include <stdexcept>

namespace r9test {

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

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file " + path.toStdString());
}

QJsonObject RunReferenceHost(const QStringList &arguments, int timeoutMs)
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
    EXPECT_EQ(host.exitCode(), 0) << host.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(host.readAllStandardOutput()).object();
}

} // namespace r9test
