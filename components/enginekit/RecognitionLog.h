#pragma once
// The engines' log of recognitions: one line for each page recognised,
// telling whether it was read from its pixels or served from a specimen
// description, so that whoever drove a run can tell a reading from a
// description. It names no person and holds nothing the page says.

#include <QString>

namespace enginekit {

/// How a recognised page came by its fields.
enum class PageReading { Read, Described };

/// Appends "read <detail>" or "described <detail>" as one line to file (made
/// for the user alone); nothing when file is empty. Detail names a zone
/// format or a description file, never a field's value.
void LogRecognition(const QString &file, PageReading reading, const QString &detail);

} // namespace enginekit
