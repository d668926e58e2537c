#pragma once
// The source selection dialog: a list of the sources' product names with
// the default selected, OK and Cancel.

#include <QStringList>

namespace twaindsm {

/// The index chosen, or -1 when the operator cancelled. A hook installed with
/// TWAINDSM_SetSelectHook answers instead of the dialog.
int ChooseSource(const QStringList &names, int defaultIndex, quintptr parentWindow);

} // namespace twaindsm
