#include "common/RecognitionFields.h"

#include "common/FieldOutcome.h"
#include "base/PackageTexts.h"
#include "base/engCommon9rMessages.h"
#include "ui/TCaptionedEdit.h"
#include "ui/TMessageBox.h"
#include "ui/TNullableDateEdit.h"

#include <QCheckBox>
#include <QDate>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace recognition {

namespace {


template <class W>
W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

/// Width of the captions beside the edits of the two columns of the edit page.
constexpr int SideLabelWidth = 110;

QString captionOf(const TFieldDescription &field, TColumn column)
{
    return QString::fromUtf8(column != TColumn::Add && field.editCaption ? field.editCaption : field.caption);
}

/// A field's control with its caption: a captioned edit, or a date edit with
/// its separate label in a small holder. Returns the widget to lay out.
QWidget *makeField(QWidget *parent, const TFieldDescription &field, TColumn column, QWidget *&control,
                   QLabel *&label)
{
    const bool readOnly = column == TColumn::Current;
    const bool labelLeft = column != TColumn::Add;
    const QString caption = captionOf(field, column);
    if (!field.date) {
        auto *edit = named(new ui::TCaptionedEdit(caption, parent, labelLeft ? ui::TCaptionedEdit::LabelLeft
                                                                              : ui::TCaptionedEdit::LabelAbove),
                           ControlName(field, column));
        if (labelLeft) {
            edit->EditLabel()->setFixedWidth(SideLabelWidth);
            edit->EditLabel()->setWordWrap(true);
        }
        edit->SetMaxLength(field.maxLength);
        edit->SetReadOnly(readOnly);
        control = edit;
        label = nullptr;
        return edit;
    }
    auto *holder = new QWidget(parent);
    QBoxLayout *box = labelLeft ? static_cast<QBoxLayout *>(new QHBoxLayout(holder))
                                : static_cast<QBoxLayout *>(new QVBoxLayout(holder));
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(labelLeft ? 4 : 1);
    label = named(new QLabel(caption, holder), DateLabelName(field, column));
    if (labelLeft) {
        label->setFixedWidth(SideLabelWidth);
        label->setWordWrap(true);
    }
    auto *edit = named(new ui::TNullableDateEdit(holder), ControlName(field, column));
    edit->SetReadOnly(readOnly);
    label->setBuddy(edit->Edit());
    box->addWidget(label);
    box->addWidget(edit);
    control = edit;
    return holder;
}

QFrame *dataPanel(QWidget *parent, const char *name, QPalette::ColorRole background)
{
    auto *panel = named(new QFrame(parent), QLatin1String(name));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, pal.color(background));
    panel->setPalette(pal);
    return panel;
}

} // namespace


std::optional<TDateOrderFault> CheckDateOrder(const QDate &B, const QDate &I, const QDate &E)
{
    const bool b = !B.isNull(), i = !I.isNull(), e = !E.isNull();
    if (b && i && e) {
        if (!(I > B) || !(E > B))
            return TDateOrderFault{&_S_BIRTHDAY_WRONG, rfDateOfBirth};
        if (!(E > I))
            return TDateOrderFault{&_S_EXPIRY_WRONG, rfDateOfExpiry};
    } else if (b && i) {
        if (!(I > B))
            return TDateOrderFault{&_S_BIRTHDAY_WRONG, rfDateOfBirth};
    } else if (b && e) {
        if (!(E > B))
            return TDateOrderFault{&_S_BIRTHDAY_WRONG, rfDateOfBirth};
    } else if (i && e) {
        if (!(E > I))
            return TDateOrderFault{&_S_EXPIRY_WRONG, rfDateOfExpiry};
    }
    return std::nullopt;
}

QWidget *ScrollingPage(QWidget *page, Qt::ScrollBarPolicy horizontal)
{
    auto *box = new QVBoxLayout(page);
    box->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(page);
    scroll->setObjectName(page->objectName() + QStringLiteral("Scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(horizontal);
    auto *content = new QWidget();
    content->setObjectName(page->objectName() + QStringLiteral("Content"));
    scroll->setWidget(content);
    box->addWidget(scroll);
    return content;
}

QGridLayout *TResultFieldSet::BuildAddFields(QWidget *page)
{
    // Row, column and column span of each field on the add page.
    struct Cell { int row, column, span; };
    constexpr std::array<Cell, rfCount> cells = {{
        {0, 0, 3}, {1, 0, 3}, {2, 0, 3}, {3, 0, 2}, {3, 2, 1}, // names, number, sex
        {4, 0, 1}, {5, 0, 1}, {5, 1, 1},                       // the three dates
        {4, 1, 2}, {6, 0, 3}, {7, 0, 1}, {7, 1, 2},            // place, issuer, code, nationality
    }};
    // Created row by row, left to right: the order the operator tabs through.
    std::array<std::size_t, rfCount> order{};
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::pair(cells[a].row, cells[a].column) < std::pair(cells[b].row, cells[b].column);
    });
    auto *grid = new QGridLayout();
    for (const std::size_t i : order) {
        QWidget *cell = makeField(page, ResultFieldTable[i], TColumn::Add, m_add[i], m_addLabel[i]);
        grid->addWidget(cell, cells[i].row, cells[i].column, 1, cells[i].span);
    }
    for (int c = 0; c < 3; ++c)
        grid->setColumnStretch(c, 1);
    return grid;
}

QLayout *TResultFieldSet::BuildEditColumns(QWidget *page, QFrame *&currentPanel, QFrame *&recognizedPanel)
{
    currentPanel = dataPanel(page, "pnlCurrentData", QPalette::Base);
    recognizedPanel = dataPanel(page, "pnlRecognizedData", QPalette::ToolTipBase);
    auto *copyColumn = named(new QWidget(page), QStringLiteral("pnlCopyBoxes"));

    // Every row has one height, so each copy box sits between its two values.
    const int rowHeight = QLineEdit().sizeHint().height() + 4;
    auto *currBox = new QVBoxLayout(currentPanel);
    auto *recBox = new QVBoxLayout(recognizedPanel);
    auto *copyBox = new QVBoxLayout(copyColumn);
    for (QVBoxLayout *box : {currBox, recBox, copyBox}) {
        box->setContentsMargins(6, 4, 6, 4);
        box->setSpacing(3);
    }
    // The panels' frames take room inside them; the copy column has none.
    const int frame = currentPanel->frameWidth();
    copyBox->setContentsMargins(0, 4 + frame, 0, 4 + frame);
    auto title = [rowHeight](QWidget *parent, const char *name, const QString &text) {
        auto *label = named(new QLabel(text, parent), QLatin1String(name));
        label->setFixedHeight(rowHeight);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        return label;
    };
    currBox->addWidget(title(currentPanel, "laCurrentData", QStringLiteral("Текущие данные")));
    recBox->addWidget(title(recognizedPanel, "laRecognizedData", QStringLiteral("Распознанные данные")));
    copyBox->addWidget(title(copyColumn, "laCopyData", QString()));
    for (const TFieldDescription &f : ResultFieldTable) {
        const auto i = std::size_t(f.field);
        QWidget *curr = makeField(currentPanel, f, TColumn::Current, m_curr[i], m_currLabel[i]);
        QWidget *rec = makeField(recognizedPanel, f, TColumn::Recognized, m_rec[i], m_recLabel[i]);
        for (QWidget *w : {curr, rec})
            w->setFixedHeight(rowHeight);
        auto *cell = new QWidget(copyColumn);
        cell->setFixedHeight(rowHeight);
        auto *cellBox = new QVBoxLayout(cell);
        cellBox->setContentsMargins(0, 0, 0, 0);
        m_copy[i] = named(new QCheckBox(cell), QLatin1String(f.copyBox));
        cellBox->addWidget(m_copy[i], 0, Qt::AlignCenter);
        currBox->addWidget(curr);
        recBox->addWidget(rec);
        copyBox->addWidget(cell);
    }
    currBox->addStretch(1);
    recBox->addStretch(1);
    copyBox->addStretch(1);

    auto *columns = new QHBoxLayout();
    columns->addWidget(currentPanel, 1);
    columns->addWidget(copyColumn);
    columns->addWidget(recognizedPanel, 1);
    return columns;
}

QWidget *TResultFieldSet::Control(TResultField field, TColumn column) const
{
    const auto i = std::size_t(field);
    switch (column) {
    case TColumn::Add: return m_add[i];
    case TColumn::Current: return m_curr[i];
    case TColumn::Recognized: return m_rec[i];
    }
    return nullptr;
}

ui::TCaptionedEdit *TResultFieldSet::Text(TResultField field, TColumn column) const
{
    return qobject_cast<ui::TCaptionedEdit *>(Control(field, column));
}

ui::TNullableDateEdit *TResultFieldSet::Date(TResultField field, TColumn column) const
{
    return qobject_cast<ui::TNullableDateEdit *>(Control(field, column));
}

QLabel *TResultFieldSet::DateLabel(TResultField field, TColumn column) const
{
    const auto i = std::size_t(field);
    switch (column) {
    case TColumn::Add: return m_addLabel[i];
    case TColumn::Current: return m_currLabel[i];
    case TColumn::Recognized: return m_recLabel[i];
    }
    return nullptr;
}

bool TResultFieldSet::HasValue(TResultField field, TColumn column) const
{
    if (ui::TNullableDateEdit *date = Date(field, column))
        return !date->IsNull();
    ui::TCaptionedEdit *text = Text(field, column);
    return text && !text->Text().trimmed().isEmpty();
}

void TResultFieldSet::ClearColumn(TColumn column) const
{
    for (const TFieldDescription &f : ResultFieldTable) {
        if (ui::TNullableDateEdit *date = Date(f.field, column))
            date->SetNull();
        else if (ui::TCaptionedEdit *text = Text(f.field, column))
            text->Clear();
    }
}

void TResultFieldSet::ClearMarking(TColumn column, TMarking marking) const
{
    for (const TFieldDescription &f : ResultFieldTable)
        ClearOutcome(Control(f.field, column), marking);
}

void TResultFieldSet::UpdateCopyBoxes(std::optional<TResultField> except) const
{
    for (const TFieldDescription &f : ResultFieldTable) {
        if (except == f.field)
            continue;
        QCheckBox *box = CopyBox(f.field);
        const bool present = HasValue(f.field, TColumn::Current);
        box->setEnabled(present);
        if (!present && box->isChecked())
            box->setChecked(false);
    }
}

void TResultFieldSet::CopyCurrentValues(std::optional<TResultField> except) const
{
    for (const TFieldDescription &f : ResultFieldTable) {
        if (except == f.field || !CopyBox(f.field)->isChecked())
            continue;
        if (ui::TNullableDateEdit *date = Date(f.field, TColumn::Recognized))
            date->SetDate(Date(f.field, TColumn::Current)->Date());
        else
            Text(f.field, TColumn::Recognized)->SetText(Text(f.field, TColumn::Current)->Text().trimmed());
    }
}

bool TResultFieldSet::ConfirmDateOrder(QWidget *owner, TColumn column) const
{
    ui::TNullableDateEdit *birth = Date(rfDateOfBirth, column);
    ui::TNullableDateEdit *issue = Date(rfDateOfIssue, column);
    ui::TNullableDateEdit *expiry = Date(rfDateOfExpiry, column);
    // Text the date edit could not read is neither a date nor empty: the
    // operator corrects or clears it before the data leaves the window.
    for (const TResultField field : {rfDateOfBirth, rfDateOfIssue, rfDateOfExpiry})
        if (ui::TNullableDateEdit *date = Date(field, column); date->HasUnreadableText()) {
            ui::MessageBoxCall box;
            box.owner = owner;
            box.text = QString(texts::DateNotRecognized).arg(date->Text().trimmed(), texts::DatePattern);
            box.caption = LoadResString(&_S_ERROR);
            box.icon = QMessageBox::Critical;
            // The typed text is the person's date: the log names the field.
            box.logText = QStringLiteral("Не распознана дата в поле \"%1\".")
                              .arg(QString::fromUtf8(ResultFields()[field].caption));
            ui::ShowMessageBox(box);
            date->setFocus(Qt::OtherFocusReason);
            return false;
        }
    // A date shown in place of one the engine could not read is no reading:
    // the operator checks it against the document before it is saved. All
    // such dates are named at once, the first one taking the focus.
    QStringList standIns;
    ui::TNullableDateEdit *first = nullptr;
    for (TResultField field : {rfDateOfBirth, rfDateOfIssue, rfDateOfExpiry}) {
        ui::TNullableDateEdit *date = Date(field, column);
        if (!date->IsStandIn())
            continue;
        if (!first)
            first = date;
        standIns << QStringLiteral("\"%1\"").arg(QString::fromUtf8(ResultFieldTable[field].caption));
    }
    if (first) {
        const QString shown = first->Text().trimmed();
        ui::ShowMessageBox(owner,
                           standIns.size() == 1
                               ? QString(texts::TodayShownInField)
                                     .arg(standIns.front(), shown)
                               : QString(texts::TodayShownInFields)
                                     .arg(standIns.join(QStringLiteral(", ")), shown),
                           LoadResString(&_S_ERROR), QMessageBox::Critical);
        first->setFocus(Qt::OtherFocusReason);
        return false;
    }
    const std::optional<TDateOrderFault> fault = CheckDateOrder(birth->Date(), issue->Date(), expiry->Date());
    if (!fault)
        return true;
    ui::ShowMessageBox(owner, LoadResString(fault->message), LoadResString(&_S_ERROR), QMessageBox::Critical);
    Date(fault->focus, column)->setFocus(Qt::OtherFocusReason);
    return false;
}

} // namespace recognition

namespace {

template <class T>
void bindMember(QWidget *form, T *&member, const QString &name)
{
    member = form->findChild<T *>(name);
}

} // namespace

void TResultFieldMembers::BindResultFields(QWidget *form)
{
    using namespace recognition;
    struct Column
    {
        TColumn column;
        std::array<ui::TCaptionedEdit **, 9> texts;
        std::array<ui::TNullableDateEdit **, 3> dates;
        std::array<QLabel **, 3> labels;
    };
    // Texts in field order without the dates; dates birth, issue, expiry.
    const Column columns[] = {
        {TColumn::Add,
         {&ledLastName, &ledFirstName, &ledMiddleName, &ledPassportNumber, &ledSex, &ledPlaceOfBirth, &ledIssuedBy,
          &ledDepartmentCode, &ledNationality},
         {&dteDateOfBirth, &dteDateOfIssue, &dteDateOfExpiry},
         {&laDateOfBirth, &laDateOfIssue, &laDateOfExpiry}},
        {TColumn::Current,
         {&ledLastNameCurr, &ledFirstNameCurr, &ledMiddleNameCurr, &ledPassportNumberCurr, &ledSexCurr,
          &ledPlaceOfBirthCurr, &ledIssuedByCurr, &ledDepartmentCodeCurr, &ledNationalityCurr},
         {&dteDateOfBirthCurr, &dteDateOfIssueCurr, &dteDateOfExpiryCurr},
         {&laDateOfBirthCurr, &laDateOfIssueCurr, &laDateOfExpiryCurr}},
        {TColumn::Recognized,
         {&ledLastNameRec, &ledFirstNameRec, &ledMiddleNameRec, &ledPassportNumberRec, &ledSexRec,
          &ledPlaceOfBirthRec, &ledIssuedByRec, &ledDepartmentCodeRec, &ledNationalityRec},
         {&dteDateOfBirthRec, &dteDateOfIssueRec, &dteDateOfExpiryRec},
         {&laDateOfBirthRec, &laDateOfIssueRec, &laDateOfExpiryRec}},
    };
    QCheckBox **copies[rfCount] = {&cxCopyLastName, &cxCopyFirstName, &cxCopyMiddleName, &cxCopyNumber,
                                   &cxCopySex, &cxCopyBirthDate, &cxCopyIssueDate, &cxCopyExpiryDate,
                                   &cxCopyBirthPlace, &cxCopyIssueBy, &cxCopyDepartmentCode, &cxCopyNationlity};
    for (const Column &c : columns) {
        std::size_t text = 0, date = 0;
        for (const TFieldDescription &f : ResultFields()) {
            if (f.date) {
                bindMember(form, *c.dates[date], ControlName(f, c.column));
                bindMember(form, *c.labels[date], DateLabelName(f, c.column));
                ++date;
            } else {
                bindMember(form, *c.texts[text++], ControlName(f, c.column));
            }
        }
    }
    for (const TFieldDescription &f : ResultFields())
        bindMember(form, *copies[f.field], QLatin1String(f.copyBox));
}
