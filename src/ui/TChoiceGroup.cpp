#include "ui/TChoiceGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ui {

TChoiceGroup::TChoiceGroup(const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent), m_group(new QButtonGroup(this)), m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(8, 4, 8, 4);
    m_layout->setSpacing(2);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        if (id != m_index) {
            m_index = id;
            Q_EMIT itemIndexChanged(m_index);
        }
        Q_EMIT clicked(id);
    });
}

void TChoiceGroup::SetItems(const QStringList &items)
{
    SetItemIndex(-1);
    for (QAbstractButton *b : m_group->buttons()) {
        m_group->removeButton(b);
        delete b;
    }
    int id = 0;
    for (const QString &text : items) {
        auto *button = new QRadioButton(text, this);
        m_group->addButton(button, id++);
        m_layout->addWidget(button);
    }
}

QStringList TChoiceGroup::Items() const
{
    QStringList r;
    for (int i = 0; i < Count(); ++i)
        r << Button(i)->text();
    return r;
}

int TChoiceGroup::Count() const
{
    return int(m_group->buttons().size());
}

QRadioButton *TChoiceGroup::Button(int index) const
{
    return qobject_cast<QRadioButton *>(m_group->button(index));
}

int TChoiceGroup::ItemIndex() const
{
    return m_index;
}

void TChoiceGroup::SetItemIndex(int index)
{
    if (index < 0 || index >= Count())
        index = -1;
    if (index >= 0) {
        Button(index)->setChecked(true);
    } else if (QAbstractButton *checked = m_group->checkedButton()) {
        // An exclusive group refuses to uncheck its last button.
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
    }
    if (index != m_index) {
        m_index = index;
        Q_EMIT itemIndexChanged(m_index);
    }
}

} // namespace ui
