#include "SpecimenBuilder.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainterPath>
#include <QSaveFile>
#include <cmath>

namespace specimens {

namespace {

QString LoadFamily(const QStringList &files)
{
    for (const QString &file : files) {
        const int id = QFontDatabase::addApplicationFont(file);
        if (id >= 0) {
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (!families.isEmpty())
                return families.first();
        }
    }
    return {};
}

} // namespace

bool WriteDescription(const QString &folder, const QString &stem, const QJsonObject &root, QString *error)
{
    QSaveFile file(QDir(folder).filePath(stem + QStringLiteral(".json")));
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson(QJsonDocument::Indented)) < 0
        || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    return true;
}

QJsonObject ZoneObject(const QRect &r)
{
    return {{QStringLiteral("x"), r.x()}, {QStringLiteral("y"), r.y()}, {QStringLiteral("width"), r.width()},
            {QStringLiteral("height"), r.height()}};
}

Fonts Fonts::Load()
{
    Fonts f;
    f.text = LoadFamily({QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")});
    if (f.text.isEmpty())
        f.text = QStringLiteral("Sans Serif");
    f.mrz = LoadFamily({QStringLiteral("/usr/share/fonts/opentype/ocr-b/OCRB.otf")});
    f.mrzIsOcrB = !f.mrz.isEmpty();
    if (f.mrz.isEmpty())
        f.mrz = LoadFamily({QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf")});
    if (f.mrz.isEmpty())
        f.mrz = QStringLiteral("Monospace");
    return f;
}

SpecimenBuilder::SpecimenBuilder(const Fonts &fonts, QString documentType, QString title, QSize size, QColor tint)
    : m_fonts(fonts), m_type(std::move(documentType)), m_title(std::move(title)), m_page(size, QImage::Format_RGB888)
{
    m_page.fill(Qt::white);
    m_painter = std::make_unique<QPainter>(&m_page);
    m_painter->setRenderHint(QPainter::Antialiasing);
    m_painter->setRenderHint(QPainter::TextAntialiasing);
    Background(tint);
}

SpecimenBuilder::~SpecimenBuilder() = default;

void SpecimenBuilder::Background(QColor tint)
{
    QPainter &p = *m_painter;
    p.fillRect(m_page.rect(), tint.lighter(170));
    // Fine wavy security lines, different for every tint.
    QPen pen(tint.lighter(130), 1);
    p.setPen(pen);
    const int phase = tint.hue() % 37;
    for (int k = 0; k < m_page.height(); k += 14) {
        QPainterPath path;
        path.moveTo(0, k);
        for (int x = 0; x <= m_page.width(); x += 8)
            path.lineTo(x, k + 5 * std::sin((x + phase * k) / 40.0));
        p.drawPath(path);
    }
    p.setPen(QPen(tint.darker(150), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(m_page.rect().adjusted(6, 6, -6, -6), 18, 18);
    // Marks the page as a specimen for anyone who sees it.
    QFont mark(m_fonts.text);
    mark.setPixelSize(m_page.width() / 14);
    mark.setBold(true);
    p.save();
    p.translate(m_page.width() / 2.0, m_page.height() / 2.0);
    p.rotate(-18);
    p.setFont(mark);
    p.setPen(QColor(tint.red(), tint.green(), tint.blue(), 60));
    p.drawText(QRect(-m_page.width(), -m_page.height() / 4, 2 * m_page.width(), m_page.height() / 2), Qt::AlignCenter,
               QStringLiteral("ОБРАЗЕЦ SPECIMEN"));
    p.restore();
}

void SpecimenBuilder::Caption(QPoint at, const QString &text, int pixelSize, bool bold, QColor colour)
{
    QFont f(m_fonts.text);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    m_painter->setFont(f);
    m_painter->setPen(colour);
    m_painter->drawText(at, text);
}

void SpecimenBuilder::Field(const QString &name, const QString &value, QPoint at, int pixelSize, QList<int> untrusted,
                            QColor colour)
{
    QFont f(m_fonts.text);
    f.setPixelSize(pixelSize);
    f.setBold(true);
    const QFontMetrics fm(f);
    m_painter->setFont(f);
    m_painter->setPen(colour);

    QRect zone;
    const QStringList lines = value.split(QStringLiteral("\r\n"));
    int symbol = 0; // index into value, CR LF counted
    for (int li = 0; li < lines.size(); ++li) {
        const QString &line = lines[li];
        const QPoint base(at.x(), at.y() + li * fm.lineSpacing());
        m_painter->drawText(base, line);
        zone |= fm.boundingRect(line).translated(base);
        for (int i = 0; i < line.size(); ++i) {
            if (untrusted.contains(symbol + i)) {
                // A smudge over the doubtful symbol.
                const int x = base.x() + fm.horizontalAdvance(line.left(i));
                const int w = fm.horizontalAdvance(line.at(i));
                m_painter->save();
                m_painter->setPen(Qt::NoPen);
                m_painter->setBrush(QColor(90, 80, 70, 110));
                m_painter->drawEllipse(QRect(x - 2, base.y() - fm.ascent() + 2, w + 6, fm.ascent() + 2));
                m_painter->restore();
            }
        }
        symbol += int(line.size()) + 2;
    }
    // An empty field still has its place on the form.
    if (zone.isEmpty())
        zone = QRect(at.x(), at.y() - fm.ascent(), fm.horizontalAdvance(QLatin1Char('M')) * 8, fm.height());
    QJsonArray u;
    for (int i : untrusted)
        u.append(i);
    QJsonObject o{{QStringLiteral("name"), name}, {QStringLiteral("value"), value}, {QStringLiteral("zone"), ZoneObject(zone)}};
    if (!u.isEmpty())
        o.insert(QStringLiteral("untrusted"), u);
    m_fields.append(o);
}

void SpecimenBuilder::Unprinted(const QString &name, const QString &value, bool found)
{
    m_fields.append(QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("value"), value}, {QStringLiteral("found"), found}});
}

void SpecimenBuilder::Portrait(const QRect &zone)
{
    QPainter &p = *m_painter;
    p.save();
    p.setPen(QPen(QColor(110, 110, 120), 2));
    QLinearGradient g(zone.topLeft(), zone.bottomLeft());
    g.setColorAt(0, QColor(200, 214, 232));
    g.setColorAt(1, QColor(160, 178, 205));
    p.setBrush(g);
    p.drawRect(zone);
    // A neutral silhouette: head and shoulders.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(96, 104, 124));
    const int w = zone.width(), h = zone.height();
    p.drawEllipse(QRect(zone.x() + w * 3 / 10, zone.y() + h / 7, w * 4 / 10, h * 4 / 10));
    QPainterPath shoulders;
    shoulders.moveTo(zone.x() + w / 10, zone.bottom());
    shoulders.cubicTo(zone.x() + w / 10, zone.y() + h * 6 / 10, zone.x() + w * 9 / 10, zone.y() + h * 6 / 10,
                      zone.x() + w * 9 / 10, zone.bottom());
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    p.restore();
    m_photo = zone;
}

void SpecimenBuilder::Mrz(const QStringList &lines, QPoint at, int width)
{
    QFont f(m_fonts.mrz);
    f.setPixelSize(40);
    f.setStyleHint(QFont::Monospace);
    // Fit the longest line to the width the zone has on the page.
    int longest = 0;
    for (const QString &l : lines)
        longest = std::max(longest, QFontMetrics(f).horizontalAdvance(l));
    if (longest > 0)
        f.setPixelSize(std::max(8, 40 * width / longest));
    const QFontMetrics fm(f);
    m_painter->setFont(f);
    m_painter->setPen(Qt::black);
    for (int i = 0; i < lines.size(); ++i)
        m_painter->drawText(QPoint(at.x(), at.y() + fm.ascent() + i * int(fm.lineSpacing() * 1.25)), lines[i]);
    m_mrz = lines;
}

void SpecimenBuilder::Difficulty(const QString &text)
{
    m_difficulties.append(text);
}

bool SpecimenBuilder::SavePicture(const QString &folder, const QString &stem, QString *error)
{
    m_painter.reset();
    QDir().mkpath(folder);
    const QString picture = QDir(folder).filePath(stem + QStringLiteral(".png"));
    if (!m_page.save(picture, "PNG")) {
        *error = QStringLiteral("cannot write %1").arg(picture);
        return false;
    }
    return true;
}

bool SpecimenBuilder::Save(const QString &folder, const QString &stem, QString *error)
{
    if (!SavePicture(folder, stem, error))
        return false;
    const QString picture = stem + QStringLiteral(".png");
    QJsonObject root{{QStringLiteral("format"), 1},
                     {QStringLiteral("documentType"), m_type},
                     {QStringLiteral("title"), m_title},
                     {QStringLiteral("picture"), picture},
                     {QStringLiteral("fields"), m_fields}};
    if (!m_photo.isEmpty())
        root.insert(QStringLiteral("photoZone"), ZoneObject(m_photo));
    if (!m_mrz.isEmpty())
        root.insert(QStringLiteral("mrz"), QJsonArray::fromStringList(m_mrz));
    if (!m_difficulties.isEmpty())
        root.insert(QStringLiteral("difficulties"), m_difficulties);
    return WriteDescription(folder, stem, root, error);
}

} // namespace specimens
