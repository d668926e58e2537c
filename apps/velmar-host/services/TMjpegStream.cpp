#include "TMjpegStream.h"

#include <QNetworkAccessManager>
#include <algorithm>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace hostkit {

TMultipartSplitter::TMultipartSplitter(QByteArray boundary)
    : m_delimiter("--" + boundary)
{
}

QByteArray TMultipartSplitter::BoundaryOf(const QByteArray &contentType)
{
    const QList<QByteArray> fields = contentType.split(';');
    if (fields.isEmpty() || !fields.front().trimmed().toLower().startsWith("multipart/"))
        return {};
    for (const QByteArray &field : fields.mid(1)) {
        const QByteArray f = field.trimmed();
        if (!f.toLower().startsWith("boundary="))
            continue;
        QByteArray value = f.mid(9).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        // Some cameras write the delimiter's dashes into the parameter too.
        while (value.startsWith("--"))
            value = value.mid(2);
        return value;
    }
    return {};
}

std::optional<QByteArray> TMultipartSplitter::Feed(const QByteArray &bytes)
{
    m_buffer += bytes;
    std::optional<QByteArray> newest;
    while (std::optional<QByteArray> part = TakePart())
        newest = std::move(part);
    return newest;
}

std::optional<QByteArray> TMultipartSplitter::TakePart()
{
    const qsizetype start = m_buffer.indexOf(m_delimiter);
    if (start < 0)
        return std::nullopt;
    const qsizetype headersEnd = m_buffer.indexOf("\r\n\r\n", start);
    if (headersEnd < 0)
        return std::nullopt;
    const qsizetype bodyStart = headersEnd + 4;

    qsizetype length = -1;
    for (const QByteArray &line : m_buffer.mid(start, headersEnd - start).split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == "content-length") {
            bool ok = false;
            const qsizetype value = line.mid(colon + 1).trimmed().toLongLong(&ok);
            if (ok && value >= 0 && value <= MaxPartBytes)
                length = value;
        }
    }
    qsizetype bodyEnd;
    if (length >= 0) {
        if (m_buffer.size() - bodyStart < length)
            return std::nullopt;
        bodyEnd = bodyStart + length;
    } else {
        // A large picture comes in many reads: each is searched once.
        bodyEnd = m_buffer.indexOf(m_delimiter, std::max(bodyStart, m_searchedTo));
        if (bodyEnd < 0) {
            m_searchedTo = std::max(bodyStart, m_buffer.size() - m_delimiter.size());
            return std::nullopt;
        }
        // The line break before the delimiter belongs to it, not to the picture.
        if (bodyEnd >= bodyStart + 2 && m_buffer.mid(bodyEnd - 2, 2) == "\r\n")
            bodyEnd -= 2;
        else if (bodyEnd >= bodyStart + 1 && m_buffer.at(bodyEnd - 1) == '\n')
            bodyEnd -= 1;
    }
    QByteArray payload = m_buffer.mid(bodyStart, bodyEnd - bodyStart);
    m_buffer.remove(0, bodyEnd);
    m_searchedTo = 0;
    return payload;
}

TMjpegStream::TMjpegStream(QUrl url)
    : m_url(std::move(url))
{
}

TMjpegStream::~TMjpegStream()
{
    m_done = true;
    if (m_reply)
        m_reply->abort();
    delete m_reply;
    delete m_network;
}

void TMjpegStream::Start()
{
    m_network = new QNetworkAccessManager;
    QNetworkRequest request(m_url);
    // A camera's stream never ends: no transfer time-out here, the feed
    // watches for the first frame and for silence itself.
    request.setTransferTimeout(0);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, [this] { ReadHeaders(); });
    connect(m_reply, &QNetworkReply::readyRead, this, [this] { Read(); });
    connect(m_reply, &QNetworkReply::finished, this, [this] { Finished(); });
}

void TMjpegStream::ReadHeaders()
{
    if (m_splitter || m_done)
        return;
    const QByteArray boundary = TMultipartSplitter::BoundaryOf(m_reply->header(QNetworkRequest::ContentTypeHeader).toByteArray());
    if (boundary.isEmpty()) {
        const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status >= 200 && status < 300) {
            // Not a picture stream: the media player may know what it is.
            m_done = true;
            m_reply->abort();
            if (OnNotMjpeg)
                OnNotMjpeg();
        }
        return;
    }
    m_splitter.emplace(boundary);
}

void TMjpegStream::Read()
{
    if (m_done)
        return;
    if (!m_splitter) {
        ReadHeaders();
        if (!m_splitter)
            return;
    }
    const std::optional<QByteArray> part = m_splitter->Feed(m_reply->readAll());
    if (m_splitter->Overflowed()) {
        m_done = true;
        m_reply->abort();
        if (OnFailed)
            OnFailed(QStringLiteral("поток не читается"), QStringLiteral("no picture part within %1 bytes").arg(TMultipartSplitter::MaxPartBytes));
        return;
    }
    if (!part)
        return;
    QImage picture = QImage::fromData(*part);
    if (!picture.isNull() && OnFrame)
        OnFrame(std::move(picture));
}

void TMjpegStream::Finished()
{
    if (m_done)
        return;
    m_done = true;
    const QNetworkReply::NetworkError error = m_reply->error();
    QString reason;
    switch (error) {
    case QNetworkReply::NoError:
    case QNetworkReply::RemoteHostClosedError:
        reason = QStringLiteral("трансляция прервалась");
        break;
    case QNetworkReply::ConnectionRefusedError:
        reason = QStringLiteral("камера не принимает подключение");
        break;
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ContentNotFoundError:
        reason = QStringLiteral("адрес не найден");
        break;
    case QNetworkReply::AuthenticationRequiredError:
    case QNetworkReply::ContentAccessDenied:
        reason = QStringLiteral("нет доступа к камере");
        break;
    default:
        reason = QStringLiteral("ошибка видео");
        break;
    }
    if (OnFailed)
        OnFailed(reason, m_reply->errorString());
}

} // namespace hostkit
