#include "ui/TActionUpdater.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QWidget>

namespace ui {

TActionUpdater::TActionUpdater(QWidget *form, std::function<void()> onUpdate)
    : QObject(form), m_form(form), m_onUpdate(std::move(onUpdate))
{
    m_timer.setInterval(UpdateIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TActionUpdater::Update);
    form->installEventFilter(this);
}

QAction *TActionUpdater::AddAction(const QString &objectName, const QString &caption)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(objectName);
    return action;
}

void TActionUpdater::BindButton(QAbstractButton *button, QAction *action)
{
    auto sync = [button, action] {
        button->setText(action->text());
        button->setEnabled(action->isEnabled());
    };
    sync();
    QObject::connect(action, &QAction::changed, button, sync);
    QObject::connect(button, &QAbstractButton::clicked, action, [action] {
        if (action->isEnabled())
            action->trigger();
    });
}

void TActionUpdater::Update()
{
    if (m_onUpdate)
        m_onUpdate();
}

bool TActionUpdater::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_form) {
        if (event->type() == QEvent::Show) {
            // Once the form's own show handling is done, then while it is visible.
            QTimer::singleShot(0, this, &TActionUpdater::Update);
            m_timer.start();
        } else if (event->type() == QEvent::Hide) {
            m_timer.stop();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ui
