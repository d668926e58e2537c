#pragma once
// A scanner without a scanner: SANE's "pnm" backend, which scans a picture
// file as if it lay on the glass, enabled alone in a private SANE
// configuration folder, with the page laid on it as a PPM file in a private
// folder (a generated page is personal data as much as a scan is: both go
// when the glass does). The SANE data source of the source manager lists
// the backend's first device as SourceName and takes the page's file as the
// device's "filename" option through TWAINSANE_OPTIONS.

#include <QImage>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace pnmglass {

/// The source the SANE data source makes of the backend's first device.
inline constexpr const char *SourceName = "SANE: Noname PNM file reader";
/// The SANE device of the same.
inline constexpr const char *DeviceName = "pnm:0";

class Glass
{
public:
    Glass();
    /// The private folders could be made (with the configuration in them).
    bool IsValid() const { return m_valid; }
    /// SANE_CONFIG_DIR of a program that scans from it.
    QString ConfigFolder() const;
    /// Lays the page on the glass (24-bit PPM); false when it cannot be written.
    bool Lay(const QImage &page);
    QString PageFile() const;
    /// TWAINSANE_OPTIONS for the page laid, with further SANE options
    /// ("name=value") after it.
    QString SourceOptions(const QStringList &more = {}) const;
    /// The program environment that scans this glass through the source
    /// manager: SANE's configuration and the source's options; the rest of
    /// `base` stays.
    QProcessEnvironment Environment(QProcessEnvironment base, const QStringList &more = {}) const;

private:
    QTemporaryDir m_folder;
    bool m_valid = false;
};

} // namespace pnmglass
