#include "abbyy/engUtilsABBYY9r.h"
#include "common/PackageUnits.h"

IRecognitionEnginePtr gl_RecognitionEngine;

void engUtilsABBYY9r_Initialization() {}

// At unload the engine is only released, never closed: the host closes it with
// CloseEngine while it still can.
void engUtilsABBYY9r_Finalization()
{
    if (gl_RecognitionEngine)
        gl_RecognitionEngine = nullptr;
}
