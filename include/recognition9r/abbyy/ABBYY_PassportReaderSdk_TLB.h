#pragma once
// The engine's interfaces lie in sdk/, below the package frame that holds
// the scan settings list; hosts built against earlier releases include them
// from here, beside the engine's window.
#include "sdk/ABBYY_PassportReaderSdk_TLB.h"
