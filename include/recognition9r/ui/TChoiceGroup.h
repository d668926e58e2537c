#pragma once
#include "base/r9Export.h"
// A titled group of radio buttons chosen by index. ItemIndex is -1 while no
// item is selected, and setting -1 clears the selection.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;
class QVBoxLayout;

namespace ui {

class R9_EXPORT TChoiceGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit TChoiceGroup(const QString &caption = QString(), QWidget *parent = nullptr);

    void SetItems(const QStringList &items);
    QStringList Items() const;
    int Count() const;
    QRadioButton *Button(int index) const;

    int ItemIndex() const;
    /// An index outside 0..Count-1 selects no item.
    void SetItemIndex(int index);

Q_SIGNALS:
    /// The operator picked an item.
    void clicked(int index);
    /// The selected item changed, by the operator or the program.
    void itemIndexChanged(int index);

private:
    QButtonGroup *m_group;
    QVBoxLayout *m_layout;
    int m_index = -1;
};

} // namespace ui
