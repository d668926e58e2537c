// Packages as folders on disk and the images scanned into them.

#include "enginekit/JpegFile.h"
#include "EngineState.h"
#include "ServerConfig.h"

#include <QDir>
#include <QFileInfo>

namespace scproxy::engine {

namespace {

constexpr int DefaultJpegQuality = 75;

ScPackageHandle AddPackage(ScInstanceHandle instance, const QString &folder)
{
    const ScPackageHandle handle = NewHandle();
    S().packages.emplace(handle, Package{instance, QFileInfo(folder).absoluteFilePath(), {}, {}, {}});
    return handle;
}

} // namespace

ScPackageHandle PackageCreate(ScInstanceHandle instance, const char *folder)
{
    Lock lock(S().lock);
    Instance *inst = LiveInstance(instance);
    if (!inst)
        return 0;
    const QString path = Text(folder);
    if (FaultActive(fault::Package)) {
        Fail(inst, PackageError, FaultMessage(fault::Package, QStringLiteral("The package %1 could not be created: "
                                                                             "the package storage is not available").arg(path)));
        return 0;
    }
    if (path.isEmpty()) {
        Fail(inst, BadArgument, QStringLiteral("No package folder was given"));
        return 0;
    }
    const QFileInfo info(path);
    if (info.exists() && !info.isDir()) {
        Fail(inst, PackageError, QStringLiteral("The package folder %1 is a file").arg(path));
        return 0;
    }
    if (!QDir().mkpath(path)) {
        Fail(inst, PackageError, QStringLiteral("The package folder %1 cannot be created").arg(path));
        return 0;
    }
    return AddPackage(instance, path);
}

ScPackageHandle PackageOpen(ScInstanceHandle instance, const char *folder)
{
    Lock lock(S().lock);
    Instance *inst = LiveInstance(instance);
    if (!inst)
        return 0;
    const QString path = Text(folder);
    if (path.isEmpty() || !QFileInfo(path).isDir()) {
        Fail(inst, PackageError, QStringLiteral("There is no package folder %1").arg(path));
        return 0;
    }
    return AddPackage(instance, path);
}

ScBool PackageGetInformation(ScPackageHandle package, TScPackageInformation *info)
{
    Lock lock(S().lock);
    Instance *inst = nullptr;
    Package *p = LivePackage(package, &inst);
    if (!p || !info) {
        Fail(inst, p ? BadArgument : BadHandle, QStringLiteral("The package information cannot be given"));
        return 0;
    }
    std::memset(info, 0, sizeof *info);
    CopyText(info->szName, QDir::toNativeSeparators(p->folder).toLocal8Bit());
    info->nDocsCount = std::int32_t(p->documents.size());
    info->nFormsCount = std::int32_t(p->forms.size());
    info->nImagesCount = std::int32_t(p->images.size());
    return 1;
}

ScBool PackageMove(ScPackageHandle package, const char *newFolder)
{
    Lock lock(S().lock);
    Instance *inst = nullptr;
    Package *p = LivePackage(package, &inst);
    const QString target = Text(newFolder);
    // Files still being written are written under the folder's old name.
    if (p)
        PageFilesWritten(*p);
    if (!p || target.isEmpty() || QFileInfo::exists(target) || !QDir().rename(p->folder, target)) {
        Fail(inst, PackageError, QStringLiteral("The package cannot be moved to %1").arg(target));
        return 0;
    }
    const QString old = p->folder;
    p->folder = QFileInfo(target).absoluteFilePath();
    for (ScImageHandle i : p->images)
        if (Image *image = Find(S().images, i))
            image->path = QDir(p->folder).filePath(QFileInfo(image->path).fileName());
    return 1;
}

ScBool PackageRelease(ScPackageHandle package)
{
    Lock lock(S().lock);
    State &s = S();
    if (!s.packages.erase(package))
        return 0;
    // The folder and its files stay on disk.
    std::erase_if(s.images, [&](const auto &i) { return i.second.package == package; });
    std::erase_if(s.documents, [&](const auto &d) { return d.second.package == package; });
    return 1;
}

ScImageHandle PackageFirstImage(ScPackageHandle package)
{
    Lock lock(S().lock);
    Package *p = Find(S().packages, package);
    return p ? FirstOf(p->images) : 0;
}

ScImageHandle PackageNextImage(ScImageHandle image)
{
    Lock lock(S().lock);
    return NextInPackage(S().images, &Package::images, image);
}

ScBool ImageInformation(ScImageHandle image, TScImageInformation *info)
{
    Lock lock(S().lock);
    Image *i = Find(S().images, image);
    if (!i || !info)
        return 0;
    // The file is named only once it is there; a page whose file could not
    // be written leaves its package at recognition, so that a walk through
    // the pages still sees every one.
    if (const QString problem = FileWritten(*i); !problem.isEmpty()) {
        Fail(InstanceOfImage(image), ScanError, problem);
        return 0;
    }
    std::memset(info, 0, sizeof *info);
    CopyText(info->szFileName, QDir::toNativeSeparators(i->path).toLocal8Bit());
    info->nFilePage = 0;
    info->hDoc = i->document;
    info->cxDPI = i->config.resolutionX;
    info->cyDPI = i->config.resolutionY;
    info->cxWidth = i->picture.width();
    info->cyHeight = i->picture.height();
    if (Document *d = Find(S().documents, i->document))
        CopyText(info->szZoneType, d->specimen->zone);
    info->nRotated = i->specimen ? i->specimen->feedAngle : 0;
    info->nPageNumber = i->pageNumber;
    return 1;
}

ScBool PackageConvert(ScPackageHandle package)
{
    Lock lock(S().lock);
    Fail(InstanceOfPackage(package), NotSupported, QStringLiteral("Package conversion is not supported"));
    return 0;
}

ScBool ImageExport(ScImageHandle image, const char *fileName, const TScExportImageOptions *options)
{
    Lock lock(S().lock);
    Image *i = Find(S().images, image);
    Instance *inst = InstanceOfImage(image);
    if (!i || !inst)
        return 0;
    Succeed(inst);
    const QString path = Text(fileName);
    const int format = options ? options->nSaveFormat : SC_IMGSAVE_JPG;
    const int quality = options ? options->nJpegQuality : DefaultJpegQuality;
    if (FaultActive(fault::Export)) {
        Fail(inst, ExportError, FaultMessage(fault::Export, QStringLiteral("The image could not be exported to %1").arg(path)));
        return 0;
    }
    if (path.isEmpty()) {
        Fail(inst, BadArgument, QStringLiteral("No file name was given for the export"));
        return 0;
    }
    if (format != SC_IMGSAVE_JPG) {
        Fail(inst, NotSupported, QStringLiteral("Export format %1 is not supported").arg(format));
        return 0;
    }
    if (quality < 1 || quality > 100) {
        Fail(inst, BadArgument, QStringLiteral("JPEG quality %1 is outside 1..100").arg(quality));
        return 0;
    }
    const QString problem = passportreader::WriteJpegFile(i->picture, path, quality);
    if (!problem.isEmpty()) {
        Fail(inst, ExportError, problem);
        return 0;
    }
    return 1;
}

ScBool ImageResample(ScImageHandle image, std::int32_t xResolution, std::int32_t yResolution)
{
    Lock lock(S().lock);
    Image *i = Find(S().images, image);
    if (!i || xResolution <= 0 || yResolution <= 0 || i->config.resolutionX <= 0 || i->config.resolutionY <= 0)
        return 0;
    const int w = std::max(1, int(qint64(i->picture.width()) * xResolution / i->config.resolutionX));
    const int h = std::max(1, int(qint64(i->picture.height()) * yResolution / i->config.resolutionY));
    i->picture = i->picture.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    i->zone = {}; // read from the page as it is now
    i->config.resolutionX = xResolution;
    i->config.resolutionY = yResolution;
    return 1;
}

ScBool ImageDraw(ScImageHandle image)
{
    Lock lock(S().lock);
    Fail(InstanceOfImage(image), NotSupported, QStringLiteral("Drawing into a window is not supported"));
    return 0;
}

ScBool ImageDelete(ScImageHandle image)
{
    Lock lock(S().lock);
    Image *i = Find(S().images, image);
    Package *p = i ? Find(S().packages, i->package) : nullptr;
    if (!p)
        return 0;
    std::erase(p->images, image);
    S().images.erase(image);
    return 1;
}

} // namespace scproxy::engine
