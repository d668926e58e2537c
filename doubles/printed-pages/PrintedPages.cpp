#include "PrintedPages.h"

#include "CardPrint.h"
#include "Degradation.h"
#include "PageGenerator.h"
#include "Placement.h"
#include "specimen-generator/Mrz.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace printedpages {

using printed::DocumentKind;
using printed::Field;

namespace {

constexpr double kPointMm = 25.4 / 72.0;

/// One printed line and the fields (whole or in part) it shows.
struct Line
{
    QString text;
    std::vector<std::pair<Field, QString>> parts;
};

Line Of(Field f, const QString &text)
{
    return Line{text, {{f, text}}};
}

Line Plain(const QString &text)
{
    return Line{text, {}};
}

/// Lays fields out in millimetres; draws them when it has a painter (a dry
/// run without one only measures), and keeps what each field printed.
class Sheet
{
public:
    /// rng places the fields, art draws the pictures between them (a dry
    /// run draws none of those, and must place the fields as the real one).
    Sheet(QPainter *p, const Recipe &r, double scale, mrzpages::Random &rng, mrzpages::Random &art)
        : m_p(p), m_r(r), m_k(r.dpi / 25.4), m_scale(scale), m_rng(rng), m_art(art)
    {
        const Typeface &t = Typefaces()[size_t(r.typeface)];
        m_family = mrzpages::FontFamily(QString::fromLatin1(t.regular));
        mrzpages::FontFamily(QString::fromLatin1(t.bold)); // the bold face of the same family
        // Labels give way less than values when a document's room is short.
        m_label = Font(r.labelPt * std::sqrt(scale) / scale, false);
        m_value = Font(r.valuePt, r.boldValues);
    }

    QFont Font(double pt, bool bold) const
    {
        QFont f(m_family);
        f.setPixelSize(std::max(6, int(std::lround(pt * m_scale * kPointMm * m_k))));
        f.setBold(bold);
        return f;
    }
    const QFont &LabelFont() const { return m_label; }
    const QFont &ValueFont() const { return m_value; }
    double Width(const QString &text, const QFont &f) const { return QFontMetricsF(f).horizontalAdvance(text) / m_k; }
    double Ascent(const QFont &f) const { return QFontMetricsF(f).ascent() / m_k; }
    double Descent(const QFont &f) const { return QFontMetricsF(f).descent() / m_k; }
    double Step(const QFont &f) const { return 0.95 * QFontMetricsF(f).height() / m_k; }
    double Jitter() { return m_rng.Uniform(-m_r.jitter, m_r.jitter); }
    mrzpages::Random &Rng() { return m_rng; }
    mrzpages::Random &Art() { return m_art; }
    QPainter *Painter() { return m_p; }
    double K() const { return m_k; }

    void Text(double x, double baseline, const QString &text, const QFont &f, const QColor &ink, double angle = 0)
    {
        if (!m_p)
            return;
        m_p->save();
        m_p->setFont(f);
        m_p->setPen(ink);
        m_p->translate(x * m_k, baseline * m_k);
        m_p->rotate(angle);
        m_p->drawText(QPointF(0, 0), text);
        m_p->restore();
    }

    /// The words of text in lines no wider than width (a word wider than
    /// the width stands alone on its line).
    QStringList Wrap(const QString &text, double width) const
    {
        QStringList lines;
        for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!lines.isEmpty() && Width(lines.back() + QLatin1Char(' ') + word, m_value) <= width)
                lines.back() += QLatin1Char(' ') + word;
            else
                lines << word;
        }
        return lines;
    }

    /// A label and its value lines from (x, top); the bottom it reaches. The
    /// label's parts separated by " / " stack when they stand left of the value.
    double Labelled(const QString &label, const std::vector<Line> &lines, double x, double top, double labelColumn)
    {
        x += Jitter();
        top += Jitter() * 0.5;
        double valueX = x, baseline;
        if (m_r.labelAbove) {
            const double labelBaseline = top + Ascent(m_label);
            Text(x, labelBaseline, label, m_label, m_labelInk);
            m_rightmost = std::max(m_rightmost, x + Width(label, m_label));
            baseline = labelBaseline + Descent(m_label) + 0.5 + Ascent(m_value);
        } else {
            baseline = top + Ascent(m_value);
            const QStringList parts = label.split(QStringLiteral(" / "));
            for (int i = 0; i < parts.size(); ++i) {
                Text(x, baseline + i * Step(m_label), parts[i], m_label, m_labelInk);
                m_rightmost = std::max(m_rightmost, x + Width(parts[i], m_label));
            }
            valueX = x + labelColumn;
            m_labelBottom = baseline + (parts.size() - 1) * Step(m_label) + Descent(m_label);
        }
        const double bottom = Values(lines, valueX, baseline, m_ink);
        return std::max(bottom, m_r.labelAbove ? bottom : m_labelBottom) + 0.9;
    }

    /// A label whose parts (split at " / ") stand one over the other above
    /// the value, whatever the layout: for narrow room.
    double Stacked(const QString &label, const std::vector<Line> &lines, double x, double top)
    {
        x += Jitter();
        double baseline = top + Ascent(m_label);
        for (const QString &part : label.split(QStringLiteral(" / "))) {
            Text(x, baseline, part, m_label, m_labelInk);
            m_rightmost = std::max(m_rightmost, x + Width(part, m_label));
            baseline += Step(m_label);
        }
        baseline += -Step(m_label) + Descent(m_label) + 0.5 + Ascent(m_value);
        return Values(lines, x, baseline, m_ink) + 0.9;
    }

    /// Value lines from the first baseline; the bottom of the last.
    double Values(const std::vector<Line> &lines, double x, double baseline, const QColor &ink)
    {
        for (size_t i = 0; i < lines.size(); ++i) {
            Text(x, baseline + double(i) * Step(m_value), lines[i].text, m_value, ink);
            m_rightmost = std::max(m_rightmost, x + Width(lines[i].text, m_value));
            Record(lines[i]);
        }
        return baseline + double(std::max<size_t>(lines.size(), 1) - 1) * Step(m_value) + Descent(m_value);
    }

    void Record(const Line &line)
    {
        for (const auto &[field, text] : line.parts) {
            QString &v = m_printed[field];
            v += (v.isEmpty() ? QString() : QStringLiteral(" ")) + text;
        }
    }

    /// Lines of one field, wrapped to width.
    std::vector<Line> Wrapped(Field f, const QString &text, double width) const
    {
        std::vector<Line> lines;
        for (const QString &l : Wrap(text, width))
            lines.push_back(Of(f, l));
        return lines;
    }

    /// Room the labels need when they stand left of their values.
    double LabelColumn(const QStringList &labels) const
    {
        double widest = 0;
        for (const QString &l : labels)
            for (const QString &part : l.split(QStringLiteral(" / ")))
                widest = std::max(widest, Width(part, m_label));
        return std::max(m_r.labelColumn * m_scale, widest + 4);
    }

    void SetInks(const QColor &ink, const QColor &labelInk) { m_ink = ink, m_labelInk = labelInk; }
    const QColor &Ink() const { return m_ink; }
    const QColor &LabelInk() const { return m_labelInk; }
    /// The right end of the rightmost label or value drawn so far (mm).
    double Rightmost() const { return m_rightmost; }
    const std::map<Field, QString> &Printed() const { return m_printed; }

private:
    QPainter *m_p;
    const Recipe &m_r;
    double m_k, m_scale;
    mrzpages::Random &m_rng, &m_art;
    QString m_family;
    QFont m_label, m_value;
    QColor m_ink = QColor(25, 25, 35), m_labelInk = QColor(70, 70, 90);
    double m_labelBottom = 0, m_rightmost = 0;
    std::map<Field, QString> m_printed;
};

const QColor kRed(185, 30, 40);

// The zone in OCR-B at the nominal pitch of 2.54 mm, its last baseline at
// lastBaseline (mm), centred on a page of the given width.
void DrawZone(Sheet &s, const QStringList &zone, double pageWidth, double lastBaseline)
{
    if (!s.Painter())
        return;
    QFont ocrb(mrzpages::OcrbFamily());
    ocrb.setPixelSize(200);
    const double k = s.K(), pitch = 2.54 * k;
    const double scale = pitch / QFontMetricsF(ocrb).horizontalAdvance(QLatin1Char('0'));
    const double left = (pageWidth - zone.first().size() * 2.54) / 2.0 * k;
    const double step = 4.6 * k;
    QPainter &p = *s.Painter();
    p.setFont(ocrb);
    p.setPen(QColor(20, 20, 30));
    mrzpages::DrawZoneRows(p, zone, scale, QPointF(left, lastBaseline * k - step * double(zone.size() - 1)), pitch, step,
                           0.05 * k, s.Art());
}

// The top of a zone whose last baseline is at lastBaseline: where fields must end.
double ZoneTop(int rows, double lastBaseline)
{
    return lastBaseline - 4.6 * (rows - 1) - 3.0;
}

void Portrait(Sheet &s, const QRectF &mm)
{
    if (s.Painter())
        mrzpages::DrawPortrait(*s.Painter(), QRectF(mm.topLeft() * s.K(), mm.size() * s.K()), s.Art());
}

// A signature: a loose stroke over a line.
void Signature(Sheet &s, double x, double y, double width)
{
    if (!s.Painter())
        return;
    QPainter &p = *s.Painter();
    const double k = s.K();
    p.setPen(QPen(QColor(40, 50, 120), 0.25 * k));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(x * k, y * k);
    for (double t = 0; t < width; t += 0.5)
        path.lineTo((x + t) * k, (y - 2.0 - 1.6 * std::sin(t * 0.9) * std::cos(t * 0.23)) * k);
    p.drawPath(path);
}

// ---- The internal passport: issue page above, photo page below -------------

constexpr double kPassportWidth = 125, kPassportPage = 88;

QStringList RusInternalZone(const Issued &d)
{
    specimens::MrzData m;
    m.documentCode = QStringLiteral("PN");
    m.issuingState = m.nationality = QStringLiteral("RUS");
    m.surname = d.person.surname;
    m.givenNames = d.person.givenName;
    m.patronymic = d.person.patronymic;
    m.documentNumber = QString(d.series).remove(QLatin1Char(' ')) + d.number;
    m.birthDate = ZoneDate(d.person.birth);
    m.sex = QString::fromLatin1(d.person.male ? "M" : "F");
    m.issueDate = ZoneDate(d.issue);
    m.divisionCode = QString(d.divisionCode).remove(QLatin1Char('-'));
    return specimens::RussianInternalMrz(m);
}

QStringList ForeignZone(const Issued &d)
{
    specimens::MrzData m{QStringLiteral("P"),
                         QStringLiteral("RUS"),
                         PassportLatin(d.person.surname),
                         PassportLatin(d.person.givenName),
                         d.series + d.number,
                         QStringLiteral("RUS"),
                         ZoneDate(d.person.birth),
                         QString::fromLatin1(d.person.male ? "M" : "F"),
                         ZoneDate(d.expiry),
                         QString()};
    return specimens::PassportMrz(m);
}

// The series and number in red on one page: along the outer edge reading
// upwards, or across its top right corner.
void SeriesAndNumber(Sheet &s, const Recipe &r, const Issued &d, double pageTop, bool record)
{
    const QFont f = s.Font(13, true);
    const QString text = d.series + QStringLiteral("   ") + d.number;
    const double w = s.Width(text, f);
    if (r.seriesVertical)
        s.Text(kPassportWidth - 4.5 - s.Descent(f), pageTop + kPassportPage / 2 + w / 2, text, f, kRed, -90);
    else
        s.Text(kPassportWidth - 6 - w, pageTop + 4 + s.Ascent(f), text, f, kRed);
    if (record) {
        s.Record(Of(Field::Series, d.series));
        s.Record(Of(Field::Number, d.number));
    }
}

// Draws (or measures) the spread; how far the fields overrun their room (<= 0: they fit).
double InternalPassport(Sheet &s, const Recipe &r, const Issued &d, const QStringList &zone, double zoneBaseline)
{
    const double right = kPassportWidth - (r.seriesVertical ? 12 : 6);
    const double top = r.seriesVertical ? 7 : 12;
    // The issue page.
    if (r.seriesVertical)
        s.Text(kPassportWidth / 2 - s.Width(QStringLiteral("РОССИЙСКАЯ ФЕДЕРАЦИЯ"), s.LabelFont()) / 2, 4.5,
               QStringLiteral("РОССИЙСКАЯ ФЕДЕРАЦИЯ"), s.LabelFont(), QColor(90, 60, 60));
    SeriesAndNumber(s, r, d, 0, true);
    double x = 8;
    const double issueColumn = s.LabelColumn({QStringLiteral("Паспорт выдан"), QStringLiteral("Дата выдачи"),
                                              QStringLiteral("Код подразделения")});
    const double issueWidth = (right - x - (r.labelAbove ? 0 : issueColumn)) * r.columnWidth;
    double y = s.Labelled(QStringLiteral("Паспорт выдан"), s.Wrapped(Field::IssuedBy, d.issuedBy, issueWidth), x, top, issueColumn);
    y += 1.5;
    if (r.labelAbove) {
        const double second = x + std::max(s.Width(QStringLiteral("Дата выдачи"), s.LabelFont()),
                                           s.Width(PrintedDate(d.issue), s.ValueFont())) + 10 + s.Rng().Uniform(0, 10);
        const double b1 = s.Labelled(QStringLiteral("Дата выдачи"), {Of(Field::IssueDate, PrintedDate(d.issue))}, x, y, 0);
        const double b2 = s.Labelled(QStringLiteral("Код подразделения"), {Of(Field::DivisionCode, d.divisionCode)}, second, y, 0);
        y = std::max(b1, b2);
    } else {
        y = s.Labelled(QStringLiteral("Дата выдачи"), {Of(Field::IssueDate, PrintedDate(d.issue))}, x, y, issueColumn);
        y = s.Labelled(QStringLiteral("Код подразделения"), {Of(Field::DivisionCode, d.divisionCode)}, x, y, issueColumn);
    }
    // The personal code's empty cells, on some forms.
    if (s.Rng().Chance(0.4)) {
        const QFont small = s.Font(7, false);
        s.Text(x, y + 2 + s.Ascent(small), QStringLiteral("Личный код"), small, QColor(90, 90, 110));
        if (s.Painter()) {
            const double k = s.K(), cx = x + s.Width(QStringLiteral("Личный код  "), small);
            s.Painter()->setPen(QPen(QColor(120, 110, 130), 0.15 * k));
            s.Painter()->setBrush(Qt::NoBrush);
            for (int i = 0; i < 12; ++i)
                s.Painter()->drawRect(QRectF((cx + i * 3.2) * k, (y + 0.5) * k, 3.2 * k, 4 * k));
        }
        y += 6;
    }
    double overrun = y - (kPassportPage - 6);
    if (y + 12 < kPassportPage - 4 && s.Rng().Chance(0.6)) {
        s.Text(x, kPassportPage - 6, QStringLiteral("Подпись лица, выдавшего паспорт"), s.Font(7, false), QColor(90, 90, 110));
        Signature(s, x + 50, kPassportPage - 6, 25);
    }

    // The photo page.
    const double pageTop = kPassportPage;
    if (s.Painter()) {
        s.Painter()->setPen(QPen(QColor(150, 130, 130), 0.2 * s.K()));
        s.Painter()->drawLine(QPointF(0, pageTop * s.K()), QPointF(kPassportWidth * s.K(), pageTop * s.K()));
    }
    SeriesAndNumber(s, r, d, pageTop, false);
    const double photoTop = pageTop + (r.seriesVertical ? 8 : 12);
    Portrait(s, QRectF(6, photoTop, 32, 40));
    if (s.Rng().Chance(0.5)) {
        s.Text(6, photoTop + 45, QStringLiteral("Личная подпись"), s.Font(7, false), QColor(90, 90, 110));
        Signature(s, 8, photoTop + 52, 22);
    }
    x = 43;
    const QStringList labels{QStringLiteral("Фамилия"),       QStringLiteral("Имя"),          QStringLiteral("Отчество"),
                             QStringLiteral("Пол"),           QStringLiteral("Дата рождения"), QStringLiteral("Место рождения")};
    const double column = s.LabelColumn(labels);
    const double width = (right - x - (r.labelAbove ? 0 : column)) * r.columnWidth;
    y = photoTop;
    y = s.Labelled(labels[0], {Of(Field::Surname, d.person.surname)}, x, y, column);
    y = s.Labelled(labels[1], {Of(Field::GivenName, d.person.givenName)}, x, y, column);
    y = s.Labelled(labels[2], {Of(Field::Patronymic, d.person.patronymic)}, x, y, column);
    const QString sex = d.person.male ? QStringLiteral("МУЖ.") : QStringLiteral("ЖЕН.");
    if (r.labelAbove) {
        const double second = x + std::max(s.Width(labels[3], s.LabelFont()), s.Width(sex, s.ValueFont())) + 8 + s.Rng().Uniform(0, 8);
        const double b1 = s.Labelled(labels[3], {Of(Field::Sex, sex)}, x, y, 0);
        const double b2 = s.Labelled(labels[4], {Of(Field::BirthDate, PrintedDate(d.person.birth))}, second, y, 0);
        y = std::max(b1, b2);
    } else {
        y = s.Labelled(labels[3], {Of(Field::Sex, sex)}, x, y, column);
        y = s.Labelled(labels[4], {Of(Field::BirthDate, PrintedDate(d.person.birth))}, x, y, column);
    }
    y = s.Labelled(labels[5], s.Wrapped(Field::BirthPlace, d.person.birthPlace, width), x, y, column);
    overrun = std::max({overrun, y - ZoneTop(int(zone.size()), zoneBaseline), s.Rightmost() - right});
    DrawZone(s, zone, kPassportWidth, zoneBaseline);
    return overrun;
}

// ---- The foreign passport's photo page -------------------------------------

double ForeignPassport(Sheet &s, const Recipe &r, const Issued &d, const QStringList &zone, double zoneBaseline)
{
    const QColor title(60, 70, 110);
    const QString head = QStringLiteral("РОССИЙСКАЯ ФЕДЕРАЦИЯ / RUSSIAN FEDERATION");
    s.Text(kPassportWidth / 2 - s.Width(head, s.LabelFont()) / 2, 4.5, head, s.LabelFont(), title);
    Portrait(s, QRectF(5, 10, 30, 40));
    const double x = 39, right = kPassportWidth - 4;
    s.Text(x, 8.5, QStringLiteral("ПАСПОРТ / PASSPORT      Тип / Type  P      Код государства / Code of State  RUS"), s.Font(6.5, false), title);
    const QStringList labels{QStringLiteral("Номер паспорта / Passport No."),   QStringLiteral("Фамилия / Surname"),
                             QStringLiteral("Имя / Given names"),               QStringLiteral("Гражданство / Nationality"),
                             QStringLiteral("Дата рождения / Date of birth"),   QStringLiteral("Пол / Sex"),
                             QStringLiteral("Место рождения / Place of birth"), QStringLiteral("Дата выдачи / Date of issue"),
                             QStringLiteral("Дата окончания срока / Date of expiry"),
                             QStringLiteral("Орган, выдавший документ / Authority")};
    const double column = s.LabelColumn(labels);
    const Line number{d.series + QLatin1Char(' ') + d.number, {{Field::Series, d.series}, {Field::Number, d.number}}};
    const QString nationality = QStringLiteral("РОССИЙСКАЯ ФЕДЕРАЦИЯ");
    std::vector<Line> nationalityLines{Of(Field::Nationality, nationality), Plain(QStringLiteral("RUSSIAN FEDERATION"))};
    if (s.Width(nationality + QStringLiteral("/RUSSIAN FEDERATION"), s.ValueFont()) < (right - x - (r.labelAbove ? 0 : column)) &&
        s.Rng().Chance(0.5))
        nationalityLines = {Line{nationality + QStringLiteral("/RUSSIAN FEDERATION"), {{Field::Nationality, nationality}}}};
    const QString sexCyr = d.person.male ? QStringLiteral("М") : QStringLiteral("Ж");
    const Line sex{sexCyr + QLatin1Char('/') + QLatin1String(d.person.male ? "M" : "F"), {{Field::Sex, sexCyr}}};
    double y = 11, overlap = 0;
    const auto pair = [&](int a, const std::vector<Line> &va, int b, const std::vector<Line> &vb) {
        if (r.labelAbove) {
            // The second one beside the first, or as far right as it fits;
            // labels too long for that stand in two lines, and wherever the
            // two still overlap the print shrinks.
            const auto labelWidth = [&](const QString &label, bool stacked) {
                double w = 0;
                for (const QString &part : stacked ? label.split(QStringLiteral(" / ")) : QStringList{label})
                    w = std::max(w, s.Width(part, s.LabelFont()));
                return w;
            };
            double second = 0;
            bool stacked = false;
            for (const bool stack : {false, true}) {
                const double firstEnd = x + std::max(labelWidth(labels[a], stack), s.Width(va.front().text, s.ValueFont()));
                const double secondWidth = std::max(labelWidth(labels[b], stack), s.Width(vb.front().text, s.ValueFont()));
                second = std::min(firstEnd + 6, right - secondWidth - 1.5);
                stacked = stack;
                if (firstEnd + 2 <= second || stack) {
                    overlap = std::max(overlap, firstEnd + 2 - second);
                    break;
                }
            }
            const double b1 = stacked ? s.Stacked(labels[a], va, x, y) : s.Labelled(labels[a], va, x, y, 0);
            y = std::max(b1, stacked ? s.Stacked(labels[b], vb, second, y) : s.Labelled(labels[b], vb, second, y, 0));
        } else {
            y = s.Labelled(labels[a], va, x, y, column);
            y = s.Labelled(labels[b], vb, x, y, column);
        }
    };
    // The number in the top right corner, its label in two lines; the names
    // beside it must end before it.
    double numberWidth = s.Width(number.text, s.ValueFont());
    for (const QString &part : labels[0].split(QStringLiteral(" / ")))
        numberWidth = std::max(numberWidth, s.Width(part, s.LabelFont()));
    const double numberX = right - numberWidth - 1;
    const double numberBottom = s.Stacked(labels[0], {number}, numberX, y);
    const double valueX = x + (r.labelAbove ? 0 : column);
    double namesEnd = 0;
    const double surnameTop = y;
    y = s.Labelled(labels[1], {Of(Field::Surname, d.person.surname), Of(Field::SurnameLatin, PassportLatin(d.person.surname))}, x, y, column);
    namesEnd = valueX + std::max(s.Width(d.person.surname, s.ValueFont()), s.Width(PassportLatin(d.person.surname), s.ValueFont()));
    if (y < numberBottom)
        namesEnd = std::max(namesEnd, valueX + std::max(s.Width(d.person.givenName, s.ValueFont()),
                                                         s.Width(PassportLatin(d.person.givenName), s.ValueFont())));
    y = s.Labelled(labels[2], {Of(Field::GivenName, d.person.givenName), Of(Field::GivenNameLatin, PassportLatin(d.person.givenName))}, x, y,
                   column);
    const double beside = surnameTop < numberBottom ? namesEnd + 2 - numberX : 0;
    y = s.Labelled(labels[3], nationalityLines, x, y, column);
    pair(4, {Of(Field::BirthDate, PrintedDate(d.person.birth))}, 5, {sex});
    y = s.Labelled(labels[6], {Of(Field::BirthPlace, d.person.birthPlace), Plain(d.birthPlaceLatin)}, x, y, column);
    double underBottom = 0, underWidth = 0;
    if (r.underPortrait) {
        // The dates of issue and expiry under the portrait, their labels in two
        // lines, left of the column.
        const double u = s.Stacked(labels[7], {Of(Field::IssueDate, PrintedDate(d.issue))}, 5, 53);
        underBottom = s.Stacked(labels[8], {Of(Field::ExpiryDate, PrintedDate(d.expiry))}, 5, u);
        for (const QString &l : {labels[7], labels[8]})
            for (const QString &part : l.split(QStringLiteral(" / ")))
                underWidth = std::max(underWidth, s.Width(part, s.LabelFont()));
        underWidth = std::max(underWidth, s.Width(PrintedDate(d.issue), s.ValueFont()));
    } else {
        pair(7, {Of(Field::IssueDate, PrintedDate(d.issue))}, 8, {Of(Field::ExpiryDate, PrintedDate(d.expiry))});
    }
    y = s.Labelled(labels[9], {Of(Field::IssuedBy, d.issuedBy)}, x, y, column);
    const double overrun = std::max({y - ZoneTop(int(zone.size()), zoneBaseline), underBottom - ZoneTop(int(zone.size()), zoneBaseline),
                                     s.Rightmost() - right, 5 + 1 + underWidth - x, beside, overlap});
    DrawZone(s, zone, kPassportWidth, zoneBaseline);
    return overrun;
}

// ---- The driving licence's front --------------------------------------------

constexpr double kCardWidth = 85.6, kCardHeight = 54;

double DrivingLicence(Sheet &s, const Recipe &r, const Issued &d)
{
    const QFont title = s.Font(r.labelPt + 1.5, true);
    s.Text(14, 5.5, QStringLiteral("ВОДИТЕЛЬСКОЕ УДОСТОВЕРЕНИЕ"), title, QColor(60, 40, 90));
    if (s.Painter()) {
        QPainter &p = *s.Painter();
        const double k = s.K();
        p.setPen(QPen(QColor(40, 60, 150), 0.3 * k));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(2.5 * k, 1.5 * k, 9.5 * k, 6 * k));
    }
    s.Text(3.6, 5.8, QStringLiteral("RUS"), s.Font(r.labelPt + 1, true), QColor(40, 60, 150));
    Portrait(s, QRectF(3, 10, 21, 28));
    const QFont &v = s.ValueFont();
    const QFont &l = s.LabelFont();
    const double numberX = 26 + s.Jitter() * 0.5, x = numberX + std::max(5.0, s.Width(QStringLiteral("4c)"), l) + 1.5);
    double baseline = 10 + s.Ascent(v);
    const double step = s.Step(v);
    const QColor ink = s.Ink(), labelInk = s.LabelInk();
    const auto number = [&](const char *n, double xAt, double at) { s.Text(xAt, at, QString::fromUtf8(n), l, labelInk); };
    const auto row = [&](const char *n, const std::vector<Line> &lines) {
        number(n, numberX, baseline);
        baseline = s.Values(lines, x, baseline, ink) - s.Descent(v) + step * 1.08;
    };
    const Person &pp = d.person;
    row("1.", {Of(Field::Surname, pp.surname), Of(Field::SurnameLatin, PassportLatin(pp.surname))});
    const QString latin2 = PassportLatin(pp.givenName) + QLatin1Char(' ') + PassportLatin(pp.patronymic);
    row("2.", {Line{pp.givenName + QLatin1Char(' ') + pp.patronymic, {{Field::GivenName, pp.givenName}, {Field::Patronymic, pp.patronymic}}},
               Of(Field::GivenNameLatin, latin2)});
    // 3: the date of birth, the place beside it and the place's Latin line under the place.
    number("3.", numberX, baseline);
    const QString born = PrintedDate(pp.birth);
    s.Values({Of(Field::BirthDate, born)}, x, baseline, ink);
    double placeX = x + s.Width(born + QStringLiteral("  "), v);
    if (placeX + std::max(s.Width(pp.birthPlace, v), s.Width(d.birthPlaceLatin, v)) > kCardWidth - 1.5) {
        placeX = x; // under the date
        baseline += step * 1.08;
    }
    baseline = s.Values({Of(Field::BirthPlace, pp.birthPlace), Plain(d.birthPlaceLatin)}, placeX, baseline, ink) - s.Descent(v) + step * 1.08;
    number("4a)", numberX, baseline);
    s.Values({Of(Field::IssueDate, PrintedDate(d.issue))}, x, baseline, ink);
    const double bX = x + s.Width(PrintedDate(d.issue) + QStringLiteral("   "), v);
    number("4b)", bX, baseline);
    s.Values({Of(Field::ExpiryDate, PrintedDate(d.expiry))}, bX + s.Width(QStringLiteral("4b) "), l), baseline, ink);
    baseline += step * 1.08;
    row("4c)", {Of(Field::IssuedBy, d.issuedBy), Plain(d.issuedByLatin)});
    number("5.", numberX, baseline);
    s.Values({Line{d.series + QLatin1Char(' ') + d.number, {{Field::Series, d.series}, {Field::Number, d.number}}}}, x, baseline,
             r.seriesVertical ? kRed : ink);
    baseline += step * 1.08;
    row("8.", {Of(Field::ResidencePlace, d.residence), Plain(d.residenceLatin)});
    // 9 in the column, or under the portrait.
    const bool under = r.underPortrait;
    const double nineX = under ? 3 : numberX, nineBaseline = under ? 38 + 1.5 + s.Ascent(v) : baseline;
    number("9.", nineX, nineBaseline);
    const double nineValueX = under ? 3 + s.Width(QStringLiteral("9. "), l) : x;
    const double b = s.Values({Of(Field::Categories, d.categories)}, nineValueX, nineBaseline, ink);
    // Under the portrait the categories must end before the column of numbers.
    const double nineEnd = under ? nineValueX + s.Width(d.categories, v) - (numberX - 1) : 0;
    return std::max({b - (kCardHeight - 1.5), baseline - step * 1.08 + s.Descent(v) - (kCardHeight - 1.5), nineEnd,
                     s.Rightmost() - (kCardWidth - 1.5),
                     placeX + std::max(s.Width(pp.birthPlace, v), s.Width(d.birthPlaceLatin, v)) - (kCardWidth - 1.5)});
}

QSizeF DocumentSize(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::InternalPassport:
        return {kPassportWidth, 2 * kPassportPage};
    case DocumentKind::DrivingLicence:
        return {kCardWidth, kCardHeight};
    case DocumentKind::ForeignPassport:
        return {kPassportWidth, kPassportPage};
    }
    return {};
}

// The document drawn upright at the recipe's resolution, on tinted paper with
// a pattern; the fields it printed in *printed.
QImage DrawDocument(const Recipe &r, const Issued &d, const QStringList &zone, mrzpages::Random &rng, std::map<Field, QString> *printed,
                    double *scaleUsed)
{
    const QSizeF mm = DocumentSize(r.kind);
    const double k = r.dpi / 25.4;
    const double zoneBaseline = mm.height() - rng.Uniform(4.0, 5.5);
    const auto draw = [&](Sheet &s) {
        switch (r.kind) {
        case DocumentKind::InternalPassport:
            return InternalPassport(s, r, d, zone, zoneBaseline);
        case DocumentKind::ForeignPassport:
            return ForeignPassport(s, r, d, zone, zoneBaseline);
        case DocumentKind::DrivingLicence:
            return DrivingLicence(s, r, d);
        }
        return 0.0;
    };
    QImage card(int(mm.width() * k), int(mm.height() * k), QImage::Format_ARGB32_Premultiplied);
    card.fill(Qt::transparent);
    QPainter p(&card);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(card.rect()), (r.kind == DocumentKind::DrivingLicence ? 3 : 1.5) * k, 3 * k);
    const QColor paper = QColor::fromHsv(rng.Int(0, 359), rng.Int(8, 40), rng.Int(225, 250));
    p.fillPath(outline, paper);
    p.setClipPath(outline);
    if (r.pattern) {
        mrzpages::DrawWaves(p, QSizeF(card.size()), paper, k, rng);
        if (rng.Chance(0.4)) {
            // Fainter than under a zone: this print runs under the fields.
            p.setOpacity(0.5);
            mrzpages::DrawGuilloche(p, QRectF(0, card.height() * rng.Uniform(0.1, 0.5), card.width(), card.height() * 0.3), k, rng);
            p.setOpacity(1);
        }
    }
    // Smaller print until everything fits, measured on a copy of the stream
    // so that the page drawn after is the same whatever the trials took.
    // Black to dark blue print, the labels paler.
    const QColor ink = mrzpages::RandomHsv(rng, {200, 250}, {0, 140}, {10, 60});
    const QColor labelInk = mrzpages::RandomHsv(rng, {200, 260}, {10, 90}, {70, 120});
    mrzpages::Random art(std::uint64_t(rng.Int(0, 1 << 30)) * 7919 + 17);
    double scale = 1.0;
    for (int trial = 0; trial < 12; ++trial) {
        mrzpages::Random dry = rng, dryArt = art;
        Sheet measure(nullptr, r, scale, dry, dryArt);
        measure.SetInks(ink, labelInk);
        if (draw(measure) <= 0)
            break;
        scale *= 0.94;
    }
    *scaleUsed = scale;
    Sheet sheet(&p, r, scale, rng, art);
    sheet.SetInks(ink, labelInk);
    draw(sheet);
    *printed = sheet.Printed();
    return card;
}

QString LayoutName(const Recipe &r, double scale)
{
    QString name = r.kind == DocumentKind::DrivingLicence ? QStringLiteral("numbered column")
                   : r.labelAbove                        ? QStringLiteral("label above value")
                                                         : QStringLiteral("label left of value");
    if (r.underPortrait && r.kind == DocumentKind::DrivingLicence)
        name += QStringLiteral(", 9 under the portrait");
    if (r.underPortrait && r.kind == DocumentKind::ForeignPassport)
        name += QStringLiteral(", dates under the portrait");
    name += QStringLiteral(", labels %1 pt, values %2 pt").arg(r.labelPt * std::sqrt(scale), 0, 'f', 1).arg(r.valuePt * scale, 0, 'f', 1);
    if (r.boldValues)
        name += QStringLiteral(", bold values");
    if (r.kind == DocumentKind::InternalPassport)
        name += r.seriesVertical ? QStringLiteral(", series along the edge") : QStringLiteral(", series in the corner");
    return name;
}

} // namespace

printed::DocumentKind KindOfSeed(std::uint64_t seed)
{
    static const DocumentKind kinds[] = {DocumentKind::InternalPassport, DocumentKind::DrivingLicence, DocumentKind::ForeignPassport};
    return kinds[seed % 3];
}

const std::vector<Typeface> &Typefaces()
{
    static const std::vector<Typeface> faces{
        {"DejaVu Sans", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"},
        {"DejaVu Serif", "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"},
        {"PT Sans", "/usr/share/fonts/truetype/paratype/PTS55F.ttf", "/usr/share/fonts/truetype/paratype/PTS75F.ttf"},
        {"PT Serif", "/usr/share/fonts/truetype/paratype/PTF55F.ttf", "/usr/share/fonts/truetype/paratype/PTF75F.ttf"},
        {"Liberation Sans", "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
         "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf"},
        {"Liberation Serif", "/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf",
         "/usr/share/fonts/truetype/liberation2/LiberationSerif-Bold.ttf"},
    };
    return faces;
}

Recipe RandomRecipe(DocumentKind kind, mrzpages::Random &rng)
{
    Recipe r;
    r.kind = kind;
    r.typeface = rng.Int(0, int(Typefaces().size()) - 1);
    r.labelAbove = rng.Chance(0.5);
    r.labelPt = rng.Uniform(7, 9);
    r.valuePt = rng.Uniform(10, 14);
    if (kind == DocumentKind::ForeignPassport)
        r.valuePt = rng.Uniform(10, 12); // ten fields and a zone on 88 mm
    if (kind == DocumentKind::DrivingLicence) {
        // A card of 54 mm holds thirteen lines: its print is the card's size.
        r.labelPt = rng.Uniform(6, 7);
        r.valuePt = rng.Uniform(7.5, 9);
    }
    r.boldValues = rng.Chance(0.3);
    r.labelColumn = rng.Uniform(22, 34);
    r.columnWidth = rng.Uniform(0.75, 1.0);
    r.jitter = rng.Uniform(0.2, 1.0);
    r.seriesVertical = rng.Chance(0.5);
    r.underPortrait = rng.Chance(0.5);
    r.pattern = rng.Chance(0.8);
    r.dpi = rng.Chance(0.75) ? 300 : 200;
    r.blur = rng.Chance(0.5) ? rng.Uniform(0.4, 1.2) : 0;
    r.jpegQuality = rng.Chance(0.4) ? 35 : rng.Chance(0.5) ? rng.Int(60, 92) : 0;
    r.turn = rng.Chance(0.6) ? rng.Uniform(-3, 3) : 0;
    r.light = rng.Chance(0.5) ? rng.Uniform(0.1, 0.35) : 0;
    return r;
}

Page MakePage(const Recipe &recipe, const Issued &issued, mrzpages::Random &rng)
{
    Page page;
    Truth &t = page.truth;
    t.kind = recipe.kind;
    t.issued = issued;
    if (recipe.kind == DocumentKind::InternalPassport)
        t.zone = RusInternalZone(issued);
    else if (recipe.kind == DocumentKind::ForeignPassport)
        t.zone = ForeignZone(issued);
    double scale = 1;
    const QImage card = DrawDocument(recipe, issued, t.zone, rng, &t.fields, &scale);
    t.font = QString::fromLatin1(Typefaces()[size_t(recipe.typeface)].family);
    t.layout = LayoutName(recipe, scale);
    t.dpi = recipe.dpi;

    // On the scanner's glass, with the scan's faults.
    mrzpages::PageRecipe scan;
    scan.dpi = recipe.dpi;
    scan.a4 = false;
    scan.skew = recipe.turn;
    scan.blur = recipe.blur;
    scan.light = recipe.light;
    scan.noise = 2;
    QPolygonF none;
    QImage image = mrzpages::PlaceOnGlass(scan, card, &none, rng);
    // The resolution travels in the file, as a scanner writes it.
    image.setDotsPerMeterX(int(std::lround(recipe.dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(recipe.dpi / 0.0254)));
    if (recipe.dpi != 300)
        t.degradations << QStringLiteral("%1 dpi").arg(recipe.dpi);
    if (recipe.blur > 0)
        t.degradations << QStringLiteral("scan blur %1").arg(recipe.blur, 0, 'f', 2);
    if (recipe.turn != 0)
        t.degradations << QStringLiteral("turned %1 degrees").arg(recipe.turn, 0, 'f', 2);
    if (recipe.light > 0)
        t.degradations << QStringLiteral("uneven light %1").arg(recipe.light, 0, 'f', 2);
    if (recipe.jpegQuality > 0) {
        t.degradations << QStringLiteral("JPEG quality %1").arg(recipe.jpegQuality);
        page.encoded = mrzpages::JpegBytes(image, recipe.jpegQuality);
        image.loadFromData(page.encoded, "JPG");
    }
    page.image = image;
    return page;
}

Page MakeSeedPage(std::uint64_t seed, std::optional<DocumentKind> kind)
{
    const DocumentKind k = kind.value_or(KindOfSeed(seed));
    mrzpages::Random rng(seed * 0x9E3779B97F4A7C15ULL + std::uint64_t(k) + 1);
    const Recipe recipe = RandomRecipe(k, rng);
    const Issued issued = RandomIssued(k, rng);
    return MakePage(recipe, issued, rng);
}

QJsonObject TruthJson(const Truth &t)
{
    QJsonObject fields;
    for (const auto &[field, value] : t.fields)
        fields.insert(printed::FieldName(field), value);
    QJsonObject o{
        {QStringLiteral("kind"), printed::KindName(t.kind)},
        {QStringLiteral("fields"), fields},
        {QStringLiteral("font"), t.font},
        {QStringLiteral("layout"), t.layout},
        {QStringLiteral("degradations"), QJsonArray::fromStringList(t.degradations)},
        {QStringLiteral("dpi"), t.dpi},
    };
    if (!t.zone.isEmpty())
        o.insert(QStringLiteral("zone"), QJsonArray::fromStringList(t.zone));
    return o;
}

bool WritePage(const Page &page, const QString &folder, const QString &stem, QString *error)
{
    return mrzpages::WritePictureAndTruth(page.image, page.encoded, TruthJson(page.truth), folder, stem, error);
}

} // namespace printedpages
