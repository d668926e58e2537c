#pragma once
// What one recognition delivers: the text fields of the specimen on the page
// and the two picture fields ("Photo" and "FullImage").

#include "ComObject.h"
#include "SpecimenCatalogue.h"

#include <memory>
#include <vector>

namespace passportreader {

class RecognizedSymbol final : public ComObject<IRecognizedSymbol>
{
public:
    explicit RecognizedSymbol(bool trusted) : m_trusted(trusted) {}
    HRESULT raw_Trusted(bool *result) override;

private:
    bool m_trusted;
};

class RecognizedField final : public ComObject<IRecognizedField>
{
public:
    /// A text field.
    explicit RecognizedField(SpecimenField field) : m_field(std::move(field)) {}
    /// A picture field: the part `crop` of the page (the whole page when empty).
    RecognizedField(QString id, QString name, std::shared_ptr<const QImage> page, QRect crop);

    HRESULT raw_id(QString *result) override;
    HRESULT raw_Name(QString *result) override;
    HRESULT raw_IsFound(bool *result) override;
    HRESULT raw_IsImage(bool *result) override;
    HRESULT raw_Length(std::int32_t *result) override;
    HRESULT raw_Value(QString *result) override;
    HRESULT raw_Symbol(std::int32_t index, IRecognizedSymbol **result) override;
    HRESULT raw_SaveTo(const QString &path, std::int32_t format) override;

private:
    SpecimenField m_field;
    std::shared_ptr<const QImage> m_page; ///< set for picture fields only
    QRect m_crop;
};

class FieldsCollection final : public ComObject<IFieldsCollection>
{
public:
    /// fields of specimen s read from page (null s: nothing recognised);
    /// pagePath is the picture file the collection reports as "FullImage".
    FieldsCollection(const std::shared_ptr<const Specimen> &s, const QImage &page, QString pagePath);
    ~FieldsCollection() override;

    /// The page file is the server's own scan: it goes when the collection does.
    void DeletePageWithCollection() { m_ownsPage = true; }

    HRESULT raw_Count(std::int32_t *result) override;
    HRESULT raw_Item(std::int32_t index, IRecognizedField **result) override;
    HRESULT raw_Field(const QString &name, IRecognizedField **result) override;
    HRESULT raw_FieldValue(const QString &name, const QString &defaultValue, QString *result) override;
    HRESULT raw_GetArray(std::int32_t kind, std::int32_t flags, IStringsArray **result) override;

private:
    IRecognizedField *Find(const QString &name) const;

    std::vector<ComPtr<IRecognizedField>> m_fields;
    std::vector<QString> m_names;
    QString m_pagePath;
    bool m_ownsPage = false;
};

} // namespace passportreader
