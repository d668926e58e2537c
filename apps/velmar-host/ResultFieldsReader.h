#pragma once
// Reads a recognition window's results the way the host does after OK: the
// twelve result fields of the active data page, found by the names of the
// package's field table, into a person's record.

#include "PersonRecord.h"

#include <functional>

class QWidget;

namespace ui {
class TCaptionedEdit;
class TNullableDateEdit;
} // namespace ui

/// The package's edit controls behind a widget, or null. The host cannot use
/// qobject_cast on the package's classes: their type information is not
/// linked into it; the class name tells.
ui::TCaptionedEdit *AsText(QWidget *control);
ui::TNullableDateEdit *AsDate(QWidget *control);
inline const ui::TCaptionedEdit *AsText(const QWidget *c) { return AsText(const_cast<QWidget *>(c)); }
inline const ui::TNullableDateEdit *AsDate(const QWidget *c) { return AsDate(const_cast<QWidget *>(c)); }

/// How the window marked one field control.
enum class FieldMark { None, Doubtful, Erroneous };

/// The fields of form's add page, or of its edit page's recognised column
/// when edit is set; mark tells how each control is marked.
PersonRecord ReadResultFields(const QWidget *form, bool edit, const std::function<FieldMark(const QWidget *)> &mark);
