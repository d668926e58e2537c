#pragma once
// A character cell's ink against the background right behind it: a band of
// colour, a guilloche line or the edge of a gap in the band is lighter than
// the print, yet dark enough against the paper to pull the correlation off
// the glyph. Flattened, everything lighter than a level between the cell's
// background and its darkest strokes is paper.

#include <vector>

namespace mrz {

/// patch: ink values (dark = high), as the classifier takes them. Leaves a
/// patch without a clear stroke (nothing well above its background) as it is.
void FlattenBackground(std::vector<float> &patch);

} // namespace mrz
