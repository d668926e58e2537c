#pragma once
// The printed fields of a page read from its pixels, under the field names
// of its form: the Russian internal passport's ("Passport1") beside its
// zone's, the Russian foreign passport's ("InoPas1") and the driving
// licence's ("DRVL").

#include "EngineState.h"
#include "PrintedReader.h"

#include <QByteArray>
#include <map>

namespace scproxy {

struct PrintedFormField
{
    engine::FieldResult result;
    bool againstZone = false; ///< the print differs from the zone, whose value it holds
};
using PrintedForm = std::map<QByteArray, PrintedFormField>;

/// The printed reading's fields of a document of that kind as the form's
/// fields: a value read with low confidence, or one the zone's value stands
/// against, is doubtful; one not found is empty and in error, and so is
/// every field when the print could not be read at all.
PrintedForm PrintedFormFields(const printed::PrintedReading &reading);

/// Joins the printed fields to those read from the zone: a field the zone
/// holds keeps the zone's value and marks, and becomes doubtful where the
/// print differs from it (one not found in print leaves it as it is); a
/// field the zone left empty, and one only printed, is the print's.
void JoinPrintedFields(std::map<QByteArray, engine::FieldResult> &zoneFields, const PrintedForm &printedFields);

/// The printed fields alone, for a form read without a zone.
std::map<QByteArray, engine::FieldResult> FormFieldResults(const PrintedForm &printedFields);

} // namespace scproxy
