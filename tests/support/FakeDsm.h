#pragma once
// An in-process source manager with its source: records every call that
// reaches DSM_Entry and answers each triplet from a table that a test fills.
// Without an answer a triplet succeeds, except MSG_PROCESSEVENT (not the
// source's event) and DAT_STATUS (the condition code set in `condition`).

#include "twain/TwainTypes.h"

#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace twaintest {

struct FakeCall
{
    bool toSource = false;
    TW_UINT32 dg = 0;
    TW_UINT16 dat = 0;
    TW_UINT16 msg = 0;
};

using FakeAnswer = std::function<TW_UINT16(TW_MEMREF data)>;

class FakeDsm
{
public:
    static FakeDsm &instance();
    static TW_UINT16 Entry(pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                           TW_MEMREF data);

    void reset();
    /// Answers (dat, msg) with the function from now on.
    void answer(TW_UINT16 dat, TW_UINT16 msg, FakeAnswer fn) { m_answers[{dat, msg}] = std::move(fn); }
    /// Answers (dat, msg) with a fixed return code.
    void answerRc(TW_UINT16 dat, TW_UINT16 msg, TW_UINT16 rc)
    {
        answer(dat, msg, [rc](TW_MEMREF) { return rc; });
    }
    int count(TW_UINT16 dat, TW_UINT16 msg) const;
    /// The calls in order, as "DAT/MSG" pairs.
    std::vector<std::pair<TW_UINT16, TW_UINT16>> sequence() const;

    std::vector<FakeCall> calls;
    TW_UINT16 condition = TWCC_SUCCESS;
    TW_IDENTITY lastOrigin{};

private:
    std::map<std::pair<TW_UINT16, TW_UINT16>, FakeAnswer> m_answers;
};

/// A source that answers the next MSG_PROCESSEVENT calls with the given
/// messages (TWRC_DSEVENT), then MSG_NULL, and delivers `pages` native DIBs of
/// 2 x 2 pixels with `announced` pending after each, in order.
void ScriptSource(FakeDsm &dsm, std::vector<TW_UINT16> events, std::vector<TW_UINT16> transferResults,
                  std::vector<TW_UINT16> pendingCounts);

} // namespace twaintest
