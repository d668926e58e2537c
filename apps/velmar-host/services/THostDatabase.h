#pragma once
// The stand-in host's SQLite database: one connection per host kit, created
// from the seed script on first use. Everything that talks to the database
// shares it through a shared pointer, so the connection outlives the last
// object that still needs it.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <memory>

namespace hostkit {

class THostDatabase
{
public:
    /// Opens (and on first use creates and seeds) the database file at `path`.
    /// Throws std::runtime_error when the file cannot be opened or seeded.
    static std::shared_ptr<THostDatabase> Open(const QString &path);
    ~THostDatabase();
    THostDatabase(const THostDatabase &) = delete;
    THostDatabase &operator=(const THostDatabase &) = delete;

    QSqlDatabase Database() const;
    QString Path() const { return m_path; }

    /// Prepares and runs `sql` with positional `values`; throws
    /// std::runtime_error with the database's text on failure.
    QSqlQuery Exec(const QString &sql, const QVariantList &values = {}) const;

private:
    explicit THostDatabase(const QString &path);
    void Seed();
    void AddCameraSourceColumns();

    QString m_path;
    QString m_connection;
};

} // namespace hostkit
