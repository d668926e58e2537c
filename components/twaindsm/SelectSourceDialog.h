#pragma once
// The source selection dialog: a list of the sources' product names with
// the default selected, "Искать снова" (the sources found afresh), OK and
// Cancel.

#include <QStringList>

#include <functional>

namespace twaindsm {

/// The sources and the default's index, as listed now.
struct SourceChoice
{
    QStringList names;
    int defaultIndex = -1;
};

/// The index chosen in the list last shown, or -1 when the operator
/// cancelled. `searchAgain` lists the sources afresh when the operator asks
/// to. A hook installed with TWAINDSM_SetSelectHook answers instead of the
/// dialog.
int ChooseSource(SourceChoice sources, quintptr parentWindow, const std::function<SourceChoice()> &searchAgain);

} // namespace twaindsm
