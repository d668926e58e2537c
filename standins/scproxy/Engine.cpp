#include "Engine.h"

#include "../passportreader/JpegFile.h"
#include "ProfileFile.h"
#include "ScanConfiguration.h"
#include "ScannerDialogs.h"
#include "ScanifySpecimen.h"
#include "StandinConfig.h"

#include <QDir>
#include <QFileInfo>
#include <QTransform>
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace scproxy::engine {

namespace {

constexpr std::uint32_t ApiVersion = 0x00030002;
constexpr int DefaultJpegQuality = 75;
constexpr int ScanJpegQuality = 90;

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
};

struct Device
{
    ScInstanceHandle instance = 0;
    QString source;
    ScanConfiguration config;
};

struct Image
{
    ScPackageHandle package = 0;
    QString path;
    QImage picture; ///< as scanned: the page turned as it lay in the feeder
    std::shared_ptr<const ScanifySpecimen> specimen;
    ScanConfiguration config;
    int pageNumber = 0;
    ScDocumentHandle document = 0;
    bool recognised = false;
};

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

State &S()
{
    static State state;
    return state;
}

using Lock = std::lock_guard<std::recursive_mutex>;

std::uint32_t NewHandle()
{
    return S().nextHandle++;
}

template <typename Map>
auto *Find(Map &map, std::uint32_t handle)
{
    const auto it = map.find(handle);
    return it == map.end() ? nullptr : &it->second;
}

QString Text(const char *text)
{
    return text ? QString::fromLocal8Bit(text) : QString();
}

void Fail(Instance *inst, std::int32_t code, const QString &message)
{
    if (inst) {
        inst->errorCode = code;
        inst->errorMessage = message.toLocal8Bit();
    }
}

void Succeed(Instance *inst)
{
    if (inst) {
        inst->errorCode = NoError;
        inst->errorMessage.clear();
    }
}

/// Copies text into a fixed buffer of the interface, cut to fit and always terminated.
template <std::size_t N>
void CopyText(char (&target)[N], const QByteArray &text)
{
    const std::size_t n = std::min<std::size_t>(N - 1, std::size_t(text.size()));
    std::memcpy(target, text.constData(), n);
    target[n] = '\0';
}

const char *Returned(Instance &inst, const QByteArray &text)
{
    inst.returnedText = text;
    return inst.returnedText.constData();
}

Instance *InstanceOfPackage(ScPackageHandle package)
{
    Package *p = Find(S().packages, package);
    return p ? Find(S().instances, p->instance) : nullptr;
}

Instance *InstanceOfImage(ScImageHandle image)
{
    Image *i = Find(S().images, image);
    return i ? InstanceOfPackage(i->package) : nullptr;
}

Instance *InstanceOfDocument(ScDocumentHandle document)
{
    Document *d = Find(S().documents, document);
    return d ? InstanceOfPackage(d->package) : nullptr;
}

QStringList TwainSources()
{
    if (FaultActive(fault::NoSource))
        return {};
    return {QString::fromLatin1(FeederSourceName), QString::fromLatin1(OfflineSourceName)};
}

/// A file name not yet taken in folder: stem + suffix, else stem_2 + suffix, ...
QString FreeFileName(const QString &folder, const QString &stem, const QString &suffix)
{
    const QDir dir(folder);
    QString name = stem + suffix;
    for (int n = 2; dir.exists(name); ++n)
        name = QStringLiteral("%1_%2%3").arg(stem).arg(n).arg(suffix);
    return name;
}

QImage AsScanned(const QImage &upright, int angle, int bitsPerPixel)
{
    QImage page = angle ? upright.transformed(QTransform().rotate(angle)) : upright;
    if (bitsPerPixel <= 1)
        return page.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    if (bitsPerPixel <= 8)
        return page.convertToFormat(QImage::Format_Grayscale8);
    return page.convertToFormat(QImage::Format_RGB888);
}

/// The zone of config that reads specimen: one whose turn brings the page
/// upright if there is such a zone, else the first that reads that kind of
/// document at all. Null when no zone does.
const ZoneReading *ReadingZone(const ScanConfiguration &config, const ScanifySpecimen &specimen)
{
    const ZoneReading *turned = nullptr;
    for (const ZoneReading &z : config.zones) {
        if (z.readingZone.compare(specimen.zone, Qt::CaseInsensitive) != 0)
            continue;
        if (NormalisedAngle(specimen.feedAngle + z.turn) == 0)
            return &z;
        if (!turned)
            turned = &z;
    }
    return turned;
}

/// The portrait as the zone sees it: upright when its turn brings the page upright.
QString WritePhoto(const Package &package, const ScanifySpecimen &s, int angleAsRead)
{
    const QImage portrait = s.picture.copy(s.photo.zone).transformed(QTransform().rotate(angleAsRead));
    const QFileInfo wanted(s.photo.file);
    const QString name = FreeFileName(package.folder, wanted.completeBaseName(), QLatin1Char('.') + wanted.suffix());
    if (!passportreader::WriteJpegFile(portrait, QDir(package.folder).filePath(name), ScanJpegQuality).isEmpty())
        return {};
    return name;
}

std::int32_t FormNumber(Package &package, const std::shared_ptr<const ScanifySpecimen> &s)
{
    for (std::size_t i = 0; i < package.forms.size(); ++i)
        if (package.forms[i]->formId == s->formId)
            return std::int32_t(i + 1);
    package.forms.push_back(s);
    return std::int32_t(package.forms.size());
}

void Recognise(ScPackageHandle packageHandle, Package &package, ScImageHandle imageHandle, Image &image)
{
    image.recognised = true;
    if (!image.specimen || FaultActive(fault::NoDocument))
        return;
    const ScanifySpecimen &s = *image.specimen;
    const ZoneReading *zone = ReadingZone(image.config, s);
    if (!zone)
        return;
    const int asRead = NormalisedAngle(s.feedAngle + zone->turn);
    const bool upright = asRead == 0;
    if (!upright)
        Feeder::Instance().KeepOnGlass(image.specimen);

    Document doc;
    doc.package = packageHandle;
    doc.image = imageHandle;
    doc.specimen = image.specimen;
    doc.form = FormNumber(package, image.specimen);
    for (const SpecimenField &f : s.fields) {
        FieldResult r;
        if (f.readsOnlyUpright && !upright) {
            r.flags = SCF_VRS_ERROR;
        } else {
            r.value = f.value.toLocal8Bit();
            r.flags = f.flags;
        }
        doc.fields[f.id] = r;
    }
    if (!s.photo.field.isEmpty())
        doc.fields[s.photo.field].value = WritePhoto(package, s, asRead).toLocal8Bit();

    const ScDocumentHandle handle = NewHandle();
    S().documents.emplace(handle, std::move(doc));
    package.documents.push_back(handle);
    image.document = handle;
}

/// Looks up a package and its instance, clearing the instance's error; null when either is gone.
Package *LivePackage(ScPackageHandle handle, Instance **inst)
{
    *inst = InstanceOfPackage(handle);
    Succeed(*inst);
    return *inst ? Find(S().packages, handle) : nullptr;
}

} // namespace

std::uint32_t GetScanifyAPIVersion()
{
    return ApiVersion;
}

std::int32_t GetErrorCode(ScInstanceHandle instance)
{
    Lock lock(S().lock);
    if (instance == 0)
        return S().startError.isEmpty() ? NoError : StartError;
    Instance *inst = Find(S().instances, instance);
    return inst ? inst->errorCode : BadHandle;
}

const char *GetErrorMessage(ScInstanceHandle instance)
{
    Lock lock(S().lock);
    if (instance == 0)
        return S().startError.constData();
    Instance *inst = Find(S().instances, instance);
    return inst ? inst->errorMessage.constData() : "The engine instance handle is not valid";
}

ScInstanceHandle Initialize(const TScInitializeOption *option)
{
    Lock lock(S().lock);
    if (FaultActive(fault::Init)) {
        S().startError = FaultMessage(fault::Init, QStringLiteral("The recognition modules could not be started: "
                                                                  "the licence key was not found"))
                             .toLocal8Bit();
        return 0;
    }
    if (option && option->nEnabledSubsystems != 0 && (option->nEnabledSubsystems & SC_SUBSYSTEM_SCAN) == 0) {
        S().startError = QByteArrayLiteral("The scanning subsystem is required by this engine");
        return 0;
    }
    S().startError.clear();
    const ScInstanceHandle handle = NewHandle();
    S().instances.emplace(handle, Instance{});
    return handle;
}

ScBool Terminate(ScInstanceHandle instance)
{
    Lock lock(S().lock);
    State &s = S();
    if (!s.instances.erase(instance))
        return 0;
    // Everything the instance opened goes with it; the package folders stay on disk.
    std::erase_if(s.devices, [&](const auto &d) { return d.second.instance == instance; });
    for (auto it = s.packages.begin(); it != s.packages.end();) {
        if (it->second.instance == instance) {
            const ScPackageHandle p = it->first;
            std::erase_if(s.images, [&](const auto &i) { return i.second.package == p; });
            std::erase_if(s.documents, [&](const auto &d) { return d.second.package == p; });
            it = s.packages.erase(it);
        } else {
            ++it;
        }
    }
    return 1;
}

ScBool SetOption(ScInstanceHandle instance, std::int32_t option, const char *value)
{
    Lock lock(S().lock);
    Instance *inst = Find(S().instances, instance);
    if (!inst)
        return 0;
    Succeed(inst);
    inst->options[option] = value ? QByteArray(value) : QByteArray();
    return 1;
}

const char *GetOption(ScInstanceHandle instance, std::int32_t option)
{
    Lock lock(S().lock);
    Instance *inst = Find(S().instances, instance);
    if (!inst)
        return nullptr;
    const auto it = inst->options.find(option);
    return Returned(*inst, it == inst->options.end() ? QByteArray() : it->second);
}

ScBool SetupContext(ScInstanceHandle instance, const char *configFile)
{
    Lock lock(S().lock);
    Instance *inst = Find(S().instances, instance);
    if (!inst)
        return 0;
    Succeed(inst);
    const QString path = Text(configFile);
    if (FaultActive(fault::Context)) {
        Fail(inst, ContextError, FaultMessage(fault::Context, QStringLiteral("The configuration %1 could not be taken").arg(path)));
        return 0;
    }
    if (path.isEmpty()) {
        Fail(inst, BadArgument, QStringLiteral("No configuration file was given"));
        return 0;
    }
    ProfileFile file;
    QString why;
    if (!QFileInfo(path).isFile() || !file.Load(path, &why)) {
        Fail(inst, ContextError,
             QStringLiteral("The configuration file %1 cannot be read%2").arg(path, why.isEmpty() ? QString() : QStringLiteral(": ") + why));
        return 0;
    }
    if (file.SectionCount() == 0) {
        Fail(inst, ContextError, QStringLiteral("The configuration file %1 holds no section").arg(path));
        return 0;
    }
    inst->hasContext = true;
    inst->contextPath = path;
    inst->context = file;
    return 1;
}

const char *GetContext(ScInstanceHandle instance)
{
    Lock lock(S().lock);
    Instance *inst = Find(S().instances, instance);
    return inst ? Returned(*inst, inst->contextPath.toLocal8Bit()) : nullptr;
}

ScPackageHandle PackageCreate(ScInstanceHandle instance, const char *folder)
{
    Lock lock(S().lock);
    Instance *inst = Find(S().instances, instance);
    if (!inst)
        return 0;
    Succeed(inst);
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
    const ScPackageHandle handle = NewHandle();
    S().packages.emplace(handle, Package{instance, QFileInfo(path).absoluteFilePath(), {}, {}, {}});
    return handle;
}

ScPackageHandle PackageOpen(ScInstanceHandle instance, const char *folder)
{
    Lock lock(S().lock);
    Instance *inst = Find(S().instances, instance);
    if (!inst)
        return 0;
    Succeed(inst);
    const QString path = Text(folder);
    if (path.isEmpty() || !QFileInfo(path).isDir()) {
        Fail(inst, PackageError, QStringLiteral("There is no package folder %1").arg(path));
        return 0;
    }
    const ScPackageHandle handle = NewHandle();
    S().packages.emplace(handle, Package{instance, QFileInfo(path).absoluteFilePath(), {}, {}, {}});
    return handle;
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

ScBool SelectTwainSource(ScInstanceHandle instance, ScWindowHandle owner)
{
    Lock lock(S().lock);
    Instance *inst = Find(S().instances, instance);
    if (!inst)
        return 0;
    Succeed(inst);
    const QStringList sources = TwainSources();
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
    Instance *inst = Find(S().instances, instance);
    if (!inst)
        return 0;
    Succeed(inst);
    return std::int32_t(TwainSources().size());
}

const char *TwainSourceName(ScInstanceHandle instance, std::int32_t index)
{
    Lock lock(S().lock);
    Instance *inst = Find(S().instances, instance);
    if (!inst)
        return nullptr;
    Succeed(inst);
    if (index == -1)
        return Returned(*inst, inst->chosenSource.toLocal8Bit());
    const QStringList sources = TwainSources();
    if (index < 0 || index >= sources.size()) {
        Fail(inst, BadArgument, QStringLiteral("There is no TWAIN source number %1").arg(index));
        return nullptr;
    }
    return Returned(*inst, sources.at(index).toLocal8Bit());
}

ScScanDeviceHandle ScannerOpen(ScInstanceHandle instance, TScDeviceClass deviceClass, const char *source)
{
    Lock lock(S().lock);
    Instance *inst = Find(S().instances, instance);
    if (!inst)
        return 0;
    Succeed(inst);
    const QString name = Text(source);
    if (deviceClass != SC_DEV_SCANNER) {
        Fail(inst, NotSupported, QStringLiteral("Devices of class %1 are not supported").arg(deviceClass));
        return 0;
    }
    if (FaultActive(fault::SourceOpen)) {
        Fail(inst, SourceError, FaultMessage(fault::SourceOpen, QStringLiteral("The TWAIN source \"%1\" could not be opened").arg(name)));
        return 0;
    }
    if (name.isEmpty() || !TwainSources().contains(name)) {
        Fail(inst, SourceError, QStringLiteral("There is no TWAIN source \"%1\"").arg(name));
        return 0;
    }
    if (name == QLatin1String(OfflineSourceName)) {
        Fail(inst, SourceError, QStringLiteral("The TWAIN source \"%1\" does not respond: "
                                               "the scanner is switched off or not connected").arg(name));
        return 0;
    }
    Device device{instance, name, {}};
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
        throw RaisedFault(FaultMessage(fault::SetConfig, QStringLiteral("Access violation at address 00000000 in module "
                                                                         "'libscproxy.so'. Read of address 00000000"))
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
    if (config.showTwain && !ConfirmScan(dev->source, config, owner))
        return 0; // the operator cancelled the scanner dialog: nothing scanned, no error

    QStringList problems;
    const auto specimen = Feeder::Instance().Next(SpecimenFolder(), FeedPatterns(), &problems);
    if (!specimen) {
        Fail(inst, ScanError, QStringLiteral("There is no document in the feeder (no usable description in %1)%2")
                                  .arg(SpecimenFolder(), problems.isEmpty() ? QString() : QStringLiteral(": ") + problems.join(QStringLiteral("; "))));
        return 0;
    }
    Image image;
    image.package = package;
    image.specimen = specimen;
    image.config = config;
    image.picture = AsScanned(specimen->picture, specimen->feedAngle, config.bitsPerPixel);
    image.pageNumber = int(p->images.size()) + 1;
    const bool jpeg = saveFormat == SC_IMG_FORMAT_JPG;
    const QString name = FreeFileName(p->folder, QStringLiteral("Image%1").arg(image.pageNumber, 4, 10, QLatin1Char('0')),
                                      jpeg ? QStringLiteral(".jpg") : QStringLiteral(".bmp"));
    image.path = QDir(p->folder).filePath(name);
    const QString written = jpeg ? passportreader::WriteJpegFile(image.picture, image.path, quality)
                                 : (image.picture.save(image.path, "BMP") ? QString() : QStringLiteral("Cannot write %1").arg(image.path));
    if (!written.isEmpty()) {
        Fail(inst, ScanError, written);
        return 0;
    }
    const ScImageHandle handle = NewHandle();
    S().images.emplace(handle, std::move(image));
    p->images.push_back(handle);
    if (request)
        request->nPagesAcquired = 1;
    return handle;
}

ScBool PackageRecog(ScPackageHandle package)
{
    Lock lock(S().lock);
    Instance *inst = nullptr;
    Package *p = LivePackage(package, &inst);
    if (!p)
        return 0;
    if (FaultActive(fault::Recog)) {
        Fail(inst, RecognitionError, FaultMessage(fault::Recog, QStringLiteral("The recognition module stopped with an internal error")));
        return 0;
    }
    for (ScImageHandle i : p->images)
        if (Image *image = Find(S().images, i); image && !image->recognised)
            Recognise(package, *p, i, *image);
    return 1;
}

ScImageHandle PackageFirstImage(ScPackageHandle package)
{
    Lock lock(S().lock);
    Package *p = Find(S().packages, package);
    return p && !p->images.empty() ? p->images.front() : 0;
}

ScImageHandle PackageNextImage(ScImageHandle image)
{
    Lock lock(S().lock);
    Image *i = Find(S().images, image);
    Package *p = i ? Find(S().packages, i->package) : nullptr;
    if (!p)
        return 0;
    const auto it = std::find(p->images.begin(), p->images.end(), image);
    return it != p->images.end() && it + 1 != p->images.end() ? *(it + 1) : 0;
}

ScBool ImageInformation(ScImageHandle image, TScImageInformation *info)
{
    Lock lock(S().lock);
    Image *i = Find(S().images, image);
    if (!i || !info)
        return 0;
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

ScDocumentHandle PackageFirstDoc(ScPackageHandle package)
{
    Lock lock(S().lock);
    Package *p = Find(S().packages, package);
    return p && !p->documents.empty() ? p->documents.front() : 0;
}

ScDocumentHandle PackageNextDoc(ScDocumentHandle document)
{
    Lock lock(S().lock);
    Document *d = Find(S().documents, document);
    Package *p = d ? Find(S().packages, d->package) : nullptr;
    if (!p)
        return 0;
    const auto it = std::find(p->documents.begin(), p->documents.end(), document);
    return it != p->documents.end() && it + 1 != p->documents.end() ? *(it + 1) : 0;
}

ScBool DocInformation(ScDocumentHandle document, TScDocInformation *info)
{
    Lock lock(S().lock);
    Document *d = Find(S().documents, document);
    if (!d || !info)
        return 0;
    std::memset(info, 0, sizeof *info);
    info->nForm = d->form;
    return 1;
}

ScImageHandle DocumentFirstImage(ScDocumentHandle document)
{
    Lock lock(S().lock);
    Document *d = Find(S().documents, document);
    return d ? d->image : 0;
}

ScImageHandle DocumentNextImage(ScImageHandle)
{
    return 0; // every document lies on one page
}

ScBool FormInformation(ScPackageHandle package, std::int32_t form, TScFormInformation *info)
{
    Lock lock(S().lock);
    Instance *inst = nullptr;
    Package *p = LivePackage(package, &inst);
    if (!p || !info || form < 1 || std::size_t(form) > p->forms.size()) {
        Fail(inst, BadArgument, QStringLiteral("There is no form number %1 in the package").arg(form));
        return 0;
    }
    const ScanifySpecimen &s = *p->forms[std::size_t(form) - 1];
    std::memset(info, 0, sizeof *info);
    CopyText(info->szId, s.formId);
    CopyText(info->szShortName, s.formId);
    CopyText(info->szLongName, s.formName.toLocal8Bit());
    CopyText(info->szCaption, s.formName.toLocal8Bit());
    info->nFieldsCount = std::int32_t(s.fields.size() + (s.photo.field.isEmpty() ? 0 : 1));
    info->nWidth = s.picture.width();
    info->nHeight = s.picture.height();
    info->cxDPI = 300;
    info->cyDPI = 300;
    return 1;
}

ScBool FieldInformation(ScPackageHandle package, std::int32_t form, std::int32_t field, TScFieldInformation *info)
{
    Lock lock(S().lock);
    Instance *inst = nullptr;
    Package *p = LivePackage(package, &inst);
    if (!p || !info || form < 1 || std::size_t(form) > p->forms.size()) {
        Fail(inst, BadArgument, QStringLiteral("There is no form number %1 in the package").arg(form));
        return 0;
    }
    const ScanifySpecimen &s = *p->forms[std::size_t(form) - 1];
    const std::int32_t count = std::int32_t(s.fields.size() + (s.photo.field.isEmpty() ? 0 : 1));
    if (field < 1 || field > count) {
        Fail(inst, BadArgument, QStringLiteral("Form %1 has no field number %2").arg(form).arg(field));
        return 0;
    }
    std::memset(info, 0, sizeof *info);
    info->nCntrlType = SCF_CT_EDIT;
    if (std::size_t(field) <= s.fields.size()) {
        const SpecimenField &f = s.fields[std::size_t(field) - 1];
        CopyText(info->szId, f.id);
        CopyText(info->szTitle, f.title.toLocal8Bit());
        info->nDataType = f.dataType;
    } else {
        CopyText(info->szId, s.photo.field);
        CopyText(info->szTitle, QByteArrayLiteral("Photo"));
        info->nDataType = SCF_DT_STRING;
        info->nCntrlStyle = SCF_CS_READONLY;
    }
    info->nTabOrder = field;
    info->nNextFldNo = field < count ? field + 1 : 0;
    return 1;
}

const char *FieldValue(ScDocumentHandle document, const char *fieldId, TScFieldValueAttr *attr)
{
    Lock lock(S().lock);
    Document *d = Find(S().documents, document);
    if (attr)
        std::memset(attr, 0, sizeof *attr);
    if (!d)
        return nullptr;
    Succeed(InstanceOfDocument(document));
    const auto it = fieldId ? d->fields.find(QByteArray(fieldId)) : d->fields.end();
    if (it == d->fields.end())
        return d->empty.constData(); // a field the form does not have reads as empty
    if (attr) {
        attr->nFlags = it->second.flags;
        attr->hImage = d->image;
        for (const SpecimenField &f : d->specimen->fields)
            if (f.id == it->first && !f.zone.isEmpty())
                attr->rcValue = TRect{f.zone.left(), f.zone.top(), f.zone.right() + 1, f.zone.bottom() + 1};
    }
    return it->second.value.constData();
}

ScBool SetFieldValue(ScDocumentHandle document, const char *fieldId, const char *value)
{
    Lock lock(S().lock);
    Document *d = Find(S().documents, document);
    if (!d || !fieldId)
        return 0;
    FieldResult &r = d->fields[QByteArray(fieldId)];
    r.value = value ? QByteArray(value) : QByteArray();
    r.flags = 0;
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

ScBool SetFieldAppInfo(ScDocumentHandle document, const char *fieldId, const char *info)
{
    Lock lock(S().lock);
    Document *d = Find(S().documents, document);
    if (!d || !fieldId)
        return 0;
    d->fields[QByteArray(fieldId)].appInfo = info ? QByteArray(info) : QByteArray();
    return 1;
}

const char *GetFieldAppInfo(ScDocumentHandle document, const char *fieldId)
{
    Lock lock(S().lock);
    Document *d = Find(S().documents, document);
    if (!d || !fieldId)
        return nullptr;
    const auto it = d->fields.find(QByteArray(fieldId));
    return it == d->fields.end() ? d->empty.constData() : it->second.appInfo.constData();
}

} // namespace scproxy::engine
