#include "ui/TNullableDateEdit.h"

#include "base/DateText.h"
#include "base/PackageTexts.h"

#include <QHBoxLayout>
#include <QLineEdit>

namespace ui {

TNullableDateEdit::TNullableDateEdit(QWidget *parent)
    : QWidget(parent), m_edit(new QLineEdit(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    m_edit->setPlaceholderText(QString(texts::DatePattern));
    setFocusProxy(m_edit);
    connect(m_edit, &QLineEdit::editingFinished, this, &TNullableDateEdit::commitTyped);
    // Emptying the edit settles a stand-in date for good, so the same date
    // typed again afterwards is the operator's; an edit undone or deleted
    // back to the shown text is none.
    connect(m_edit, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (text.trimmed().isEmpty())
            m_standIn = false;
    });
}

QDate TNullableDateEdit::ParseDate(const QString &text)
{
    return dates::DateFromText(text, dates::TwoDigitYears::InWindow);
}

void TNullableDateEdit::SetDate(const QDate &date)
{
    m_standIn = false;
    const QDate value = date.isValid() ? date : QDate();
    m_edit->setText(value.isNull() ? QString() : value.toString(QLatin1String(DisplayFormat)));
    setValue(value, false);
}

bool TNullableDateEdit::SetText(const QString &text)
{
    const QDate date = ParseDate(text);
    if (date.isValid() || text.trimmed().isEmpty()) {
        SetDate(date);
    } else {
        m_standIn = false;
        // Kept as written: the operator sees what could not be read.
        if (m_edit->text() != text)
            m_edit->setText(text);
        setValue(QDate(), true);
    }
    return !m_date.isNull();
}

void TNullableDateEdit::setValue(const QDate &date, bool unreadable)
{
    if (unreadable != m_unreadable) {
        m_unreadable = unreadable;
        applyPalette();
    }
    if (date != m_date) {
        m_date = date;
        Q_EMIT dateChanged(m_date);
    }
}

QString TNullableDateEdit::Text() const
{
    return m_edit->text();
}

void TNullableDateEdit::commitTyped()
{
    // Leaving the edit with the stand-in text as shown is no edit; leaving it
    // with any other text settles the date.
    const bool standIn = IsStandIn();
    SetText(m_edit->text());
    m_standIn = standIn;
}

void TNullableDateEdit::MarkStandIn()
{
    m_standIn = true;
    m_standInText = m_edit->text();
}

bool TNullableDateEdit::IsStandIn() const
{
    return m_standIn && m_edit->text() == m_standInText;
}

bool TNullableDateEdit::ReadOnly() const
{
    return m_edit->isReadOnly();
}

void TNullableDateEdit::SetReadOnly(bool on)
{
    m_edit->setReadOnly(on);
}

void TNullableDateEdit::SetFontColor(const QColor &color)
{
    m_colors.font = color;
    applyPalette();
}

void TNullableDateEdit::SetBackgroundColor(const QColor &color)
{
    m_colors.background = color;
    applyPalette();
}

QString TNullableDateEdit::Hint() const
{
    return m_edit->toolTip();
}

void TNullableDateEdit::SetHint(const QString &hint)
{
    m_edit->setToolTip(hint);
}

void TNullableDateEdit::applyPalette()
{
    TEditColors shown = m_colors;
    if (m_unreadable)
        shown.font = QColor(Qt::red);
    shown.ApplyTo(m_edit, palette());
}

} // namespace ui
