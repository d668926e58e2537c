#include "TCameraCatalogue.h"

#include "THostDatabase.h"

#include <QCameraDevice>
#include <QMediaDevices>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>

namespace hostkit {

namespace {

QString SafeName(QString text)
{
    static const QRegularExpression other(QStringLiteral("[^A-Za-z0-9_]+"));
    text.replace(other, QStringLiteral("_"));
    while (text.startsWith(QLatin1Char('_')))
        text.remove(0, 1);
    return text;
}

} // namespace

std::vector<TVideoInput> TCameraCatalogue::SystemVideoInputs()
{
    std::vector<TVideoInput> inputs;
    for (const QCameraDevice &device : QMediaDevices::videoInputs())
        inputs.push_back({device.id(), device.description()});
    return inputs;
}

TCameraCatalogue::TCameraCatalogue(std::shared_ptr<THostDatabase> db, TCameraSettings settings)
    : m_db(std::move(db))
    , m_settings(std::move(settings))
    , m_lister(&TCameraCatalogue::SystemVideoInputs)
{
    // A camera plugged in or pulled out while the host runs shows in (or
    // leaves) the next camera choice.
    if (m_settings.devices) {
        m_devices = std::make_unique<QMediaDevices>();
        connect(m_devices.get(), &QMediaDevices::videoInputsChanged, this, [this] { Refresh(); });
    }
}

TCameraCatalogue::~TCameraCatalogue() = default;

void TCameraCatalogue::SetDeviceLister(TDeviceLister lister)
{
    m_lister = std::move(lister);
}

QString TCameraCatalogue::DeviceInnerName(const QByteArray &deviceId)
{
    return QStringLiteral("device_") + SafeName(QString::fromUtf8(deviceId));
}

QString TCameraCatalogue::StreamInnerName(const QString &key)
{
    return QStringLiteral("stream_") + SafeName(key);
}

int TCameraCatalogue::ServerId()
{
    QSqlQuery q = m_db->Exec(QStringLiteral("SELECT id FROM config_objects WHERE inner_name = ?"), {ServerInnerName()});
    if (q.next())
        return q.value(0).toInt();
    q = m_db->Exec(QStringLiteral("SELECT id FROM config_objects WHERE parent_id IS NULL ORDER BY id LIMIT 1"));
    if (!q.next())
        throw std::runtime_error("hostkit: the configuration has no root object");
    m_db->Exec(QStringLiteral("INSERT INTO config_objects (parent_id, class_name, inner_name, display_name, inner_path) "
                              "VALUES (?, 'VideoServer_1', ?, 'Камеры этого компьютера', ?)"),
               {q.value(0).toInt(), ServerInnerName(), QLatin1Char('/') + ServerInnerName()});
    return ServerId();
}

void TCameraCatalogue::AddCamera(int serverId, const QString &className, const QString &innerName,
                                 const QString &displayName, const QString &kind, const QString &source,
                                 const QStringList &users, QStringList &unknown)
{
    m_db->Exec(QStringLiteral("INSERT INTO config_objects (parent_id, class_name, inner_name, display_name, "
                              "inner_path, source_kind, source) VALUES (?, ?, ?, ?, ?, ?, ?)"),
               {serverId, className, innerName, displayName,
                QStringLiteral("/%1/%2").arg(ServerInnerName(), innerName), kind, source});
    QSqlQuery inserted = m_db->Exec(QStringLiteral("SELECT id FROM config_objects WHERE inner_name = ?"), {innerName});
    if (!inserted.next())
        throw std::runtime_error(("hostkit: camera " + innerName + " was not stored").toStdString());
    const int objectId = inserted.value(0).toInt();
    for (const QString &login : users) {
        QSqlQuery user = m_db->Exec(QStringLiteral("SELECT id FROM users WHERE login = ?"), {login});
        if (!user.next()) {
            if (!unknown.contains(login))
                unknown << login;
            continue;
        }
        m_db->Exec(QStringLiteral("INSERT OR IGNORE INTO user_object_rights (user_id, object_id, rights) VALUES (?, ?, 1)"),
                   {user.value(0).toInt(), objectId});
    }
}

QStringList TCameraCatalogue::Refresh()
{
    const std::vector<TVideoInput> inputs = m_settings.devices ? m_lister() : std::vector<TVideoInput>();
    QStringList unknown;
    QSqlDatabase db = m_db->Database();
    db.transaction();
    try {
        m_db->Exec(QStringLiteral("DELETE FROM user_object_rights WHERE object_id IN "
                                  "(SELECT id FROM config_objects WHERE source_kind IS NOT NULL)"));
        m_db->Exec(QStringLiteral("DELETE FROM config_objects WHERE source_kind IS NOT NULL"));
        m_db->Exec(QStringLiteral("UPDATE config_objects SET enabled = ? WHERE source_kind IS NULL AND "
                                  "(substr(class_name, 1, 15) = 'EmbeddedCamera_' OR "
                                  "substr(class_name, 1, 17) = 'StandaloneCamera_')"),
                   {m_settings.synthetic ? 1 : 0});
        const int server = ServerId();
        QSet<QString> names;
        for (const TVideoInput &input : inputs) {
            const QString innerName = DeviceInnerName(input.id);
            if (names.contains(innerName))
                continue;
            // Two cameras of one model are told apart by their number.
            QString display = input.description.isEmpty() ? QString::fromUtf8(input.id) : input.description;
            for (int n = 2; names.contains(QStringLiteral("display:") + display); ++n)
                display = QStringLiteral("%1 (%2)").arg(input.description).arg(n);
            names << innerName << QStringLiteral("display:") + display;
            AddCamera(server, QStringLiteral("StandaloneCamera_Device"), innerName, display, QStringLiteral("device"),
                      QString::fromUtf8(input.id), m_settings.deviceUsers, unknown);
        }
        for (const TStreamCamera &stream : m_settings.streams) {
            const QString innerName = StreamInnerName(stream.key);
            if (names.contains(innerName))
                continue;
            names << innerName;
            AddCamera(server, QStringLiteral("StandaloneCamera_Stream"), innerName, stream.name,
                      QStringLiteral("stream"), stream.address, stream.users, unknown);
        }
    } catch (...) {
        db.rollback();
        throw;
    }
    db.commit();
    return unknown;
}

} // namespace hostkit
