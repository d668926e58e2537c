#pragma once
// The one way forms show a message box: owned by the form, with the given
// caption and icon, Russian button texts (language identifier 0x19). Texts use
// lone carriage returns as line breaks; they are shown as line breaks.
//
// Tests install a hook that records each box and answers it instead of
// blocking on a modal window.

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
};

using MessageBoxHook = std::function<QMessageBox::StandardButton(const MessageBoxCall &call)>;

/// Installs (or, with an empty function, removes) the hook; returns the previous one.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

/// Shows the box modally and returns the button pressed. While it waits the
/// cursor is the normal one, also when work in progress shows the hourglass.
QMessageBox::StandardButton ShowMessageBox(QWidget *owner, const QString &text, const QString &caption,
                                           QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                           int languageId = LangRussian);

} // namespace ui
