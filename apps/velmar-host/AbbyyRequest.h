#pragma once
// One request of the host to the passport-reader recognition window: the form
// is created, filled with the document types and (for an existing person) the
// current values, shown modally, read back after OK and freed. The host
// reaches the form through its exported functions and variables (by name) and
// through the public members of its controls.

#include "PersonRecord.h"
#include "RecognitionWindowRun.h"

#include <QJsonObject>
#include <QString>
#include <functional>
#include <optional>

class PackageLoader;
class TABBYYRecognitionFM;

struct AbbyyRequest
{
    /// Existing person: the form opens on its edit sub-page with these values.
    std::optional<PersonRecord> current;
    /// The document type to select first; empty: the first one.
    QString documentType;
    /// Runs once the form is shown modally (the scripted operator); empty: a
    /// person at the display works the form.
    std::function<void(TABBYYRecognitionFM *form)> operate;
};

struct AbbyyResult : RecognitionResult
{
    bool fioOnLatin = false;
};

/// The report entry of a result, with the Latin-names wish.
QJsonObject AbbyyResultEntry(const AbbyyResult &r, const QString &folder);

/// Runs one request through the loaded package (the engine must be started).
AbbyyResult RunAbbyyRequest(const PackageLoader &package, const AbbyyRequest &request);

/// The results of the form's active sub-page, as the host reads them after OK.
PersonRecord ReadFormRecord(const TABBYYRecognitionFM *form);

