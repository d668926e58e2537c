#pragma once
// The twelve result fields shared by both recognition windows, declared once:
// their control names, captions and limits, the engine fields the
// passport-reader window reads them from, and whether a recognised value is
// compared with the person's current one. Both windows build their data pages
// from this table and clear, copy, check and enable their controls through
// TResultFieldSet; the host reads the results by the same table.

#include "base/ResString.h"
#include "base/r9Export.h"

#include <QColor>
#include <QDate>
#include <QString>
#include <array>
#include <cstddef>
#include <optional>

class QCheckBox;
class QGridLayout;
class QFrame;
class QLabel;
class QLayout;
class QWidget;

namespace ui {
class TCaptionedEdit;
class TNullableDateEdit;
} // namespace ui

namespace recognition {

enum class TMarking; // common/FieldOutcome.h

/// The fields in the order of the rows of the edit page and of the copy.
enum TResultField : int {
    rfLastName,
    rfFirstName,
    rfMiddleName,
    rfPassportNumber,
    rfSex,
    rfDateOfBirth,
    rfDateOfIssue,
    rfDateOfExpiry,
    rfPlaceOfBirth,
    rfIssuedBy,
    rfDepartmentCode,
    rfNationality,
    rfCount
};

struct TFieldDescription
{
    TResultField field;
    const char *stem;        ///< "LastName": ledLastName, ledLastNameCurr, ledLastNameRec
    const char *copyBox;     ///< the copy box of the edit page
    const char *caption;     ///< caption on the add page and, unless editCaption, on the edit page
    const char *editCaption; ///< caption on the edit page when it differs; null otherwise
    int maxLength;           ///< what the operator may type; 0: no limit
    bool date;               ///< a date edit ("dte", with a label "la") instead of a text edit ("led")
    const char *engineField; ///< the passport-reader engine's field; null: read by its own rule
    const char *latinField;  ///< its Latin variant; null: none
    bool compared;           ///< the passport-reader window marks a value differing from the current one
    const char *recordKey;   ///< the key of the host's person record
};

/// The twelve descriptions, indexed by TResultField. Plain data, so a host
/// that loads the package at run time reads the results by it too.
// clang-format off
inline constexpr std::array<TFieldDescription, rfCount> ResultFieldTable = {{
    {rfLastName,       "LastName",       "cxCopyLastName",       "Фамилия",           nullptr,               0,   false, "LastName",     "LastName_EX",     true,  "lastName"},
    {rfFirstName,      "FirstName",      "cxCopyFirstName",      "Имя",               nullptr,               0,   false, "FirstName",    "FirstName_EX",    true,  "firstName"},
    {rfMiddleName,     "MiddleName",     "cxCopyMiddleName",     "Отчество",          nullptr,               0,   false, "MiddleName",   "MiddleName_EX",   true,  "middleName"},
    {rfPassportNumber, "PassportNumber", "cxCopyNumber",         "Номер",             nullptr,               100, false, nullptr,        nullptr,           true,  "passportNumber"},
    {rfSex,            "Sex",            "cxCopySex",            "Пол",               nullptr,               6,   false, "Sex",          "Sex_EX",          false, "sex"},
    {rfDateOfBirth,    "DateOfBirth",    "cxCopyBirthDate",      "Дата рождения",     nullptr,               0,   true,  "DateOfBirth",  nullptr,           true,  "dateOfBirth"},
    {rfDateOfIssue,    "DateOfIssue",    "cxCopyIssueDate",      "Когда выдан",       nullptr,               0,   true,  "DateOfIssue",  nullptr,           true,  "dateOfIssue"},
    {rfDateOfExpiry,   "DateOfExpiry",   "cxCopyExpiryDate",     "Действителен до",   nullptr,               0,   true,  "DateOfExpiry", nullptr,           true,  "dateOfExpiry"},
    {rfPlaceOfBirth,   "PlaceOfBirth",   "cxCopyBirthPlace",     "Место рождения",    nullptr,               255, false, "PlaceOfBirth", "PlaceOfBirth_EX", false, "placeOfBirth"},
    {rfIssuedBy,       "IssuedBy",       "cxCopyIssueBy",        "Кем выдан",         nullptr,               255, false, "IssuedBy",     nullptr,           true,  "issuedBy"},
    {rfDepartmentCode, "DepartmentCode", "cxCopyDepartmentCode", "Код подразделения", "Код подраз- деления", 20,  false, "DepartmentCode", nullptr,         true,  "departmentCode"},
    {rfNationality,    "Nationality",    "cxCopyNationlity",     "Гражданство",       nullptr,               100, false, "Nationality",  "Nationality_EX",  false, "nationality"},
}};
// clang-format on

inline const std::array<TFieldDescription, rfCount> &ResultFields() { return ResultFieldTable; }

enum class TColumn { Add, Current, Recognized };

inline const char *ColumnSuffix(TColumn column)
{
    switch (column) {
    case TColumn::Add: return "";
    case TColumn::Current: return "Curr";
    case TColumn::Recognized: return "Rec";
    }
    return "";
}

/// The control name of a field in a column: "ledLastNameRec", "dteDateOfBirth".
inline QString ControlName(const TFieldDescription &field, TColumn column)
{
    return QLatin1String(field.date ? "dte" : "led") + QLatin1String(field.stem) + QLatin1String(ColumnSuffix(column));
}

/// The label of a date field in a column: "laDateOfBirthCurr".
inline QString DateLabelName(const TFieldDescription &field, TColumn column)
{
    return QStringLiteral("la") + QLatin1String(field.stem) + QLatin1String(ColumnSuffix(column));
}

/// Which date of the three failed the order check, and the message to show.
struct TDateOrderFault
{
    const ResString *message;
    TResultField focus;
};

/// The order check of the three dates of one page (birth B, issue I, expiry
/// E; a null date is empty): the first rule whose pattern of filled dates
/// matches decides, comparisons are strict. None when the order is right or
/// fewer than two dates are filled.
std::optional<TDateOrderFault> CheckDateOrder(const QDate &birth, const QDate &issue, const QDate &expiry);

/// Gives a data page a scroll area and returns the widget to lay the page
/// out on: below the size its controls need, the page scrolls instead of
/// squeezing them on top of each other.
QWidget *ScrollingPage(QWidget *page, Qt::ScrollBarPolicy horizontal = Qt::ScrollBarAsNeeded);

/// The field controls of one recognition window: the add page's column and
/// the edit page's current and recognised columns with their copy boxes.
class TResultFieldSet
{
public:
    /// Builds the add page's fields into a grid on page.
    QGridLayout *BuildAddFields(QWidget *page);
    /// Builds the edit page's three columns (current data, copy boxes,
    /// recognised data) on page; the two panels are returned through the
    /// arguments. Returns the layout holding the columns.
    QLayout *BuildEditColumns(QWidget *page, QFrame *&currentPanel, QFrame *&recognizedPanel);

    QWidget *Control(TResultField field, TColumn column) const;
    ui::TCaptionedEdit *Text(TResultField field, TColumn column) const;
    ui::TNullableDateEdit *Date(TResultField field, TColumn column) const;
    QLabel *DateLabel(TResultField field, TColumn column) const;
    QCheckBox *CopyBox(TResultField field) const { return m_copy[std::size_t(field)]; }
    std::array<QCheckBox *, rfCount> CopyBoxes() const { return m_copy; }

    /// Whether the field holds a value: trimmed text, or a date.
    bool HasValue(TResultField field, TColumn column) const;
    /// What "Готово" needs: surname, first name and number, blanks aside.
    bool HasNameAndNumber(TColumn column) const
    {
        return HasValue(rfLastName, column) && HasValue(rfFirstName, column) && HasValue(rfPassportNumber, column);
    }
    /// Empties every field of a column (texts empty, dates Null).
    void ClearColumn(TColumn column) const;
    /// Takes the marking of every field of a column back to the system's
    /// look (see ClearOutcome).
    void ClearMarking(TColumn column, TMarking marking) const;

    /// Enables each copy box (but the one of `except`) exactly when its
    /// current value is present, unticking a box that gets disabled.
    void UpdateCopyBoxes(std::optional<TResultField> except) const;
    /// Copies each ticked current value over the recognised one, in field
    /// order: texts trimmed, dates as they are (empty included). The field
    /// `except` is never copied. Colours stay as they are.
    void CopyCurrentValues(std::optional<TResultField> except) const;

    /// The date order check of a column; on a fault the message box (owned
    /// by owner) is shown and the date to correct gets the focus. Text a date
    /// edit could not read counts as a fault too. Returns whether the page
    /// may close.
    bool ConfirmDateOrder(QWidget *owner, TColumn column) const;

private:
    std::array<QWidget *, rfCount> m_add{}, m_curr{}, m_rec{};
    std::array<QLabel *, rfCount> m_addLabel{}, m_currLabel{}, m_recLabel{};
    std::array<QCheckBox *, rfCount> m_copy{};
};

} // namespace recognition

/// The result controls both windows publish under their own names, for the
/// host (objectName and public member alike).
struct R9_EXPORT TResultFieldMembers
{
    // the add page
    ui::TCaptionedEdit *ledLastName = nullptr, *ledFirstName = nullptr, *ledMiddleName = nullptr,
                     *ledPassportNumber = nullptr, *ledSex = nullptr;
    QLabel *laDateOfBirth = nullptr;
    ui::TNullableDateEdit *dteDateOfBirth = nullptr;
    ui::TCaptionedEdit *ledPlaceOfBirth = nullptr;
    QLabel *laDateOfIssue = nullptr;
    ui::TNullableDateEdit *dteDateOfIssue = nullptr;
    QLabel *laDateOfExpiry = nullptr;
    ui::TNullableDateEdit *dteDateOfExpiry = nullptr;
    ui::TCaptionedEdit *ledIssuedBy = nullptr, *ledDepartmentCode = nullptr, *ledNationality = nullptr;
    // the edit page: current values (read only), filled by the host
    ui::TCaptionedEdit *ledLastNameCurr = nullptr, *ledFirstNameCurr = nullptr, *ledMiddleNameCurr = nullptr,
                     *ledPassportNumberCurr = nullptr, *ledSexCurr = nullptr;
    QLabel *laDateOfBirthCurr = nullptr;
    ui::TNullableDateEdit *dteDateOfBirthCurr = nullptr;
    ui::TCaptionedEdit *ledPlaceOfBirthCurr = nullptr;
    QLabel *laDateOfIssueCurr = nullptr;
    ui::TNullableDateEdit *dteDateOfIssueCurr = nullptr;
    QLabel *laDateOfExpiryCurr = nullptr;
    ui::TNullableDateEdit *dteDateOfExpiryCurr = nullptr;
    ui::TCaptionedEdit *ledIssuedByCurr = nullptr, *ledDepartmentCodeCurr = nullptr, *ledNationalityCurr = nullptr;
    // the edit page: recognised values (editable)
    ui::TCaptionedEdit *ledLastNameRec = nullptr, *ledFirstNameRec = nullptr, *ledMiddleNameRec = nullptr,
                     *ledPassportNumberRec = nullptr, *ledSexRec = nullptr;
    QLabel *laDateOfBirthRec = nullptr;
    ui::TNullableDateEdit *dteDateOfBirthRec = nullptr;
    ui::TCaptionedEdit *ledPlaceOfBirthRec = nullptr;
    QLabel *laDateOfIssueRec = nullptr;
    ui::TNullableDateEdit *dteDateOfIssueRec = nullptr;
    QLabel *laDateOfExpiryRec = nullptr;
    ui::TNullableDateEdit *dteDateOfExpiryRec = nullptr;
    ui::TCaptionedEdit *ledIssuedByRec = nullptr, *ledDepartmentCodeRec = nullptr, *ledNationalityRec = nullptr;
    // copy the current value over the recognised one
    QCheckBox *cxCopyLastName = nullptr, *cxCopyFirstName = nullptr, *cxCopyMiddleName = nullptr,
              *cxCopyNumber = nullptr, *cxCopySex = nullptr, *cxCopyBirthDate = nullptr,
              *cxCopyIssueDate = nullptr, *cxCopyExpiryDate = nullptr, *cxCopyBirthPlace = nullptr,
              *cxCopyIssueBy = nullptr, *cxCopyDepartmentCode = nullptr, *cxCopyNationlity = nullptr;

    /// Points the members at the controls of set, found by their names.
    void BindResultFields(QWidget *form);
};
