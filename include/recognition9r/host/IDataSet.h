#pragma once
#include "base/r9Export.h"
// The host's client data set of countries and nationalities, as the package
// sees it: a table model for a grid plus the change-log operations of a
// client data set. The host supplies it in gl_cdsNationalities; the ABBYY form
// shows it and edits the nationality column.

#include <QAbstractItemModel>
#include <QVariant>
#include <functional>

namespace host {

class R9_EXPORT IDataSet
{
public:
    virtual ~IDataSet() = default;

    /// The rows and columns; column names are the field names
    /// ("F_COUNTRY_NAME", "F_COUNTRY_NATIONLITY"), read with
    /// headerData(section, Qt::Horizontal, FieldNameRole).
    virtual QAbstractItemModel *Model() = 0;
    static constexpr int FieldNameRole = Qt::UserRole + 1;

    /// Column of a field, -1 when the data set has no such field.
    virtual int FieldIndex(const QString &fieldName) const = 0;
    virtual bool FieldReadOnly(const QString &fieldName) const = 0;

    /// Moves to the first record.
    virtual void First() = 0;
    /// Count of changes not yet merged into the data (edits posted since the last merge).
    virtual int ChangeCount() const = 0;
    /// The pending changes as a packet the provider understands.
    virtual QVariant Delta() const = 0;
    /// Hands a packet (the delta, or a command such as "Start") to the
    /// data set's provider and returns the provider's answer.
    virtual QVariant DataRequest(const QVariant &data) = 0;
    /// Accepts the pending changes: afterwards ChangeCount() is 0.
    virtual void MergeChangeLog() = 0;

    /// Runs after a record edit is posted (the grid leaves an edited row).
    using TAfterPostHandler = std::function<void(IDataSet *dataSet)>;
    virtual void SetAfterPost(TAfterPostHandler handler) = 0;
    virtual TAfterPostHandler AfterPost() const = 0;
};

} // namespace host
