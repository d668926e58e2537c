#include "EngineState.h"

#include "ServerConfig.h"

#include <QDir>

namespace scproxy::engine {

State &S()
{
    static State state;
    return state;
}

std::uint32_t NewHandle()
{
    return S().nextHandle++;
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

const char *Returned(Instance &inst, const QByteArray &text)
{
    inst.returnedText = text;
    return inst.returnedText.constData();
}

Instance *LiveInstance(ScInstanceHandle instance)
{
    Instance *inst = Find(S().instances, instance);
    Succeed(inst);
    return inst;
}

Instance *InstanceOfPackage(ScPackageHandle package)
{
    Package *p = Find(S().packages, package);
    return p ? Find(S().instances, p->instance) : nullptr;
}

bool ReadFromPixels(const Image &image)
{
    return PageFromScanner(image) || !image.specimen || !image.specimen->described || EveryPageReadFromPixels();
}

mrz::MrzResult ZoneOf(const Image &image)
{
    return image.zone.valid() ? image.zone.get() : mrz::ReadMrz(image.picture);
}

QString FileWritten(const Image &image)
{
    return image.file.valid() ? image.file.get() : QString();
}

void PageFilesWritten(const Package &package)
{
    for (ScImageHandle i : package.images)
        if (const Image *image = Find(S().images, i))
            FileWritten(*image);
}

bool PageFileKept(ScImageHandle handle, Instance *inst)
{
    const Image *image = Find(S().images, handle);
    const QString problem = image ? FileWritten(*image) : QString();
    if (problem.isEmpty())
        return true;
    if (Package *p = Find(S().packages, image->package))
        std::erase(p->images, handle);
    S().images.erase(handle);
    Fail(inst, ScanError, problem);
    return false;
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

Package *LivePackage(ScPackageHandle handle, Instance **inst)
{
    *inst = InstanceOfPackage(handle);
    Succeed(*inst);
    return *inst ? Find(S().packages, handle) : nullptr;
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

} // namespace scproxy::engine
