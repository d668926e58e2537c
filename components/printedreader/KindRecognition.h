#pragma once
// Which document a page shows, told by its printed title and labels.

#include "OcrText.h"
#include "PrintedFields.h"

#include <optional>
#include <vector>

namespace printed {

/// The kind whose labels the lines show best; empty when too few of any
/// kind's labels are there.
std::optional<DocumentKind> KindOfLines(const std::vector<OcrLine> &lines);

} // namespace printed
