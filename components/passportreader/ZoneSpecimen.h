#pragma once
// Pages without a description: for the document types that carry a
// machine-readable zone, the fields are read from the zone itself.

#include "MrzReader.h"
#include "SpecimenCatalogue.h"

#include <QImage>
#include <QString>
#include <memory>

namespace passportreader {

/// The document types whose pages carry a machine-readable zone: read from
/// their pixels, they need no description.
const QStringList &TypesWithZone();
bool TypeHasZone(const QString &documentType);

/// The fields of the zone on the page as a specimen of that type (no
/// portrait, no picture file); null when the type has no zone or the page
/// shows none. Symbols read with low confidence or under a failing check
/// digit are listed as untrusted. A zone of another layout, document code
/// (a passport's "P", a card's "I", "A" or "C") or state than the type's is
/// another document's: null. zoneFound (when given) names the layout of any
/// zone found ("TD3", "RUSPN", ...), empty when the page shows none.
std::shared_ptr<const Specimen> SpecimenFromZone(const QImage &page, const QString &documentType,
                                                 QString *zoneFound = nullptr);

/// The zone of the page for a document type: nothing found for a type that
/// carries none.
mrz::MrzResult ReadZoneFor(const QImage &page, const QString &documentType);
/// The fields of a zone read from a page of that type, as SpecimenFromZone
/// gives them; null when the zone is none of the type's.
std::shared_ptr<Specimen> SpecimenFromZoneReading(const mrz::MrzResult &r, const QString &documentType);

} // namespace passportreader
