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

/// Every key its own name: lower-case letters and digits stay, every other
/// byte of the key's UTF-8 becomes "_" and its two hex digits.
QString EncodedName(const QString &key)
{
    QString name;
    for (const char byte : key.toUtf8()) {
        const auto c = static_cast<unsigned char>(byte);
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            name += QLatin1Char(byte);
        else
            name += QStringLiteral("_%1").arg(c, 2, 16, QLatin1Char('0'));
    }
    return name;
}

/// How long a list of video inputs serves the next listing of cameras.
constexpr int ReuseListingMs = 2000;

} // namespace

QCameraDevice TCameraCatalogue::SystemVideoInput(const QByteArray &id)
{
    for (const QCameraDevice &device : QMediaDevices::videoInputs())
        if (device.id() == id)
            return device;
    return {};
}

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
}

TCameraCatalogue::~TCameraCatalogue() = default;

void TCameraCatalogue::SetDeviceLister(TDeviceLister lister)
{
    m_lister = std::move(lister);
    m_watchDevices = false;
    m_sinceListed.invalidate();
}

void TCameraCatalogue::Log(const QString &text) const
{
    // Said once a process: every camera choice would say it again.
    static QSet<QString> said;
    if (m_log && !said.contains(text)) {
        said << text;
        m_log(text);
    }
}

void TCameraCatalogue::DevicesChanged()
{
    m_sinceListed.invalidate();
    // Called from the event loop: nothing may escape into it.
    try {
        Refresh(true);
    } catch (const std::exception &e) {
        if (m_log)
            m_log(QStringLiteral("hostkit: the cameras were not brought up to date after a video input came or went: ")
                  + QString::fromUtf8(e.what()));
    } catch (...) {
        if (m_log)
            m_log(QStringLiteral("hostkit: the cameras were not brought up to date after a video input came or went"));
    }
}

void TCameraCatalogue::RefreshForListing()
{
    if (m_sinceListed.isValid() && m_sinceListed.elapsed() < ReuseListingMs)
        return;
    Refresh(true);
}

QString TCameraCatalogue::DeviceInnerName(const QByteArray &deviceId)
{
    return QStringLiteral("device_") + SafeName(QString::fromUtf8(deviceId));
}

QString TCameraCatalogue::StreamInnerName(const QString &key)
{
    return QStringLiteral("stream_") + EncodedName(key);
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

std::vector<TVideoInput> TCameraCatalogue::KnownInputs() const
{
    std::vector<TVideoInput> inputs;
    QSqlQuery q = m_db->Exec(QStringLiteral("SELECT source, display_name FROM config_objects "
                                            "WHERE source_kind = 'device' ORDER BY id"));
    while (q.next())
        inputs.push_back({q.value(0).toString().toUtf8(), q.value(1).toString()});
    return inputs;
}

std::vector<TCameraCatalogue::TEntry> TCameraCatalogue::Wanted(const std::vector<TVideoInput> &inputs) const
{
    std::vector<TEntry> wanted;
    QSet<QString> innerNames, displayNames;
    for (const TVideoInput &input : inputs) {
        TEntry entry{QStringLiteral("StandaloneCamera_Device"), DeviceInnerName(input.id), {}, QStringLiteral("device"),
                     QString::fromUtf8(input.id), m_settings.deviceUsers};
        if (innerNames.contains(entry.innerName)) {
            Log(QStringLiteral("hostkit: the video inputs \"%1\" and another have one inner name: only the first "
                               "is a camera").arg(entry.source));
            continue;
        }
        // Two cameras of one model are told apart by their number.
        const QString description = input.description.isEmpty() ? entry.source : input.description;
        entry.displayName = description;
        for (int n = 2; displayNames.contains(entry.displayName); ++n)
            entry.displayName = QStringLiteral("%1 (%2)").arg(description).arg(n);
        innerNames << entry.innerName;
        displayNames << entry.displayName;
        wanted.push_back(std::move(entry));
    }
    for (const TStreamCamera &stream : m_settings.streams) {
        TEntry entry{QStringLiteral("StandaloneCamera_Stream"), StreamInnerName(stream.key), stream.name,
                     QStringLiteral("stream"), stream.address, stream.users};
        if (innerNames.contains(entry.innerName)) {
            Log(QStringLiteral("hostkit: %1: the stream \"%2\" has the inner name of another camera: only the first "
                               "is a camera").arg(TCameraSettings::FileName(), stream.key));
            continue;
        }
        innerNames << entry.innerName;
        wanted.push_back(std::move(entry));
    }
    return wanted;
}

QStringList TCameraCatalogue::Refresh(bool listDevices)
{
    if (listDevices && m_settings.devices && !m_devices && m_watchDevices) {
        // A camera plugged in or pulled out while the host runs shows in (or
        // leaves) the next camera choice.
        m_devices = std::make_unique<QMediaDevices>();
        connect(m_devices.get(), &QMediaDevices::videoInputsChanged, this, [this] { DevicesChanged(); });
    }
    const std::vector<TVideoInput> inputs
        = !m_settings.devices ? std::vector<TVideoInput>() : listDevices ? m_lister() : KnownInputs();
    const std::vector<TEntry> wanted = Wanted(inputs);
    QStringList unknown;
    QSqlDatabase db = m_db->Database();
    db.transaction();
    try {
        m_db->Exec(QStringLiteral("UPDATE config_objects SET enabled = ? WHERE source_kind IS NULL AND "
                                  "(substr(class_name, 1, 15) = 'EmbeddedCamera_' OR "
                                  "substr(class_name, 1, 17) = 'StandaloneCamera_')"),
                   {m_settings.synthetic ? 1 : 0});
        // A camera that stays keeps its id: a view or a window that holds it
        // keeps its rights.
        m_db->Exec(QStringLiteral("DELETE FROM user_object_rights WHERE object_id IN "
                                  "(SELECT id FROM config_objects WHERE source_kind IS NOT NULL)"));
        QStringList keep;
        for (const TEntry &entry : wanted)
            keep << entry.innerName;
        QSqlQuery gone = m_db->Exec(QStringLiteral("SELECT id, inner_name FROM config_objects WHERE source_kind IS NOT NULL"));
        QVariantList goneIds;
        while (gone.next())
            if (!keep.contains(gone.value(1).toString()))
                goneIds << gone.value(0);
        for (const QVariant &id : goneIds)
            m_db->Exec(QStringLiteral("DELETE FROM config_objects WHERE id = ?"), {id});

        const int server = ServerId();
        for (const TEntry &entry : wanted) {
            const QString path = QStringLiteral("/%1/%2").arg(ServerInnerName(), entry.innerName);
            QSqlQuery found = m_db->Exec(QStringLiteral("SELECT id FROM config_objects WHERE inner_name = ?"),
                                         {entry.innerName});
            if (found.next()) {
                m_db->Exec(QStringLiteral("UPDATE config_objects SET parent_id = ?, class_name = ?, display_name = ?, "
                                          "inner_path = ?, source_kind = ?, source = ?, enabled = 1 WHERE id = ?"),
                           {server, entry.className, entry.displayName, path, entry.kind, entry.source,
                            found.value(0)});
            } else {
                m_db->Exec(QStringLiteral("INSERT INTO config_objects (parent_id, class_name, inner_name, display_name, "
                                          "inner_path, source_kind, source) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                           {server, entry.className, entry.innerName, entry.displayName, path, entry.kind,
                            entry.source});
            }
            for (const QString &login : entry.users) {
                QSqlQuery user = m_db->Exec(QStringLiteral("SELECT id FROM users WHERE login = ?"), {login});
                if (!user.next()) {
                    if (!unknown.contains(login))
                        unknown << login;
                    continue;
                }
                m_db->Exec(QStringLiteral("INSERT OR IGNORE INTO user_object_rights (user_id, object_id, rights) "
                                          "SELECT ?, id, 1 FROM config_objects WHERE inner_name = ?"),
                           {user.value(0), entry.innerName});
            }
        }
    } catch (...) {
        db.rollback();
        throw;
    }
    db.commit();
    if (listDevices)
        m_sinceListed.start();
    for (const QString &login : unknown)
        Log(QStringLiteral("hostkit: %1 names the user \"%2\", whom the host does not know: no camera is given to "
                           "that name").arg(TCameraSettings::FileName(), login));
    return unknown;
}

} // namespace hostkit
