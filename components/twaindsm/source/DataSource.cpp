#include "DataSource.h"

#include "platform/GlobalMemory.h"

#include <cstring>

namespace twainds {

TW_UINT16 DataSource::fail(TW_UINT16 condition)
{
    return fail(condition, QByteArray());
}

TW_UINT16 DataSource::fail(TW_UINT16 condition, const QByteArray &words)
{
    m_condition = condition;
    m_wordsCondition = condition;
    m_words = words;
    return TWRC_FAILURE;
}

void DataSource::remember(TW_UINT16 condition, const QByteArray &words)
{
    fail(condition, words);
}

TW_UINT16 DataSource::statusWords(pTW_STATUSUTF8 st)
{
    // Only the failure the source has words for; other statuses are left
    // to the caller's own words. (Answering fails without touching them.)
    if (m_words.isEmpty() || st->Status.ConditionCode != m_wordsCondition) {
        m_condition = TWCC_BADVALUE;
        return TWRC_FAILURE;
    }
    const TW_HANDLE block = GlobalAlloc(GHND, std::size_t(m_words.size()) + 1);
    if (!block) {
        m_condition = TWCC_LOWMEMORY;
        return TWRC_FAILURE;
    }
    std::memcpy(GlobalLock(block), m_words.constData(), std::size_t(m_words.size()));
    GlobalUnlock(block);
    st->Size = TW_UINT32(m_words.size() + 1);
    st->UTF8string = block;
    return TWRC_SUCCESS;
}

TW_UINT16 DataSource::Entry(pTW_IDENTITY, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data)
{
    if (dg == DG_CONTROL && dat == DAT_STATUS && msg == MSG_GET && data) {
        auto *status = static_cast<pTW_STATUS>(data);
        status->ConditionCode = m_condition;
        status->Data = 0;
        m_condition = TWCC_SUCCESS;
        return TWRC_SUCCESS;
    }
    if (dg == DG_CONTROL && dat == DAT_STATUSUTF8 && msg == MSG_GET && data)
        return statusWords(static_cast<pTW_STATUSUTF8>(data));
    if (!data)
        return fail(TWCC_BADVALUE);
    if (dg == DG_CONTROL) {
        switch (dat) {
        case DAT_IDENTITY: return identityCall(msg, static_cast<pTW_IDENTITY>(data));
        case DAT_CAPABILITY: return capabilityCall(msg, static_cast<pTW_CAPABILITY>(data));
        case DAT_USERINTERFACE: return userInterfaceCall(msg, static_cast<pTW_USERINTERFACE>(data));
        case DAT_EVENT:
            if (msg == MSG_PROCESSEVENT)
                return eventCall(static_cast<pTW_EVENT>(data));
            break;
        case DAT_PENDINGXFERS: return pendingTransfersCall(msg, static_cast<pTW_PENDINGXFERS>(data));
        default: break;
        }
    } else if (dg == DG_IMAGE) {
        if (dat == DAT_IMAGENATIVEXFER && msg == MSG_GET)
            return transferCall(static_cast<TW_HANDLE *>(data));
        if (dat == DAT_IMAGEINFO && msg == MSG_GET)
            return imageInfoCall(static_cast<pTW_IMAGEINFO>(data));
    }
    return fail(TWCC_BADPROTOCOL);
}

TW_UINT16 DataSource::identityCall(TW_UINT16 msg, pTW_IDENTITY id)
{
    switch (msg) {
    case MSG_OPENDS: {
        if (m_state != Closed)
            return fail(alreadyOpen());
        const TW_UINT16 rc = open(id);
        if (rc == TWRC_SUCCESS)
            m_state = Open;
        return rc;
    }
    case MSG_CLOSEDS:
        if (m_state != Open)
            return fail(TWCC_SEQERROR);
        close();
        m_state = Closed;
        return TWRC_SUCCESS;
    default: return identity(msg, id);
    }
}

TW_UINT16 DataSource::capabilityCall(TW_UINT16 msg, pTW_CAPABILITY cap)
{
    if (m_state < Open)
        return fail(TWCC_SEQERROR);
    if (const TW_UINT16 refused = capabilitiesRefused(); refused != TWCC_SUCCESS)
        return fail(refused);
    const std::optional<CapValues> values = capValues(cap->Cap);
    if (!values)
        return fail(TWCC_BADCAP);
    switch (msg) {
    case MSG_GET:
    case MSG_GETCURRENT:
    case MSG_GETDEFAULT: return answerQuery(msg, cap, *values, answerContainer());
    case MSG_SET: {
        // Capabilities are negotiated before the source is enabled.
        if (m_state != Open)
            return fail(TWCC_SEQERROR);
        const std::optional<SetRequest> asked = ReadSetContainer(*cap, values->itemType);
        if (!asked)
            return fail(TWCC_BADVALUE);
        return setCapability(cap->Cap, *values, *asked);
    }
    default: return fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 DataSource::userInterfaceCall(TW_UINT16 msg, pTW_USERINTERFACE ui)
{
    if (msg == MSG_ENABLEDS) {
        if (m_state != Open)
            return fail(TWCC_SEQERROR);
        m_pending = MSG_NULL;
        const TW_UINT16 rc = enable(*ui);
        if (rc == TWRC_SUCCESS)
            m_state = Enabled;
        return rc;
    }
    if (msg == MSG_DISABLEDS) {
        if (m_state != Enabled)
            return fail(TWCC_SEQERROR);
        disable();
        // What the source had to say while it was disabled is not for the caller.
        m_pending = MSG_NULL;
        m_state = Open;
        return TWRC_SUCCESS;
    }
    return fail(TWCC_BADPROTOCOL);
}

TW_UINT16 DataSource::eventCall(pTW_EVENT event)
{
    if (m_state < Enabled)
        return fail(TWCC_SEQERROR);
    event->TWMessage = MSG_NULL;
    if (m_state == Enabled)
        lookForNews();
    if (m_state != Enabled || m_pending == MSG_NULL)
        return TWRC_NOTDSEVENT;
    event->TWMessage = m_pending;
    if (m_pending == MSG_XFERREADY) {
        m_state = TransferReady;
        transfersBegin();
    }
    m_pending = MSG_NULL;
    return TWRC_DSEVENT;
}

TW_UINT16 DataSource::transferCall(TW_HANDLE *out)
{
    if (m_state != TransferReady)
        return fail(TWCC_SEQERROR);
    *out = nullptr;
    const TW_UINT16 rc = nativeTransfer(out);
    // A cancelled transfer is ended as a delivered one is.
    if (rc == TWRC_XFERDONE || rc == TWRC_CANCEL)
        m_state = Transferring;
    return rc;
}

TW_UINT16 DataSource::pendingTransfersCall(TW_UINT16 msg, pTW_PENDINGXFERS pending)
{
    switch (msg) {
    case MSG_ENDXFER:
        if (m_state != Transferring)
            return fail(TWCC_SEQERROR);
        transferEnded();
        pending->Count = transfersLeft();
        m_state = pending->Count != 0 ? TransferReady : Enabled;
        if (m_state == Enabled)
            transfersEnded();
        return TWRC_SUCCESS;
    case MSG_RESET:
        if (m_state != TransferReady)
            return fail(TWCC_SEQERROR);
        dropTransfers();
        pending->Count = 0;
        m_state = Enabled;
        transfersEnded();
        return TWRC_SUCCESS;
    case MSG_GET:
        if (m_state < Open)
            return fail(TWCC_SEQERROR);
        pending->Count = m_state >= TransferReady ? transfersLeft() : TW_UINT16(0);
        return TWRC_SUCCESS;
    default: return fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 DataSource::imageInfoCall(pTW_IMAGEINFO info)
{
    if (m_state != TransferReady)
        return fail(TWCC_SEQERROR);
    return imageInfo(info);
}

TW_UINT16 DataSource::answerQuery(TW_UINT16 msg, pTW_CAPABILITY cap, const CapValues &values, ContainerKind kind)
{
    CapValues shown = values;
    ContainerKind fallback = ContainerKind::OneValue;
    switch (msg) {
    case MSG_GET:
        if (values.allowed.size() > 1)
            fallback = ContainerKind::Enumeration;
        break;
    case MSG_GETDEFAULT: shown.current = values.defaultValue; break;
    case MSG_GETCURRENT: break;
    default: return fail(TWCC_BADPROTOCOL);
    }
    cap->hContainer = MakeContainer(shown, kind, fallback, cap->ConType);
    return cap->hContainer ? TW_UINT16(TWRC_SUCCESS) : fail(TWCC_LOWMEMORY);
}

} // namespace twainds
