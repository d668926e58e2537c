#pragma once
// The progress lines of the Scanify path: they go to the host's default log,
// and only while the operator asked for a protocol (gl_Protocol).

#include <QString>

namespace scanify {

/// Writes line to the host's log when gl_Protocol is set.
void Protocol(const QString &line);

} // namespace scanify
