// TWAIN sources, scanning devices with their configuration, and scanning
// the feeder's next page into a package.

#include "enginekit/JpegFile.h"
#include "EngineState.h"
#include "Parallel.h"
#include "ScannerDialogs.h"
#include "SourceScan.h"
#include "ServerConfig.h"
#include "scanify-feed/SpecimenFeed.h"
#include "SpecimenPackage.h"
#include "TwainClient.h"

#include <QBuffer>
#include <QDir>
#include <cstdlib>
#include <QTransform>

namespace scproxy::engine {

namespace {

QImage AsScanned(const QImage &upright, int angle, int bitsPerPixel)
{
    QImage page = angle ? upright.transformed(QTransform().rotate(angle)) : upright;
    if (bitsPerPixel <= 1)
        return page.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    if (bitsPerPixel <= 8)
        return page.convertToFormat(QImage::Format_Grayscale8);
    return page.convertToFormat(QImage::Format_RGB888);
}

/// The specimen feeders (when the specimens are installed), then the source
/// manager's sources (listed again when relist is set: the operator is
/// choosing).
QStringList TwainSources(Instance &inst, bool relist = false)
{
    if (FaultActive(fault::NoSource))
        return {};
    // The operator choosing may have switched a scanner on since the last
    // list: the sources read their devices again then (it can take
    // seconds), never for a scan.
    if (relist || !inst.managerSources)
        inst.managerSources = twainclient::ListSources(nullptr, relist);
    QStringList sources;
    if (doubles::SpecimensInstalled(SpecimenFolder()))
        sources << QString::fromLatin1(FeederSourceName) << QString::fromLatin1(OfflineSourceName);
    for (const QString &s : *inst.managerSources)
        if (!sources.contains(s))
            sources << s;
    return sources;
}

bool FromManager(Instance &inst, const QString &source)
{
    return source != QLatin1String(FeederSourceName) && source != QLatin1String(OfflineSourceName)
           && TwainSources(inst).contains(source);
}

/// The page of a scan: from the source manager's source, or the feeder's
/// next page as it lies in the feeder. Null when nothing was scanned (the
/// instance's error set, or none when the operator cancelled the feeder's
/// dialog). *dib gets a source's page as it delivered it, when that is the
/// page unchanged.
QImage ScanPicture(Instance *inst, const Device &dev, const ScanConfiguration &config, ScWindowHandle owner,
                   std::shared_ptr<const ScanifySpecimen> *specimen, twainclient::DibFile *dib)
{
    if (dev.fromManager) {
        twainclient::Result r = twainclient::AcquirePage(dev.source, SourceSettings(config));
        // The operator's cancel is no fault: nothing scanned, no error.
        if (const ErrorCode code = ErrorCodeFor(r.outcome); code != NoError)
            Fail(inst, code, r.message);
        *dib = std::move(r.dib);
        return r.page;
    }
    if (config.showTwain && !ConfirmScan(dev.source, config, owner))
        return QImage(); // the operator cancelled the scanner dialog: nothing scanned, no error
    QStringList problems;
    *specimen = Feeder::Instance().Next(SpecimenFolder(), FeedPatterns(), config.Reading(), &problems);
    if (!*specimen) {
        Fail(inst, ScanError, doubles::EmptyFeederText(dev.source, SpecimenFolder())
                                  + (problems.isEmpty() ? QString() : QStringLiteral(": ") + problems.join(QStringLiteral("; "))));
        return QImage();
    }
    return AsScanned((*specimen)->picture, (*specimen)->feedAngle, config.bitsPerPixel);
}


/// Readings and files of pages still under way when the library is
/// unloaded or the process ends are waited for before what they use goes:
/// the glyphs are drawn here first, on the caller's thread, and the wait is
/// arranged after them, so it comes before they are destroyed; a file is
/// never left half written.
void FinishPagesAtExit()
{
    static const bool arranged = [] {
        mrz::PrepareReader();
        return std::atexit([] {
            Lock lock(S().lock);
            for (auto &[handle, image] : S().images) {
                if (image.zone.valid())
                    image.zone.wait();
                FileWritten(image);
            }
        }) == 0;
    }();
    (void)arranged;
}

} // namespace

ScBool SelectTwainSource(ScInstanceHandle instance, ScWindowHandle owner)
{
    Lock lock(S().lock);
    Instance *inst = LiveInstance(instance);
    if (!inst)
        return 0;
    const QStringList sources = TwainSources(*inst, true);
    if (sources.isEmpty()) {
        Fail(inst, SourceError, FaultMessage(fault::NoSource, QStringLiteral("No TWAIN source is installed")));
        return 0;
    }
    inst->owner = owner;
    const int chosen = ChooseSource(sources, int(sources.indexOf(inst->chosenSource)), owner);
    if (chosen < 0 || chosen >= sources.size())
        return 0; // the operator cancelled: no error
    inst->chosenSource = sources.at(chosen);
    return 1;
}

ScBool SelectClrSource(ScInstanceHandle instance)
{
    Lock lock(S().lock);
    Instance *inst = Find(S().instances, instance);
    Fail(inst, NotSupported, QStringLiteral("No CLR source is installed"));
    return 0;
}

std::int32_t TwainSourceCount(ScInstanceHandle instance)
{
    Lock lock(S().lock);
    Instance *inst = LiveInstance(instance);
    if (!inst)
        return 0;
    return std::int32_t(TwainSources(*inst).size());
}

const char *TwainSourceName(ScInstanceHandle instance, std::int32_t index)
{
    Lock lock(S().lock);
    Instance *inst = LiveInstance(instance);
    if (!inst)
        return nullptr;
    if (index == -1)
        return Returned(*inst, inst->chosenSource.toLocal8Bit());
    const QStringList sources = TwainSources(*inst);
    if (index < 0 || index >= sources.size()) {
        Fail(inst, BadArgument, QStringLiteral("There is no TWAIN source number %1").arg(index));
        return nullptr;
    }
    return Returned(*inst, sources.at(index).toLocal8Bit());
}

ScScanDeviceHandle ScannerOpen(ScInstanceHandle instance, TScDeviceClass deviceClass, const char *source)
{
    Lock lock(S().lock);
    Instance *inst = LiveInstance(instance);
    if (!inst)
        return 0;
    const QString name = Text(source);
    if (deviceClass != SC_DEV_SCANNER) {
        Fail(inst, NotSupported, QStringLiteral("Devices of class %1 are not supported").arg(deviceClass));
        return 0;
    }
    if (FaultActive(fault::SourceOpen)) {
        Fail(inst, SourceError, FaultMessage(fault::SourceOpen, QStringLiteral("The TWAIN source \"%1\" could not be opened").arg(name)));
        return 0;
    }
    if (name.isEmpty() || !TwainSources(*inst).contains(name)) {
        Fail(inst, SourceError, QStringLiteral("There is no TWAIN source \"%1\"").arg(name));
        return 0;
    }
    if (name == QLatin1String(OfflineSourceName)) {
        Fail(inst, SourceError, QStringLiteral("The TWAIN source \"%1\" does not respond: "
                                               "the scanner is switched off or not connected").arg(name));
        return 0;
    }
    Device device{instance, name, {}, FromManager(*inst, name)};
    if (inst->hasContext && inst->context.HasSection("DefaultScanningConfiguration"))
        device.config = ScanConfiguration::FromProfile(inst->context, "DefaultScanningConfiguration");
    const ScScanDeviceHandle handle = NewHandle();
    S().devices.emplace(handle, std::move(device));
    return handle;
}

ScBool ScannerSetConfiguration(ScScanDeviceHandle device, const char *configuration)
{
    Lock lock(S().lock);
    Device *dev = Find(S().devices, device);
    Instance *inst = dev ? Find(S().instances, dev->instance) : nullptr;
    if (!inst)
        return 0;
    Succeed(inst);
    if (FaultActive(fault::SetConfig))
        throw RaisedFault(FaultMessage(fault::SetConfig,
                                       QStringLiteral("Selecting the scanning configuration failed with an internal error"))
                              .toStdString());
    const QByteArray name = configuration ? QByteArray(configuration) : QByteArray();
    if (!inst->hasContext) {
        Fail(inst, ContextError, QStringLiteral("No configuration file is set up (ScSetupContext)"));
        return 0;
    }
    // The file is read again: what was written into it since the context was
    // set up ("ShowTWAIN" before every run) counts for this scan.
    ProfileFile file;
    if (!file.Load(inst->contextPath))
        file = inst->context;
    if (name.isEmpty() || !file.HasSection(name)) {
        Fail(inst, ContextError, QStringLiteral("The configuration file %1 has no scanning configuration \"%2\"")
                                     .arg(inst->contextPath, QString::fromLocal8Bit(name)));
        return 0;
    }
    dev->config = ScanConfiguration::FromProfile(file, name);
    return 1;
}

ScBool ScannerClose(ScScanDeviceHandle device)
{
    Lock lock(S().lock);
    return S().devices.erase(device) ? 1 : 0;
}

ScBool GetScanOptions(ScScanDeviceHandle device, TScScanOptions *options)
{
    Lock lock(S().lock);
    Device *dev = Find(S().devices, device);
    if (!dev || !options)
        return 0;
    std::memset(options, 0, sizeof *options);
    options->nXResolution = dev->config.resolutionX;
    options->nYResolution = dev->config.resolutionY;
    options->nBitsPerPixel = dev->config.bitsPerPixel;
    options->nQuality = ScanJpegQuality;
    options->bUseADF = dev->config.useAdf;
    options->bShowTWAINSettings = dev->config.showTwain;
    options->nSaveFormat = SC_IMG_FORMAT_DEF;
    return 1;
}

ScImageHandle PackageScan(ScPackageHandle package, ScScanDeviceHandle device, TScScanRequest *request)
{
    Lock lock(S().lock);
    Instance *inst = nullptr;
    Package *p = LivePackage(package, &inst);
    if (!p)
        return 0;
    Device *dev = Find(S().devices, device);
    if (!dev || dev->instance != p->instance) {
        Fail(inst, BadHandle, QStringLiteral("The scanning device is not open"));
        return 0;
    }
    if (request)
        request->nPagesAcquired = 0;
    if (FaultActive(fault::ScanError)) {
        Fail(inst, ScanError, FaultMessage(fault::ScanError, QStringLiteral("The scanner reports a paper jam")));
        return 0;
    }
    if (FaultActive(fault::ScanEmpty))
        return 0; // nothing came through, and the scanner says nothing about it

    ScanConfiguration config = dev->config;
    int saveFormat = SC_IMG_FORMAT_DEF;
    int quality = ScanJpegQuality;
    if (request) {
        const TScScanOptions &o = request->scanOptions;
        if (o.nXResolution > 0)
            config.resolutionX = o.nXResolution;
        if (o.nYResolution > 0)
            config.resolutionY = o.nYResolution;
        if (o.nBitsPerPixel > 0)
            config.bitsPerPixel = o.nBitsPerPixel;
        config.showTwain = o.bShowTWAINSettings != 0;
        saveFormat = o.nSaveFormat;
        if (o.nQuality > 0 && o.nQuality <= 100)
            quality = o.nQuality;
    }
    const ScWindowHandle owner = request && request->scanOptions.hwndApp ? request->scanOptions.hwndApp : inst->owner;
    Image image;
    twainclient::DibFile dib;
    image.picture = ScanPicture(inst, *dev, config, owner, &image.specimen, &dib);
    // A source's scan runs the application's events: the package or the
    // device may have been closed meanwhile.
    if (image.picture.isNull() || !(p = LivePackage(package, &inst)) || !Find(S().devices, device))
        return 0;
    image.package = package;
    image.config = config;
    image.origin = image.specimen ? PageOrigin::Feeder : PageOrigin::Scanner;
    FinishPagesAtExit();
    // A page read from its pixels is read while the package goes on with it
    // (its file, the archive's copy): recognition waits only for what is left.
    if (ReadFromPixels(image))
        image.zone = mrz::ReadAhead(image.picture).share();
    // A page's file still being written stands under a name of its own until
    // it is whole: the next page's name is chosen once the others are there.
    PageFilesWritten(*p);
    image.pageNumber = int(p->images.size()) + 1;
    const bool jpeg = saveFormat == SC_IMG_FORMAT_JPG;
    const QString name = FreeFileName(p->folder, QStringLiteral("Image%1").arg(image.pageNumber, 4, 10, QLatin1Char('0')),
                                      jpeg ? QStringLiteral(".jpg") : QStringLiteral(".bmp"));
    image.path = QDir(p->folder).filePath(name);
    // The file is written while the caller goes on with the page: tens of
    // megabytes the system may take its time to accept. A source's page
    // written as a BMP file is its DIB as it came. What keeps the file from
    // being written is told by the next call that needs it (FileWritten).
    // A feeder's page is encoded here (Qt's image writers stay on the
    // caller's thread); it is small.
    QByteArray bmp;
    if (!jpeg && !dib.bytes) {
        QBuffer buffer(&bmp);
        if (!buffer.open(QIODevice::WriteOnly) || !image.picture.save(&buffer, "BMP")) {
            Fail(inst, ScanError, QStringLiteral("Cannot write %1").arg(image.path));
            return 0;
        }
    }
    const auto write = [jpeg, quality, dib = std::move(dib), bmp = std::move(bmp), picture = image.picture,
                        path = image.path]() -> QString {
        try {
            return jpeg        ? passportreader::WriteJpegFile(picture, path, quality)
                   : dib.bytes ? twainclient::WriteDibFile(dib, path)
                               : twainclient::WritePageFile(path, {bmp});
        } catch (const std::exception &e) {
            return QStringLiteral("Cannot write %1: %2").arg(path, QString::fromLocal8Bit(e.what()));
        }
    };
    try {
        image.file = std::async(std::launch::async, write).share();
    } catch (const std::system_error &) {
        // No thread to be had: written now, as before anything went aside.
        std::promise<QString> now;
        now.set_value(write());
        image.file = now.get_future().share();
    }
    const ScImageHandle handle = NewHandle();
    S().images.emplace(handle, std::move(image));
    p->images.push_back(handle);
    if (request)
        request->nPagesAcquired = 1;
    return handle;
}

} // namespace scproxy::engine
