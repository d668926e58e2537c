#include "CallerWindow.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace twainds {

namespace {

/// Whether the application's top modal window keeps input from `window`.
bool blockedByModal(QWindow *window)
{
    QWidget *modal = QApplication::activeModalWidget();
    QWindow *modalWindow = modal ? modal->windowHandle() : nullptr;
    if (!modalWindow || modalWindow == window)
        return false;
    if (modal->windowModality() == Qt::WindowModal)
        return window->isAncestorOf(modalWindow);
    return !modalWindow->isAncestorOf(window);
}

} // namespace

CallerWindow::CallerWindow(void *parent)
{
    if (!parent || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    if (QWidget *named = QWidget::find(static_cast<WId>(reinterpret_cast<quintptr>(parent))))
        m_window = named->window();
}

void CallerWindow::show(QWidget *window) const
{
    QWindow *owner = m_window ? m_window->windowHandle() : nullptr;
    if (owner && !blockedByModal(owner)) {
        window->setWindowModality(Qt::NonModal);
        window->winId(); // the window system's window, to be given its owner
        window->windowHandle()->setTransientParent(owner);
    } else {
        window->setWindowModality(Qt::ApplicationModal);
    }
    window->show();
}

} // namespace twainds
