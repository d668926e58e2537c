#pragma once
// The sources the engines scan from in tests: the source manager beside the
// test program with its specimen scanner, and SANE's "test" backend as two
// devices through the SANE source, enabled alone in a private SANE
// configuration folder (the system's is never read), with small pages.
// Fault switches of both are set per test and cleared at its end.

#include "SaneTestDevices.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace scannertest {

inline constexpr const char *SpecimenSource = "Specimen Scanner";
inline constexpr const char *SaneSource = r9test::SaneTestDevice;
inline constexpr const char *SecondSaneSource = r9test::SecondSaneTestDevice;

/// Set up in SetUp, torn down in TearDown of a test that scans.
class ScannerSources
{
public:
    ScannerSources();
    ~ScannerSources();
    ScannerSources(const ScannerSources &) = delete;
    ScannerSources &operator=(const ScannerSources &) = delete;

    /// Lines added to the test backend's configuration, e.g.
    /// "read-status-code SANE_STATUS_JAMMED".
    void configureSane(const QStringList &lines);
    /// SANE options of the device (TWAINSANE_OPTIONS) beside the small page's.
    void setSaneOptions(const QStringList &options);
    /// The specimen source's fault switches (TWAINSPECIMEN_FAULTS).
    void setSpecimenFaults(const QString &faults);
};

/// The texts of the sources' notices to the operator on the screen, which
/// are closed.
QStringList CloseNotices();

/// Runs act on the source's dialog named objectName (SpecimenScanDialog,
/// SaneScanDialog) once it shows, while the acquisition runs.
class DialogAnswer
{
public:
    DialogAnswer(const char *objectName, std::function<void(QWidget *)> act);
    ~DialogAnswer();
    bool answered() const { return m_answered; }

private:
    struct Watch;
    Watch *m_watch;
    bool m_answered = false;
};

/// Clicks the dialog's button of that object name.
void Click(QWidget *dialog, const char *button);

} // namespace scannertest
