#pragma once
// In-process stand-ins for the engine interfaces and the host's nationalities
// data set, recording what the window asks of them.

#include "abbyy/ABBYY_PassportReaderSdk_TLB.h"
#include "host/IDataSet.h"
#include "support/FakeUnknown.h"

#include <QStandardItemModel>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

namespace r9test {

template <class Interface>
using FakeUnknown = r9test::FakeUnknown<Interface>;

/// Ordered name/value settings of a scanner.
class FakeStringsArray : public FakeUnknown<IStringsArray>
{
public:
    std::vector<std::pair<QString, QString>> items;
    QStringList containsAsked;

    static ComPtr<FakeStringsArray> Make(std::vector<std::pair<QString, QString>> values)
    {
        auto *a = new FakeStringsArray;
        a->items = std::move(values);
        return ComPtr<FakeStringsArray>(a);
    }

    HRESULT raw_Count(std::int32_t *result) override { *result = std::int32_t(items.size()); return S_OK; }
    HRESULT raw_Name(std::int32_t index, QString *result) override
    {
        if (index < 0 || size_t(index) >= items.size())
            return E_INVALIDARG;
        *result = items[size_t(index)].first;
        return S_OK;
    }
    HRESULT raw_Value(const QString &name, QString *result) override
    {
        for (auto &[n, v] : items)
            if (n == name) {
                *result = v;
                return S_OK;
            }
        return E_INVALIDARG;
    }
    HRESULT raw_Set_(const QString &name, const QString &value) override
    {
        for (auto &[n, v] : items)
            if (n == name) {
                v = value;
                return S_OK;
            }
        return E_INVALIDARG;
    }
    HRESULT raw_Contains(const QString &name, bool *result) override
    {
        containsAsked << name;
        *result = false;
        for (auto &item : items)
            if (item.first == name)
                *result = true;
        return S_OK;
    }
};

/// The engine: a list of scanners, each with its settings (null: the scanner
/// has none; a failing request when settingsFail is set), and a scan that
/// returns whatever file scanResult names.
class FakeEngine : public FakeUnknown<IRecognitionEngine>
{
public:
    QStringList scanners;
    std::vector<ComPtr<FakeStringsArray>> settings; // per scanner
    bool settingsFail = false;
    std::vector<int> sourcesSelected;
    int scanCalls = 0;
    int setScanSettingsCalls = 0;
    std::function<QString()> scanResult;

    HRESULT raw_Init(IInitParams *, bool *result) override { *result = true; return S_OK; }
    HRESULT raw_Close() override { return S_OK; }
    HRESULT raw_IsInitialized(bool *result) override { *result = true; return S_OK; }
    HRESULT raw_ScannersCount(std::int32_t *result) override { *result = std::int32_t(scanners.size()); return S_OK; }
    HRESULT raw_ScannerName(std::int32_t index, QString *result) override
    {
        if (index < 0 || index >= scanners.size())
            return E_INVALIDARG;
        *result = scanners[index];
        return S_OK;
    }
    HRESULT raw_CurrentScanSource(std::int32_t index) override
    {
        sourcesSelected.push_back(index);
        return index >= 0 && index < scanners.size() ? S_OK : E_INVALIDARG;
    }
    HRESULT raw_GetScanSettings(IStringsArray **result) override
    {
        *result = nullptr;
        if (settingsFail)
            return E_FAIL;
        const int current = sourcesSelected.empty() ? -1 : sourcesSelected.back();
        if (current >= 0 && size_t(current) < settings.size() && settings[size_t(current)]) {
            *result = settings[size_t(current)].get();
            (*result)->AddRef();
        }
        return S_OK;
    }
    HRESULT raw_SetScanSettings(IStringsArray *) override { ++setScanSettingsCalls; return S_OK; }
    HRESULT raw_Scan(QString *filePath) override
    {
        ++scanCalls;
        if (!scanResult)
            return E_FAIL;
        *filePath = scanResult();
        return S_OK;
    }
    HRESULT raw_AllowedDocuments(IStringsArray **result) override { *result = nullptr; return E_NOTIMPL; }
    HRESULT raw_Recognize(const QString &, const QString &, IFieldsCollection **result) override
    {
        *result = nullptr;
        return E_NOTIMPL;
    }
    HRESULT raw_ScanAndRecognize(const QString &, IFieldsCollection **result) override
    {
        *result = nullptr;
        return E_NOTIMPL;
    }
    HRESULT raw_LogMode(std::int32_t) override { return S_OK; }
    HRESULT raw_EnablePreprocessedImageCoordinatesMode() override { return S_OK; }
};

/// The host's nationalities: a table whose edits are logged until merged;
/// Post() plays the grid leaving a row.
class FakeNationalities : public host::IDataSet
{
public:
    FakeNationalities()
    {
        // The field order of the table differs from the grid's column order.
        const char *fields[] = {"F_COUNTRY_KOD", "F_COUNTRY_NATIONLITY", "F_COUNTRY_NAME"};
        model.setColumnCount(3);
        for (int c = 0; c < 3; ++c) {
            model.setHeaderData(c, Qt::Horizontal, QString::fromLatin1(fields[c]), Qt::DisplayRole);
            model.setHeaderData(c, Qt::Horizontal, QString::fromLatin1(fields[c]), FieldNameRole);
        }
        addRow(QStringLiteral("RU"), QStringLiteral("россиянин"), QStringLiteral("Россия"));
        addRow(QStringLiteral("BY"), QStringLiteral("белорус"), QStringLiteral("Беларусь"));
        QObject::connect(&model, &QStandardItemModel::itemChanged, [this](QStandardItem *item) {
            changes << QStringLiteral("%1:%2=%3").arg(item->row()).arg(item->column()).arg(item->text());
        });
    }

    void addRow(const QString &kod, const QString &nation, const QString &name)
    {
        model.appendRow({new QStandardItem(kod), new QStandardItem(nation), new QStandardItem(name)});
    }

    void Post()
    {
        if (m_afterPost)
            m_afterPost(this);
    }

    QAbstractItemModel *Model() override { return &model; }
    int FieldIndex(const QString &fieldName) const override
    {
        for (int c = 0; c < model.columnCount(); ++c)
            if (model.headerData(c, Qt::Horizontal, FieldNameRole).toString() == fieldName)
                return c;
        return -1;
    }
    bool FieldReadOnly(const QString &fieldName) const override { return fieldName != QLatin1String("F_COUNTRY_NATIONLITY"); }
    void First() override { ++firstCalls; }
    int ChangeCount() const override { return int(changes.size()); }
    QVariant Delta() const override { return QVariant(changes); }
    QVariant DataRequest(const QVariant &data) override
    {
        requests.push_back(data);
        return QVariant();
    }
    void MergeChangeLog() override { changes.clear(); }
    void SetAfterPost(TAfterPostHandler handler) override { m_afterPost = std::move(handler); }
    TAfterPostHandler AfterPost() const override { return m_afterPost; }

    QStandardItemModel model;
    QStringList changes;
    std::vector<QVariant> requests;
    int firstCalls = 0;

private:
    TAfterPostHandler m_afterPost;
};

} // namespace r9test
