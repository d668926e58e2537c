#pragma once
// Pages without a description of the documents whose printed fields are
// read (the Russian internal passport, foreign passport and driving
// licence): the printed fields join what the zone gave, and the zone's
// values stand where the two differ.

#include "MrzReader.h"
#include "PrintedReader.h"
#include "SpecimenCatalogue.h"

#include <QImage>
#include <QString>
#include <memory>

namespace passportreader {

/// The specimen of a page of that type from its zone's fields (fromZone,
/// null when the page shows no zone of the type's) and its printed fields.
/// A page whose zone is another document's stays null; so does a passport's
/// page without its zone, and a licence's page whose labels are not found.
std::shared_ptr<const Specimen> WithPrintedFields(std::shared_ptr<Specimen> fromZone, const mrz::MrzResult &zone,
                                                  const QImage &page, const QString &documentType);

/// The printed reading joined to the zone's specimen (null: the page shows
/// no zone): a field the zone holds keeps its value and marks, all of its
/// symbols untrusted where the print differs; a field the zone holds in
/// another writing (Latin names, series and number as one, sex in Latin)
/// is the print's;
/// a field only printed is added. Null when the reading found no document
/// and there is no zone.
std::shared_ptr<Specimen> JoinPrinted(std::shared_ptr<Specimen> fromZone, const printed::PrintedReading &reading,
                                      const QString &documentType);

} // namespace passportreader
