#pragma once
// Which layout a zone follows: its rows give the shape (TD1, TD2 or TD3), its
// document code and issuing state whether it is a visa or the Russian
// internal passport of that shape. Decided before the position classes,
// which differ between the layouts of one shape.

#include "CellClassifier.h"
#include "MrzFormat.h"

#include <vector>

namespace mrz {

/// The format of a zone of the shape `shape` from the scores of its cells
/// (one per position): the likeliest letters of its first five positions read
/// as code and state (FormatByCode).
Format FormatOfZone(Format shape, const std::vector<Scores> &scores);

} // namespace mrz
