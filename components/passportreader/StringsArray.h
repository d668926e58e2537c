#pragma once
// Ordered name/value pairs: scanner settings, allowed documents, the arrays of
// a fields collection.

#include "ComObject.h"

#include <QList>
#include <QPair>

namespace passportreader {

class StringsArray final : public ComObject<IStringsArray>
{
public:
    using Entries = QList<QPair<QString, QString>>;
    explicit StringsArray(Entries entries = {}) : m_entries(std::move(entries)) {}

    HRESULT raw_Count(std::int32_t *result) override;
    HRESULT raw_Name(std::int32_t index, QString *result) override;
    HRESULT raw_Value(const QString &name, QString *result) override;
    HRESULT raw_Set_(const QString &name, const QString &value) override;
    HRESULT raw_Contains(const QString &name, bool *result) override;

private:
    Entries m_entries;
};

} // namespace passportreader
