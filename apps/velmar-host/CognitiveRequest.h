#pragma once
// One request of the host to the Scanify recognition window: the window is
// created, put on its add page or (for an existing person) its edit page with
// the current values, shown modally, read back after OK and freed.

#include "PersonRecord.h"
#include "RecognitionWindowRun.h"

#include <QString>
#include <functional>
#include <optional>

class PackageLoader;
class TCognitiveRecognitionFM;

struct CognitiveRequest
{
    /// Existing person: the window opens on its edit page with these values.
    std::optional<PersonRecord> current;
    /// Runs once the window is shown modally (the scripted operator); empty:
    /// a person at the display works the window.
    std::function<void(TCognitiveRecognitionFM *form)> operate;
};

using CognitiveResult = RecognitionResult;

/// Runs one request through the loaded package (the engine must be started).
CognitiveResult RunCognitiveRequest(const PackageLoader &package, const CognitiveRequest &request);

/// The results of the window's active data page with the marking of each
/// field (pale yellow: doubtful, light red: wrong) and FDocumentName.
PersonRecord ReadCognitiveRecord(const TCognitiveRecognitionFM *form);
