#pragma once
// An IP camera's HTTP MJPEG stream read directly: every part of the
// multipart answer is one JPEG picture. The media player holds back seconds
// of such a stream before it shows the first frame, so the frame an
// operator freezes would show who stood at the gate seconds ago; read here,
// each picture is shown as it arrives, and a picture that comes while the
// last is still being decoded simply replaces it.

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QUrl>
#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

namespace hostkit {

/// Splits a multipart body into its parts' payloads. A part's end is the
/// next delimiter line, or its Content-Length where the camera gives one
/// (a JPEG may hold the delimiter's bytes by chance, and some cameras put
/// no line break before the delimiter).
class TMultipartSplitter
{
public:
    explicit TMultipartSplitter(QByteArray boundary);

    /// Takes the next bytes of the body; returns the payload of the newest
    /// part completed by them, if any (older completed parts are dropped).
    std::optional<QByteArray> Feed(const QByteArray &bytes);

    /// The boundary parameter of a Content-Type header, unquoted; empty
    /// when the type is not multipart.
    static QByteArray BoundaryOf(const QByteArray &contentType);

    /// More than this many bytes without a complete part: not a picture stream.
    static constexpr qsizetype MaxPartBytes = 64 * 1024 * 1024;
    bool Overflowed() const { return m_buffer.size() > MaxPartBytes; }

private:
    std::optional<QByteArray> TakePart();

    QByteArray m_delimiter; ///< "--" and the boundary
    QByteArray m_buffer;
    qsizetype m_searchedTo = 0; ///< where the search for a part's end goes on
};

/// Reads one HTTP MJPEG stream on the thread it lives on.
class TMjpegStream : public QObject
{
public:
    /// `OnFrame` gets each new picture; `OnFailed` a reason in the window's
    /// words and the network's own text for the log; `OnNotMjpeg` is called
    /// when the address answers with something else (a video file over
    /// HTTP, say), which the media player then plays.
    std::function<void(QImage)> OnFrame;
    std::function<void(QString reason, QString detail)> OnFailed;
    std::function<void()> OnNotMjpeg;

    explicit TMjpegStream(QUrl url);
    ~TMjpegStream() override;

    void Start();

private:
    void ReadHeaders();
    void Read();
    void Finished();

    QUrl m_url;
    QNetworkAccessManager *m_network = nullptr;
    QNetworkReply *m_reply = nullptr;
    std::optional<TMultipartSplitter> m_splitter;
    bool m_done = false;
};

} // namespace hostkit
