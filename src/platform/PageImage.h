#pragma once
// The picture of a whole scanned page: tens of megabytes, made fresh for
// each page. Made in memory mapped for huge pages (see LargeBlocks.h),
// it costs a few dozen page faults rather than thousands, and the picture of
// the page before, once gone, gives its memory to the next.

#include <QImage>

namespace imaging {

/// A w x h image of `format` (pixels not initialised), or a null image when
/// the memory cannot be had. It behaves as any QImage: copies share it,
/// writing through a shared copy detaches, the memory goes with the last.
QImage NewPageImage(int w, int h, QImage::Format format);

} // namespace imaging
