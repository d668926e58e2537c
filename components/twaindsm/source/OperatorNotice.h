#pragma once
// A fault the operator must read although the call that met it has ended
// (the scan dialog closes with the session, a hidden source has no window,
// the remembered scanner is missing): the text goes to a message box of its
// own. It is shown, not run: it comes from within the application's event
// loop slices (a loop of its own there would nest loops) and stays until the
// operator closes it. It belongs to the caller's window, so the caller's
// modal form does not block it; with no window known it is
// application-modal. The source manager and the data sources share it.

#include "CallerWindow.h"

#include <QString>

class QMessageBox;

namespace twaindsm {

/// The object name of the box, for whoever looks for it.
inline constexpr const char *NoticeName = "scannerNotice";

/// Shows `text` to the operator when widgets can be shown; the box deletes
/// itself when closed. Null without a widget application.
QMessageBox *TellOperator(const QString &text, const twainds::CallerWindow &caller = {});

} // namespace twaindsm
