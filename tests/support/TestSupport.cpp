#include "support/TestSupport.h"
#include <QFile>
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

} // namespace r9test
