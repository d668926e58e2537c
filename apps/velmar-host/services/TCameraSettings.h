#pragma once
// The cameras of the host services' settings file ("hostkit.ini" in the data
// folder): which kinds of camera the configuration holds, the streams of IP
// cameras and video files, who may use them, and how long a camera may stay
// silent before the view gives it up.
//
//     [Cameras]
//     Synthetic=true            ; the four synthetic cameras of the demonstration
//     Devices=true              ; every video input of this computer
//     DeviceUsers=operator      ; logins that may use the video inputs
//     FirstFrameSeconds=10      ; a camera with no frame by then does not answer
//     SilenceSeconds=5          ; a camera silent that long is lost
//
//     [Stream.gate]             ; one section per stream, "Stream." and a key
//     Name=Въезд                ; shown to the operator (default: the key)
//     Address=rtsp://camera.example/stream1   ; or http://..., or a video file
//     Users=operator, guest

#include <QString>
#include <QStringList>
#include <QUrl>
#include <vector>

namespace hostkit {

struct TStreamCamera
{
    QString key;       ///< the section's name after "Stream."
    QString name;      ///< display name
    QString address;   ///< as written
    QStringList users; ///< logins with rights on it
};

struct TCameraSettings
{
    bool synthetic = true;
    bool devices = true;
    QStringList deviceUsers;
    int firstFrameMs = 10000;
    int silenceMs = 5000;
    std::vector<TStreamCamera> streams;

    /// The settings of `file`; a missing file gives the defaults. Streams
    /// without an address are left out.
    static TCameraSettings Read(const QString &file);
    static QString FileName() { return QStringLiteral("hostkit.ini"); }
};

/// What the player opens for a stream's address: a URL as written, a file
/// name (absolute, or relative to `baseFolder`) as a local file.
QUrl StreamUrl(const QString &address, const QString &baseFolder = QString());

/// The address as it may be shown or logged: without a password.
QString PrintableAddress(const QString &address);

} // namespace hostkit
