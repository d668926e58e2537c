#pragma once
// Adapter to the passport-reader engine: the package's single engine object.

#include "abbyy/ABBYY_PassportReaderSdk_TLB.h"
#include "common/r9Export.h"

/// The process-wide engine; null until InitEngine creates it.
R9_API IRecognitionEnginePtr gl_RecognitionEngine;
