#include "SourceManager.h"

#include "DefaultSourceFile.h"
#include "ScannerTexts.h"
#include "platform/GlobalMemory.h"
#include "SelectSourceDialog.h"
#include "TwainDsmHooks.h"

#include <algorithm>
#include <cstring>

namespace twaindsm {

SourceManager &SourceManager::instance()
{
    static SourceManager manager;
    return manager;
}

TW_UINT16 SourceManager::fail(TW_UINT16 condition, const QString &words)
{
    m_condition = condition;
    m_failure = {condition, words};
    return TWRC_FAILURE;
}

TW_UINT16 SourceManager::Entry(pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                               TW_MEMREF data)
{
    if (!origin)
        return fail(TWCC_BADVALUE);
    if (dest)
        return toSource(origin, dest, dg, dat, msg, data);
    if (dg != DG_CONTROL)
        return fail(TWCC_BADPROTOCOL);
    switch (dat) {
    case DAT_PARENT:
        return parent(origin, msg, data);
    case DAT_IDENTITY:
        return identity(origin, msg, static_cast<pTW_IDENTITY>(data));
    case DAT_STATUS:
        return status(msg, static_cast<pTW_STATUS>(data));
    case DAT_STATUSUTF8:
        return statusText(msg, static_cast<pTW_STATUSUTF8>(data));
    default:
        return fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 SourceManager::parent(pTW_IDENTITY origin, TW_UINT16 msg, TW_MEMREF data)
{
    if (!data)
        return fail(TWCC_BADVALUE);
    switch (msg) {
    case MSG_OPENDSM:
        if (m_open)
            return fail(TWCC_SEQERROR);
        std::memcpy(&m_parent, data, sizeof m_parent);
        origin->Id = 1;
        m_sources = DiscoverSources(origin);
        m_next = 0;
        m_open = true;
        m_condition = TWCC_SUCCESS;
        m_failure = {};
        return TWRC_SUCCESS;
    case MSG_CLOSEDSM:
        if (!m_open)
            return fail(TWCC_SEQERROR);
        for (const SourceLibrary &s : m_sources)
            if (s.isOpen())
                return fail(TWCC_SEQERROR);
        m_sources.clear();
        m_open = false;
        m_parent = 0;
        return TWRC_SUCCESS;
    default:
        return fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 SourceManager::identity(pTW_IDENTITY origin, TW_UINT16 msg, pTW_IDENTITY id)
{
    if (!m_open)
        return fail(TWCC_SEQERROR);
    if (!id)
        return fail(TWCC_BADVALUE);
    switch (msg) {
    case MSG_GETDEFAULT: {
        const int i = defaultIndex();
        if (i < 0)
            return fail(TWCC_NODS);
        *id = m_sources[std::size_t(i)].identity;
        return TWRC_SUCCESS;
    }
    case MSG_GETFIRST:
        m_next = 0;
        [[fallthrough]];
    case MSG_GETNEXT:
        if (m_next >= m_sources.size())
            return TWRC_ENDOFLIST;
        *id = m_sources[m_next++].identity;
        return TWRC_SUCCESS;
    case MSG_USERSELECT:
        return userSelect(origin, id);
    case MSG_OPENDS:
        return openSource(origin, id);
    case MSG_CLOSEDS:
        return closeSource(origin, id);
    case TWAINDSM_MSG_RELIST:
        // An application that offers the operator its own list of scanners
        // has them read again as the selection dialog's "Искать снова" does.
        relist(origin);
        return TWRC_SUCCESS;
    default:
        return fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 SourceManager::status(TW_UINT16 msg, pTW_STATUS st)
{
    if (msg != MSG_GET || !st)
        return fail(TWCC_BADPROTOCOL);
    st->ConditionCode = m_condition;
    st->Data = 0;
    m_condition = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

TW_UINT16 SourceManager::statusText(TW_UINT16 msg, pTW_STATUSUTF8 st)
{
    if (msg != MSG_GET || !st)
        return fail(TWCC_BADPROTOCOL);
    // Only the failure the manager has words for: a status it cannot
    // describe better than its code is left to the caller.
    const bool described = !m_failure.second.isEmpty() && st->Status.ConditionCode == m_failure.first;
    const QByteArray text = described ? m_failure.second.toUtf8() : QByteArray();
    if (text.isEmpty())
        return fail(TWCC_BADVALUE);
    const TW_HANDLE block = GlobalAlloc(GHND, std::size_t(text.size()) + 1);
    if (!block)
        return fail(TWCC_LOWMEMORY);
    std::memcpy(GlobalLock(block), text.constData(), std::size_t(text.size()));
    GlobalUnlock(block);
    st->Size = TW_UINT32(text.size() + 1);
    st->UTF8string = block;
    return TWRC_SUCCESS;
}

int SourceManager::indexOf(const char *productName) const
{
    for (std::size_t i = 0; i < m_sources.size(); ++i)
        if (std::strncmp(m_sources[i].identity.ProductName, productName, sizeof(TW_STR32)) == 0)
            return int(i);
    return -1;
}

int SourceManager::defaultIndex() const
{
    const QString remembered = ReadDefaultSource();
    if (remembered.isEmpty())
        return m_sources.empty() ? -1 : 0;
    return indexOf(remembered.toLocal8Bit().constData());
}

void SourceManager::relist(pTW_IDENTITY origin)
{
    // An open source keeps its place in the list.
    for (const SourceLibrary &s : m_sources)
        if (s.isOpen())
            return;
    m_sources = DiscoverSources(origin, Listing::Afresh);
}

TW_UINT16 SourceManager::userSelect(pTW_IDENTITY origin, pTW_IDENTITY id)
{
    // The sources the session found: listing them afresh can take seconds
    // (backends probing their buses), so that waits for the operator to ask.
    auto listed = [this] {
        SourceChoice choice;
        for (const SourceLibrary &s : m_sources)
            choice.names << s.productName();
        choice.defaultIndex = defaultIndex();
        return choice;
    };
    const int chosen = ChooseSource(listed(), m_parent, [this, origin, &listed] {
        relist(origin);
        return listed();
    });
    if (chosen < 0 || std::size_t(chosen) >= m_sources.size())
        return m_sources.empty() ? fail(TWCC_NODS) : TW_UINT16(TWRC_CANCEL);
    const SourceLibrary &source = m_sources[std::size_t(chosen)];
    WriteDefaultSource(source.productName());
    *id = source.identity;
    return TWRC_SUCCESS;
}

TW_UINT16 SourceManager::openSource(pTW_IDENTITY origin, pTW_IDENTITY id)
{
    // An empty product name asks for the default source. A remembered
    // scanner that is missing (switched off, unplugged) is not replaced by
    // another: the document would come from a scanner the operator did not
    // choose, the specimen scanner among them. Nor is it looked for again:
    // with no scanner attached every scan would wait seconds for the same
    // list; the operator searches again in the source list.
    const bool asDefault = id->ProductName[0] == '\0';
    const int i = asDefault ? defaultIndex() : indexOf(id->ProductName);
    if (i < 0) {
        // The caller tells the operator, in words it asks for with
        // DAT_STATUSUTF8: a box of the manager's own beside the caller's
        // would be two for one fault.
        const QString remembered = ReadDefaultSource();
        if (asDefault && !remembered.isEmpty())
            return fail(TWCC_NODS, QString::fromUtf8(texts::RememberedScannerNotFound).arg(remembered));
        return fail(TWCC_NODS);
    }
    SourceLibrary &source = m_sources[std::size_t(i)];
    if (source.isOpen())
        return fail(TWCC_MAXCONNECTIONS);
    if (!LoadSource(source))
        return fail(TWCC_OPERATIONERROR);
    TW_IDENTITY opened = source.identity;
    opened.Id = ++m_nextId;
    const TW_UINT16 rc = source.entry(origin, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &opened);
    if (rc != TWRC_SUCCESS) {
        TW_STATUS st{};
        source.entry(origin, DG_CONTROL, DAT_STATUS, MSG_GET, &st);
        // The source's words for why it would not open go to the caller
        // with the manager's failure: the source has no window of the
        // caller's yet, and a box of its own would be one more.
        TW_STATUSUTF8 words{};
        words.Status = st;
        QString told;
        if (source.entry(origin, DG_CONTROL, DAT_STATUSUTF8, MSG_GET, &words) == TWRC_SUCCESS && words.UTF8string) {
            if (const auto *text = static_cast<const char *>(GlobalLock(words.UTF8string)))
                told = QString::fromUtf8(text, qsizetype(strnlen(text, std::min<std::size_t>(
                                                                           words.Size, GlobalSize(words.UTF8string)))));
            GlobalUnlock(words.UTF8string);
            GlobalFree(words.UTF8string);
        }
        UnloadSource(source);
        return fail(st.ConditionCode != TWCC_SUCCESS ? st.ConditionCode : TWCC_OPERATIONERROR, told);
    }
    source.identity.Id = opened.Id;
    *id = source.identity;
    m_failure = {};
    return TWRC_SUCCESS;
}

TW_UINT16 SourceManager::closeSource(pTW_IDENTITY origin, pTW_IDENTITY id)
{
    SourceLibrary *source = openSourceWithId(id->Id);
    if (!source)
        return fail(TWCC_NODS);
    const TW_UINT16 rc = source->entry(origin, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, id);
    if (rc != TWRC_SUCCESS)
        return fail(TWCC_SEQERROR);
    UnloadSource(*source);
    source->identity.Id = 0;
    return TWRC_SUCCESS;
}

SourceLibrary *SourceManager::openSourceWithId(TW_UINTPTR id)
{
    for (SourceLibrary &s : m_sources)
        if (s.isOpen() && s.identity.Id == id)
            return &s;
    return nullptr;
}

TW_UINT16 SourceManager::toSource(pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32 dg, TW_UINT16 dat,
                                  TW_UINT16 msg, TW_MEMREF data)
{
    // Event processing, capabilities, transfers and the rest go to the open
    // source the destination names.
    SourceLibrary *source = m_open ? openSourceWithId(dest->Id) : nullptr;
    if (!source)
        return fail(TWCC_BADDEST);
    return source->entry(origin, dg, dat, msg, data);
}

} // namespace twaindsm
