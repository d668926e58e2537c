#pragma once
#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace ui {

/// Shows the hourglass and disables a form for the length of a scope; both are
/// restored when the scope ends, also by an exception.
class TBusyGuard
{
public:
    explicit TBusyGuard(QWidget *form) : m_form(form)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (m_form) {
            m_wasEnabled = m_form->isEnabled();
            m_form->setEnabled(false);
        }
    }
    ~TBusyGuard()
    {
        if (m_form)
            m_form->setEnabled(m_wasEnabled);
        QApplication::restoreOverrideCursor();
    }
    TBusyGuard(const TBusyGuard &) = delete;
    TBusyGuard &operator=(const TBusyGuard &) = delete;

private:
    QPointer<QWidget> m_form;
    bool m_wasEnabled = true;
};

} // namespace ui
