#pragma once
// What every data source of the source manager shares: the one entry
// point's routing of the triplets, the TWAIN states with the triplets each
// state allows, the condition code of the last failure with the DAT_STATUS
// answer, and the capability queries answered from a capability's values.
//
// A source keeps what is its own: how it opens, what its capabilities are
// and take, how it scans and what it hands over. Its handlers are called
// only in a state that allows their triplet (any other fails with
// TWCC_SEQERROR before them) and the state moves on here when they succeed:
// 3 closed, 4 open, 5 enabled, 6 transfer ready, 7 transferring.

#include "Capabilities.h"

#include <QByteArray>
#include <optional>

namespace twainds {

class DataSource
{
public:
    virtual ~DataSource() = default;

    /// DS_Entry: DAT_STATUS and DAT_STATUSUTF8 are answered here in any
    /// state, every other triplet the source knows goes to its handler in
    /// the states that allow it, the rest fail with TWCC_BADPROTOCOL.
    TW_UINT16 Entry(pTW_IDENTITY origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

protected:
    /// States 1 and 2 are the manager's.
    enum State { Closed = 3, Open = 4, Enabled = 5, TransferReady = 6, Transferring = 7 };
    State state() const { return m_state; }

    /// Records the condition code and answers TWRC_FAILURE.
    TW_UINT16 fail(TW_UINT16 condition);
    /// The same with the words for the operator (UTF-8), which the caller
    /// asks for with DAT_STATUSUTF8 and shows.
    TW_UINT16 fail(TW_UINT16 condition, const QByteArray &words);
    /// Records a failure with its words where no call fails with it (a
    /// scan that ends badly between calls): the caller asks for them when
    /// the transfer does not come.
    void remember(TW_UINT16 condition, const QByteArray &words);

    /// DAT_IDENTITY other than opening and closing (MSG_GET and whatever
    /// listing the source has), in any state.
    virtual TW_UINT16 identity(TW_UINT16 msg, pTW_IDENTITY id) = 0;
    /// MSG_OPENDS, closed; open after TWRC_SUCCESS.
    virtual TW_UINT16 open(pTW_IDENTITY id) = 0;
    /// What MSG_OPENDS fails with while the source is open.
    virtual TW_UINT16 alreadyOpen() const { return TWCC_SEQERROR; }
    /// MSG_CLOSEDS, open; closed after it.
    virtual void close() = 0;

    /// Why no capability is answered now (TWCC_SUCCESS: they are), asked
    /// before the capability is looked up.
    virtual TW_UINT16 capabilitiesRefused() const { return TWCC_SUCCESS; }
    /// A capability's values; none for one the source lacks (TWCC_BADCAP).
    virtual std::optional<CapValues> capValues(TW_UINT16 cap) const = 0;
    /// The container the queries are answered in.
    virtual ContainerKind answerContainer() const { return ContainerKind::Default; }
    /// MSG_SET, open, with what the caller's container asks for.
    virtual TW_UINT16 setCapability(TW_UINT16 cap, const CapValues &values, const SetRequest &asked) = 0;

    /// MSG_ENABLEDS, open; enabled after TWRC_SUCCESS. The source then
    /// says through m_pending when its pages are ready, or that it wants
    /// to be closed.
    virtual TW_UINT16 enable(const TW_USERINTERFACE &ui) = 0;
    /// MSG_DISABLEDS, enabled; open after it, nothing pending.
    virtual void disable() = 0;
    /// Before MSG_PROCESSEVENT is answered while enabled: a source that
    /// works between calls takes in its news.
    virtual void lookForNews() {}
    /// The transfers announced by MSG_XFERREADY begin.
    virtual void transfersBegin() {}
    /// DAT_IMAGENATIVEXFER, transfer ready; transferring after
    /// TWRC_XFERDONE or TWRC_CANCEL.
    virtual TW_UINT16 nativeTransfer(TW_HANDLE *out) = 0;
    /// DAT_IMAGEINFO, transfer ready.
    virtual TW_UINT16 imageInfo(pTW_IMAGEINFO info) = 0;
    /// MSG_ENDXFER, transferring, before the transfers left are counted.
    virtual void transferEnded() {}
    /// The transfers still to come, as DAT_PENDINGXFERS counts them.
    virtual TW_UINT16 transfersLeft() const = 0;
    /// MSG_RESET, transfer ready: the transfers left are given up.
    virtual void dropTransfers() {}
    /// Enabled again after the last transfer, or a reset.
    virtual void transfersEnded() = 0;

    /// What the application's next MSG_PROCESSEVENT gets while enabled:
    /// MSG_XFERREADY, MSG_CLOSEDSREQ or nothing (MSG_NULL).
    TW_UINT16 m_pending = MSG_NULL;
    TW_UINT16 m_condition = TWCC_SUCCESS;

private:
    TW_UINT16 identityCall(TW_UINT16 msg, pTW_IDENTITY id);
    TW_UINT16 capabilityCall(TW_UINT16 msg, pTW_CAPABILITY cap);
    TW_UINT16 userInterfaceCall(TW_UINT16 msg, pTW_USERINTERFACE ui);
    TW_UINT16 eventCall(pTW_EVENT event);
    TW_UINT16 transferCall(TW_HANDLE *out);
    TW_UINT16 pendingTransfersCall(TW_UINT16 msg, pTW_PENDINGXFERS pending);
    TW_UINT16 imageInfoCall(pTW_IMAGEINFO info);
    /// MSG_GET (an enumeration when several values are allowed, else a
    /// one-value), MSG_GETCURRENT and MSG_GETDEFAULT (one-values) in the
    /// container kind asked for (Default: those).
    TW_UINT16 answerQuery(TW_UINT16 msg, pTW_CAPABILITY cap, const CapValues &values, ContainerKind kind);
    TW_UINT16 statusWords(pTW_STATUSUTF8 st);

    State m_state = Closed;
    /// The last failure's condition and its words (empty without any).
    TW_UINT16 m_wordsCondition = TWCC_SUCCESS;
    QByteArray m_words;
};

} // namespace twainds
