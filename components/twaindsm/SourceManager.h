#pragma once
// The source manager's state: opened by one application with its parent
// window, the data sources it found when opened, the ones open now, and the
// condition code of its last failure.

#include "SourceLibrary.h"

#include <QString>
#include <utility>
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
    TW_UINT16 userSelect(pTW_IDENTITY origin, pTW_IDENTITY id);
    TW_UINT16 toSource(pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                       TW_MEMREF data);
    /// The words for the status of a failure, when the manager has any.
    TW_UINT16 statusText(TW_UINT16 msg, pTW_STATUSUTF8 st);
    /// Fails with the condition; `words` tell the operator what went wrong,
    /// for a caller that asks (DAT_STATUSUTF8).
    TW_UINT16 fail(TW_UINT16 condition, const QString &words = QString());
    /// The source the default file names, or the first when it names none;
    /// -1 without sources or when the named source is not among them.
    int defaultIndex() const;
    /// Lists the sources afresh (each library reading its devices again),
    /// unless a source is open.
    void relist(pTW_IDENTITY origin);
    int indexOf(const char *productName) const;
    SourceLibrary *openSourceWithId(TW_UINTPTR id);

    bool m_open = false;
    TW_UINTPTR m_parent = 0;
    std::vector<SourceLibrary> m_sources;
    std::size_t m_next = 0;          // MSG_GETFIRST / MSG_GETNEXT position
    TW_UINTPTR m_nextId = 1;
    TW_UINT16 m_condition = TWCC_SUCCESS;
    /// The last failure's condition and its words (empty without any).
    std::pair<TW_UINT16, QString> m_failure{TWCC_SUCCESS, QString()};
};

} // namespace twaindsm
