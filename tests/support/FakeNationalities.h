#pragma once
// The host's nationalities data set, in process, recording what the window
// asks of it.

#include "host/IDataSet.h"

#include <QStandardItemModel>
#include <QStringList>
#include <utility>
#include <vector>

namespace r9test {

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
