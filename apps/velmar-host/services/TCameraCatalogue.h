#pragma once
// The real cameras in the host's configuration: every video input of this
// computer and every stream of the settings file become camera objects under
// the server "srv_local", with the rights the settings file gives; the
// synthetic cameras are shown or hidden as it says. Brought up to date at
// every refresh, so the configuration follows the settings file and the
// devices plugged in.

#include "TCameraSettings.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QCameraDevice;
class QMediaDevices;

namespace hostkit {

class THostDatabase;

/// A video input as the system lists it.
struct TVideoInput
{
    QByteArray id;
    QString description;
};

class TCameraCatalogue : public QObject
{
public:
    using TDeviceLister = std::function<std::vector<TVideoInput>()>;
    using TLog = std::function<void(const QString &)>;

    /// The system's video inputs, as Qt Multimedia lists them.
    static std::vector<TVideoInput> SystemVideoInputs();
    /// The system's video input of that id; null when it is not plugged in.
    /// Asked on the window's thread: the backend's device list is not for
    /// the feeds' threads.
    static QCameraDevice SystemVideoInput(const QByteArray &id);

    TCameraCatalogue(std::shared_ptr<THostDatabase> db, TCameraSettings settings);
    ~TCameraCatalogue() override;

    /// Lists the devices some other way (a test's machine), and no longer
    /// follows the system's; refresh to apply.
    void SetDeviceLister(TDeviceLister lister);
    /// Rewrites the real cameras, their rights and the synthetic cameras'
    /// visibility. `listDevices` asks the system for its video inputs (the
    /// first time a process does that takes a while: it is done when cameras
    /// are listed, not when the host starts); otherwise the inputs last
    /// listed stay. Logins the host does not know are skipped (and returned).
    QStringList Refresh(bool listDevices = true);
    /// Brings the list up to date before cameras are listed: the inputs are
    /// listed again unless they were a moment ago and no device came or went
    /// since (one camera choice lists cameras more than once).
    void RefreshForListing();
    /// Where the catalogue writes what the host's log should hold: a login
    /// the host does not know (once a process), two streams of one inner
    /// name, a refresh that failed.
    void SetLog(TLog log) { m_log = std::move(log); }
    const TCameraSettings &Settings() const { return m_settings; }

    static QString ServerInnerName() { return QStringLiteral("srv_local"); }
    /// The inner name of a video input's camera (stable for the same device path).
    static QString DeviceInnerName(const QByteArray &deviceId);
    static QString StreamInnerName(const QString &key);

private:
    struct TEntry
    {
        QString className, innerName, displayName, kind, source;
        QStringList users;
    };
    int ServerId();
    std::vector<TVideoInput> KnownInputs() const;
    std::vector<TEntry> Wanted(const std::vector<TVideoInput> &inputs) const;
    void Log(const QString &text) const;
    void DevicesChanged();

    std::shared_ptr<THostDatabase> m_db;
    TCameraSettings m_settings;
    TDeviceLister m_lister;
    bool m_watchDevices = true;
    std::unique_ptr<QMediaDevices> m_devices;
    TLog m_log;
    QElapsedTimer m_sinceListed; ///< invalid until listed, and again after a change
};

} // namespace hostkit
