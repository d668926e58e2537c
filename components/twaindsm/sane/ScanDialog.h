#pragma once
// The SANE source's own dialog: the scan settings (pixel type, resolution,
// flatbed or feeder), "Сканировать" and "Отмена", and while SANE reads the
// page count with a progress bar; "Отмена" then stops the scan. It is
// modeless and top-level, so it keeps working while the application's
// window is disabled (the source shows it owned by the caller's window, see
// CallerWindow), and it shows the scanner's faults in its status line.
// While it waits for the operator the pointer is the arrow, whatever busy
// cursor the application set for the time of the acquisition.

#include "TwainTypes.h"

#include <QDialog>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace twainsane {

struct ScanChoices
{
    std::vector<TW_UINT16> pixelTypes;
    TW_UINT16 pixelType = TWPT_RGB;
    std::vector<double> resolutions;
    double resolution = 0;
    bool hasFeeder = false;
    bool hasFlatbed = true;
    bool feeder = false;
};

class ScanDialog : public QDialog
{
public:
    enum class Action { Scan, Cancel };
    /// `answer` gets Scan with the operator's choices, or Cancel (also for
    /// closing the window).
    ScanDialog(const QString &title, const ScanChoices &choices,
               std::function<void(Action, const ScanChoices &)> answer);
    ~ScanDialog() override;

    /// While SANE reads: the settings are locked, the page count and the
    /// progress of the page show (percent -1: length unknown).
    void showScanning(int page, int percent);
    /// After "Cancel" while SANE reads, until the scan has stopped: the
    /// text in place of the page count.
    void showCancelling(const QString &text);
    /// Ready for the next scan, with a message in the status line (empty
    /// clears it).
    void showIdle(const QString &message, bool fault = true);

protected:
    void reject() override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    ScanChoices chosen() const;
    /// The arrow over the application's busy cursor while the dialog shows
    /// and waits for the operator; that cursor back otherwise.
    void updateArrow();

    ScanChoices m_choices;
    std::function<void(Action, const ScanChoices &)> m_answer;
    QComboBox *m_pixelType = nullptr;
    QComboBox *m_resolution = nullptr;
    QComboBox *m_source = nullptr;
    QPushButton *m_scan = nullptr;
    QLabel *m_page = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_status = nullptr;
    bool m_waiting = false; // for the operator, not for the scanner
    bool m_arrowShown = false;
};

} // namespace twainsane
