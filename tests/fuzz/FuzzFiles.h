#pragma once
// Scratch files of the fuzz targets whose input is a file on disk: one
// private folder per process, removed at exit, the same file rewritten for
// every input.

#include <QSize>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace fuzz {

/// The process's scratch folder.
QString ScratchFolder();

/// Writes the input into the scratch folder under name; returns its path.
QString ScratchFile(const QString &name, const uint8_t *data, size_t size);

/// Writes a grey picture of that size into the scratch folder (as PNG for
/// a name ending in ".png"); returns its path.
QString ScratchPicture(const QString &name, QSize size);

} // namespace fuzz
