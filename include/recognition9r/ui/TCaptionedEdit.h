#pragma once
#include "base/r9Export.h"
#include "ui/TEditColors.h"
// A line edit with its own caption label above it, as the forms lay out their
// result fields. The text colour can be switched (red marks a doubtful value)
// and the hint is the edit's tooltip.
//
// The maximum length limits what the operator types or pastes, never what the
// program puts in: a value from the engine or the host's record is shown
// whole, however long. The operator may shorten such a value but not make it
// longer.

#include <QColor>
#include <QWidget>

class QLabel;
class QLineEdit;

namespace ui {

class R9_EXPORT TCaptionedEdit : public QWidget
{
    Q_OBJECT
public:
    enum LabelPosition { LabelAbove, LabelLeft };

    explicit TCaptionedEdit(const QString &caption = QString(), QWidget *parent = nullptr,
                          LabelPosition position = LabelAbove);

    QLabel *EditLabel() const { return m_label; }
    QLineEdit *Edit() const { return m_edit; }

    QString Text() const;
    void SetText(const QString &text);
    void Clear() { SetText(QString()); }

    /// The most characters the operator may type; 0 means no limit.
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int length);

    bool ReadOnly() const;
    void SetReadOnly(bool on);

    QString Hint() const;
    void SetHint(const QString &hint);

    /// The colour of the edit's text; invalid means the system text colour.
    QColor FontColor() const { return m_colors.font; }
    void SetFontColor(const QColor &color);
    bool IsFontRed() const { return m_colors.font == QColor(Qt::red); }
    /// Background of the edit; invalid means the system base colour.
    void SetBackgroundColor(const QColor &color);
    QColor BackgroundColor() const { return m_colors.background; }

Q_SIGNALS:
    void textChanged(const QString &text);

private:
    void applyPalette();

    class TTypingLimit;

    QLabel *m_label;
    QLineEdit *m_edit;
    TTypingLimit *m_limit;
    int m_maxLength = 0;
    TEditColors m_colors;
};

} // namespace ui
