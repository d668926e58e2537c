#pragma once
// Fault switches of the doubles and of the engine servers' specimen mode:
// names that make one of them fail on purpose, so that every failure path of
// its callers can be exercised. Each reads its own environment variable (and,
// where it has one, a key of its settings file, see SettingsFile.h); how a
// list is written is the same for all of them, see README.md beside this file.

#include <QString>
#include <QStringList>

namespace doubles {

/// The items a list of the settings holds, in the order written (README.md).
QStringList SplitList(const QString &text);

/// The switch names `text` lists, case ignored (given in lower case), each
/// once in the order first met.
QStringList ParseFaultSwitches(const QString &text);

/// The switches on now: those of the environment variable and of the
/// settings file's value `fileValue` together.
QStringList ActiveFaultSwitches(const char *variable, const QString &fileValue = {});

/// Message of a failure a fault switch of an engine caused.
QString FaultMessage(const char *name, const QString &what);

} // namespace doubles
