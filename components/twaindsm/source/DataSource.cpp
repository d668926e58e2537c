#include "DataSource.h"

#include "GlobalMemory.h"

#include <cmath>
#include <cstring>

namespace twainds {

TW_UINT32 Fix32Bits(double value)
{
    const auto v = static_cast<int32_t>(std::lround(value * 65536.0));
    const TW_FIX32 f{static_cast<TW_INT16>(v >> 16), static_cast<TW_UINT16>(v & 0xFFFF)};
    TW_UINT32 bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

double Fix32Value(TW_UINT32 bits)
{
    TW_FIX32 f;
    std::memcpy(&f, &bits, sizeof f);
    return f.Whole + f.Frac / 65536.0;
}

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
        case DAT_IDENTITY: return identity(msg, static_cast<pTW_IDENTITY>(data));
        case DAT_CAPABILITY: return capability(msg, static_cast<pTW_CAPABILITY>(data));
        case DAT_USERINTERFACE: return userInterface(msg, static_cast<pTW_USERINTERFACE>(data));
        case DAT_EVENT:
            if (msg == MSG_PROCESSEVENT)
                return processEvent(static_cast<pTW_EVENT>(data));
            break;
        case DAT_PENDINGXFERS: return pendingTransfers(msg, static_cast<pTW_PENDINGXFERS>(data));
        default: break;
        }
    } else if (dg == DG_IMAGE) {
        if (dat == DAT_IMAGENATIVEXFER && msg == MSG_GET)
            return nativeTransfer(static_cast<TW_HANDLE *>(data));
        if (dat == DAT_IMAGEINFO && msg == MSG_GET)
            return imageInfo(static_cast<pTW_IMAGEINFO>(data));
    }
    return fail(TWCC_BADPROTOCOL);
}

TW_UINT16 DataSource::answerQuery(TW_UINT16 msg, pTW_CAPABILITY cap, const specimen::CapValues &values,
                                  specimen::ContainerKind kind)
{
    using specimen::ContainerKind;
    specimen::CapValues shown = values;
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
    cap->hContainer = specimen::MakeContainer(shown, kind, fallback, cap->ConType);
    return cap->hContainer ? TW_UINT16(TWRC_SUCCESS) : fail(TWCC_LOWMEMORY);
}

} // namespace twainds
