#pragma once
// The engine's own windows: the scanner dialog shown before a scan when the
// configuration asks for it ("ShowTWAIN" = 1) and the list of TWAIN sources.
// Both are modal Qt dialogs over the caller's window. A preset answer
// (ServerConfig) answers them without showing anything; without a
// QApplication they cannot be shown and take their default (scan; the
// source chosen last, else the first).

#include "ScanConfiguration.h"

#include <QString>
#include <QStringList>
#include <cstdint>

namespace scproxy {

/// Object names by which a test finds the open dialogs.
inline constexpr const char *TwainDialogName = "ScanifyTwainDialog";
inline constexpr const char *SourceDialogName = "ScanifySourceDialog";

/// The scanner dialog of source before a scan: true = scan, false = the operator cancelled.
bool ConfirmScan(const QString &source, const ScanConfiguration &config, std::uintptr_t owner);

/// The source list with current highlighted: the chosen index, or -1 when cancelled.
int ChooseSource(const QStringList &sources, int current, std::uintptr_t owner);

} // namespace scproxy
