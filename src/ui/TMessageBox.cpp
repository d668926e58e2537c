#include "ui/TMessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <utility>

namespace ui {

namespace {

MessageBoxHook &hookSlot()
{
    static MessageBoxHook hook;
    return hook;
}

MessageBoxListener &listenerSlot()
{
    static MessageBoxListener listener;
    return listener;
}

QString russianButtonText(QMessageBox::StandardButton b)
{
    switch (b) {
    case QMessageBox::Ok: return QStringLiteral("OK");
    case QMessageBox::Cancel: return QStringLiteral("Отмена");
    case QMessageBox::Yes: return QStringLiteral("Да");
    case QMessageBox::No: return QStringLiteral("Нет");
    case QMessageBox::Abort: return QStringLiteral("Прервать");
    case QMessageBox::Retry: return QStringLiteral("Повтор");
    case QMessageBox::Ignore: return QStringLiteral("Пропустить");
    default: return QString();
    }
}

/// The normal cursor while a box waits for the operator, over an hourglass
/// that long work left on; the hourglass comes back when the box is gone.
class TNormalCursor
{
public:
    TNormalCursor() : m_covered(QApplication::overrideCursor() != nullptr)
    {
        if (m_covered)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~TNormalCursor()
    {
        if (m_covered)
            QApplication::restoreOverrideCursor();
    }
    TNormalCursor(const TNormalCursor &) = delete;
    TNormalCursor &operator=(const TNormalCursor &) = delete;

private:
    bool m_covered;
};

} // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook)
{
    return std::exchange(hookSlot(), std::move(hook));
}

MessageBoxListener SetMessageBoxListener(MessageBoxListener listener)
{
    return std::exchange(listenerSlot(), std::move(listener));
}

QMessageBox::StandardButton ShowMessageBox(QWidget *owner, const QString &text, const QString &caption,
                                           QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                           int languageId)
{
    return ShowMessageBox(MessageBoxCall{owner, text, caption, icon, buttons, languageId, QString()});
}

QMessageBox::StandardButton ShowMessageBox(const MessageBoxCall &call)
{
    // A listener that fails must not keep the operator from the message.
    if (const MessageBoxListener &listener = listenerSlot()) {
        try {
            listener(call);
        } catch (...) {
        }
    }
    TNormalCursor cursor;
    if (const MessageBoxHook &hook = hookSlot())
        return hook(call);

    QString shown = call.text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(call.icon, call.caption, shown, call.buttons, call.owner);
    box.setTextFormat(Qt::PlainText);
    if (call.languageId == LangRussian)
        for (QAbstractButton *b : box.buttons()) {
            const QString t = russianButtonText(box.standardButton(b));
            if (!t.isEmpty())
                b->setText(t);
        }
    return QMessageBox::StandardButton(box.exec());
}

} // namespace ui
