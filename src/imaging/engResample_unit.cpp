#include "common/PackageUnits.h"

// The resampler's filter table is constant data: its start and stop only
// count.
void engResample_Initialization() {}
void engResample_Finalization() {}
