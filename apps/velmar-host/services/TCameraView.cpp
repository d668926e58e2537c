#include "TCameraView.h"

#include "TJpegEncoder.h"

#include <QContextMenuEvent>
#include <QIODevice>
#include <QMenu>
#include <QPainter>
#include <stdexcept>

namespace hostkit {

TCameraView::TCameraView(QWidget *owner)
    : host::TSimpleView(owner)
{
    setMinimumSize(160, 120);
    m_timer.setInterval(1000 / TSyntheticCamera::FramesPerSecond);
    QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
}

void TCameraView::CreateView(const QStringList &innerNames, host::TViewAttributes attributes)
{
    auto manager = std::dynamic_pointer_cast<TConfigManager>(FConfigManager);
    if (!FConfigManager)
        throw std::runtime_error("TSimpleView::CreateView: FConfigManager is not set");
    Clear();
    setAttribute(Qt::WA_OpaquePaintEvent, !innerNames.isEmpty());
    for (const QString &name : innerNames) {
        FLinks.Add({name, attributes});
        std::shared_ptr<TSegregateObject> camera;
        // A manager of another host knows nothing of our synthetic cameras:
        // its cameras show no signal.
        if (manager)
            camera = manager->FindCamera(name);
        std::unique_ptr<TLiveFeed> feed;
        if (camera && !camera->SourceKind().isEmpty()) {
            feed = std::make_unique<TLiveFeed>(camera->Get_DisplayName(), manager->FeedSource(*camera),
                                               manager->FeedTimeouts());
            feed->OnChanged = [this] { update(); };
            feed->OnBackendError = manager->FeedLog();
        }
        if (camera && !feed)
            m_cameras.emplace_back(TSyntheticCamera(camera->Get_DisplayName(), camera->SnapshotFails()));
        else
            m_cameras.emplace_back(std::nullopt);
        m_feeds.push_back(std::move(feed));
    }
    Tick();
    m_timer.start();
}

void TCameraView::Clear()
{
    m_timer.stop();
    FLinks.Clear();
    m_cameras.clear();
    // Returns at once: each feed's player stops on its own thread.
    m_feeds.clear();
    // An empty view shows what lies under it (the window's own notice).
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    update();
}

void TCameraView::Tick()
{
    const QDateTime now = QDateTime::currentDateTime();
    for (auto &camera : m_cameras)
        if (camera)
            camera->NextFrame(now);
    update();
}

QImage TCameraView::CurrentFrame(int index) const
{
    if (TLiveFeed *feed = Feed(index))
        return feed->NewestFrame();
    if (index < 0 || index >= static_cast<int>(m_cameras.size()) || !m_cameras[static_cast<std::size_t>(index)])
        return {};
    return m_cameras[static_cast<std::size_t>(index)]->CurrentFrame();
}

TLiveFeed *TCameraView::Feed(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_feeds.size()))
        return nullptr;
    return m_feeds[static_cast<std::size_t>(index)].get();
}

bool TCameraView::Snapshot(const QString &cameraInnerName, QIODevice *stream)
{
    if (!stream || !stream->isWritable())
        return false;
    for (int i = 0; i < FLinks.Count(); ++i) {
        if (FLinks.GetItem(i)->FInnerName != cameraInnerName)
            continue;
        const auto &camera = m_cameras[static_cast<std::size_t>(i)];
        if (!Feed(i) && (!camera || camera->SnapshotFails()))
            return false;
        // A real camera's newest frame, at its full size; none from a camera
        // that does not answer or has gone silent.
        const QImage frame = CurrentFrame(i);
        if (frame.isNull())
            return false;
        const QByteArray jpeg = EncodeJpeg(frame);
        return !jpeg.isEmpty() && stream->write(jpeg) == jpeg.size();
    }
    return false;
}

QRect TCameraView::CellRect(int index) const
{
    const int count = std::max(1, FLinks.Count());
    const int w = width() / count;
    return QRect(index * w, 0, index == count - 1 ? width() - index * w : w, height());
}

void TCameraView::paintEvent(QPaintEvent *)
{
    if (FLinks.Count() == 0)
        return;
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.setPen(Qt::white);
    for (int i = 0; i < FLinks.Count(); ++i) {
        const QRect cell = CellRect(i);
        const QImage frame = CurrentFrame(i);
        if (frame.isNull()) {
            const QString notice = Feed(i) ? Feed(i)->Notice()
                                           : QStringLiteral("Нет сигнала: %1").arg(FLinks.GetItem(i)->FInnerName);
            p.drawText(cell.adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, notice);
            continue;
        }
        const host::TViewAttributes a = FLinks.GetItem(i)->FAttributes;
        const QImage shown = frame.mirrored(a.Contains(host::vaFlipHorizontal), a.Contains(host::vaFlipVertical));
        QRect target(QPoint(0, 0), frame.size());
        if (a.Contains(host::vaStretch))
            target = cell;
        else if (a.Contains(host::vaTouchInside))
            target.setSize(frame.size().scaled(cell.size(), Qt::KeepAspectRatio));
        else if (a.Contains(host::vaTouchOutside))
            target.setSize(frame.size().scaled(cell.size(), Qt::KeepAspectRatioByExpanding));
        target.moveCenter(cell.center());
        p.save();
        p.setClipRect(cell);
        p.drawImage(target, shown);
        p.restore();
    }
}

void TCameraView::contextMenuEvent(QContextMenuEvent *event)
{
    int index = -1;
    for (int i = 0; i < FLinks.Count(); ++i)
        if (CellRect(i).contains(event->pos()))
            index = i;
    if (index < 0)
        return;
    host::TViewAttributes &attributes = FLinks.GetItem(index)->FAttributes;
    QMenu menu(this);
    const struct { host::TViewAttribute attribute; const char *caption; } entries[] = {
        {host::vaStretch, "Растянуть"},
        {host::vaTouchInside, "Вписать"},
        {host::vaTouchOutside, "Заполнить"},
        {host::vaFlipHorizontal, "Отразить по горизонтали"},
        {host::vaFlipVertical, "Отразить по вертикали"},
    };
    for (const auto &entry : entries) {
        QAction *action = menu.addAction(QString::fromUtf8(entry.caption));
        action->setCheckable(true);
        action->setChecked(attributes.Contains(entry.attribute));
        QObject::connect(action, &QAction::toggled, this, [&attributes, entry](bool on) {
            on ? attributes.Include(entry.attribute) : attributes.Exclude(entry.attribute);
        });
    }
    menu.exec(event->globalPos());
    update();
}

} // namespace hostkit
