#pragma once
// What a SANE status means to a TWAIN application: the condition code the
// source reports for it and the message the operator reads.

#include "TwainTypes.h"

#include <QString>
#include <sane/sane.h>

namespace twainsane {

/// Where the document lies for the scan: the operator is told to look there.
enum class DocumentPlace { Flatbed, Feeder };

/// The condition code for a status of a scan; TWCC_SUCCESS for good and cancelled.
TW_UINT16 ConditionFor(SANE_Status status);
/// The operator's message for a failed status of a scan; empty for good and
/// cancelled.
QString MessageFor(SANE_Status status, DocumentPlace place);

/// A failure with its status, condition code and message.
struct Failure
{
    SANE_Status status = SANE_STATUS_GOOD;
    TW_UINT16 condition = TWCC_SUCCESS;
    QString message;

    /// A scan's failure.
    static Failure From(SANE_Status status, DocumentPlace place)
    {
        return {status, ConditionFor(status), MessageFor(status, place)};
    }
    /// Why the device would not open: most backends answer a device that is
    /// gone or switched off with a status of their own choosing (an invalid
    /// argument, an I/O error...), so all but a few say the scanner is not there.
    static Failure OfOpen(SANE_Status status);
    /// A page of unknown length that went on past the longest side a
    /// picture may have: the device never told its end.
    static Failure PageTooLong();
    /// A device whose call never returned, even when cancelled: the scan
    /// is given up.
    static Failure NotResponding();
    explicit operator bool() const { return status != SANE_STATUS_GOOD; }
};

} // namespace twainsane
