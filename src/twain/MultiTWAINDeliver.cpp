// Where an acquired picture goes: the clipboard, a file, an image control.
#include "MultiTWAIN_p.h"

#include "BmpWriter.h"
#include "DibLayout.h"
#include "LockedBlock.h"
#include "ui/TPictureBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <optional>

extern "C" {

TWAIN_BOOL TWAIN_AcquireToClipboard(TWAIN_HWND hwndApp, int32_t nPixTypes)
{
    TWAIN_HDIB dib = TWAIN_AcquireNative(hwndApp, nPixTypes);
    if (!dib)
        return 0;
    TWAIN_BOOL result = 0;
    QClipboard *clipboard = twain::EnsureApplication() ? QGuiApplication::clipboard() : nullptr;
    if (clipboard) {
        twain::LockedBlock block(dib);
        if (block) {
            // The clipboard keeps its own copy: the picture for any reader,
            // and the bitmap file bytes, the device-independent form.
            auto *mime = new QMimeData;
            const QImage image = twain::DibToImage(block.data(), block.size());
            if (!image.isNull())
                mime->setImageData(image);
            const QByteArray bmp = twain::BmpBytes(block.data(), block.size());
            if (!bmp.isEmpty())
                mime->setData(QStringLiteral("image/bmp"), bmp);
            if (!image.isNull() || !bmp.isEmpty()) {
                clipboard->setMimeData(mime);
                result = 1;
            } else {
                delete mime;
            }
        }
    }
    TWAIN_FreeNative(dib);
    return result;
}

int32_t TWAIN_AcquireToFilename(TWAIN_HWND hwndApp, const char *pszFile)
{
    TWAIN_HDIB dib = TWAIN_AcquireNative(hwndApp, TWAIN_ANYTYPE);
    if (!dib)
        return TWAIN_FILE_CANCELLED;
    const int32_t result = TWAIN_WriteNativeToFilename(dib, pszFile);
    TWAIN_FreeNative(dib);
    return result;
}

void CopyDIBIntoImage(TWAIN_HDIB hDIB, TWAIN_HIMAGE image)
{
    auto *box = static_cast<ui::TPictureBox *>(image);
    if (!box)
        return;
    // A DIB that does not fit its block leaves the control as it was: no
    // resizing and no bitmap of a size the header merely claims.
    int dibW = 0;
    int dibH = 0;
    {
        twain::LockedBlock block(hDIB);
        const std::optional<twain::DibLayout> l =
            block ? twain::ReadDibLayout(block.data(), block.size()) : std::nullopt;
        if (!l)
            return;
        dibW = l->width;
        dibH = static_cast<int>(l->rows());
    }
    const QSize controlSize = box->size();
    box->resize(dibW, dibH);
    // A control without a picture makes a bitmap of its (new) size; one with
    // a picture is drawn over, and the picture keeps its size.
    if (!box->HasGraphic()) {
        QImage fresh(dibW, dibH, QImage::Format_RGB32);
        fresh.fill(Qt::white);
        box->SetPicture(fresh);
    }
    QImage &bitmap = box->Bitmap();
    if (!bitmap.isNull() && bitmap.format() != QImage::Format_RGB32 && bitmap.format() != QImage::Format_ARGB32
        && bitmap.format() != QImage::Format_ARGB32_Premultiplied)
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
    if (!bitmap.isNull()) {
        QPainter painter(&bitmap);
        TWAIN_DrawDibToDC(&painter, 0, 0, dibW, dibH, hDIB, 0, 0);
    }
    box->Invalidate();
    box->resize(controlSize);
}

} // extern "C"
