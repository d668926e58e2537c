// A bitmap file as a scanner or a user leaves it: loaded through the
// package's picture loader by its ".bmp" name. Any bytes either give a whole
// picture or a clear error naming the file; never a crash, never a picture
// with missing lines.
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "imaging/PictureFile.h"

#include <QImageReader>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The limit the host runs with; the loaders must respect it themselves.
    QImageReader::setAllocationLimit(128);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::ScratchFile(QStringLiteral("page.bmp"), data, size);
    try {
        const QImage image = imaging::LoadPictureFile(path);
        FUZZ_CHECK(!image.isNull() && image.width() > 0 && image.height() > 0);
    } catch (const std::runtime_error &e) {
        FUZZ_CHECK(QString::fromUtf8(e.what()).contains(path));
    }
    return 0;
}
