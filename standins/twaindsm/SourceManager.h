#pragma once
// The source manager's state: opened by one application with its parent
// window, the data sources it found when opened, the ones open now, and the
// condition code of its last failure.

#include "SourceLibrary.h"

#include <vector>

namespace twaindsm {

class SourceManager
{
public:
    static SourceManager &instance();

    TW_UINT16 Entry(pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                    TW_MEMREF data);

private:
    TW_UINT16 parent(pTW_IDENTITY origin, TW_UINT16 msg, TW_MEMREF data);
    TW_UINT16 identity(pTW_IDENTITY origin, TW_UINT16 msg, pTW_IDENTITY id);
    TW_UINT16 status(TW_UINT16 msg, pTW_STATUS st);
    TW_UINT16 openSource(pTW_IDENTITY origin, pTW_IDENTITY id);
    TW_UINT16 closeSource(pTW_IDENTITY origin, pTW_IDENTITY id);
    TW_UINT16 userSelect(pTW_IDENTITY id);
    TW_UINT16 toSource(pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                       TW_MEMREF data);
    TW_UINT16 fail(TW_UINT16 condition);
    /// The source the default file names, else the first; -1 with none.
    int defaultIndex() const;
    int indexOf(const char *productName) const;
    SourceLibrary *openSourceWithId(TW_UINTPTR id);

    bool m_open = false;
    TW_UINTPTR m_parent = 0;
    std::vector<SourceLibrary> m_sources;
    std::size_t m_next = 0;          // MSG_GETFIRST / MSG_GETNEXT position
    TW_UINTPTR m_nextId = 1;
    TW_UINT16 m_condition = TWCC_SUCCESS;
};

} // namespace twaindsm
