#pragma once
// The in-process engine behind the engine interfaces, for every suite that
// drives the package without the engine server. A test sets what each call
// answers through public members and reads back what the package asked for.
//
// Every object can share a call log: each call is recorded as "Operation" or
// "Operation:argument". A call named in `failing` answers E_FAIL and leaves
// its text as the error description, where the package's wrappers read it.
// Objects free themselves with their last reference; the ones the engine
// hands out share its log and keep it alive.

#include "sdk/ABBYY_PassportReaderSdk_TLB.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace fake {

using CallLog = std::vector<QString>;

/// Calls that fail: "Operation" fails every call of it, "Operation:argument"
/// only that one. The error text is "<entry> failed" unless one is given.
class Failures
{
public:
    Failures() = default;
    Failures(std::initializer_list<QString> entries)
    {
        for (const QString &entry : entries)
            m_text[entry];
    }
    void Add(const QString &entry, const QString &text = QString()) { m_text[entry] = text; }
    void clear() { m_text.clear(); }
    bool empty() const { return m_text.empty(); }

    /// The error text when the call fails.
    std::optional<QString> For(const QString &operation, const QString &entry) const
    {
        for (const QString &key : {entry, operation}) {
            const auto it = m_text.find(key);
            if (it != m_text.end())
                return it->second.isEmpty() ? entry + QStringLiteral(" failed") : it->second;
        }
        return std::nullopt;
    }

private:
    std::map<QString, QString> m_text;
};

template <class Interface>
class Object : public Interface
{
public:
    HRESULT QueryInterface(const IID &, void **object) override
    {
        if (object)
            *object = nullptr;
        return E_NOINTERFACE;
    }
    std::uint32_t AddRef() override { return ++refs; }
    std::uint32_t Release() override
    {
        const std::uint32_t left = --refs;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT raw_GetErrorDescription(QString *description) override
    {
        *description = errorText;
        return S_OK;
    }

    std::uint32_t refs = 0;
    QString errorText = QStringLiteral("fake engine failure");
    CallLog *log = nullptr;
    Failures failing;
    std::function<void()> onDestroy;
    /// Runs at every call, after it is recorded (what the caller's window
    /// might do while the engine works).
    std::function<void(const QString &operation)> onCall;

protected:
    virtual ~Object()
    {
        if (onDestroy)
            onDestroy();
    }
    /// Records the call and answers whether it fails.
    HRESULT Call(const QString &operation, const QString &argument = QString())
    {
        const QString entry = argument.isNull() ? operation : operation + QLatin1Char(':') + argument;
        if (log)
            log->push_back(entry);
        if (onCall)
            onCall(operation);
        if (const std::optional<QString> text = failing.For(operation, entry))
            return Fail(*text);
        return S_OK;
    }
    HRESULT Fail(const QString &message, HRESULT code = E_FAIL)
    {
        errorText = message;
        return code;
    }
    /// Hands out a new reference to object through an out parameter.
    template <class I>
    static HRESULT Hand(I *object, I **result)
    {
        if (object)
            object->AddRef();
        *result = object;
        return S_OK;
    }
};

/// A new fake sharing log, held by the result.
template <class T>
ComPtr<T> make(CallLog *log = nullptr)
{
    auto *object = new T;
    object->log = log;
    return ComPtr<T>(object);
}

class InitParams : public Object<IInitParams>
{
};

/// Ordered name/value pairs. Contains answers for the items and for the
/// names in `supported` (settings the scanner knows before it holds them).
class StringsArray : public Object<IStringsArray>
{
public:
    std::vector<std::pair<QString, QString>> items;
    std::set<QString> supported;

    HRESULT raw_Count(std::int32_t *r) override
    {
        *r = std::int32_t(items.size());
        return Call(QStringLiteral("Count"));
    }
    HRESULT raw_Name(std::int32_t i, QString *r) override
    {
        if (const HRESULT hr = Call(QStringLiteral("Name"), QString::number(i)); FAILED(hr))
            return hr;
        if (i < 0 || size_t(i) >= items.size())
            return Fail(QStringLiteral("index %1 out of range").arg(i), E_INVALIDARG);
        *r = items[size_t(i)].first;
        return S_OK;
    }
    /// A name the array does not hold reads as an empty value.
    HRESULT raw_Value(const QString &name, QString *r) override
    {
        r->clear();
        for (const auto &item : items)
            if (item.first == name) {
                *r = item.second;
                break;
            }
        return Call(QStringLiteral("Value"), name);
    }
    HRESULT raw_Set_(const QString &name, const QString &value) override
    {
        if (const HRESULT hr = Call(QStringLiteral("Set_"), name + QLatin1Char('=') + value); FAILED(hr))
            return hr;
        for (auto &item : items)
            if (item.first == name) {
                item.second = value;
                return S_OK;
            }
        items.emplace_back(name, value);
        return S_OK;
    }
    HRESULT raw_Contains(const QString &name, bool *r) override
    {
        *r = supported.count(name) > 0
             || std::any_of(items.cbegin(), items.cend(), [&](const auto &item) { return item.first == name; });
        return Call(QStringLiteral("Contains"), name);
    }
};

/// A strings array holding items.
inline ComPtr<StringsArray> Strings(std::vector<std::pair<QString, QString>> items, CallLog *log = nullptr)
{
    ComPtr<StringsArray> array = make<StringsArray>(log);
    array->items = std::move(items);
    return array;
}

class Symbol : public Object<IRecognizedSymbol>
{
public:
    bool trusted = true;
    HRESULT raw_Trusted(bool *r) override
    {
        *r = trusted;
        return Call(QStringLiteral("Trusted"));
    }
};

/// One recognised field as a test describes it.
struct Field
{
    Field() = default;
    Field(QString n, QString v, bool f = true, QList<int> u = {}, QImage p = {}, bool fails = false)
        : name(std::move(n)), value(std::move(v)), found(f), untrusted(std::move(u)), picture(std::move(p)), saveFails(fails) {}

    QString name;
    QString value;
    bool found = true;
    QList<int> untrusted; ///< symbol indexes the engine does not trust
    QImage picture;       ///< set: an image field, saved as JPEG by SaveTo
    bool saveFails = false;
    std::optional<std::int32_t> length; ///< what Length answers; unset: the value's size
    bool symbolsPastValue = false;      ///< Symbol past the value's end answers a trusted symbol, not an error
    std::set<int> nullSymbols;          ///< Symbol(i) answers a null reference
};

class RecognizedField : public Object<IRecognizedField>, public Field
{
public:
    QString fieldId;
    std::function<void(const QString &path)> onSave;

    HRESULT raw_id(QString *r) override
    {
        *r = fieldId;
        return Call(QStringLiteral("id"));
    }
    HRESULT raw_Name(QString *r) override
    {
        *r = name;
        return Call(QStringLiteral("Name"));
    }
    HRESULT raw_IsFound(bool *r) override
    {
        *r = found;
        return Call(QStringLiteral("IsFound"));
    }
    HRESULT raw_IsImage(bool *r) override
    {
        *r = !picture.isNull();
        return Call(QStringLiteral("IsImage"));
    }
    HRESULT raw_Length(std::int32_t *r) override
    {
        *r = length.value_or(std::int32_t(value.size()));
        return Call(QStringLiteral("Length"));
    }
    HRESULT raw_Value(QString *r) override
    {
        *r = value;
        return Call(QStringLiteral("Value"));
    }
    HRESULT raw_Symbol(std::int32_t i, IRecognizedSymbol **r) override
    {
        *r = nullptr;
        if (const HRESULT hr = Call(QStringLiteral("Symbol"), QString::number(i)); FAILED(hr))
            return hr;
        if (i < 0 || (i >= value.size() && !symbolsPastValue))
            return Fail(QStringLiteral("symbol index out of range"), E_INVALIDARG);
        if (nullSymbols.count(i))
            return S_OK;
        ComPtr<fake::Symbol> symbol = make<fake::Symbol>(log);
        symbol->trusted = !untrusted.contains(i);
        return Hand<IRecognizedSymbol>(symbol.get(), r);
    }
    HRESULT raw_SaveTo(const QString &path, std::int32_t) override
    {
        if (onSave)
            onSave(path);
        if (const HRESULT hr = Call(QStringLiteral("SaveTo"), path); FAILED(hr))
            return hr;
        if (saveFails || picture.isNull())
            return Fail(QStringLiteral("Cannot save field %1").arg(name));
        return picture.save(path, "JPG") ? S_OK : Fail(QStringLiteral("Cannot write %1").arg(path));
    }
};

/// A recognised field described by f.
inline ComPtr<RecognizedField> MakeField(Field f, CallLog *log = nullptr)
{
    ComPtr<RecognizedField> field = make<RecognizedField>(log);
    static_cast<Field &>(*field) = std::move(f);
    return field;
}

/// The fields of one recognition, in order; Field(name) answers the first of
/// that name. `vanishAfter` makes every field disappear after that many
/// lookups (an answer that changes underneath the package); `pagePath` is
/// what GetArray(1, 0) holds as "FullImage" (nullopt: no array).
class FieldsCollection : public Object<IFieldsCollection>
{
public:
    std::vector<ComPtr<RecognizedField>> fields;
    std::optional<QString> pagePath = QString();
    int vanishAfter = -1;
    int lookups = 0;

    HRESULT raw_Count(std::int32_t *r) override
    {
        *r = std::int32_t(fields.size());
        return Call(QStringLiteral("Count"));
    }
    HRESULT raw_Item(std::int32_t i, IRecognizedField **r) override
    {
        *r = nullptr;
        if (const HRESULT hr = Call(QStringLiteral("Item"), QString::number(i)); FAILED(hr))
            return hr;
        if (i < 0 || size_t(i) >= fields.size())
            return Fail(QStringLiteral("index %1 out of range").arg(i), E_INVALIDARG);
        return Hand<IRecognizedField>(fields[size_t(i)].get(), r);
    }
    HRESULT raw_Field(const QString &name, IRecognizedField **r) override
    {
        *r = nullptr;
        const HRESULT hr = Call(QStringLiteral("Field"), name);
        ++lookups;
        if (FAILED(hr) || (vanishAfter >= 0 && lookups > vanishAfter))
            return hr;
        return Hand<IRecognizedField>(Find(name), r);
    }
    HRESULT raw_FieldValue(const QString &name, const QString &defaultValue, QString *r) override
    {
        const RecognizedField *field = Find(name);
        *r = field ? field->value : defaultValue;
        return Call(QStringLiteral("FieldValue"), name);
    }
    HRESULT raw_GetArray(std::int32_t kind, std::int32_t flags, IStringsArray **r) override
    {
        *r = nullptr;
        if (const HRESULT hr = Call(QStringLiteral("GetArray"), QStringLiteral("%1,%2").arg(kind).arg(flags)); FAILED(hr))
            return hr;
        if (kind != 1 || flags != 0)
            return Fail(QStringLiteral("unknown array"), E_INVALIDARG);
        if (!pagePath)
            return S_OK;
        return Hand<IStringsArray>(Strings({{QStringLiteral("FullImage"), *pagePath}}, log).get(), r);
    }

private:
    RecognizedField *Find(const QString &name) const
    {
        for (const ComPtr<RecognizedField> &field : fields)
            if (field->name == name)
                return field.get();
        return nullptr;
    }
};

/// The engine: scanners with their settings (settings[i] belongs to
/// scanners[i]; missing or null: the scanner has none), a scan that answers
/// scanFile, and recognitions that answer `fields`.
class Engine : public Object<IRecognitionEngine>
{
public:
    // ---- answers
    bool initialized = false;
    bool initAnswer = true;
    QStringList scanners;
    std::vector<ComPtr<StringsArray>> settings;
    QString scanFile;              ///< the file Scan names (created by the test)
    ComPtr<IStringsArray> allowed; ///< AllowedDocuments; null: no list
    std::vector<Field> fields;     ///< what each recognition finds
    std::optional<QString> pagePath = QString(); ///< see FieldsCollection
    bool nullCollection = false;   ///< a recognition answers no collection at all

    // ---- records
    IInitParams *initParams = nullptr;
    std::vector<int> sourcesSelected;
    IStringsArray *settingsHanded = nullptr;
    int settingsApplied = 0;
    int scans = 0;
    QStringList recognized;           ///< "path|type" of each Recognize
    QStringList scannedAndRecognized; ///< type of each ScanAndRecognize
    QStringList savedTo;              ///< path of every field's SaveTo

    HRESULT raw_Init(IInitParams *p, bool *r) override
    {
        initParams = p;
        *r = initAnswer;
        const HRESULT hr = Call(QStringLiteral("Init"));
        if (SUCCEEDED(hr) && initAnswer)
            initialized = true;
        return hr;
    }
    HRESULT raw_Close() override { return Call(QStringLiteral("Close")); }
    HRESULT raw_IsInitialized(bool *r) override
    {
        *r = initialized;
        return Call(QStringLiteral("IsInitialized"));
    }
    HRESULT raw_ScannersCount(std::int32_t *r) override
    {
        *r = std::int32_t(scanners.size());
        return Call(QStringLiteral("ScannersCount"));
    }
    HRESULT raw_ScannerName(std::int32_t index, QString *r) override
    {
        if (const HRESULT hr = Call(QStringLiteral("ScannerName"), QString::number(index)); FAILED(hr))
            return hr;
        if (index < 0 || index >= scanners.size())
            return Fail(QStringLiteral("no scanner %1").arg(index), E_INVALIDARG);
        *r = scanners[index];
        return S_OK;
    }
    HRESULT raw_CurrentScanSource(std::int32_t index) override
    {
        sourcesSelected.push_back(index);
        if (const HRESULT hr = Call(QStringLiteral("CurrentScanSource"), QString::number(index)); FAILED(hr))
            return hr;
        if (index < 0 || index >= scanners.size())
            return Fail(QStringLiteral("no scanner %1").arg(index), E_INVALIDARG);
        return S_OK;
    }
    HRESULT raw_GetScanSettings(IStringsArray **r) override
    {
        *r = nullptr;
        if (const HRESULT hr = Call(QStringLiteral("GetScanSettings")); FAILED(hr))
            return hr;
        const int current = sourcesSelected.empty() ? -1 : sourcesSelected.back();
        if (current < 0 || size_t(current) >= settings.size())
            return S_OK;
        return Hand<IStringsArray>(settings[size_t(current)].get(), r);
    }
    HRESULT raw_SetScanSettings(IStringsArray *s) override
    {
        settingsHanded = s;
        ++settingsApplied;
        return Call(QStringLiteral("SetScanSettings"));
    }
    HRESULT raw_Scan(QString *path) override
    {
        ++scans;
        if (const HRESULT hr = Call(QStringLiteral("Scan")); FAILED(hr))
            return hr;
        *path = scanFile;
        return S_OK;
    }
    HRESULT raw_AllowedDocuments(IStringsArray **r) override
    {
        *r = nullptr;
        if (const HRESULT hr = Call(QStringLiteral("AllowedDocuments")); FAILED(hr))
            return hr;
        return Hand(allowed.get(), r);
    }
    HRESULT raw_Recognize(const QString &path, const QString &type, IFieldsCollection **r) override
    {
        recognized << path + QLatin1Char('|') + type;
        return Collection(Call(QStringLiteral("Recognize")), r);
    }
    HRESULT raw_ScanAndRecognize(const QString &type, IFieldsCollection **r) override
    {
        scannedAndRecognized << type;
        return Collection(Call(QStringLiteral("ScanAndRecognize")), r);
    }
    HRESULT raw_LogMode(std::int32_t mode) override { return Call(QStringLiteral("LogMode"), QString::number(mode)); }
    HRESULT raw_EnablePreprocessedImageCoordinatesMode() override
    {
        return Call(QStringLiteral("EnablePreprocessedImageCoordinatesMode"));
    }

private:
    HRESULT Collection(HRESULT hr, IFieldsCollection **r)
    {
        *r = nullptr;
        if (FAILED(hr) || nullCollection)
            return hr;
        ComPtr<FieldsCollection> collection = make<FieldsCollection>(log);
        collection->pagePath = pagePath;
        for (size_t i = 0; i < fields.size(); ++i) {
            ComPtr<RecognizedField> field = MakeField(fields[i], log);
            field->fieldId = QString::number(i + 1);
            field->onSave = [engine = ComPtr<Engine>(this)](const QString &path) { engine->savedTo << path; };
            collection->fields.push_back(field);
        }
        return Hand<IFieldsCollection>(collection.get(), r);
    }
};

} // namespace fake
