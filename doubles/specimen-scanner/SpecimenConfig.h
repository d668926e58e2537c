#pragma once
// The specimen scanner's configuration, read at every enabling so a test can
// switch it between acquisitions. Environment first, then the ini file
// twainspecimen.ini beside the library (fault switches of both add up; how
// they are read: doubles/support/README.md):
//   TWAINSPECIMEN_FAULTS     [faults] active=   fault switches
//   TWAINSPECIMEN_PAGES      [scan] pages=      pages per enabling (default 1)
//   TWAINSPECIMEN_CONTAINER  [scan] container=  container of capability
//                            answers: enumeration (default for MSG_GET),
//                            onevalue, array, or wrong (an unknown kind)
//   TWAINSPECIMEN_PIXELTYPE  [scan] pixeltype=  the scanner's own pixel type
//                            when the caller takes any: bw, gray, rgb
//                            (default) or palette
//   TWAINSPECIMEN_PICTURES   [specimens] folder= the pictures to scan
//                            (default: specimens/ beside the twain/ folder)

#include "Capabilities.h"

#include <QString>
#include <QStringList>

namespace specimen {

namespace fault {
inline constexpr const char *Cancel = "cancel";         // every transfer ends with TWRC_CANCEL
inline constexpr const char *CloseRequest = "closedsreq"; // asks to be closed instead of scanning
inline constexpr const char *FailTransfer = "failxfer";  // the first transfer fails
inline constexpr const char *ShortPages = "shortpages";  // announces one page more than it delivers
inline constexpr const char *OpenFails = "openfails";    // MSG_OPENDS fails
inline constexpr const char *EnableFails = "enablefails"; // MSG_ENABLEDS fails
inline constexpr const char *CapsFail = "capsfail";      // capability requests fail
} // namespace fault

struct Config
{
    QStringList faults;
    int pages = 1;
    twainds::ContainerKind container = twainds::ContainerKind::Default;
    unsigned pixelType = 2; // TWPT_RGB
    QString pictureFolder;

    bool has(const char *name) const { return faults.contains(QString::fromLatin1(name)); }
};

Config ReadConfig();
QString LibraryFolder();

} // namespace specimen
