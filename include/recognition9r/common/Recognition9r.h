#pragma once
// The package unit: entry points the host calls after loading and before
// unloading the library, the package information table, and the exported
// form variables.

#include "base/r9Export.h"
#include <cstdint>

class TABBYYRecognitionFM;
class TCognitiveRecognitionFM;
class TDocFromScannerFM;
class TPhotoFromCameraFM;
class TSelectRecognizerFM;

/// One unit of the package information table, in start order. A unit with
/// start work carries a start counter: Initialize runs the start work only
/// while the counter is 0 and counts up, Finalize counts down and runs the
/// stop work when the counter is back at 0, so nested Initialize / Finalize
/// pairs start and stop the unit once. The other units (the host's packages,
/// which the host starts itself, and our units without start work) are only
/// listed: all three pointers null.
struct TPackageUnit
{
    const char *UnitName;
    void (*Init)();
    void (*FInit)();
    std::int32_t *StartCount; // null for a unit that is only listed
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
