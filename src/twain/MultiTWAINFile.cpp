// BMP files: the writer, the reader, and the file dialogs that name them.
#include "MultiTWAIN_p.h"

#include "BmpWriter.h"
#include "DibLayout.h"
#include "LockedBlock.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <cerrno>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace twain {

namespace {

FileDialogHook &fileDialogHook()
{
    static FileDialogHook hook;
    return hook;
}

bool writeAll(int fd, const void *data, std::size_t size)
{
    const auto *p = static_cast<const uint8_t *>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

/// Reads up to `size` bytes; the count that came.
std::size_t readUpTo(int fd, void *data, std::size_t size)
{
    auto *p = static_cast<uint8_t *>(data);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, p + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

/// Whether `need` more bytes can be read from the descriptor, found without
/// reading when it is a regular file; nullopt when it cannot be told.
std::optional<bool> bytesAvailable(int fd, uint64_t need)
{
    struct stat st{};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    const off_t at = lseek(fd, 0, SEEK_CUR);
    if (at < 0)
        return std::nullopt;
    return st.st_size >= at && uint64_t(st.st_size - at) >= need;
}

/// The DIB of `size` bytes that follows the file header: read into a new
/// fixed block, or null when fewer bytes come. From a pipe the bytes are
/// gathered first, so no block larger than what arrived is allocated.
HGLOBAL readDibBlock(int fd, std::size_t size)
{
    const std::optional<bool> available = bytesAvailable(fd, size);
    if (available.has_value() && !*available)
        return nullptr;
    std::vector<uint8_t> gathered;
    if (!available.has_value()) {
        constexpr std::size_t Chunk = 1 << 20;
        while (gathered.size() < size) {
            const std::size_t want = std::min(Chunk, size - gathered.size());
            const std::size_t at = gathered.size();
            gathered.resize(at + want);
            const std::size_t got = readUpTo(fd, gathered.data() + at, want);
            if (got < want)
                return nullptr;
        }
    }
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, size);
    if (!block)
        return nullptr;
    auto *data = static_cast<uint8_t *>(GlobalLock(block));
    bool complete = data != nullptr;
    if (complete) {
        if (available.has_value())
            complete = readUpTo(fd, data, size) == size;
        else
            std::copy(gathered.begin(), gathered.end(), data);
        GlobalUnlock(block);
    }
    if (!complete) {
        GlobalFree(block);
        return nullptr;
    }
    return block;
}

/// The DIB read from a file whose pixels start `pixelsAt` bytes after the
/// file header: a writer may leave unused bytes between the colour table and
/// the pixels. The DIB a block holds is packed, so the pixels move down over
/// those bytes inside the block read (a block may be larger than its DIB),
/// and the bytes they leave at its end are cleared. Pixels said to start
/// inside the header or the colour table cannot be honoured: they are taken
/// to follow the table, as in every file without a gap. Null when the pixels
/// would start past the file's end. `dibBytes` becomes what the file gave of
/// the DIB, so a file cut short is still found short.
HGLOBAL withoutGap(HGLOBAL block, uint64_t pixelsAt, std::size_t &dibBytes)
{
    {
        LockedBlock read(block);
        const std::optional<DibLayout> l = read ? ReadDibHeader(read.data(), read.size()) : std::nullopt;
        if (!l)
            return block; // refused whole by the caller's check
        const std::size_t size = read.size();
        if (pixelsAt <= size) {
            if (pixelsAt > l->bitsOffset) {
                const auto head = static_cast<std::size_t>(l->bitsOffset);
                const auto from = static_cast<std::size_t>(pixelsAt);
                std::memmove(read.data() + head, read.data() + from, size - from);
                std::memset(read.data() + head + (size - from), 0, from - head);
                dibBytes = head + (size - from);
            }
            return block;
        }
    }
    GlobalFree(block);
    return nullptr;
}

} // namespace

FileDialogHook SetFileDialogHook(FileDialogHook hook)
{
    return std::exchange(fileDialogHook(), std::move(hook));
}

QString AskBitmapFileName(bool save)
{
    const QString filter = save ? QStringLiteral("Windows Bitmap (*.bmp)") : QStringLiteral("Windows Bitmaps (*.bmp)");
    QString name;
    if (const FileDialogHook &hook = fileDialogHook())
        name = hook(save, filter);
    else if (EnsureApplication())
        name = save ? QFileDialog::getSaveFileName(nullptr, QString(), QString(), filter)
                    : QFileDialog::getOpenFileName(nullptr, QString(), QString(), filter);
    if (name.isEmpty())
        return QString();
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".bmp");
    return name;
}

} // namespace twain

extern "C" {

TWAIN_BOOL TWAIN_WriteDibToFile(TWAIN_BITMAPINFOHEADER *lpDIB, int fd)
{
    // No block size is known here: the caller vouches for the DIB.
    return twain::WriteBmp(reinterpret_cast<uint8_t *>(lpDIB), SIZE_MAX,
                           [fd](const void *data, std::size_t size) { return twain::writeAll(fd, data, size); })
               ? 1
               : 0;
}

int32_t TWAIN_WriteNativeToFile(TWAIN_HDIB hdib, int fd)
{
    twain::LockedBlock block(hdib);
    if (!block)
        return TWAIN_FILE_NOT_LOCKED;
    const bool ok = twain::WriteBmp(block.data(), block.size(), [fd](const void *data, std::size_t size) {
        return twain::writeAll(fd, data, size);
    });
    return ok ? TWAIN_FILE_DONE : TWAIN_FILE_WRITE_FAILED;
}

int32_t TWAIN_WriteNativeToFilename(TWAIN_HDIB hdib, const char *pszFile)
{
    QString name = pszFile ? QFile::decodeName(pszFile) : QString();
    if (name.isEmpty()) {
        name = twain::AskBitmapFileName(true);
        if (name.isEmpty())
            return TWAIN_FILE_CANCELLED;
    }
    const QByteArray path = QFile::encodeName(name);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return TWAIN_FILE_NOT_CREATED;
    // Nobody else may work on the file while it is written.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ftruncate(fd, 0) != 0) {
        ::close(fd);
        return TWAIN_FILE_NOT_CREATED;
    }
    const int32_t result = TWAIN_WriteNativeToFile(hdib, fd);
    ::close(fd);
    return result;
}

TWAIN_HDIB TWAIN_LoadNativeFromFile(int fd)
{
    TWAIN_BITMAPFILEHEADER file{};
    if (twain::readUpTo(fd, &file, sizeof file) < sizeof file || file.bfType != 0x4D42)
        return nullptr;
    // The DIB starts right after the file header, its pixels where bfOffBits
    // says; a size too small for any header, or larger than the file, is
    // refused before allocating.
    if (file.bfSize < sizeof file + sizeof(TWAIN_BITMAPCOREHEADER))
        return nullptr;
    const std::size_t size = file.bfSize - sizeof file;
    HGLOBAL block = twain::readDibBlock(fd, size);
    std::size_t dibBytes = size;
    if (block && file.bfOffBits > sizeof file)
        block = twain::withoutGap(block, file.bfOffBits - sizeof file, dibBytes);
    if (!block)
        return nullptr;
    bool valid;
    {
        twain::LockedBlock locked(block);
        valid = locked && twain::ReadDibLayout(locked.data(), std::min(locked.size(), dibBytes)).has_value();
    }
    if (!valid) {
        GlobalFree(block);
        return nullptr;
    }
    return block;
}

TWAIN_HDIB TWAIN_LoadNativeFromFilename(const char *pszFile)
{
    QString name = pszFile ? QFile::decodeName(pszFile) : QString();
    if (name.isEmpty()) {
        name = twain::AskBitmapFileName(false);
        if (name.isEmpty())
            return nullptr;
    }
    const QByteArray path = QFile::encodeName(name);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    // Others may read meanwhile, but not write.
    if (flock(fd, LOCK_SH | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    TWAIN_HDIB dib = TWAIN_LoadNativeFromFile(fd);
    ::close(fd);
    return dib;
}

} // extern "C"
