// A bitmap file as TWAIN_LoadNativeFromFile reads it into a DIB, and what
// reads that DIB: its geometry, its palette, drawing it into a picture
// control and on a painter, and writing it back to a file, which must read
// back as the same picture. Any bytes give a DIB or none; never a crash,
// never a read past the block.
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "FuzzMessageBoxes.h"
#include "twain/MultiTWAIN.h"
#include "ui/TPictureBox.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

int32_t writeDib(TWAIN_HDIB dib, const QString &path)
{
    const int out = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    FUZZ_CHECK(out >= 0);
    const int32_t result = TWAIN_WriteNativeToFile(dib, out);
    ::close(out);
    return result;
}

QByteArray readWhole(const QString &path)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    fuzz::AnswerEveryMessageBox();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::ScratchFile(QStringLiteral("scan.bmp"), data, size);
    const int in = ::open(path.toLocal8Bit().constData(), O_RDONLY);
    FUZZ_CHECK(in >= 0);
    TWAIN_HDIB dib = TWAIN_LoadNativeFromFile(in);
    ::close(in);
    if (!dib)
        return 0;

    const int32_t width = TWAIN_DibWidth(dib);
    const int32_t height = TWAIN_DibHeight(dib);
    const int32_t depth = TWAIN_DibDepth(dib);
    FUZZ_CHECK(width > 0 && height != 0);
    FUZZ_CHECK(depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32);
    FUZZ_CHECK(TWAIN_DibNumColors(dib) >= 0);
    TWAIN_DeletePalette(TWAIN_CreateDibPalette(dib));

    // Drawing a picture the size the headers claim is the loader's business
    // to refuse; keep the fuzzer to pictures it can draw quickly.
    const bool drawable = qint64(width) * std::llabs(height) <= 4 * 1024 * 1024;
    QImage picture;
    if (drawable) {
        ui::TPictureBox box;
        CopyDIBIntoImage(dib, &box);
        picture = box.Picture();
        QImage canvas(64, 48, QImage::Format_RGB32);
        QPainter painter(&canvas);
        TWAIN_DrawDibToDC(&painter, 0, 0, 64, 48, dib, 0, 0);
    }

    // Written back, the file reads as the same picture, and writing that
    // again gives the same file.
    const QString copy = fuzz::ScratchFolder() + QStringLiteral("/copy.bmp");
    FUZZ_CHECK(writeDib(dib, copy) == 0);
    TWAIN_FreeNative(dib);
    const int back = ::open(copy.toLocal8Bit().constData(), O_RDONLY);
    FUZZ_CHECK(back >= 0);
    TWAIN_HDIB again = TWAIN_LoadNativeFromFile(back);
    ::close(back);
    FUZZ_CHECK(again != nullptr);
    FUZZ_CHECK(TWAIN_DibWidth(again) == width && TWAIN_DibHeight(again) == height && TWAIN_DibDepth(again) == depth);
    if (drawable) {
        ui::TPictureBox box;
        CopyDIBIntoImage(again, &box);
        FUZZ_CHECK(box.Picture() == picture);
    }
    const QString second = fuzz::ScratchFolder() + QStringLiteral("/copy2.bmp");
    FUZZ_CHECK(writeDib(again, second) == 0);
    TWAIN_FreeNative(again);
    FUZZ_CHECK(readWhole(copy) == readWhole(second));
    return 0;
}
