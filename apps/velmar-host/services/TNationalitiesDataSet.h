#pragma once
// The stand-in nationalities data set: the countries table of the host
// database as a grid model with a client-side change log. An edit committed
// in the grid is posted at once: it enters the change log and the after-post
// event runs. The provider (DataRequest) writes a delta into the database and
// answers "Start" by re-reading the table.

#include "THostDatabase.h"
#include "host/IDataSet.h"

#include <QAbstractTableModel>
#include <map>
#include <vector>

namespace hostkit {

class TNationalitiesDataSet : public QAbstractTableModel, public host::IDataSet
{
public:
    static constexpr int ColCountry = 0;
    static constexpr int ColNationality = 1;

    explicit TNationalitiesDataSet(std::shared_ptr<THostDatabase> db);

    // host::IDataSet
    QAbstractItemModel *Model() override { return this; }
    int FieldIndex(const QString &fieldName) const override;
    bool FieldReadOnly(const QString &fieldName) const override;
    void First() override { m_recNo = 0; }
    int ChangeCount() const override { return static_cast<int>(m_changes.size()); }
    /// A list of maps, one per changed record: "ID", "F_COUNTRY_NAME",
    /// "F_COUNTRY_NATIONLITY" (new value) and "OLD_F_COUNTRY_NATIONLITY".
    QVariant Delta() const override;
    /// A delta list: writes it in one transaction and answers the number of
    /// records written. "Start": re-reads the table (pending edits stay on
    /// top) and answers the record count. Anything else throws.
    QVariant DataRequest(const QVariant &data) override;
    void MergeChangeLog() override { m_changes.clear(); }
    void SetAfterPost(TAfterPostHandler handler) override { m_afterPost = std::move(handler); }
    TAfterPostHandler AfterPost() const override { return m_afterPost; }

    int RecNo() const { return m_recNo; }
    /// Row of a country, -1 when there is none.
    int RowOf(const QString &country) const;

    // QAbstractItemModel
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    struct Record
    {
        int id = 0;
        QString country;
        QString nationality;
    };
    struct Change
    {
        QString oldNationality;
        QString newNationality;
    };

    std::vector<Record> ReadTable() const;
    void Reload();
    int ApplyDelta(const QVariantList &delta);

    std::shared_ptr<THostDatabase> m_db;
    std::vector<Record> m_records;
    std::map<int, Change> m_changes; // by record id
    TAfterPostHandler m_afterPost;
    int m_recNo = 0;
};

} // namespace hostkit
