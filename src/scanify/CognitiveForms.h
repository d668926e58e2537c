#pragma once
// What the Scanify window makes of a recognised document: the kinds of
// document it knows by the identifier of the engine's recognition form, with
// the name it gives the host, the engine field of the holder's photo, and
// which engine field goes into which of the window's result fields.

#include "common/RecognitionFields.h"
#include "base/ResString.h"

#include <QString>
#include <cstdint>
#include <span>

namespace scanify {

struct TFieldMapping
{
    enum EmptyFlag { NoFlag, LastNameEmpty, FirstNameEmpty };
    const char *engineField;
    recognition::TResultField target;
    /// Which run flag takes FillDocumentCtrl's "empty" answer for this field.
    EmptyFlag emptyFlag = NoFlag;
};

struct TCognitiveForm
{
    const char *const *identifiers; ///< null-terminated list of form identifiers
    const ResString *documentName;  ///< FDocumentName
    const char *photoField;
    const TFieldMapping *fields;
    std::size_t fieldCount;
    /// The zone section of the configuration file whose turn
    /// ("ZoneProcessingParam", clockwise degrees) the engine applies to the
    /// page before it reads this form; null when it reads the page as scanned.
    const char *turnZone = nullptr;

    /// The fields in the order they are filled; two mappings to one target
    /// are joined in it with a blank.
    std::span<const TFieldMapping> Fields() const { return {fields, fieldCount}; }
};

/// The kind of document of a form identifier (exact, case-sensitive); null
/// for one the window does not support.
const TCognitiveForm *FindCognitiveForm(const QString &formIdentifier);

/// The most fields of one recognition form the window lists in the protocol.
inline constexpr std::int32_t MaxFormFields = 1024;

/// A file the engine names inside a package folder: folder, separator, the
/// file's own name. Only the last part of the name counts, so a name can
/// never lead out of the package folder.
QString InPackageFolder(const QString &packageFolder, const QString &fileName);

} // namespace scanify
