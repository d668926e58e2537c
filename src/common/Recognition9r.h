#pragma once
// The package unit: entry points the host calls after loading and before
// unloading the library, the package information table, and the exported
// form variables.

#include "common/r9Export.h"
#include <cstdint>

class TABBYYRecognitionFM;
class TCognitiveRecognitionFM;
class TDocFromScannerFM;
class TPhotoFromCameraFM;
class TSelectRecognizerFM;

/// One unit of the package information table, in start order. Units with
/// start work carry a start counter so that work runs once however often
/// Initialize is called; the other units (the host's packages, which the host
/// starts itself, and our units without start work) are only listed.
struct TPackageUnit
{
    const char *UnitName;
    void (*Init)();
    void (*FInit)();
    std::int32_t *StartCount; // null for units of required host packages
};

struct TPackageInfo
{
    std::int32_t UnitCount;
    const TPackageUnit *UnitInfo;
};

/// Runs the start procedures of the table in table order. A failure inside a
/// unit's start propagates to the caller.
R9_API void Initialize();
/// Runs the stop procedures of the started units in reverse table order.
R9_API void Finalize();
R9_API const TPackageInfo *GetPackageInfoTable();

// One variable per form, null at load. The package never creates a form itself.
R9_API TABBYYRecognitionFM *ABBYYRecognitionFM;
R9_API TCognitiveRecognitionFM *CognitiveRecognitionFM;
R9_API TDocFromScannerFM *DocFromScannerFM;
R9_API TPhotoFromCameraFM *PhotoFromCameraFM;
R9_API TSelectRecognizerFM *SelectRecognizerFM;
