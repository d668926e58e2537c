#pragma once
// Reads a recognition window's results the way the host does after OK: the
// twelve result fields of the active data page, found by the names of the
// package's field table, into a person's record.

#include "PersonRecord.h"

class QWidget;

/// Puts a person's values into the current-data column of form's edit page,
/// as the host does before it shows the window.
void FillCurrentFields(QWidget *form, const PersonRecord &record);

/// The fields of form's add page, or of its edit page's recognised column
/// when edit is set, with the doubt and error marks the window painted on
/// each (the passport-reader window's red letters count as a doubt). A field
/// holding the text of _S_NOT_RECOGNIZED has no value: it is read as empty
/// and listed as unreadable instead of marked.
PersonRecord ReadResultFields(const QWidget *form, bool edit);
