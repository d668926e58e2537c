#pragma once
// What a SANE status means to a TWAIN application: the condition code the
// source reports for it and the message the operator reads.

#include "TwainTypes.h"

#include <QString>
#include <sane/sane.h>

// Condition codes of the protocol's later versions, for the faults a
// scanner reports.
#ifndef TWCC_DENIED
#define TWCC_DENIED 16
#define TWCC_PAPERJAM 20
#define TWCC_CHECKDEVICEONLINE 23
#define TWCC_INTERLOCK 24
#define TWCC_NOMEDIA 29
#endif

namespace twainsane {

/// The condition code for a status; TWCC_SUCCESS for good and cancelled.
TW_UINT16 ConditionFor(SANE_Status status);
/// The operator's message for a failed status; empty for good and cancelled.
QString MessageFor(SANE_Status status);

/// A failure with its status, condition code and message.
struct Failure
{
    SANE_Status status = SANE_STATUS_GOOD;
    TW_UINT16 condition = TWCC_SUCCESS;
    QString message;

    static Failure From(SANE_Status status) { return {status, ConditionFor(status), MessageFor(status)}; }
    explicit operator bool() const { return status != SANE_STATUS_GOOD; }
};

} // namespace twainsane
