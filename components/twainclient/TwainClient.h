#pragma once
// What the engine stand-ins need of a scanner: the sources our TWAIN source
// manager lists, and one page from one of them, with the operator's
// settings, as a picture or as a fault the operator can act on.
//
// Every call opens the manager and closes it again before it returns, so
// nothing of a session outlives the call (the package's own TWAIN layer may
// open the same manager later). Calls are made on the application's thread
// while a QCoreApplication exists: sources run their windows and their
// scans through its event loop.

#include <QByteArrayView>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>

#if defined(TWAINCLIENT_LIBRARY)
#define TWAINCLIENT_EXPORT __attribute__((visibility("default")))
#else
#define TWAINCLIENT_EXPORT
#endif

namespace twainclient {

enum class PictureMode { Colour, Grey, BlackAndWhite };
enum class Orientation { Portrait, Landscape };

struct Settings
{
    PictureMode mode = PictureMode::Colour;
    int resolution = 300;                   ///< dots per inch; 0 keeps the source's own
    int resolutionY = 0;                    ///< vertical dots per inch; 0: as resolution
    std::optional<int> brightness;          ///< 0..100, 50 neutral; only where the source has it
    std::optional<Orientation> orientation; ///< only where the source has it
    QString paperSize;                      ///< a name of the operator's list ("A4", "Letter"...); empty: the source's own
    QRectF frameMm;                         ///< the part of the glass to scan, in millimetres; empty: the source's own
    std::optional<bool> feeder;             ///< the document feeder (true) or the flatbed; only where the source has both
    bool showSourceWindow = false;          ///< the source's own window, where the operator may change its settings
    /// How long the source may take to deliver the page or give up; zero:
    /// two minutes without its window, ten with it (the operator works it).
    std::chrono::milliseconds patience{0};
};

/// How an acquisition ended.
enum class Outcome {
    Scanned,
    NoScanner,     ///< no manager, no sources, or none of that name attached
    SourceRefused, ///< the source would not open or start
    Cancelled,     ///< the operator cancelled (or the source closed without a page)
    PaperJam,
    CoverOpen,
    NoDocument,   ///< nothing on the glass or in the feeder
    DeviceGone,   ///< the device stopped answering or was disconnected
    NoAnswer,     ///< the source gave nothing within the patience
    Failed,       ///< any other fault
};

/// A page as the source delivered it (a packed DIB), kept so that it can
/// be written as a picture file without being encoded again.
struct DibFile
{
    std::shared_ptr<const void> bytes; ///< null: none kept
    std::size_t size = 0;
};

struct Result
{
    Outcome outcome = Outcome::Failed;
    QImage page;     ///< the page, null unless Scanned
    QString message; ///< for the operator, in Russian; empty when Scanned
    DibFile dib;     ///< the page's DIB when page is that DIB unchanged, else none
};

/// Writes the DIB as a BMP file at path (as WritePageFile does).
TWAINCLIENT_EXPORT QString WriteDibFile(const DibFile &dib, const QString &path);

/// Writes the parts one after another as the file at path, whole or not at
/// all (a file that was there stays as it was when the new one cannot be
/// written). Empty when written, else why not (in English, for the engine's
/// error). The file is the owner's alone. Pictures of pages are not forced to the disk: that would keep the
/// operator waiting for every other file the system has yet to write.
TWAINCLIENT_EXPORT QString WritePageFile(const QString &path, std::initializer_list<QByteArrayView> parts);

/// The product names of the sources the manager lists, in its order. On
/// failure (no manager) *failure gets the operator's message. afresh: the
/// sources read their devices again first (a scanner switched on since is
/// listed; that can take seconds), else they answer from the lists they keep.
TWAINCLIENT_EXPORT QStringList ListSources(QString *failure = nullptr, bool afresh = false);

/// The settings beyond picture mode and resolution that a source has.
struct Offers
{
    bool brightness = false;
    bool orientation = false;
    bool paperSize = false;
};

/// What the source of that product name offers (it is opened and closed to
/// ask); none when it cannot be had.
TWAINCLIENT_EXPORT std::optional<Offers> SourceOffers(const QString &source);

/// One page from the source of that product name.
TWAINCLIENT_EXPORT Result AcquirePage(const QString &source, const Settings &settings);

} // namespace twainclient
