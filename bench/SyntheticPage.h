#pragma once
// Reproducible pictures for the resampler benchmark: an A4 page scanned at
// 300 dpi (paper grain, lines of dark text, a colour photo) and a camera
// frame.
#include <QImage>

namespace bench {

QImage SyntheticPage(int width = 2480, int height = 3508);
QImage SyntheticFrame(int width = 640, int height = 480);

} // namespace bench
