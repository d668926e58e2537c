#pragma once
// What ScanAndRecognize answers for a scan the scanner did not deliver.
//
// The recognition window shows a failed ScanAndRecognize and then, having no
// collection, that nothing was recognised: two boxes for one fault of the
// scanner. A collection whose every call fails with the scanner's words is
// shown once, as the error it is. The operator's own cancel is no fault at
// all: no collection, and the window says only that nothing was read.

#include "ComObject.h"

namespace passportreader {

class ScannerFaultCollection final : public ComObject<IFieldsCollection>
{
public:
    explicit ScannerFaultCollection(QString message) : m_message(std::move(message)) {}

    HRESULT raw_Count(std::int32_t *result) override;
    HRESULT raw_Item(std::int32_t index, IRecognizedField **result) override;
    HRESULT raw_Field(const QString &name, IRecognizedField **result) override;
    HRESULT raw_FieldValue(const QString &name, const QString &defaultValue, QString *result) override;
    HRESULT raw_GetArray(std::int32_t kind, std::int32_t flags, IStringsArray **result) override;

private:
    HRESULT Fault() { return Fail(E_FAIL, m_message); }
    QString m_message;
};

} // namespace passportreader
