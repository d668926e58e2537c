#pragma once
// A fault the operator must read although the call that met it has ended
// (the scan dialog closes with the session, a hidden source has no window,
// the remembered scanner is missing): the text goes to a message box of its
// own. The box is not modal and has no owner: it is shown from within the
// application's event loop slices (a modal box there would nest loops) and
// stays until the operator closes it. The source manager and the data
// sources share it.

#include <QString>

class QMessageBox;

namespace twaindsm {

/// The object name of the box, for whoever looks for it.
inline constexpr const char *NoticeName = "scannerNotice";

/// Shows `text` to the operator when widgets can be shown; the box deletes
/// itself when closed. Null without a widget application.
QMessageBox *TellOperator(const QString &text);

} // namespace twaindsm
