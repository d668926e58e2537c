#pragma once
#include "base/r9Export.h"
#include "ui/TEditColors.h"
// A date-only edit that can be empty. Its value is a QDate; a null QDate is
// the empty (Null) state and shows as an empty edit. Text typed by the operator
// or assigned by the program is read by the package's date rule (two-digit
// years in the window around today). Text that is not a date leaves the edit
// Null but stays visible, shown in red, until it is corrected, and the edit
// reports it (HasUnreadableText), so a form does not take it for an empty
// date. The text colour can be switched (red marks a doubtful value) and the
// background coloured.

#include <QColor>
#include <QDate>
#include <QWidget>

class QLineEdit;

namespace ui {

class R9_EXPORT TNullableDateEdit : public QWidget
{
    Q_OBJECT
public:
    explicit TNullableDateEdit(QWidget *parent = nullptr);

    /// The display format of a date.
    static constexpr const char *DisplayFormat = "dd.MM.yyyy";
    /// Reads a typed date: day, month and year separated by ".", "/", "-" or
    /// a blank (two- or four-digit year), or ISO year-month-day; a null date
    /// when the text does not name a real day.
    static QDate ParseDate(const QString &text);

    bool IsNull() const { return m_date.isNull(); }
    QDate Date() const { return m_date; }
    /// A null or invalid date makes the edit Null (and empty).
    void SetDate(const QDate &date);
    void SetNull() { SetDate(QDate()); }

    /// Assigns text as if typed: the edit holds the parsed date, or is Null
    /// when the text is empty or not a date; text that is not a date stays
    /// shown and marked. Returns whether a date was taken.
    bool SetText(const QString &text);
    QString Text() const;
    /// True while the edit shows text that is not a date (its value is Null).
    bool HasUnreadableText() const { return m_unreadable; }

    /// Marks the date shown as one the program put in place of a date it
    /// could not read: it is no reading. The mark holds while the edit shows
    /// that text; it goes for good when the operator empties the edit or
    /// leaves it with another text, or the program sets a value. A change
    /// undone or deleted back to the shown text leaves the date marked.
    void MarkStandIn();
    /// True while a date marked by MarkStandIn is shown as it was put there.
    bool IsStandIn() const;

    bool ReadOnly() const;
    void SetReadOnly(bool on);

    QColor FontColor() const { return m_colors.font; }
    void SetFontColor(const QColor &color);
    bool IsFontRed() const { return m_colors.font == QColor(Qt::red); }
    QColor BackgroundColor() const { return m_colors.background; }
    void SetBackgroundColor(const QColor &color);

    QString Hint() const;
    void SetHint(const QString &hint);

    QLineEdit *Edit() const { return m_edit; }

Q_SIGNALS:
    void dateChanged(const QDate &date);

private:
    void commitTyped();
    void setValue(const QDate &date, bool unreadable);
    void applyPalette();

    QLineEdit *m_edit;
    QDate m_date;
    bool m_unreadable = false;
    bool m_standIn = false;
    QString m_standInText;
    TEditColors m_colors;
};

} // namespace ui
