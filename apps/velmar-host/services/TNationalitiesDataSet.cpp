#include "TNationalitiesDataSet.h"

#include <stdexcept>

namespace hostkit {

namespace {
const QString kCountry = QStringLiteral("F_COUNTRY_NAME");
const QString kNationality = QStringLiteral("F_COUNTRY_NATIONLITY");
const QString kOldNationality = QStringLiteral("OLD_F_COUNTRY_NATIONLITY");
const QString kId = QStringLiteral("ID");
} // namespace

TNationalitiesDataSet::TNationalitiesDataSet(std::shared_ptr<THostDatabase> db)
    : m_db(std::move(db))
    , m_records(ReadTable())
{
}

std::vector<TNationalitiesDataSet::Record> TNationalitiesDataSet::ReadTable() const
{
    std::vector<Record> records;
    QSqlQuery q = m_db->Exec(QStringLiteral("SELECT id, name, nationality FROM countries ORDER BY id"));
    while (q.next())
        records.push_back({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString()});
    return records;
}

int TNationalitiesDataSet::FieldIndex(const QString &fieldName) const
{
    if (fieldName == kCountry)
        return ColCountry;
    if (fieldName == kNationality)
        return ColNationality;
    return -1;
}

bool TNationalitiesDataSet::FieldReadOnly(const QString &fieldName) const
{
    return fieldName != kNationality;
}

int TNationalitiesDataSet::RowOf(const QString &country) const
{
    for (std::size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i].country == country)
            return static_cast<int>(i);
    return -1;
}

QVariant TNationalitiesDataSet::Delta() const
{
    QVariantList delta;
    for (const auto &[id, change] : m_changes) {
        QString country;
        for (const Record &r : m_records)
            if (r.id == id)
                country = r.country;
        delta << QVariantMap{{kId, id},
                             {kCountry, country},
                             {kNationality, change.newNationality},
                             {kOldNationality, change.oldNationality}};
    }
    return delta;
}

QVariant TNationalitiesDataSet::DataRequest(const QVariant &data)
{
    if (data.typeId() == QMetaType::QString) {
        if (data.toString() != QLatin1String("Start"))
            throw std::invalid_argument(("Nationalities: unknown request " + data.toString()).toStdString());
        Reload();
        return static_cast<int>(m_records.size());
    }
    if (data.typeId() == QMetaType::QVariantList)
        return ApplyDelta(data.toList());
    throw std::invalid_argument("Nationalities: the request is neither a delta nor a command");
}

int TNationalitiesDataSet::ApplyDelta(const QVariantList &delta)
{
    QSqlDatabase db = m_db->Database();
    if (!db.transaction())
        throw std::runtime_error("Nationalities: cannot start a transaction");
    int written = 0;
    try {
        for (const QVariant &entry : delta) {
            const QVariantMap change = entry.toMap();
            bool ok = false;
            const int id = change.value(kId).toInt(&ok);
            if (!ok || !change.contains(kNationality))
                throw std::invalid_argument("Nationalities: a delta record without ID or nationality");
            QSqlQuery q = m_db->Exec(QStringLiteral("UPDATE countries SET nationality = ? WHERE id = ?"),
                                     {change.value(kNationality).toString(), id});
            written += q.numRowsAffected() > 0 ? 1 : 0;
        }
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw std::runtime_error("Nationalities: cannot commit the changes");
    return written;
}

void TNationalitiesDataSet::Reload()
{
    std::vector<Record> fresh = ReadTable();
    for (Record &r : fresh) {
        const auto change = m_changes.find(r.id);
        if (change != m_changes.end())
            r.nationality = change->second.newNationality;
    }
    bool sameRows = fresh.size() == m_records.size();
    for (std::size_t i = 0; sameRows && i < fresh.size(); ++i)
        sameRows = fresh[i].id == m_records[i].id;
    // Reload often runs from the after-post event, while the grid is still
    // closing its editor: keep the rows and only report the changed values
    // unless the table itself changed.
    if (sameRows) {
        for (std::size_t i = 0; i < fresh.size(); ++i) {
            if (fresh[i].country == m_records[i].country && fresh[i].nationality == m_records[i].nationality)
                continue;
            m_records[i] = fresh[i];
            const int row = static_cast<int>(i);
            emit dataChanged(index(row, ColCountry), index(row, ColNationality));
        }
        return;
    }
    beginResetModel();
    m_records = std::move(fresh);
    m_recNo = 0;
    endResetModel();
}

int TNationalitiesDataSet::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_records.size());
}

int TNationalitiesDataSet::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant TNationalitiesDataSet::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const Record &r = m_records[static_cast<std::size_t>(index.row())];
    return index.column() == ColCountry ? r.country : r.nationality;
}

QVariant TNationalitiesDataSet::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (role != Qt::DisplayRole && role != FieldNameRole)
        return {};
    if (section == ColCountry)
        return kCountry;
    if (section == ColNationality)
        return kNationality;
    return {};
}

Qt::ItemFlags TNationalitiesDataSet::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (index.column() == ColNationality)
        f |= Qt::ItemIsEditable;
    return f;
}

bool TNationalitiesDataSet::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.column() != ColNationality || index.row() >= rowCount())
        return false;
    Record &r = m_records[static_cast<std::size_t>(index.row())];
    const QString text = value.toString();
    m_recNo = index.row();
    if (text == r.nationality)
        return true; // nothing to post
    auto change = m_changes.find(r.id);
    if (change == m_changes.end())
        m_changes.emplace(r.id, Change{r.nationality, text});
    else if (change->second.oldNationality == text)
        m_changes.erase(change); // edited back to the stored value
    else
        change->second.newNationality = text;
    r.nationality = text;
    emit dataChanged(index, index);
    if (m_afterPost) {
        // The handler may re-read the data set; keep it alive while it runs.
        const TAfterPostHandler handler = m_afterPost;
        handler(this);
    }
    return true;
}

} // namespace hostkit
