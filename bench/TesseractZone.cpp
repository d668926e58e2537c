#include "TesseractZone.h"

#include "MrzFormat.h"

#include <QLineF>
#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTransform>

#include <sys/resource.h>

namespace mrzbench {

namespace {

double ChildrenMs()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

bool LooksLikeZoneLine(const QString &line, int length, bool wholePicture)
{
    if (!wholePicture)
        return line.size() >= length / 2;
    return line.size() >= length * 4 / 5 && line.size() <= length * 6 / 5 && line.contains(QLatin1Char('<'));
}

QStringList ZoneLines(const QString &output, int rows, int length, bool wholePicture)
{
    QStringList lines;
    for (QString line : output.split(QLatin1Char('\n'))) {
        line.remove(QLatin1Char(' '));
        if (LooksLikeZoneLine(line, length, wholePicture))
            lines << line;
    }
    while (lines.size() > rows)
        lines.removeFirst();
    return lines;
}

bool ChecksHold(const QString &text, int rows, int length)
{
    mrz::Format f;
    if (!mrz::FormatFor(rows, length, &f))
        return false;
    for (const mrz::CheckRule &rule : mrz::RulesFor(f, text).checks)
        if (!mrz::CheckHolds(rule, text))
            return false;
    return true;
}

} // namespace

double RunTesseract(const QString &picture, int psm, QString *output)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    p.setProcessEnvironment(env);
    const double before = ChildrenMs();
    p.start(QStringLiteral("tesseract"), {picture, QStringLiteral("stdout"), QStringLiteral("--psm"), QString::number(psm),
                                          QStringLiteral("-l"), QStringLiteral("eng"), QStringLiteral("-c"),
                                          QStringLiteral("tessedit_char_whitelist=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789<")});
    p.waitForFinished(120000);
    const double ms = ChildrenMs() - before;
    *output = QString::fromUtf8(p.readAllStandardOutput());
    return ms;
}

QImage ZoneCrop(const QImage &page, const QPolygonF &zone, int length)
{
    if (zone.size() != 4)
        return {};
    const double width = QLineF(zone[0], zone[1]).length(), height = QLineF(zone[0], zone[3]).length();
    const double scale = 30.0 * length / width;
    const double margin = 0.3 * height * scale;
    const QSizeF out(width * scale + 2 * margin, height * scale + 2 * margin);
    const QPolygonF target({QPointF(margin, margin), QPointF(out.width() - margin, margin),
                            QPointF(out.width() - margin, out.height() - margin), QPointF(margin, out.height() - margin)});
    QTransform t;
    if (!QTransform::quadToQuad(zone, target, t))
        return {};
    QImage crop(out.toSize(), QImage::Format_RGB32);
    crop.fill(Qt::white);
    QPainter p(&crop);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setTransform(t);
    p.drawImage(0, 0, page);
    return crop;
}

Reading ZoneFromText(const QString &output, int rows, int length, bool wholePicture)
{
    const QStringList lines = ZoneLines(output, rows, length, wholePicture);
    Reading r;
    r.found = lines.size() == rows;
    for (int i = 0; i < rows; ++i) {
        const QString line = i < lines.size() ? lines[i] : QString();
        r.text += line.left(length).leftJustified(length, QLatin1Char('<'));
    }
    r.valid = r.found && ChecksHold(r.text, rows, length);
    return r;
}

Reading AnyZoneFromText(const QString &output)
{
    for (const mrz::Format f : {mrz::Format::TD1, mrz::Format::TD2, mrz::Format::TD3}) {
        const mrz::Layout l = mrz::LayoutOf(f);
        const Reading r = ZoneFromText(output, l.lines, l.length, true);
        if (r.found)
            return r;
    }
    return {};
}

} // namespace mrzbench
