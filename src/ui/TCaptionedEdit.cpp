#include "ui/TCaptionedEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>
#include <utility>

namespace ui {

/// Holds the operator's edits to the maximum length. QLineEdit's own limit
/// would also cut text the program sets; this validator lets through any text
/// the program sets (the edit is not "modified" then) and holds editing to
/// the limit, or to the length of a longer text the program put in, so the
/// operator can correct such a value without losing its end.
class TCaptionedEdit::TTypingLimit : public QValidator
{
public:
    explicit TTypingLimit(QLineEdit *edit) : QValidator(edit), m_edit(edit) {}

    void SetLimit(int limit) { m_limit = limit; }

    /// The program set a text of this length.
    void TextSet(qsizetype length) { m_programLength = length; }

    State validate(QString &input, int &pos) const override
    {
        const qsizetype allowed = std::max<qsizetype>(m_limit, m_programLength);
        if (m_limit <= 0 || !m_edit->isModified() || input.size() <= allowed)
            return Acceptable;
        // What was typed or pasted ends at the cursor: keep as much of it as
        // fits, as a line edit does at its limit.
        const qsizetype excess = input.size() - allowed;
        if (excess > pos)
            return Invalid;
        input.remove(pos - excess, excess);
        pos -= int(excess);
        m_clipped = true;
        return Acceptable;
    }

    /// Whether the text just changed is the operator's, cut to the limit:
    /// the edit sets it anew, so it then does not look modified.
    bool TakeClipped()
    {
        return std::exchange(m_clipped, false);
    }

private:
    QLineEdit *m_edit;
    int m_limit = 0;
    qsizetype m_programLength = 0;
    mutable bool m_clipped = false;
};

TCaptionedEdit::TCaptionedEdit(const QString &caption, QWidget *parent, LabelPosition position)
    : QWidget(parent), m_label(new QLabel(caption, this)), m_edit(new QLineEdit(this)),
      m_limit(new TTypingLimit(m_edit))
{
    QBoxLayout *layout = position == LabelLeft ? static_cast<QBoxLayout *>(new QHBoxLayout(this))
                                               : static_cast<QBoxLayout *>(new QVBoxLayout(this));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(position == LabelLeft ? 4 : 1);
    layout->addWidget(m_label);
    layout->addWidget(m_edit);
    m_label->setBuddy(m_edit);
    setFocusProxy(m_edit);
    m_edit->setValidator(m_limit);
    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString &text) {
        // Text set by the program, also through Edit(), leaves the edit
        // unmodified; a long value shows its start, not its end.
        const bool clipped = m_limit->TakeClipped();
        if (!m_edit->isModified() && !clipped) {
            m_limit->TextSet(text.size());
            m_edit->setCursorPosition(0);
        }
        Q_EMIT textChanged(text);
    });
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
    m_limit->SetLimit(m_maxLength);
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
