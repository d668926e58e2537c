// The specimen data source's one entry point.
#include "SpecimenSource.h"

extern "C" __attribute__((visibility("default"))) TW_UINT16 DS_Entry(pTW_IDENTITY pOrigin, TW_UINT32 DG,
                                                                    TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData)
{
    return specimen::SpecimenSource::instance().Entry(pOrigin, DG, DAT, MSG, pData);
}
