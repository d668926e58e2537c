#include "TSyntheticCamera.h"

#include <QFont>
#include <QPainter>
#include <QtMath>

namespace hostkit {

const QImage &TSyntheticCamera::NextFrame(const QDateTime &time)
{
    m_frame = Render(m_displayName, m_index++, time);
    return m_frame;
}

QImage TSyntheticCamera::Render(const QString &displayName, qint64 index, const QDateTime &time)
{
    QImage frame(FrameWidth, FrameHeight, QImage::Format_RGB32);
    QPainter p(&frame);
    p.setRenderHint(QPainter::Antialiasing);

    // Colour bars that drift to the left, one bar width every few seconds.
    static const QColor bars[] = {Qt::white, Qt::yellow, Qt::cyan, Qt::green, Qt::magenta, Qt::red, Qt::blue, Qt::darkGray};
    const int barWidth = FrameWidth / 8;
    const int shift = static_cast<int>((index * 4) % FrameWidth);
    for (int i = 0; i < 9; ++i) {
        const int x = i * barWidth - shift % barWidth;
        p.fillRect(x, 0, barWidth, FrameHeight * 2 / 3, bars[(i + shift / barWidth) % 8]);
    }
    // A grey ramp below the bars, and a ball that bounces across the picture.
    QLinearGradient ramp(0, 0, FrameWidth, 0);
    ramp.setColorAt(0, Qt::black);
    ramp.setColorAt(1, Qt::white);
    p.fillRect(0, FrameHeight * 2 / 3, FrameWidth, FrameHeight / 3, ramp);
    const double phase = static_cast<double>(index) / TSyntheticCamera::FramesPerSecond;
    const QPointF ball(FrameWidth / 2 + (FrameWidth / 2 - 40) * qSin(phase),
                       FrameHeight / 3 + (FrameHeight / 3 - 40) * qAbs(qCos(phase * 1.3)));
    p.setPen(QPen(Qt::black, 3));
    p.setBrush(QColor(255, 128, 0));
    p.drawEllipse(ball, 30, 30);

    // Camera name and clock on a dark band, legible on any background.
    p.fillRect(0, 0, FrameWidth, 44, QColor(0, 0, 0, 170));
    p.fillRect(0, FrameHeight - 44, FrameWidth, 44, QColor(0, 0, 0, 170));
    QFont font = p.font();
    font.setPixelSize(24);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(12, 0, FrameWidth - 24, 44), Qt::AlignVCenter | Qt::AlignLeft, displayName);
    p.drawText(QRect(12, FrameHeight - 44, FrameWidth - 24, 44), Qt::AlignVCenter | Qt::AlignRight,
               time.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss.zzz")));
    p.drawText(QRect(12, FrameHeight - 44, FrameWidth - 24, 44), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("#%1").arg(index));
    return frame;
}

} // namespace hostkit
