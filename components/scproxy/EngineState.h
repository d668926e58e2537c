#pragma once
// The engine's objects and the one lock they live under. Every object is
// reached by a 32-bit handle from one counter; the maps own the objects.

#include "Engine.h"
#include "MrzReader.h"
#include "ScanConfiguration.h"
#include "scanify-feed/ScanifySpecimen.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstring>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace scproxy::engine {

/// JPEG quality of the pictures the engine writes into a package.
inline constexpr int ScanJpegQuality = 90;

struct Instance
{
    std::int32_t errorCode = NoError;
    QByteArray errorMessage;
    bool hasContext = false;
    QString contextPath;
    ProfileFile context;
    QString chosenSource;
    ScWindowHandle owner = 0; ///< the caller's window of the last source choice: the scanner dialog opens over it
    QByteArray returnedText; ///< the last text handed out by a query of the instance
    std::map<std::int32_t, QByteArray> options;
    /// The TWAIN source manager's sources, as listed at the instance's first
    /// need and again whenever the operator opens the source list.
    std::optional<QStringList> managerSources;
};

struct Device
{
    ScInstanceHandle instance = 0;
    QString source;
    ScanConfiguration config;
    bool fromManager = false; ///< a source of the TWAIN source manager, not a specimen feeder
};

/// Where a scanned page came from: a page of a real scanner has no
/// description and is read from its pixels.
enum class PageOrigin { Feeder, Scanner };

struct Image
{
    ScPackageHandle package = 0;
    QString path;
    QImage picture; ///< as scanned: the page turned as it lay in the feeder
    /// The feeder's page; null for a page of a real scanner.
    std::shared_ptr<const ScanifySpecimen> specimen;
    ScanConfiguration config;
    int pageNumber = 0;
    ScDocumentHandle document = 0;
    bool recognised = false;
    PageOrigin origin = PageOrigin::Feeder;
    /// The reading of the page's zone, begun as the page was scanned; none
    /// for a page not read from its pixels, or changed since.
    std::shared_future<mrz::MrzResult> zone;
    /// The page's file at path, written on a thread of its own from the
    /// moment it is scanned: what kept it from being written, empty when it
    /// was. None for a page whose file was written before it was kept.
    std::shared_future<QString> file;
};

/// Waits until the page's file is written; what kept it from being
/// written, empty when it was.
QString FileWritten(const Image &image);

/// Waits until the page's file is written. A page whose file could not be
/// written never became its package's: it is taken out, inst fails with
/// the reason as a scan would have, and false comes back.
bool PageFileKept(ScImageHandle handle, Instance *inst);

/// The page was scanned from a source of the TWAIN source manager.
inline bool PageFromScanner(const Image &image)
{
    return image.origin == PageOrigin::Scanner;
}

/// A real scanner's page is read from its pixels (PixelPage.h), and so are
/// the feeder's pictures without description (and all its pages when the
/// configuration says so).
bool ReadFromPixels(const Image &image);

/// The zone on a page read from its pixels: the reading begun when it was
/// scanned, or one made now.
mrz::MrzResult ZoneOf(const Image &image);

struct FieldResult
{
    QByteArray value;
    std::int32_t flags = 0;
    QByteArray appInfo;
};

struct Document
{
    ScPackageHandle package = 0;
    ScImageHandle image = 0;
    std::int32_t form = 0;
    std::shared_ptr<const ScanifySpecimen> specimen;
    std::map<QByteArray, FieldResult> fields;
    QByteArray empty; ///< returned for a field the document does not have
};

struct Package
{
    ScInstanceHandle instance = 0;
    QString folder;
    std::vector<ScImageHandle> images;
    std::vector<ScDocumentHandle> documents;
    std::vector<std::shared_ptr<const ScanifySpecimen>> forms; ///< form n is forms[n - 1]
};

/// Waits until the files of every page of the package are written,
/// whether or not they could be.
void PageFilesWritten(const Package &package);

struct State
{
    std::recursive_mutex lock;
    std::uint32_t nextHandle = 1;
    std::map<ScInstanceHandle, Instance> instances;
    std::map<ScScanDeviceHandle, Device> devices;
    std::map<ScPackageHandle, Package> packages;
    std::map<ScImageHandle, Image> images;
    std::map<ScDocumentHandle, Document> documents;
    QByteArray startError; ///< message for instance 0 after a failed start
};

State &S();
using Lock = std::lock_guard<std::recursive_mutex>;
std::uint32_t NewHandle();

/// The object of handle in map, null when there is none.
template <typename Map>
auto *Find(Map &map, std::uint32_t handle)
{
    const auto it = map.find(handle);
    return it == map.end() ? nullptr : &it->second;
}

/// The first handle of list, 0 when it is empty.
inline std::uint32_t FirstOf(const std::vector<std::uint32_t> &list)
{
    return list.empty() ? 0 : list.front();
}

/// The handle after handle in list, 0 at the end or when it is not there.
inline std::uint32_t Following(const std::vector<std::uint32_t> &list, std::uint32_t handle)
{
    const auto it = std::find(list.begin(), list.end(), handle);
    return it != list.end() && it + 1 != list.end() ? *(it + 1) : 0;
}

/// The object of list (Package::images or Package::documents) that follows
/// the object of handle in its package, 0 at the end or when there is none.
template <typename Map>
std::uint32_t NextInPackage(Map &objects, std::vector<std::uint32_t> Package::*list, std::uint32_t handle)
{
    auto *object = Find(objects, handle);
    Package *p = object ? Find(S().packages, object->package) : nullptr;
    return p ? Following(p->*list, handle) : 0;
}

/// Copies text into a fixed buffer of the interface, cut to fit and always terminated.
template <std::size_t N>
void CopyText(char (&target)[N], const QByteArray &text)
{
    const std::size_t n = std::min<std::size_t>(N - 1, std::size_t(text.size()));
    std::memcpy(target, text.constData(), n);
    target[n] = '\0';
}

/// An 8-bit text of the caller; null reads as empty.
QString Text(const char *text);
/// Sets the last error of the instance (nothing when it is null).
void Fail(Instance *inst, std::int32_t code, const QString &message);
/// Clears the last error of the instance (nothing when it is null).
void Succeed(Instance *inst);
/// Keeps text as the instance's last returned text and hands it out.
const char *Returned(Instance &inst, const QByteArray &text);
/// Looks up an instance, clearing its error; null when there is none.
Instance *LiveInstance(ScInstanceHandle instance);
Instance *InstanceOfPackage(ScPackageHandle package);
Instance *InstanceOfImage(ScImageHandle image);
Instance *InstanceOfDocument(ScDocumentHandle document);
/// Looks up a package and its instance, clearing the instance's error; null when either is gone.
Package *LivePackage(ScPackageHandle handle, Instance **inst);
/// A file name not yet taken in folder: stem + suffix, else stem_2 + suffix, ...
QString FreeFileName(const QString &folder, const QString &stem, const QString &suffix);

} // namespace scproxy::engine