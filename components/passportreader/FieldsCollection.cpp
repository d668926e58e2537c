#include "FieldsCollection.h"

#include "enginekit/JpegFile.h"
#include "ServerConfig.h"
#include "StringsArray.h"

#include <QFile>

namespace passportreader {

HRESULT RecognizedSymbol::raw_Trusted(bool *result)
{
    if (!result)
        return E_POINTER;
    *result = m_trusted;
    return S_OK;
}

RecognizedField::RecognizedField(QString id, QString name, std::shared_ptr<const QImage> page, QRect crop)
    : m_page(std::move(page)), m_crop(crop)
{
    m_field.id = std::move(id);
    m_field.name = std::move(name);
    m_field.found = m_page && !m_page->isNull();
    // The value of a picture field names its size, as a caption of the image.
    if (m_field.found) {
        const QSize size = m_crop.isEmpty() ? m_page->size() : m_crop.size();
        m_field.value = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    }
}

HRESULT RecognizedField::raw_id(QString *result)
{
    if (!result)
        return E_POINTER;
    *result = m_field.id;
    return S_OK;
}

HRESULT RecognizedField::raw_Name(QString *result)
{
    if (!result)
        return E_POINTER;
    *result = m_field.name;
    return S_OK;
}

HRESULT RecognizedField::raw_IsFound(bool *result)
{
    if (!result)
        return E_POINTER;
    *result = m_field.found;
    return S_OK;
}

HRESULT RecognizedField::raw_IsImage(bool *result)
{
    if (!result)
        return E_POINTER;
    *result = m_page != nullptr;
    return S_OK;
}

HRESULT RecognizedField::raw_Length(std::int32_t *result)
{
    if (!result)
        return E_POINTER;
    *result = m_page ? 0 : std::int32_t(m_field.value.size());
    return S_OK;
}

HRESULT RecognizedField::raw_Value(QString *result)
{
    if (!result)
        return E_POINTER;
    *result = m_field.value;
    return S_OK;
}

HRESULT RecognizedField::raw_Symbol(std::int32_t index, IRecognizedSymbol **result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    std::int32_t length = 0;
    raw_Length(&length);
    if (index < 0 || index >= length)
        return Fail(E_INVALIDARG, QStringLiteral("Field %1 has no symbol %2 (it has %3)").arg(m_field.name).arg(index).arg(length));
    *result = (new RecognizedSymbol(!m_field.untrusted.contains(index)))->Hand();
    return S_OK;
}

HRESULT RecognizedField::raw_SaveTo(const QString &path, std::int32_t format)
{
    return Guard([&]() -> HRESULT {
        if (!m_page)
            return Fail(E_INVALIDARG, QStringLiteral("Field %1 is not a picture and cannot be saved").arg(m_field.name));
        if (format != 0)
            return Fail(E_INVALIDARG, QStringLiteral("Picture format %1 is not supported; 0 (JPEG) is").arg(format));
        if (path.isEmpty())
            return Fail(E_INVALIDARG, QStringLiteral("No file name given to save field %1").arg(m_field.name));
        if (FaultActive(fault::SaveTo))
            return Fail(E_FAIL, FaultMessage(fault::SaveTo, QStringLiteral("Cannot save the picture of field %1 to %2").arg(m_field.name, path)));
        const QImage picture = m_crop.isEmpty() ? *m_page : m_page->copy(m_crop);
        const QString error = WriteJpegFile(picture, path);
        if (!error.isEmpty())
            return Fail(E_FAIL, QStringLiteral("Cannot save the picture of field %1: %2").arg(m_field.name, error));
        return S_OK;
    });
}

FieldsCollection::FieldsCollection(const std::shared_ptr<const Specimen> &s, const QImage &page, QString pagePath)
    : m_pagePath(std::move(pagePath))
{
    if (!s)
        return;
    for (const SpecimenField &f : s->fields) {
        m_fields.emplace_back(new RecognizedField(f));
        m_names.push_back(f.name);
    }
    auto shared = std::make_shared<const QImage>(page);
    const int next = int(s->fields.size());
    if (!s->photoZone.isEmpty()) {
        // Zones are given on the specimen picture; the page may be scaled.
        const double sx = double(page.width()) / s->picture.width();
        const double sy = double(page.height()) / s->picture.height();
        const QRect z = s->photoZone;
        const QRect crop = QRect(qRound(z.x() * sx), qRound(z.y() * sy), qRound(z.width() * sx), qRound(z.height() * sy))
                               .intersected(page.rect());
        m_fields.emplace_back(new RecognizedField(QString::number(next + 1), QStringLiteral("Photo"), shared, crop));
        m_names.push_back(QStringLiteral("Photo"));
    }
    m_fields.emplace_back(new RecognizedField(QString::number(int(m_fields.size()) + 1), QStringLiteral("FullImage"), shared, QRect()));
    m_names.push_back(QStringLiteral("FullImage"));
}

FieldsCollection::~FieldsCollection()
{
    if (m_ownsPage)
        QFile::remove(m_pagePath);
}

HRESULT FieldsCollection::raw_Count(std::int32_t *result)
{
    if (!result)
        return E_POINTER;
    *result = std::int32_t(m_fields.size());
    return S_OK;
}

HRESULT FieldsCollection::raw_Item(std::int32_t index, IRecognizedField **result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    if (index < 0 || size_t(index) >= m_fields.size())
        return Fail(E_INVALIDARG, QStringLiteral("Field index %1 is outside the collection of %2 fields").arg(index).arg(m_fields.size()));
    *result = m_fields[size_t(index)].get();
    (*result)->AddRef();
    return S_OK;
}

IRecognizedField *FieldsCollection::Find(const QString &name) const
{
    for (size_t i = 0; i < m_names.size(); ++i)
        if (m_names[i] == name)
            return m_fields[i].get();
    return nullptr;
}

HRESULT FieldsCollection::raw_Field(const QString &name, IRecognizedField **result)
{
    if (!result)
        return E_POINTER;
    *result = Find(name);
    if (*result)
        (*result)->AddRef();
    return S_OK;
}

HRESULT FieldsCollection::raw_FieldValue(const QString &name, const QString &defaultValue, QString *result)
{
    if (!result)
        return E_POINTER;
    if (IRecognizedField *f = Find(name))
        return f->raw_Value(result);
    *result = defaultValue;
    return S_OK;
}

HRESULT FieldsCollection::raw_GetArray(std::int32_t kind, std::int32_t flags, IStringsArray **result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    // Kind 1 is the recognition's properties; only their plain form (0) exists.
    if (kind != 1 || flags != 0)
        return Fail(E_INVALIDARG, QStringLiteral("Array kind %1 with flags %2 is not supported").arg(kind).arg(flags));
    *result = (new StringsArray({{QStringLiteral("FullImage"), m_pagePath}}))->Hand();
    return S_OK;
}

} // namespace passportreader
