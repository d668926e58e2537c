#include "ui/TNullableDateEdit.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QRegularExpression>

namespace ui {

TNullableDateEdit::TNullableDateEdit(QWidget *parent)
    : QWidget(parent), m_edit(new QLineEdit(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    m_edit->setPlaceholderText(QStringLiteral("дд.мм.гггг"));
    setFocusProxy(m_edit);
    connect(m_edit, &QLineEdit::editingFinished, this, &TNullableDateEdit::commitTyped);
}

QDate TNullableDateEdit::ParseDate(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QDate();
    static const char *const formats[] = {"d.M.yyyy", "yyyy-M-d", "d/M/yyyy", "d-M-yyyy", "yyyyMMdd"};
    for (const char *f : formats) {
        const QDate d = QDate::fromString(t, QLatin1String(f));
        if (d.isValid())
            return d;
    }
    // Two-digit years: no birth or document date lies in the future beyond
    // this year, so such a year belongs to the last century.
    static const QRegularExpression shortYear(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{2})$"));
    const QRegularExpressionMatch m = shortYear.match(t);
    if (m.hasMatch()) {
        int year = 2000 + m.captured(3).toInt();
        if (year > QDate::currentDate().year())
            year -= 100;
        return QDate(year, m.captured(2).toInt(), m.captured(1).toInt());
    }
    return QDate();
}

void TNullableDateEdit::SetDate(const QDate &date)
{
    const QDate value = date.isValid() ? date : QDate();
    m_edit->setText(value.isNull() ? QString() : value.toString(QLatin1String(DisplayFormat)));
    if (value != m_date) {
        m_date = value;
        Q_EMIT dateChanged(m_date);
    }
}

bool TNullableDateEdit::SetText(const QString &text)
{
    SetDate(ParseDate(text));
    return !m_date.isNull();
}

QString TNullableDateEdit::Text() const
{
    return m_edit->text();
}

void TNullableDateEdit::commitTyped()
{
    SetText(m_edit->text());
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
    m_colors.ApplyTo(m_edit, palette());
}

} // namespace ui
