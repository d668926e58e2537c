#include "ui/TCaptionedEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace ui {

TCaptionedEdit::TCaptionedEdit(const QString &caption, QWidget *parent, LabelPosition position)
    : QWidget(parent), m_label(new QLabel(caption, this)), m_edit(new QLineEdit(this))
{
    QBoxLayout *layout = position == LabelLeft ? static_cast<QBoxLayout *>(new QHBoxLayout(this))
                                               : static_cast<QBoxLayout *>(new QVBoxLayout(this));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(position == LabelLeft ? 4 : 1);
    layout->addWidget(m_label);
    layout->addWidget(m_edit);
    m_label->setBuddy(m_edit);
    setFocusProxy(m_edit);
    connect(m_edit, &QLineEdit::textChanged, this, &TCaptionedEdit::textChanged);
}

QString TCaptionedEdit::Text() const
{
    return m_edit->text();
}

void TCaptionedEdit::SetText(const QString &text)
{
    m_edit->setText(text);
    m_edit->setCursorPosition(0);
}

void TCaptionedEdit::SetMaxLength(int length)
{
    m_maxLength = length > 0 ? length : 0;
    // QLineEdit's own default limit is 32767 characters.
    m_edit->setMaxLength(m_maxLength > 0 ? m_maxLength : 32767);
}

bool TCaptionedEdit::ReadOnly() const
{
    return m_edit->isReadOnly();
}

void TCaptionedEdit::SetReadOnly(bool on)
{
    m_edit->setReadOnly(on);
}

QString TCaptionedEdit::Hint() const
{
    return m_edit->toolTip();
}

void TCaptionedEdit::SetHint(const QString &hint)
{
    m_edit->setToolTip(hint);
}

void TCaptionedEdit::SetFontColor(const QColor &color)
{
    m_colors.font = color;
    applyPalette();
}

void TCaptionedEdit::SetBackgroundColor(const QColor &color)
{
    m_colors.background = color;
    applyPalette();
}

void TCaptionedEdit::applyPalette()
{
    m_colors.ApplyTo(m_edit, m_edit->parentWidget() ? m_edit->parentWidget()->palette() : m_edit->palette());
}

} // namespace ui
