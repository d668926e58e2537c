#pragma once
// Binding of the passport-reader engine server.
//
// The engine is an outside server with dual interfaces. Here each interface is
// an abstract class whose pure virtual "raw_" slots are the binary contract the
// server implements (HRESULT result, out parameters last), in the server's
// slot order. The inline wrappers beside them are what the package calls: they
// turn a failed HRESULT into an EEngineError that carries the engine's own
// message, so engine failures reach the package as C++ exceptions.
//
// Strings cross the boundary as QString, Booleans as bool, integers as int32.
// Interfaces are reference counted; ComPtr holds one reference.

#include "base/r9Export.h"

#include <QString>
#include <cstdint>
#include <stdexcept>
#include <utility>

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = HRESULT(0x80004001u);
constexpr HRESULT E_NOINTERFACE = HRESULT(0x80004002u);
constexpr HRESULT E_POINTER = HRESULT(0x80004003u);
constexpr HRESULT E_FAIL = HRESULT(0x80004005u);
constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057u);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = HRESULT(0x80040111u);
constexpr HRESULT REGDB_E_CLASSNOTREG = HRESULT(0x80040154u);
constexpr bool FAILED(HRESULT hr) { return hr < 0; }
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }

struct GUID
{
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
    friend constexpr bool operator==(const GUID &a, const GUID &b)
    {
        if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
            return false;
        for (int i = 0; i < 8; ++i)
            if (a.Data4[i] != b.Data4[i])
                return false;
        return true;
    }
};
using CLSID = GUID;
using IID = GUID;

/// A failed call into an outside server; what() is the server's message (UTF-8).
class R9_EXPORT EEngineError : public std::runtime_error
{
public:
    EEngineError(const QString &message, HRESULT code)
        : std::runtime_error(message.toStdString()), m_code(code) {}
    HRESULT ErrorCode() const { return m_code; }
    QString Message() const { return QString::fromUtf8(what()); }

private:
    HRESULT m_code;
};

// Type library and class/interface identifiers.
inline constexpr GUID LIBID_PassportReaderSdk = {0x2C8D2DC6, 0xDC3A, 0x4248, {0x80, 0xC9, 0xA2, 0x57, 0x97, 0x92, 0xDF, 0xE2}};
inline constexpr GUID CLASS_RecognitionEngine = {0x704DF5E2, 0xEAFC, 0x4097, {0xBC, 0x5A, 0xBD, 0xA7, 0x52, 0xA3, 0x31, 0x22}};
inline constexpr GUID IID_IRecognitionEngine = {0x9AB0AAFA, 0xD20E, 0x44E6, {0xB6, 0x06, 0xB8, 0x79, 0xC2, 0x9C, 0xE0, 0x63}};
inline constexpr GUID CLASS_InitParams = {0x704DF5E2, 0xEAFC, 0x4097, {0xBC, 0x5A, 0xBD, 0xA7, 0x52, 0xA3, 0x51, 0x22}};
inline constexpr GUID IID_IInitParams = {0x704DF5E2, 0xEAFC, 0x4097, {0xBC, 0x5A, 0xBD, 0xA7, 0x52, 0xA3, 0x51, 0x32}};
inline constexpr GUID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

/// Base of every interface: reference counting, interface query and the
/// description of the last failure on this object (the server's error info).
class R9_EXPORT IUnknown
{
public:
    virtual HRESULT QueryInterface(const IID &iid, void **object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;
    virtual HRESULT raw_GetErrorDescription(QString *description) = 0;

protected:
    ~IUnknown() = default;
    /// Throws EEngineError with the object's error description when hr failed.
    void Check(HRESULT hr)
    {
        if (SUCCEEDED(hr))
            return;
        QString text;
        if (FAILED(raw_GetErrorDescription(&text)) || text.isEmpty())
            text = QStringLiteral("Engine call failed (HRESULT 0x%1)").arg(quint32(hr), 8, 16, QLatin1Char('0'));
        throw EEngineError(text, hr);
    }
};

/// One counted reference to an interface.
template <class T>
class ComPtr
{
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    /// Takes a new reference to p.
    explicit ComPtr(T *p) : m_p(p) { if (m_p) m_p->AddRef(); }
    ComPtr(const ComPtr &o) : m_p(o.m_p) { if (m_p) m_p->AddRef(); }
    ComPtr(ComPtr &&o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    ~ComPtr() { reset(); }
    ComPtr &operator=(ComPtr o) noexcept { std::swap(m_p, o.m_p); return *this; }
    ComPtr &operator=(std::nullptr_t) { reset(); return *this; }

    /// Adopts a reference the caller already owns (an out parameter's).
    static ComPtr Attach(T *p) { ComPtr r; r.m_p = p; return r; }
    /// Gives up the reference without releasing it.
    T *Detach() { return std::exchange(m_p, nullptr); }
    void reset() { if (T *p = std::exchange(m_p, nullptr)) p->Release(); }

    T *get() const { return m_p; }
    T *operator->() const { return m_p; }
    T &operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    friend bool operator==(const ComPtr &a, std::nullptr_t) { return a.m_p == nullptr; }

private:
    T *m_p = nullptr;
};

class IInitParams;
class IStringsArray;
class IFieldsCollection;
class IRecognizedField;
class IRecognizedSymbol;
class IRecognitionEngine;
using IInitParamsPtr = ComPtr<IInitParams>;
using IStringsArrayPtr = ComPtr<IStringsArray>;
using IFieldsCollectionPtr = ComPtr<IFieldsCollection>;
using IRecognizedFieldPtr = ComPtr<IRecognizedField>;
using IRecognizedSymbolPtr = ComPtr<IRecognizedSymbol>;
using IRecognitionEnginePtr = ComPtr<IRecognitionEngine>;

/// Set-up data of the engine; the engine takes its defaults from it.
class R9_EXPORT IInitParams : public IUnknown
{
protected:
    ~IInitParams() = default;
};

/// Name/value pairs: the scanner settings, the allowed documents, arrays of a
/// fields collection.
class R9_EXPORT IStringsArray : public IUnknown
{
public:
    virtual HRESULT raw_Count(std::int32_t *result) = 0;
    virtual HRESULT raw_Name(std::int32_t index, QString *result) = 0;
    virtual HRESULT raw_Value(const QString &name, QString *result) = 0;
    virtual HRESULT raw_Set_(const QString &name, const QString &value) = 0;
    virtual HRESULT raw_Contains(const QString &name, bool *result) = 0;

    std::int32_t Count() { std::int32_t r = 0; Check(raw_Count(&r)); return r; }
    QString Name(std::int32_t index) { QString r; Check(raw_Name(index, &r)); return r; }
    QString Value(const QString &name) { QString r; Check(raw_Value(name, &r)); return r; }
    void Set_(const QString &name, const QString &value) { Check(raw_Set_(name, value)); }
    bool Contains(const QString &name) { bool r = false; Check(raw_Contains(name, &r)); return r; }

protected:
    ~IStringsArray() = default;
};

class R9_EXPORT IRecognizedSymbol : public IUnknown
{
public:
    virtual HRESULT raw_Trusted(bool *result) = 0;

    bool Trusted() { bool r = false; Check(raw_Trusted(&r)); return r; }

protected:
    ~IRecognizedSymbol() = default;
};

class R9_EXPORT IRecognizedField : public IUnknown
{
public:
    virtual HRESULT raw_id(QString *result) = 0;
    virtual HRESULT raw_Name(QString *result) = 0;
    virtual HRESULT raw_IsFound(bool *result) = 0;
    virtual HRESULT raw_IsImage(bool *result) = 0;
    virtual HRESULT raw_Length(std::int32_t *result) = 0;
    virtual HRESULT raw_Value(QString *result) = 0;
    virtual HRESULT raw_Symbol(std::int32_t index, IRecognizedSymbol **result) = 0;
    virtual HRESULT raw_SaveTo(const QString &path, std::int32_t format) = 0;

    QString id() { QString r; Check(raw_id(&r)); return r; }
    QString Name() { QString r; Check(raw_Name(&r)); return r; }
    bool IsFound() { bool r = false; Check(raw_IsFound(&r)); return r; }
    bool IsImage() { bool r = false; Check(raw_IsImage(&r)); return r; }
    std::int32_t Length() { std::int32_t r = 0; Check(raw_Length(&r)); return r; }
    QString Value() { QString r; Check(raw_Value(&r)); return r; }
    IRecognizedSymbolPtr Symbol(std::int32_t index)
    {
        IRecognizedSymbol *r = nullptr;
        Check(raw_Symbol(index, &r));
        return IRecognizedSymbolPtr::Attach(r);
    }
    void SaveTo(const QString &path, std::int32_t format) { Check(raw_SaveTo(path, format)); }

protected:
    ~IRecognizedField() = default;
};

class R9_EXPORT IFieldsCollection : public IUnknown
{
public:
    virtual HRESULT raw_Count(std::int32_t *result) = 0;
    virtual HRESULT raw_Item(std::int32_t index, IRecognizedField **result) = 0;
    /// *result is null when the collection has no field of that name.
    virtual HRESULT raw_Field(const QString &name, IRecognizedField **result) = 0;
    virtual HRESULT raw_FieldValue(const QString &name, const QString &defaultValue, QString *result) = 0;
    virtual HRESULT raw_GetArray(std::int32_t kind, std::int32_t flags, IStringsArray **result) = 0;

    std::int32_t Count() { std::int32_t r = 0; Check(raw_Count(&r)); return r; }
    IRecognizedFieldPtr Item(std::int32_t index)
    {
        IRecognizedField *r = nullptr;
        Check(raw_Item(index, &r));
        return IRecognizedFieldPtr::Attach(r);
    }
    IRecognizedFieldPtr Field(const QString &name)
    {
        IRecognizedField *r = nullptr;
        Check(raw_Field(name, &r));
        return IRecognizedFieldPtr::Attach(r);
    }
    QString FieldValue(const QString &name, const QString &defaultValue)
    {
        QString r;
        Check(raw_FieldValue(name, defaultValue, &r));
        return r;
    }
    IStringsArrayPtr GetArray(std::int32_t kind, std::int32_t flags)
    {
        IStringsArray *r = nullptr;
        Check(raw_GetArray(kind, flags, &r));
        return IStringsArrayPtr::Attach(r);
    }

protected:
    ~IFieldsCollection() = default;
};

class R9_EXPORT IRecognitionEngine : public IUnknown
{
public:
    virtual HRESULT raw_Init(IInitParams *params, bool *result) = 0;
    virtual HRESULT raw_Close() = 0;
    virtual HRESULT raw_IsInitialized(bool *result) = 0;
    virtual HRESULT raw_ScannersCount(std::int32_t *result) = 0;
    virtual HRESULT raw_ScannerName(std::int32_t index, QString *result) = 0;
    virtual HRESULT raw_CurrentScanSource(std::int32_t index) = 0;
    virtual HRESULT raw_GetScanSettings(IStringsArray **result) = 0;
    virtual HRESULT raw_SetScanSettings(IStringsArray *settings) = 0;
    virtual HRESULT raw_Scan(QString *filePath) = 0;
    virtual HRESULT raw_AllowedDocuments(IStringsArray **result) = 0;
    virtual HRESULT raw_Recognize(const QString &path, const QString &documentType, IFieldsCollection **result) = 0;
    virtual HRESULT raw_ScanAndRecognize(const QString &documentType, IFieldsCollection **result) = 0;
    virtual HRESULT raw_LogMode(std::int32_t mode) = 0;
    virtual HRESULT raw_EnablePreprocessedImageCoordinatesMode() = 0;

    bool Init(IInitParams *params) { bool r = false; Check(raw_Init(params, &r)); return r; }
    void Close() { Check(raw_Close()); }
    bool IsInitialized() { bool r = false; Check(raw_IsInitialized(&r)); return r; }
    std::int32_t ScannersCount() { std::int32_t r = 0; Check(raw_ScannersCount(&r)); return r; }
    QString ScannerName(std::int32_t index) { QString r; Check(raw_ScannerName(index, &r)); return r; }
    /// Write-only property: selects the scanner used by Scan and ScanAndRecognize.
    void CurrentScanSource(std::int32_t index) { Check(raw_CurrentScanSource(index)); }
    IStringsArrayPtr GetScanSettings()
    {
        IStringsArray *r = nullptr;
        Check(raw_GetScanSettings(&r));
        return IStringsArrayPtr::Attach(r);
    }
    void SetScanSettings(IStringsArray *settings) { Check(raw_SetScanSettings(settings)); }
    QString Scan() { QString r; Check(raw_Scan(&r)); return r; }
    IStringsArrayPtr AllowedDocuments()
    {
        IStringsArray *r = nullptr;
        Check(raw_AllowedDocuments(&r));
        return IStringsArrayPtr::Attach(r);
    }
    IFieldsCollectionPtr Recognize(const QString &path, const QString &documentType)
    {
        IFieldsCollection *r = nullptr;
        Check(raw_Recognize(path, documentType, &r));
        return IFieldsCollectionPtr::Attach(r);
    }
    IFieldsCollectionPtr ScanAndRecognize(const QString &documentType)
    {
        IFieldsCollection *r = nullptr;
        Check(raw_ScanAndRecognize(documentType, &r));
        return IFieldsCollectionPtr::Attach(r);
    }
    /// Write-only property: the engine's own logging level.
    void LogMode(std::int32_t mode) { Check(raw_LogMode(mode)); }
    void EnablePreprocessedImageCoordinatesMode() { Check(raw_EnablePreprocessedImageCoordinatesMode()); }

protected:
    ~IRecognitionEngine() = default;
};

/// Name of the engine server library. It is looked up in the host
/// executable's folder first, then on the loader's search path.
inline constexpr const char *PassportReaderServerLibrary = "libpassportreader.so";

/// The server's one entry point: creates an object of class clsid and returns
/// its interface iid with one reference in *object.
///   extern "C" HRESULT DllGetClassObject(const CLSID &clsid, const IID &iid, void **object);
using DllGetClassObjectProc = HRESULT (*)(const CLSID &clsid, const IID &iid, void **object);

/// Factories of the two creatable classes. Create throws EEngineError when the
/// server library is missing, lacks its entry point or refuses the class.
class R9_EXPORT CoRecognitionEngine
{
public:
    static IRecognitionEnginePtr Create();
    /// Remote servers do not exist here; always throws EEngineError.
    static IRecognitionEnginePtr CreateRemote(const QString &machineName);
};

class R9_EXPORT CoInitParams
{
public:
    static IInitParamsPtr Create();
    static IInitParamsPtr CreateRemote(const QString &machineName);
};
