#pragma once
// Scratch files of the fuzz targets whose input is a file on disk: one
// private folder per process, removed at exit, the same file rewritten for
// every input.

#include <QString>
#include <cstddef>
#include <cstdint>

namespace fuzz {

/// The process's scratch folder.
QString ScratchFolder();

/// Writes the input into the scratch folder under name; returns its path.
QString ScratchFile(const QString &name, const uint8_t *data, size_t size);

} // namespace fuzz
