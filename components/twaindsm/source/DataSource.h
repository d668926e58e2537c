#pragma once
// What every data source of the stand-in manager shares: the one entry
// point's routing of the triplets to the source's handlers, the condition
// code of its last failure with the DAT_STATUS answer, the capability
// queries answered from a capability's values, and FIX32 conversion.

#include "SpecimenCaps.h"
#include "TwainTypes.h"

#include <QByteArray>

namespace twainds {

class DataSource
{
public:
    virtual ~DataSource() = default;

    /// DS_Entry: DAT_STATUS and DAT_STATUSUTF8 are answered here, every
    /// other triplet the source knows goes to its handler, the rest fail
    /// with TWCC_BADPROTOCOL.
    TW_UINT16 Entry(pTW_IDENTITY origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

protected:
    /// Records the condition code and answers TWRC_FAILURE.
    TW_UINT16 fail(TW_UINT16 condition);
    /// The same with the words for the operator (UTF-8), which the caller
    /// asks for with DAT_STATUSUTF8 and shows.
    TW_UINT16 fail(TW_UINT16 condition, const QByteArray &words);
    /// Records a failure with its words where no call fails with it (a
    /// scan that ends badly between calls): the caller asks for them when
    /// the transfer does not come.
    void remember(TW_UINT16 condition, const QByteArray &words);
    /// MSG_GET (an enumeration when several values are allowed, else a
    /// one-value), MSG_GETCURRENT and MSG_GETDEFAULT (one-values) in the
    /// container kind asked for (Default: those).
    TW_UINT16 answerQuery(TW_UINT16 msg, pTW_CAPABILITY cap, const specimen::CapValues &values,
                          specimen::ContainerKind kind = specimen::ContainerKind::Default);

    virtual TW_UINT16 identity(TW_UINT16 msg, pTW_IDENTITY id) = 0;
    virtual TW_UINT16 capability(TW_UINT16 msg, pTW_CAPABILITY cap) = 0;
    virtual TW_UINT16 userInterface(TW_UINT16 msg, pTW_USERINTERFACE ui) = 0;
    virtual TW_UINT16 processEvent(pTW_EVENT event) = 0;
    virtual TW_UINT16 nativeTransfer(TW_HANDLE *out) = 0;
    virtual TW_UINT16 pendingTransfers(TW_UINT16 msg, pTW_PENDINGXFERS pending) = 0;
    virtual TW_UINT16 imageInfo(pTW_IMAGEINFO info) = 0;

    TW_UINT16 m_condition = TWCC_SUCCESS;

private:
    TW_UINT16 statusWords(pTW_STATUSUTF8 st);

    /// The last failure's condition and its words (empty without any).
    TW_UINT16 m_wordsCondition = TWCC_SUCCESS;
    QByteArray m_words;
};

/// A TW_FIX32 as the 32 bits a container item holds, and back.
TW_UINT32 Fix32Bits(double value);
double Fix32Value(TW_UINT32 bits);

} // namespace twainds
