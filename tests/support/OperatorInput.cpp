#include "support/OperatorInput.h"

// QtTest sends widget input straight to the widget unless asked to go
// through the window system's interface, as real input does.
#define QTEST_QPA_MOUSE_HANDLING

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QTest>

namespace r9test {

namespace {

/// Notes an event of the type that reaches a widget of one top-level window.
class InputSeen : public QObject
{
public:
    InputSeen(QWidget *window, QEvent::Type type) : m_window(window), m_type(type)
    {
        qApp->installEventFilter(this);
    }
    ~InputSeen() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == m_type && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->window() == m_window)
            seen = true;
        return false;
    }
    bool seen = false;

private:
    QWidget *m_window;
    QEvent::Type m_type;
};

} // namespace

bool MouseClick(QAbstractButton *button)
{
    if (!button)
        return false;
    bool clicked = false;
    const QMetaObject::Connection c =
        QObject::connect(button, &QAbstractButton::clicked, [&clicked] { clicked = true; });
    QPointer<QAbstractButton> guard(button);
    QTest::mouseClick(button, Qt::LeftButton);
    if (guard)
        QObject::disconnect(c);
    return clicked;
}

bool KeyPress(QWidget *widget, int key)
{
    QWidget *window = widget ? widget->window() : nullptr;
    if (!window || !window->windowHandle())
        return false;
    InputSeen seen(window, QEvent::KeyPress);
    QTest::keyClick(window->windowHandle(), Qt::Key(key));
    return seen.seen;
}

bool MouseClick(QWidget *widget, QPoint at)
{
    if (!widget || !widget->window()->windowHandle())
        return false;
    InputSeen seen(widget->window(), QEvent::MouseButtonPress);
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    return seen.seen;
}

WindowOperator::WindowOperator(const char *objectName, std::function<void(QWidget *)> act)
{
    const QString name = QString::fromLatin1(objectName);
    QObject::connect(&m_timer, &QTimer::timeout, [this, name, act] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() != name || !w->isVisible() || w == m_last)
                continue;
            m_last = w;
            ++m_seen;
            act(w);
            return;
        }
    });
    m_timer.start(1);
}

void RunInModalWindow(QDialog &window, const std::function<void()> &work)
{
    QTimer::singleShot(0, &window, [&window, work] {
        work();
        window.done(QDialog::Accepted);
    });
    window.exec();
}

} // namespace r9test
