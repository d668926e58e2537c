#pragma once
// The specimen scanner's own dialog: "Сканировать" or "Отмена". It is modeless and
// top-level, so it keeps working while the application's window is disabled;
// the source shows it owned by the caller's window (see CallerWindow).

#include <QDialog>
#include <functional>

namespace specimen {

class ScanDialog : public QDialog
{
public:
    /// `answer` gets true for Scan, false for Cancel or closing the window.
    ScanDialog(int pages, std::function<void(bool scan)> answer);

protected:
    void reject() override;

private:
    std::function<void(bool)> m_answer;
};

} // namespace specimen
