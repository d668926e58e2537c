#include "StringsArray.h"

namespace passportreader {

HRESULT StringsArray::raw_Count(std::int32_t *result)
{
    if (!result)
        return E_POINTER;
    *result = std::int32_t(m_entries.size());
    return S_OK;
}

HRESULT StringsArray::raw_Name(std::int32_t index, QString *result)
{
    if (!result)
        return E_POINTER;
    if (index < 0 || index >= m_entries.size())
        return Fail(E_INVALIDARG, QStringLiteral("Index %1 is outside the array of %2 items").arg(index).arg(m_entries.size()));
    *result = m_entries.at(index).first;
    return S_OK;
}

// A name the array does not hold reads as an empty value, as an unset setting does.
HRESULT StringsArray::raw_Value(const QString &name, QString *result)
{
    if (!result)
        return E_POINTER;
    result->clear();
    for (const auto &e : m_entries)
        if (e.first == name) {
            *result = e.second;
            break;
        }
    return S_OK;
}

HRESULT StringsArray::raw_Set_(const QString &name, const QString &value)
{
    if (name.isEmpty())
        return Fail(E_INVALIDARG, QStringLiteral("An array item needs a name"));
    for (auto &e : m_entries)
        if (e.first == name) {
            e.second = value;
            return S_OK;
        }
    m_entries.append({name, value});
    return S_OK;
}

HRESULT StringsArray::raw_Contains(const QString &name, bool *result)
{
    if (!result)
        return E_POINTER;
    *result = std::any_of(m_entries.cbegin(), m_entries.cend(), [&](const auto &e) { return e.first == name; });
    return S_OK;
}

} // namespace passportreader
