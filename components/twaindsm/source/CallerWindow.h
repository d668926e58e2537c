#pragma once
// The window a data source shows its own windows for: the one the caller
// named when it enabled the source (TW_USERINTERFACE.hParent). A source's
// dialog and its notice boxes are owned by that window (they stay above it
// and take input while it is modal); when the caller named no window of
// this process (none at all, or a host without Qt widgets), or the window
// it named is itself blocked by another modal window, they are made
// application-modal so that no modal window of the caller blocks them.
//
// The owner is the window system's (a transient parent), not a QObject
// parent: the caller disables its window while the source works, and a
// disabled QObject parent would disable the source's window with it.

#include <QPointer>
#include <QWidget>

namespace twainds {

class CallerWindow
{
public:
    /// No window: what the source shows is application-modal.
    CallerWindow() = default;
    /// The widget of this process whose window id `parent` (a TW_HANDLE,
    /// as TW_USERINTERFACE.hParent holds it) names, if any.
    explicit CallerWindow(void *parent);

    /// The caller's top-level widget; null when there is none (or no more).
    QWidget *widget() const { return m_window; }
    /// Shows the source's top-level `window` above the caller's window,
    /// taking input whatever modal window the caller runs.
    void show(QWidget *window) const;

private:
    QPointer<QWidget> m_window;
};

} // namespace twainds
