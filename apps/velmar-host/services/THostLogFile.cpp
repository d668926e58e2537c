#include "THostLogFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace hostkit {

THostLogFile::THostLogFile(const QString &folder)
    : m_folder(folder.isEmpty() ? DefaultFolder() : folder)
{
}

QString THostLogFile::DefaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Velmar-Q-70");
}

QString THostLogFile::DefaultLogPath() const
{
    return m_folder + QLatin1Char('/') + DefaultFileName();
}

bool THostLogFile::Append(QFile &file, const QString &path, const QByteArray &line)
{
    if (!file.isOpen()) {
        // The log names cameras, users and what the windows said: the
        // user's alone, whatever the umask (a folder that was there before
        // is the user's to keep as it is).
        const QString folder = QFileInfo(path).absolutePath();
        if (!QDir(folder).exists() && QDir().mkpath(folder))
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        file.setFileName(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            return false;
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    return file.write(line) == line.size() && file.flush();
}

void THostLogFile::WriteLogFileMessage(const QString &text, const QTextCodec *, const QString &fileName)
{
    // Messages use a lone carriage return as line break; continuation lines
    // are indented so that every entry starts with its timestamp.
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    body.replace(QLatin1Char('\n'), QStringLiteral("\n\t"));
    const QByteArray line = (QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"))
                             + QLatin1Char('\t') + body + QLatin1Char('\n')).toUtf8();

    if (fileName.isEmpty()) {
        if (!Append(m_default, DefaultLogPath(), line))
            m_default.close(); // try again with the next line
        return;
    }
    const QString path = QDir::isAbsolutePath(fileName) ? fileName : m_folder + QLatin1Char('/') + fileName;
    QFile other;
    Append(other, path, line);
}

} // namespace hostkit
