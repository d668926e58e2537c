#pragma once
// SANE's "test" backend as the scanners of a test program: enabled alone in a
// private configuration folder (the system's is never read) as two devices,
// scanning small pages. The SANE source's suite and the suites that scan
// through the engines' TWAIN client set their devices up the same way.

#include <QString>
#include <QStringList>

namespace r9test {

inline constexpr const char *SaneTestDevice = "SANE: Noname frontend-tester";
inline constexpr const char *SecondSaneTestDevice = "SANE: Noname frontend-tester #2";

/// SANE reads SANE_CONFIG_DIR once per process: the folder is the
/// process's, and each test rewrites its files.
QString SaneTestFolder();
/// Enables the test backend alone in the folder with two devices and points
/// SANE at it.
void UseSaneTestDevices();
/// Writes the backend's test.conf: two devices plus the given lines, e.g.
/// "read-status-code SANE_STATUS_JAMMED".
void ConfigureSaneTestDevices(const QStringList &lines = {});
/// The device options of a small coloured page.
QStringList SmallPageOptions();

} // namespace r9test
