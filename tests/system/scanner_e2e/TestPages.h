#pragma once
// The pages laid on the glass: a document card drawn on an A4 page at
// 300 dpi, as a flatbed scans it, with the person's data in its zone; or a
// card with ordinary text where a zone would be (no document).

#include "PageGenerator.h"

#include <QImage>

namespace scannertest {

/// The card of the zone format ("TD3", "TD1", "RUSPN") with the data, the
/// scan turned by `turn` degrees clockwise.
QImage DocumentPage(const QString &format, const specimens::MrzData &data, int turn = 0);
/// A card of the same look without any zone.
QImage PageWithoutDocument();

} // namespace scannertest
