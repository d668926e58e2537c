#pragma once
// Moved to base/, below every folder of the package; hosts built against
// earlier releases include it from here.
#include "base/r9Export.h"
