#include "common/FieldOutcome.h"

#include "base/ResString.h"
#include "base/engCommon9rMessages.h"

namespace recognition {

namespace {

template <class Edit>
void paint(Edit *edit, const TFieldOutcome &outcome, TMarking marking)
{
    if (marking == TMarking::Text) {
        edit->SetFontColor(outcome.Marked() ? ui::MarkedTextColor() : QColor());
        return;
    }
    if (outcome.error) {
        edit->SetBackgroundColor(ui::ErroneousFieldBackground());
        edit->SetHint(LoadResString(&_S_ERROR_IN_RECOGNITION));
    } else if (outcome.doubtful) {
        edit->SetBackgroundColor(ui::DoubtfulFieldBackground());
        edit->SetHint(LoadResString(&_S_DOUNT_IN_RECOGNITION));
    } else {
        edit->SetBackgroundColor(ui::NormalFieldBackground());
        edit->SetHint(QString());
    }
}

template <class Edit>
void clear(Edit *edit, TMarking marking)
{
    if (marking == TMarking::Text) {
        edit->SetFontColor(QColor());
        return;
    }
    edit->SetBackgroundColor(QColor());
    edit->SetHint(QString());
}

} // namespace

void PaintOutcome(QWidget *control, const TFieldOutcome &outcome, TMarking marking)
{
    if (auto *text = qobject_cast<ui::TCaptionedEdit *>(control))
        paint(text, outcome, marking);
    else if (auto *date = qobject_cast<ui::TNullableDateEdit *>(control))
        paint(date, outcome, marking);
}

void ClearOutcome(QWidget *control, TMarking marking)
{
    if (auto *text = qobject_cast<ui::TCaptionedEdit *>(control))
        clear(text, marking);
    else if (auto *date = qobject_cast<ui::TNullableDateEdit *>(control))
        clear(date, marking);
}

bool TextDiffers(const QString &recognised, const QString &current)
{
    return !current.trimmed().isEmpty() && recognised.trimmed().toLower() != current.trimmed().toLower();
}

bool DateDiffers(const QDate &recognised, const QDate &current)
{
    return !current.isNull() && current != recognised;
}

} // namespace recognition
