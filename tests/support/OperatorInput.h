#pragma once
// The operator's mouse and keys as the window system delivers them: Qt's
// modality applies to this input, so a window that a modal window blocks
// ignores it, as it ignores the operator. (A button's click() or an event
// sent straight to a widget passes every modal window by.)

#include <QDialog>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <functional>

class QAbstractButton;
class QWidget;

namespace r9test {

/// Clicks the button with the left mouse button; true when the button took
/// the click.
bool MouseClick(QAbstractButton *button);
/// Clicks the widget at the point with the left mouse button; true when a
/// widget of its window got the press.
bool MouseClick(QWidget *widget, QPoint at);
/// Presses and releases the key in the window of `widget`; true when a
/// widget of that window received it.
bool KeyPress(QWidget *widget, int key);

/// Acts on a top-level widget with the object name each time one shows
/// (polled): `act` gets every new one once.
class WindowOperator
{
public:
    WindowOperator(const char *objectName, std::function<void(QWidget *)> act);
    int seen() const { return m_seen; }

private:
    QTimer m_timer;
    QPointer<QWidget> m_last;
    int m_seen = 0;
};

/// Runs `work` from within the modal `window`'s exec(), as a host runs its
/// modal form and the form then acquires; the window is closed afterwards.
void RunInModalWindow(QDialog &window, const std::function<void()> &work);

} // namespace r9test
