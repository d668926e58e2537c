#pragma once
// The default data source, remembered between runs by its product name in a
// small file under the per-user configuration folder:
// $XDG_CONFIG_HOME/twaindsm/default-source (else ~/.config/twaindsm/...).

#include <QString>

namespace twaindsm {

QString DefaultSourceFilePath();
/// The remembered product name; empty when none is remembered.
QString ReadDefaultSource();
/// Remembers the product name; false when the file cannot be written.
bool WriteDefaultSource(const QString &productName);

} // namespace twaindsm
