#pragma once
// Names in the engine's configuration files that the package reads back or
// writes on its own after the files are made: the table that makes the files
// and those readers use the same entries, so they cannot drift apart.

namespace scanify::configkey {

/// The section of the scanning configuration the recognition selects.
inline constexpr char SelectedConfiguration[] = "ScanAllDocuments";
/// Whether the engine shows the scanner's own window (0 or 1).
inline constexpr char ShowTwain[] = "ShowTWAIN";
/// The document kind of a configuration's first zone; a configuration
/// without it is not one the engine can scan with.
inline constexpr char FirstZoneType[] = "Zone1Type";
/// The turn, in degrees clockwise, a zone applies to the page before it is
/// read.
inline constexpr char ZoneTurn[] = "ZoneProcessingParam";

} // namespace scanify::configkey
