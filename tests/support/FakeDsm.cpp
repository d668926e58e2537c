#include "FakeDsm.h"

#include "DibBuilder.h"

#include <memory>

namespace twaintest {

FakeDsm &FakeDsm::instance()
{
    static FakeDsm dsm;
    return dsm;
}

void FakeDsm::reset()
{
    calls.clear();
    m_answers.clear();
    condition = TWCC_SUCCESS;
    lastOrigin = TW_IDENTITY{};
}

TW_UINT16 FakeDsm::Entry(pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                         TW_MEMREF data)
{
    FakeDsm &self = instance();
    self.calls.push_back(FakeCall{dest != nullptr, dg, dat, msg});
    if (origin)
        self.lastOrigin = *origin;
    const auto found = self.m_answers.find({dat, msg});
    if (found != self.m_answers.end() && found->second)
        return found->second(data);
    if (dat == DAT_STATUS) {
        static_cast<pTW_STATUS>(data)->ConditionCode = self.condition;
        return TWRC_SUCCESS;
    }
    if (dat == DAT_EVENT)
        return TWRC_NOTDSEVENT;
    return TWRC_SUCCESS;
}

int FakeDsm::count(TW_UINT16 dat, TW_UINT16 msg) const
{
    int n = 0;
    for (const FakeCall &c : calls)
        n += (c.dat == dat && c.msg == msg) ? 1 : 0;
    return n;
}

std::vector<std::pair<TW_UINT16, TW_UINT16>> FakeDsm::sequence() const
{
    std::vector<std::pair<TW_UINT16, TW_UINT16>> s;
    for (const FakeCall &c : calls)
        s.emplace_back(c.dat, c.msg);
    return s;
}

void ScriptSource(FakeDsm &dsm, std::vector<TW_UINT16> events, std::vector<TW_UINT16> transferResults,
                  std::vector<TW_UINT16> pendingCounts)
{
    auto eventQueue = std::make_shared<std::vector<TW_UINT16>>(std::move(events));
    dsm.answer(DAT_EVENT, MSG_PROCESSEVENT, [eventQueue](TW_MEMREF data) -> TW_UINT16 {
        auto *event = static_cast<pTW_EVENT>(data);
        if (eventQueue->empty()) {
            event->TWMessage = MSG_NULL;
            return TWRC_NOTDSEVENT;
        }
        event->TWMessage = eventQueue->front();
        eventQueue->erase(eventQueue->begin());
        return TWRC_DSEVENT;
    });
    auto results = std::make_shared<std::vector<TW_UINT16>>(std::move(transferResults));
    dsm.answer(DAT_IMAGENATIVEXFER, MSG_GET, [results](TW_MEMREF data) -> TW_UINT16 {
        auto *out = static_cast<TW_HANDLE *>(data);
        if (results->empty())
            return TWRC_FAILURE;
        const TW_UINT16 rc = results->front();
        results->erase(results->begin());
        if (rc == TWRC_XFERDONE)
            *out = ToBlock(BuildDib(DibKind{2, 2, 24}));
        return rc;
    });
    auto counts = std::make_shared<std::vector<TW_UINT16>>(std::move(pendingCounts));
    dsm.answer(DAT_PENDINGXFERS, MSG_ENDXFER, [counts](TW_MEMREF data) -> TW_UINT16 {
        auto *pending = static_cast<pTW_PENDINGXFERS>(data);
        pending->Count = 0;
        if (!counts->empty()) {
            pending->Count = counts->front();
            counts->erase(counts->begin());
        }
        return TWRC_SUCCESS;
    });
}

} // namespace twaintest
