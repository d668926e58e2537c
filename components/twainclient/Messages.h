#pragma once
// What a fault of the scanner means to the operator: the outcome for a
// condition code and the words for an outcome when neither the source nor
// the manager had words of their own.

#include "TwainClient.h"
#include "TwainTypes.h"

namespace twainclient {

/// The outcome of a condition code that ended a scan (TWCC_SUCCESS: the
/// scan ended without a fault and without a page, as a cancel does).
Outcome OutcomeForCondition(TW_UINT16 condition);
/// The operator's message for outcome on the scanner named source.
QString MessageFor(Outcome outcome, const QString &source);
/// The manager library cannot be loaded (why: the loader's words).
QString NoManagerMessage(const QString &why);
/// The manager would not open (another session holds it).
QString ManagerBusyMessage();

} // namespace twainclient
