#pragma once
// An in-process engine behind the engine interfaces: the tests decide what
// each call answers and read back what the window asked for.

#include "abbyy/ABBYY_PassportReaderSdk_TLB.h"
#include "support/FakeUnknown.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

namespace fake {

template <class I>
class Object : public r9test::FakeUnknown<I>
{
public:
    /// A new object handed out with one reference (an out parameter's).
    template <class T, class... A>
    static T *Hand(A &&...args)
    {
        T *t = new T(std::forward<A>(args)...);
        t->AddRef();
        return t;
    }

protected:
    HRESULT Fail(const QString &message)
    {
        this->errorText = message;
        return E_FAIL;
    }
};

/// One field as a test describes it.
struct Field
{
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
};

/// What a test wants the engine to answer, and what the window asked.
struct Script
{
    std::vector<Field> fields;
    std::optional<QString> pagePath = QString(); ///< GetArray(1,0)["FullImage"]; nullopt: no array
    QString scanFile;          ///< file Scan() returns (created by the test)
    QString failScan;          ///< non-empty: Scan fails with this text
    QString failRecognize;     ///< non-empty: Recognize/ScanAndRecognize fail with this text
    bool nullCollection = false;

    int scans = 0;
    QStringList recognized;       ///< "path|type" of each Recognize
    QStringList scannedAndRecognized; ///< type of each ScanAndRecognize
    QStringList savedTo;          ///< paths of every SaveTo
    int settingsApplied = 0;
};

class TrustedSymbol : public Object<IRecognizedSymbol>
{
public:
    explicit TrustedSymbol(bool trusted) : m_trusted(trusted) {}
    HRESULT raw_Trusted(bool *r) override { *r = m_trusted; return S_OK; }

private:
    bool m_trusted;
};

class RecognizedField : public Object<IRecognizedField>
{
public:
    RecognizedField(fake::Field f, int id, std::shared_ptr<Script> s) : m_f(std::move(f)), m_id(id), m_s(std::move(s)) {}
    HRESULT raw_id(QString *r) override { *r = QString::number(m_id); return S_OK; }
    HRESULT raw_Name(QString *r) override { *r = m_f.name; return S_OK; }
    HRESULT raw_IsFound(bool *r) override { *r = m_f.found; return S_OK; }
    HRESULT raw_IsImage(bool *r) override { *r = !m_f.picture.isNull(); return S_OK; }
    HRESULT raw_Length(std::int32_t *r) override { *r = m_f.length.value_or(std::int32_t(m_f.value.size())); return S_OK; }
    HRESULT raw_Value(QString *r) override { *r = m_f.value; return S_OK; }
    HRESULT raw_Symbol(std::int32_t i, IRecognizedSymbol **r) override
    {
        if (i < 0 || (i >= m_f.value.size() && !m_f.symbolsPastValue))
            return Fail(QStringLiteral("symbol index out of range"));
        *r = Hand<TrustedSymbol>(!m_f.untrusted.contains(i));
        return S_OK;
    }
    HRESULT raw_SaveTo(const QString &path, std::int32_t) override
    {
        m_s->savedTo << path;
        if (m_f.saveFails || m_f.picture.isNull())
            return Fail(QStringLiteral("Cannot save field %1").arg(m_f.name));
        return m_f.picture.save(path, "JPG") ? S_OK : Fail(QStringLiteral("Cannot write %1").arg(path));
    }

private:
    fake::Field m_f;
    int m_id;
    std::shared_ptr<Script> m_s;
};

class StringsArray : public Object<IStringsArray>
{
public:
    explicit StringsArray(QList<std::pair<QString, QString>> entries) : m_entries(std::move(entries)) {}
    HRESULT raw_Count(std::int32_t *r) override { *r = std::int32_t(m_entries.size()); return S_OK; }
    HRESULT raw_Name(std::int32_t i, QString *r) override
    {
        if (i < 0 || i >= m_entries.size())
            return Fail(QStringLiteral("index out of range"));
        *r = m_entries[i].first;
        return S_OK;
    }
    HRESULT raw_Value(const QString &name, QString *r) override
    {
        r->clear();
        for (const auto &e : m_entries)
            if (e.first == name)
                *r = e.second;
        return S_OK;
    }
    HRESULT raw_Set_(const QString &name, const QString &value) override
    {
        for (auto &e : m_entries)
            if (e.first == name) {
                e.second = value;
                return S_OK;
            }
        m_entries.append({name, value});
        return S_OK;
    }
    HRESULT raw_Contains(const QString &name, bool *r) override
    {
        *r = std::any_of(m_entries.cbegin(), m_entries.cend(), [&](const auto &e) { return e.first == name; });
        return S_OK;
    }

private:
    QList<std::pair<QString, QString>> m_entries;
};

class FieldsCollection : public Object<IFieldsCollection>
{
public:
    explicit FieldsCollection(std::shared_ptr<Script> s) : m_s(std::move(s)) {}
    HRESULT raw_Count(std::int32_t *r) override { *r = std::int32_t(m_s->fields.size()); return S_OK; }
    HRESULT raw_Item(std::int32_t i, IRecognizedField **r) override
    {
        if (i < 0 || size_t(i) >= m_s->fields.size())
            return Fail(QStringLiteral("index out of range"));
        *r = Hand<RecognizedField>(m_s->fields[size_t(i)], i + 1, m_s);
        return S_OK;
    }
    HRESULT raw_Field(const QString &name, IRecognizedField **r) override
    {
        *r = nullptr;
        for (size_t i = 0; i < m_s->fields.size(); ++i)
            if (m_s->fields[i].name == name) {
                *r = Hand<RecognizedField>(m_s->fields[i], int(i) + 1, m_s);
                break;
            }
        return S_OK;
    }
    HRESULT raw_FieldValue(const QString &name, const QString &def, QString *r) override
    {
        *r = def;
        for (const fake::Field &f : m_s->fields)
            if (f.name == name)
                *r = f.value;
        return S_OK;
    }
    HRESULT raw_GetArray(std::int32_t kind, std::int32_t flags, IStringsArray **r) override
    {
        *r = nullptr;
        if (kind != 1 || flags != 0)
            return Fail(QStringLiteral("unknown array"));
        if (m_s->pagePath)
            *r = Hand<StringsArray>(QList<std::pair<QString, QString>>{{QStringLiteral("FullImage"), *m_s->pagePath}});
        return S_OK;
    }

private:
    std::shared_ptr<Script> m_s;
};

class Engine : public Object<IRecognitionEngine>
{
public:
    explicit Engine(std::shared_ptr<Script> s) : m_s(std::move(s)) {}
    HRESULT raw_Init(IInitParams *, bool *r) override { *r = true; return S_OK; }
    HRESULT raw_Close() override { return S_OK; }
    HRESULT raw_IsInitialized(bool *r) override { *r = true; return S_OK; }
    HRESULT raw_ScannersCount(std::int32_t *r) override { *r = 1; return S_OK; }
    HRESULT raw_ScannerName(std::int32_t, QString *r) override { *r = QStringLiteral("Fake scanner"); return S_OK; }
    HRESULT raw_CurrentScanSource(std::int32_t) override { return S_OK; }
    HRESULT raw_GetScanSettings(IStringsArray **r) override
    {
        *r = Hand<StringsArray>(QList<std::pair<QString, QString>>{{QStringLiteral("brightness"), QStringLiteral("50")}});
        return S_OK;
    }
    HRESULT raw_SetScanSettings(IStringsArray *) override { ++m_s->settingsApplied; return S_OK; }
    HRESULT raw_Scan(QString *path) override
    {
        ++m_s->scans;
        if (!m_s->failScan.isEmpty())
            return Fail(m_s->failScan);
        *path = m_s->scanFile;
        return S_OK;
    }
    HRESULT raw_AllowedDocuments(IStringsArray **r) override
    {
        *r = Hand<StringsArray>(QList<std::pair<QString, QString>>{});
        return S_OK;
    }
    HRESULT raw_Recognize(const QString &path, const QString &type, IFieldsCollection **r) override
    {
        m_s->recognized << path + QLatin1Char('|') + type;
        return Collection(r);
    }
    HRESULT raw_ScanAndRecognize(const QString &type, IFieldsCollection **r) override
    {
        m_s->scannedAndRecognized << type;
        return Collection(r);
    }
    HRESULT raw_LogMode(std::int32_t) override { return S_OK; }
    HRESULT raw_EnablePreprocessedImageCoordinatesMode() override { return S_OK; }

private:
    HRESULT Collection(IFieldsCollection **r)
    {
        *r = nullptr;
        if (!m_s->failRecognize.isEmpty())
            return Fail(m_s->failRecognize);
        if (!m_s->nullCollection)
            *r = Hand<FieldsCollection>(m_s);
        return S_OK;
    }
    std::shared_ptr<Script> m_s;
};

} // namespace fake
