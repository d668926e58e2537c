#pragma once
// In-process fakes of the engine interfaces. Every call is recorded in a
// shared log as "Operation" or "Operation:argument"; an operation named in
// `failing` answers E_FAIL with the description "<entry> failed", which the
// interface wrappers turn into an EEngineError.

#include "abbyy/ABBYY_PassportReaderSdk_TLB.h"
#include "support/FakeUnknown.h"

#include <QStringList>
#include <functional>
#include <map>
#include <set>
#include <vector>

namespace fake {

using CallLog = std::vector<QString>;

template <class I>
class Object : public r9test::FakeUnknown<I>
{
public:
    CallLog *log = nullptr;
    std::set<QString> failing;
    std::function<void()> onDestroy;

protected:
    virtual ~Object() { if (onDestroy) onDestroy(); }
    HRESULT call(const QString &operation, const QString &argument = QString())
    {
        const QString entry = argument.isNull() ? operation : operation + QLatin1Char(':') + argument;
        if (log)
            log->push_back(entry);
        if (failing.count(entry) || failing.count(operation)) {
            this->errorText = entry + QStringLiteral(" failed");
            return E_FAIL;
        }
        return S_OK;
    }
};

class StringsArray : public Object<IStringsArray>
{
public:
    std::vector<std::pair<QString, QString>> items; // in order
    std::set<QString> supported;                     // answers of Contains

    HRESULT raw_Count(std::int32_t *r) override { *r = std::int32_t(items.size()); return call("Count"); }
    HRESULT raw_Name(std::int32_t i, QString *r) override
    {
        HRESULT hr = call("Name", QString::number(i));
        if (SUCCEEDED(hr))
            *r = items.at(size_t(i)).first;
        return hr;
    }
    HRESULT raw_Value(const QString &name, QString *r) override
    {
        for (auto &item : items)
            if (item.first == name)
                *r = item.second;
        return call("Value", name);
    }
    HRESULT raw_Set_(const QString &name, const QString &value) override
    {
        HRESULT hr = call("Set_", name + QLatin1Char('=') + value);
        if (FAILED(hr))
            return hr;
        for (auto &item : items)
            if (item.first == name) {
                item.second = value;
                return hr;
            }
        items.emplace_back(name, value);
        return hr;
    }
    HRESULT raw_Contains(const QString &name, bool *r) override { *r = supported.count(name) > 0; return call("Contains", name); }
};

class InitParams : public Object<IInitParams>
{
};

class Engine : public Object<IRecognitionEngine>
{
public:
    bool initialized = false;
    bool initAnswer = true;
    IInitParams *initParams = nullptr;
    IStringsArray *settingsHanded = nullptr;
    ComPtr<IStringsArray> allowed;

    HRESULT raw_Init(IInitParams *p, bool *r) override
    {
        initParams = p;
        *r = initAnswer;
        return call("Init");
    }
    HRESULT raw_Close() override { return call("Close"); }
    HRESULT raw_IsInitialized(bool *r) override { *r = initialized; return call("IsInitialized"); }
    HRESULT raw_ScannersCount(std::int32_t *r) override { *r = 0; return call("ScannersCount"); }
    HRESULT raw_ScannerName(std::int32_t, QString *) override { return call("ScannerName"); }
    HRESULT raw_CurrentScanSource(std::int32_t) override { return call("CurrentScanSource"); }
    HRESULT raw_GetScanSettings(IStringsArray **r) override { *r = nullptr; return call("GetScanSettings"); }
    HRESULT raw_SetScanSettings(IStringsArray *s) override { settingsHanded = s; return call("SetScanSettings"); }
    HRESULT raw_Scan(QString *) override { return call("Scan"); }
    HRESULT raw_AllowedDocuments(IStringsArray **r) override
    {
        HRESULT hr = call("AllowedDocuments");
        *r = nullptr;
        if (SUCCEEDED(hr) && allowed) {
            allowed->AddRef();
            *r = allowed.get();
        }
        return hr;
    }
    HRESULT raw_Recognize(const QString &, const QString &, IFieldsCollection **r) override { *r = nullptr; return call("Recognize"); }
    HRESULT raw_ScanAndRecognize(const QString &, IFieldsCollection **r) override { *r = nullptr; return call("ScanAndRecognize"); }
    HRESULT raw_LogMode(std::int32_t mode) override { return call("LogMode", QString::number(mode)); }
    HRESULT raw_EnablePreprocessedImageCoordinatesMode() override { return call("EnablePreprocessedImageCoordinatesMode"); }
};

class Symbol : public Object<IRecognizedSymbol>
{
public:
    bool trusted = true;
    HRESULT raw_Trusted(bool *r) override { *r = trusted; return call("Trusted"); }
};

/// A field whose symbols are given by their trust flags; a null entry in
/// `nullSymbols` makes Symbol(i) answer a null reference.
class Field : public Object<IRecognizedField>
{
public:
    std::vector<bool> trust;
    std::set<int> nullSymbols;
    std::int32_t lengthOverride = -1;

    HRESULT raw_id(QString *) override { return call("id"); }
    HRESULT raw_Name(QString *) override { return call("FieldName"); }
    HRESULT raw_IsFound(bool *r) override { *r = true; return call("IsFound"); }
    HRESULT raw_IsImage(bool *r) override { *r = false; return call("IsImage"); }
    HRESULT raw_Length(std::int32_t *r) override
    {
        *r = lengthOverride >= 0 ? lengthOverride : std::int32_t(trust.size());
        return call("Length");
    }
    HRESULT raw_Value(QString *) override { return call("FieldValue"); }
    HRESULT raw_Symbol(std::int32_t i, IRecognizedSymbol **r) override
    {
        *r = nullptr;
        HRESULT hr = call("Symbol", QString::number(i));
        if (FAILED(hr) || nullSymbols.count(i) || size_t(i) >= trust.size())
            return hr;
        auto *s = new fake::Symbol;
        s->trusted = trust[size_t(i)];
        s->log = log;
        s->AddRef();
        *r = s;
        return hr;
    }
    HRESULT raw_SaveTo(const QString &, std::int32_t) override { return call("SaveTo"); }
};

/// Answers Field(name) from `fields`; `vanishAfter` makes a field disappear
/// after that many lookups (an engine whose answer changes underneath).
class Fields : public Object<IFieldsCollection>
{
public:
    std::map<QString, ComPtr<IRecognizedField>> fields;
    int vanishAfter = -1;
    int lookups = 0;

    HRESULT raw_Count(std::int32_t *r) override { *r = std::int32_t(fields.size()); return call("Count"); }
    HRESULT raw_Item(std::int32_t, IRecognizedField **r) override { *r = nullptr; return call("Item"); }
    HRESULT raw_Field(const QString &name, IRecognizedField **r) override
    {
        *r = nullptr;
        HRESULT hr = call("Field", name);
        ++lookups;
        if (FAILED(hr) || (vanishAfter >= 0 && lookups > vanishAfter))
            return hr;
        auto it = fields.find(name);
        if (it != fields.end()) {
            it->second->AddRef();
            *r = it->second.get();
        }
        return hr;
    }
    HRESULT raw_FieldValue(const QString &, const QString &d, QString *r) override { *r = d; return call("FieldValue"); }
    HRESULT raw_GetArray(std::int32_t, std::int32_t, IStringsArray **r) override { *r = nullptr; return call("GetArray"); }
};

/// Makes a new fake with the shared log and one reference held by the result.
template <class T>
ComPtr<T> make(CallLog *log)
{
    auto *object = new T;
    object->log = log;
    return ComPtr<T>(object);
}

} // namespace fake
