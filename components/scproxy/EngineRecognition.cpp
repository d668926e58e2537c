// Recognition of a package's pages by the zones of their scanning
// configuration, and the documents, forms and fields it yields.

#include "enginekit/JpegFile.h"
#include "enginekit/RecognitionLog.h"
#include "EngineState.h"
#include "PixelPage.h"
#include "ServerConfig.h"
#include "ZoneFields.h"

#include <QDir>
#include <QFileInfo>
#include <QTransform>

namespace scproxy::engine {

namespace {

/// The form of number in the package (numbered from 1), null when there is none.
const ScanifySpecimen *FormOf(ScPackageHandle package, std::int32_t number, Instance **inst)
{
    Package *p = LivePackage(package, inst);
    if (!p || number < 1 || std::size_t(number) > p->forms.size())
        return nullptr;
    return p->forms[std::size_t(number) - 1].get();
}

/// The text fields and the photo field.
std::int32_t FieldCount(const ScanifySpecimen &s)
{
    return std::int32_t(s.fields.size() + (s.photo.field.isEmpty() ? 0 : 1));
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

Document NewDocument(ScPackageHandle packageHandle, Package &package, ScImageHandle imageHandle, const Image &image,
                     std::shared_ptr<const ScanifySpecimen> asForm = nullptr)
{
    Document doc;
    doc.package = packageHandle;
    doc.image = imageHandle;
    doc.specimen = asForm ? std::move(asForm) : image.specimen;
    doc.form = FormNumber(package, doc.specimen);
    return doc;
}

/// The form a page read from its pixels was found to be, as the engine lists
/// it: no fields of a description, no photo.
std::shared_ptr<const ScanifySpecimen> PixelForm(const Image &image, const PixelReading &reading)
{
    auto s = std::make_shared<ScanifySpecimen>();
    s->name = image.specimen ? image.specimen->name : QString();
    s->formId = reading.form;
    s->zone = reading.zone;
    s->formName = QString::fromLatin1(reading.form);
    s->picture = image.picture;
    s->described = false;
    return s;
}

/// Whether the recognition window offers a repeat run for this document: a
/// passport read by its zone whose surname and given names both came back
/// blank. Only then does the operator leave the page in the feeder; any
/// other page is taken away, however it was read.
bool RepeatRunOffered(const Document &doc)
{
    const auto blank = [&](const char *id) {
        const auto it = doc.fields.find(QByteArray(id));
        return it == doc.fields.end() || it->second.value.trimmed().isEmpty();
    };
    return doc.specimen->formId == "InoPas_MRZ" && blank("IN_SurName") && blank("IN_Name");
}

void AddDocument(Package &package, Image &image, Document &&doc)
{
    // A real scanner's page stays where the operator leaves it; the feeder's
    // stays in the feeder.
    if (RepeatRunOffered(doc) && image.specimen)
        Feeder::Instance().KeepOnGlass(image.specimen, image.config.Reading());
    const ScDocumentHandle handle = NewHandle();
    S().documents.emplace(handle, std::move(doc));
    package.documents.push_back(handle);
    image.document = handle;
}

void RecogniseFromPixels(ScPackageHandle packageHandle, Package &package, ScImageHandle imageHandle, Image &image)
{
    PixelReading reading = ReadPixelPage(image.picture, ZoneOf(image), image.config);
    enginekit::LogRecognition(EngineLogFile(), enginekit::PageReading::Read,
                            reading.zoneFound.isEmpty() ? QStringLiteral("no zone") : reading.zoneFound);
    if (reading.form.isEmpty())
        return;
    Document doc = NewDocument(packageHandle, package, imageHandle, image, PixelForm(image, reading));
    doc.fields = std::move(reading.fields);
    AddDocument(package, image, std::move(doc));
}

void Recognise(ScPackageHandle packageHandle, Package &package, ScImageHandle imageHandle, Image &image)
{
    image.recognised = true;
    if (FaultActive(fault::NoDocument))
        return;
    if (ReadFromPixels(image)) {
        RecogniseFromPixels(packageHandle, package, imageHandle, image);
        return;
    }
    const ScanifySpecimen &s = *image.specimen;
    enginekit::LogRecognition(EngineLogFile(), enginekit::PageReading::Described, QFileInfo(s.descriptionPath).fileName());
    bool upright = false;
    const ZoneReading *zone = image.config.ZoneFor({s.zone}, s.feedAngle, &upright);
    if (!zone)
        return;
    const int asRead = NormalisedAngle(s.feedAngle + zone->turn);

    Document doc = NewDocument(packageHandle, package, imageHandle, image);
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
    if (ReadsFromZone(s))
        ReadZoneFields(image.picture, zone->turn, s, doc.fields);
    if (!s.photo.field.isEmpty())
        doc.fields[s.photo.field].value = WritePhoto(package, s, asRead).toLocal8Bit();

    AddDocument(package, image, std::move(doc));
}

} // namespace

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
    for (ScImageHandle i : std::vector<ScImageHandle>(p->images))
        if (!PageFileKept(i, inst))
            return 0;
    for (ScImageHandle i : p->images)
        if (Image *image = Find(S().images, i); image && !image->recognised)
            Recognise(package, *p, i, *image);
    return 1;
}

ScDocumentHandle PackageFirstDoc(ScPackageHandle package)
{
    Lock lock(S().lock);
    Package *p = Find(S().packages, package);
    return p ? FirstOf(p->documents) : 0;
}

ScDocumentHandle PackageNextDoc(ScDocumentHandle document)
{
    Lock lock(S().lock);
    return NextInPackage(S().documents, &Package::documents, document);
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

ScBool FormInformation(ScPackageHandle package, std::int32_t formNumber, TScFormInformation *info)
{
    Lock lock(S().lock);
    Instance *inst = nullptr;
    const ScanifySpecimen *form = FormOf(package, formNumber, &inst);
    if (!form || !info) {
        Fail(inst, BadArgument, QStringLiteral("There is no form number %1 in the package").arg(formNumber));
        return 0;
    }
    const ScanifySpecimen &s = *form;
    std::memset(info, 0, sizeof *info);
    CopyText(info->szId, s.formId);
    CopyText(info->szShortName, s.formId);
    CopyText(info->szLongName, s.formName.toLocal8Bit());
    CopyText(info->szCaption, s.formName.toLocal8Bit());
    info->nFieldsCount = FieldCount(s);
    info->nWidth = s.picture.width();
    info->nHeight = s.picture.height();
    info->cxDPI = 300;
    info->cyDPI = 300;
    return 1;
}

ScBool FieldInformation(ScPackageHandle package, std::int32_t formNumber, std::int32_t field, TScFieldInformation *info)
{
    Lock lock(S().lock);
    Instance *inst = nullptr;
    const ScanifySpecimen *form = FormOf(package, formNumber, &inst);
    if (!form || !info) {
        Fail(inst, BadArgument, QStringLiteral("There is no form number %1 in the package").arg(formNumber));
        return 0;
    }
    const ScanifySpecimen &s = *form;
    const std::int32_t count = FieldCount(s);
    if (field < 1 || field > count) {
        Fail(inst, BadArgument, QStringLiteral("Form %1 has no field number %2").arg(formNumber).arg(field));
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
