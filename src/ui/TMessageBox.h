#pragma once
// The one way forms show a message box: owned by the form, with the given
// caption and icon, Russian button texts (language identifier 0x19). Texts use
// lone carriage returns as line breaks; they are shown as line breaks.
//
// Tests install a hook that records each box and answers it instead of
// blocking on a modal window. Apart from that hook, a listener hears of every
// box, shown or answered by the hook: the package logs what the operator is
// told through it.

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace ui {

/// Russian, the language of every box the package shows.
inline constexpr int LangRussian = 0x19;

struct MessageBoxCall
{
    QWidget *owner = nullptr;
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    int languageId = LangRussian;
    /// What a listener may pass on in place of text, where text quotes a
    /// person's data (a date the operator typed); empty: text itself.
    QString logText;
};

using MessageBoxHook = std::function<QMessageBox::StandardButton(const MessageBoxCall &call)>;
using MessageBoxListener = std::function<void(const MessageBoxCall &call)>;

/// Installs (or, with an empty function, removes) the hook; returns the previous one.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

/// Installs (or removes) the listener told of every box before it is shown;
/// returns the previous one.
MessageBoxListener SetMessageBoxListener(MessageBoxListener listener);

/// Shows the box modally and returns the button pressed. While it waits the
/// cursor is the normal one, also when work in progress shows the hourglass.
QMessageBox::StandardButton ShowMessageBox(QWidget *owner, const QString &text, const QString &caption,
                                           QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                           int languageId = LangRussian);

/// The same for a box described whole (with the text for the log).
QMessageBox::StandardButton ShowMessageBox(const MessageBoxCall &call);

} // namespace ui
