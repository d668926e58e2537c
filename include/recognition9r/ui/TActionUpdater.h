#pragma once
#include "base/r9Export.h"
// The actions of a form and their update handler. The handler runs when the
// form is shown and then on a short timer while the form is visible, so the
// enabled state of actions follows what the operator types. Buttons bound to
// an action take its caption and enabled state and trigger it when clicked.

#include <QObject>
#include <QTimer>
#include <functional>

class QAbstractButton;
class QAction;
class QWidget;

namespace ui {

class R9_EXPORT TActionUpdater : public QObject
{
    Q_OBJECT
public:
    /// Update interval while the form is visible.
    static constexpr int UpdateIntervalMs = 150;

    TActionUpdater(QWidget *form, std::function<void()> onUpdate);

    /// Creates an action owned by the list.
    QAction *AddAction(const QString &objectName, const QString &caption);
    /// The button shows the action's caption and enabled state; a click
    /// triggers the action when it is enabled. The button keeps its own
    /// object name and may do more on its click.
    static void BindButton(QAbstractButton *button, QAction *action);

    /// Runs the update handler now.
    void Update();
    bool TimerActive() const { return m_timer.isActive(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_form;
    std::function<void()> m_onUpdate;
    QTimer m_timer;
};

} // namespace ui
