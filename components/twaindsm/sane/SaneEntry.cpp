// The SANE data source's one entry point.
#include "SaneSource.h"

extern "C" __attribute__((visibility("default"))) TW_UINT16 DS_Entry(pTW_IDENTITY pOrigin, TW_UINT32 DG,
                                                                    TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF pData)
{
    return twainsane::SaneSource::instance().entry(pOrigin, DG, DAT, MSG, pData);
}
