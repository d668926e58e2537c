// A bitmap file as TWAIN_LoadNativeFromFile reads it into a DIB, and what
// reads that DIB: its geometry, its palette, drawing it into a picture
// control and on a painter, and writing it back to a file. Any bytes give a
// DIB or none; never a crash, never a read past the block.
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "FuzzMessageBoxes.h"
#include "twain/MultiTWAIN.h"
#include "ui/TPictureBox.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

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
    if (qint64(width) * std::llabs(height) <= 4 * 1024 * 1024) {
        ui::TPictureBox box;
        CopyDIBIntoImage(dib, &box);
        QImage canvas(64, 48, QImage::Format_RGB32);
        QPainter painter(&canvas);
        TWAIN_DrawDibToDC(&painter, 0, 0, 64, 48, dib, 0, 0);
    }
    const QString copy = fuzz::ScratchFolder() + QStringLiteral("/copy.bmp");
    const int out = ::open(copy.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    FUZZ_CHECK(out >= 0);
    TWAIN_WriteNativeToFile(dib, out);
    ::close(out);
    TWAIN_FreeNative(dib);
    return 0;
}
