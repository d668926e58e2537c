#pragma once
// A fault the operator must read although the acquisition has ended: the
// scan dialog closes with the session, so the text goes to a message box of
// its own. The box is not modal and has no owner: it is shown from within the
// application's event loop slices (a modal box there would nest loops) and
// stays until the operator closes it.

#include <QString>

class QMessageBox;

namespace twainsane {

/// The object name of the box, for whoever looks for it.
inline constexpr const char *NoticeName = "twainsaneNotice";

/// Shows `text` to the operator when widgets can be shown; the box deletes
/// itself when closed. Null without a widget application.
QMessageBox *TellOperator(const QString &text);

} // namespace twainsane
