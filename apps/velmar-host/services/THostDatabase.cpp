#include "THostDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QStringList>
#include <atomic>
#include <stdexcept>

namespace hostkit {

namespace {

std::runtime_error DatabaseError(const QString &what, const QSqlError &error)
{
    return std::runtime_error((what + QStringLiteral(": ") + error.text()).toStdString());
}

/// The seed script split into statements: each one ends with ';' at the end
/// of a line; '--' lines are comments.
QStringList SeedStatements()
{
    QFile file(QStringLiteral(":/hostkit/seed.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("hostkit: the seed script is missing from the library");
    QStringList statements;
    QString current;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1String("--")))
            continue;
        current += line + QLatin1Char('\n');
        if (trimmed.endsWith(QLatin1Char(';'))) {
            statements << current.trimmed();
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

} // namespace

std::shared_ptr<THostDatabase> THostDatabase::Open(const QString &path)
{
    return std::shared_ptr<THostDatabase>(new THostDatabase(path));
}

THostDatabase::THostDatabase(const QString &path)
    : m_path(QFileInfo(path).absoluteFilePath())
{
    static std::atomic<int> counter{0};
    m_connection = QStringLiteral("hostkit-%1").arg(++counter);

    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        throw std::runtime_error(("hostkit: cannot create the folder of " + m_path).toStdString());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(m_path);
        if (!db.open()) {
            const QSqlError error = db.lastError();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_connection);
            throw DatabaseError(QStringLiteral("hostkit: cannot open ") + m_path, error);
        }
    }
    // It lies in the folder of the scanned documents and holds the users'
    // rights: the user's alone (its journal takes the same modes).
    QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    try {
        Exec(QStringLiteral("PRAGMA foreign_keys = ON"));
        if (!Database().tables().contains(QStringLiteral("config_objects")))
            Seed();
        else
            AddCameraSourceColumns();
    } catch (...) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
        throw;
    }
}

THostDatabase::~THostDatabase()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase THostDatabase::Database() const
{
    return QSqlDatabase::database(m_connection, false);
}

QSqlQuery THostDatabase::Exec(const QString &sql, const QVariantList &values) const
{
    QSqlQuery query(Database());
    if (!query.prepare(sql))
        throw DatabaseError(QStringLiteral("hostkit: ") + sql.simplified(), query.lastError());
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw DatabaseError(QStringLiteral("hostkit: ") + sql.simplified(), query.lastError());
    return query;
}

void THostDatabase::AddCameraSourceColumns()
{
    // A database seeded before the real cameras came has none of their columns.
    QSqlQuery q = Exec(QStringLiteral("SELECT name FROM pragma_table_info('config_objects') WHERE name = 'enabled'"));
    if (q.next())
        return;
    Exec(QStringLiteral("ALTER TABLE config_objects ADD COLUMN source_kind TEXT"));
    Exec(QStringLiteral("ALTER TABLE config_objects ADD COLUMN source TEXT"));
    Exec(QStringLiteral("ALTER TABLE config_objects ADD COLUMN enabled INTEGER NOT NULL DEFAULT 1"));
}

void THostDatabase::Seed()
{
    QSqlDatabase db = Database();
    if (!db.transaction())
        throw DatabaseError(QStringLiteral("hostkit: cannot seed ") + m_path, db.lastError());
    try {
        for (const QString &statement : SeedStatements())
            Exec(statement);
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw DatabaseError(QStringLiteral("hostkit: cannot seed ") + m_path, db.lastError());
}

} // namespace hostkit
