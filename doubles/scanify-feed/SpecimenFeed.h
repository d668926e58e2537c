#pragma once
// Where the Scanify engine's feeder takes its pages from, read at every use
// so that a test can switch it between calls (how: doubles/support/README.md):
//   environment SCPROXY_SPECIMENS     folder of Scanify specimen descriptions
//   environment SCPROXY_FEED          names (wildcards, case ignored) of the pages the feeder takes:
//                                     descriptions without ".json", loose pictures without extension
//   ScProxy.Ini next to the engine:   [Specimens] Folder=... (relative to the file's folder), Feed=...
// The engine's feeder and a host that works one window per page read it here
// alike.

#include <QString>
#include <QStringList>

namespace scproxy {

/// Folder the Scanify specimen descriptions are read from.
QString SpecimenFolder();
/// Wildcard patterns of the pages the feeder takes; empty = all.
QStringList FeedPatterns();

} // namespace scproxy
