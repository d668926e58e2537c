#include "ScannerFault.h"

namespace passportreader {

HRESULT ScannerFaultCollection::raw_Count(std::int32_t *)
{
    return Fault();
}

HRESULT ScannerFaultCollection::raw_Item(std::int32_t, IRecognizedField **result)
{
    if (result)
        *result = nullptr;
    return Fault();
}

HRESULT ScannerFaultCollection::raw_Field(const QString &, IRecognizedField **result)
{
    if (result)
        *result = nullptr;
    return Fault();
}

HRESULT ScannerFaultCollection::raw_FieldValue(const QString &, const QString &, QString *)
{
    return Fault();
}

HRESULT ScannerFaultCollection::raw_GetArray(std::int32_t, std::int32_t, IStringsArray **result)
{
    if (result)
        *result = nullptr;
    return Fault();
}

} // namespace passportreader
