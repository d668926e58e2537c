#pragma once
// Fault switches of the stand-ins: names that make one of them fail on
// purpose, so that every failure path of its callers can be exercised. Each
// stand-in reads its own environment variable (and, where it has one, a key
// of its settings file); how a list of switches is written is the same for
// all of them, see README.md beside this file.

#include <QString>
#include <QStringList>

namespace standin {

/// The switch names `text` lists: separated by commas, semicolons or blank
/// space, case ignored (given in lower case), each once in the order first met.
QStringList ParseFaultSwitches(const QString &text);

/// The switches on now: those of the environment variable and of the
/// settings file's value `fileValue` together.
QStringList ActiveFaultSwitches(const char *variable, const QString &fileValue = {});

/// Message of a failure a fault switch of an engine stand-in caused.
QString FaultMessage(const char *name, const QString &what);

} // namespace standin
