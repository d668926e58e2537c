#include "DrawnPages.h"

#include "specimen-generator/Mrz.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace printedtest {

using printed::DocumentKind;
using printed::Field;

namespace {

struct Person
{
    QString surname, given, patronymic, surnameLatin, givenLatin, patronymicLatin;
    QString sexLong, sexShort, birthDate, birthPlace1, birthPlace2, birthPlaceLatin;
    QString issuedBy1, issuedBy2, issueDate, expiryDate, code, series, number, foreignSeries, foreignNumber;
    QString residence, categories;
};

const Person &PersonNo(int i)
{
    static const Person people[] = {
        {"ВОРОБЬЁВА", "ЕЛЕНА", "ПАВЛОВНА", "VOROBEVA", "ELENA", "PAVLOVNA", "ЖЕН.", "Ж", "07.03.1985", "ГОР. НОВОГРАД",
         "СЕВЕРНОЙ ОБЛ.", "GOR. NOVOGRAD", "ОТДЕЛЕНИЕМ УФМС РОССИИ", "ПО СЕВЕРНОЙ ОБЛ.", "19.11.2016", "19.11.2026",
         "560-214", "56 16", "482913", "72", "3905184", "СЕВЕРНАЯ ОБЛ.", "B B1 M"},
        {"ТИХОНОВ", "АРСЕНИЙ", "ГЛЕБОВИЧ", "TIKHONOV", "ARSENII", "GLEBOVICH", "МУЖ.", "М", "30.12.1972", "ДЕР. ЛЕСНАЯ",
         "", "DER. LESNAIA", "ГУ МВД РОССИИ", "ПО ГОР. ЗАРЕЧНЫЙ", "02.08.2021", "02.08.2031", "770-083", "45 21",
         "107364", "65", "2718450", "ЗАРЕЧНЫЙ КРАЙ", "A B C1"},
    };
    return people[i % 2];
}

class Painter
{
public:
    Painter(QImage *image, const QString &family) : p_(image), family_(family)
    {
        p_.setRenderHint(QPainter::TextAntialiasing);
        p_.setRenderHint(QPainter::Antialiasing);
    }
    void Label(int x, int y, const QString &text) { Text(x, y, text, 15, false, QColor(70, 70, 90)); }
    void Value(int x, int y, const QString &text, QColor colour = QColor(20, 20, 25))
    {
        Text(x, y, text, 26, true, colour);
    }
    void Text(int x, int y, const QString &text, int pixels, bool bold, QColor colour)
    {
        QFont f(family_);
        f.setPixelSize(pixels);
        f.setBold(bold);
        p_.setFont(f);
        p_.setPen(colour);
        p_.drawText(x, y, text);
    }
    void Turned(int x, int y, const QString &text, QColor colour)
    {
        p_.save();
        p_.translate(x, y);
        p_.rotate(-90);
        Text(0, 0, text, 26, true, colour);
        p_.restore();
    }
    // The zone's lines in OCR-B, as wide as `width`.
    void Zone(int x, int y, int width, const QStringList &lines)
    {
        QFont f(QStringLiteral("OCR B"));
        f.setPixelSize(30);
        const int advance = QFontMetrics(f).horizontalAdvance(lines.first());
        f.setPixelSize(std::max(8, 30 * width / std::max(1, advance)));
        p_.setFont(f);
        p_.setPen(Qt::black);
        for (int i = 0; i < lines.size(); ++i)
            p_.drawText(x, y + i * f.pixelSize() * 3 / 2, lines[i]);
    }
    void Photo(const QRect &r)
    {
        p_.fillRect(r, QColor(180, 190, 205));
        p_.setBrush(QColor(95, 100, 115));
        p_.setPen(Qt::NoPen);
        p_.drawEllipse(r.center() - QPoint(0, r.height() / 5), r.width() / 4, r.height() / 5);
    }

private:
    QPainter p_;
    QString family_;
};

DrawnPage Internal(const Person &m, const QString &family, bool left, bool alongEdge)
{
    DrawnPage d;
    d.picture = QImage(1150, 1300, QImage::Format_RGB32);
    d.picture.fill(QColor(252, 240, 242));
    Painter p(&d.picture, family);
    // A label above its value, or left of it on the value's line.
    auto field = [&](int x, int y, const QString &label, const QStringList &values) {
        if (left) {
            p.Label(x, y, label);
            for (int i = 0; i < values.size(); ++i)
                p.Value(x + 230, y + i * 34, values[i]);
        } else {
            p.Label(x, y, label);
            for (int i = 0; i < values.size(); ++i)
                p.Value(x, y + 34 + i * 34, values[i]);
        }
    };
    const int step = left ? 0 : 34;
    const QStringList issuedBy = {m.issuedBy1, m.issuedBy2};
    field(40, 80, QStringLiteral("Паспорт выдан"), issuedBy);
    field(40, 200 + step, QStringLiteral("Дата выдачи"), {m.issueDate});
    field(left ? 560 : 400, 200 + step, QStringLiteral("Код подразделения"), {m.code});
    if (alongEdge)
        p.Turned(1120, 560, m.series + QStringLiteral("  ") + m.number, QColor(170, 20, 30));
    else
        p.Value(770, 40, m.series + QStringLiteral("  ") + m.number, QColor(170, 20, 30));
    p.Photo(QRect(40, 700, 220, 290));
    const int x = 300;
    int y = 700;
    const int row = left ? 60 : 86;
    field(x, y, QStringLiteral("Фамилия"), {m.surname});
    field(x, y += row, QStringLiteral("Имя"), {m.given});
    field(x, y += row, QStringLiteral("Отчество"), {m.patronymic});
    field(x, y += row, QStringLiteral("Пол"), {m.sexLong});
    field(left ? x + 360 : x + 180, y, QStringLiteral("Дата рождения"), {m.birthDate});
    QStringList place = {m.birthPlace1};
    if (!m.birthPlace2.isEmpty())
        place << m.birthPlace2;
    field(x, y += row, QStringLiteral("Место рождения"), place);
    d.truth = {{Field::Surname, m.surname},     {Field::GivenName, m.given},
               {Field::Patronymic, m.patronymic}, {Field::Sex, m.sexLong},
               {Field::BirthDate, m.birthDate}, {Field::BirthPlace, place.join(' ')},
               {Field::IssuedBy, issuedBy.join(' ')}, {Field::IssueDate, m.issueDate},
               {Field::DivisionCode, m.code},   {Field::Series, m.series},
               {Field::Number, m.number}};
    return d;
}

DrawnPage Licence(const Person &m, const QString &family)
{
    DrawnPage d;
    d.picture = QImage(1000, 640, QImage::Format_RGB32);
    d.picture.fill(QColor(250, 250, 252));
    Painter p(&d.picture, family);
    p.Text(30, 50, QStringLiteral("ВОДИТЕЛЬСКОЕ УДОСТОВЕРЕНИЕ"), 26, true, QColor(60, 60, 90));
    p.Photo(QRect(30, 90, 200, 260));
    const int n = 260, v = 310;
    auto number = [&](int x, int y, const QString &text) { p.Text(x, y, text, 17, true, QColor(60, 60, 90)); };
    number(n, 110, QStringLiteral("1."));
    p.Value(v, 110, m.surname);
    p.Value(v, 142, m.surnameLatin);
    number(n, 185, QStringLiteral("2."));
    p.Value(v, 185, m.given);
    p.Value(v + 220, 185, m.patronymic);
    p.Value(v, 217, m.givenLatin);
    p.Value(v + 220, 217, m.patronymicLatin);
    number(n, 260, QStringLiteral("3."));
    p.Value(v, 260, m.birthDate + QStringLiteral("  ") + m.birthPlace1);
    p.Value(v + 170, 292, m.birthPlaceLatin);
    number(n, 340, QStringLiteral("4a)"));
    p.Value(v, 340, m.issueDate);
    number(n + 250, 340, QStringLiteral("4b)"));
    p.Value(v + 250, 340, m.expiryDate);
    number(n, 385, QStringLiteral("4c)"));
    p.Value(v, 385, QStringLiteral("ГИБДД ") + m.code.left(3) + m.code.right(1));
    number(n, 430, QStringLiteral("5."));
    p.Value(v, 430, m.series + QStringLiteral(" ") + m.number, QColor(170, 20, 30));
    number(n, 475, QStringLiteral("8."));
    p.Value(v, 475, m.residence);
    number(n, 520, QStringLiteral("9."));
    p.Value(v, 520, m.categories);
    d.truth = {{Field::Surname, m.surname},          {Field::SurnameLatin, m.surnameLatin},
               {Field::GivenName, m.given},          {Field::Patronymic, m.patronymic},
               {Field::GivenNameLatin, m.givenLatin + QLatin1Char(' ') + m.patronymicLatin},
               {Field::BirthDate, m.birthDate},      {Field::BirthPlace, m.birthPlace1},
               {Field::IssueDate, m.issueDate},      {Field::ExpiryDate, m.expiryDate},
               {Field::IssuedBy, QStringLiteral("ГИБДД ") + m.code.left(3) + m.code.right(1)},
               {Field::Series, m.series},            {Field::Number, m.number},
               {Field::ResidencePlace, m.residence}, {Field::Categories, m.categories}};
    return d;
}

DrawnPage Foreign(const Person &m, const QString &family, bool zone)
{
    DrawnPage d;
    d.picture = QImage(1000, zone ? 740 : 620, QImage::Format_RGB32);
    d.picture.fill(QColor(238, 244, 252));
    Painter p(&d.picture, family);
    p.Photo(QRect(40, 70, 220, 290));
    auto field = [&](int x, int y, const QString &label, const QStringList &values) {
        p.Label(x, y, label);
        for (int i = 0; i < values.size(); ++i)
            p.Value(x, y + 30 + i * 30, values[i]);
    };
    field(300, 80, QStringLiteral("Фамилия / Surname"), {m.surname, m.surnameLatin});
    field(640, 80, QStringLiteral("Номер паспорта / Passport No."), {m.foreignSeries + QStringLiteral("  ") + m.foreignNumber});
    field(300, 180, QStringLiteral("Имя / Given names"), {m.given, m.givenLatin});
    field(300, 280, QStringLiteral("Гражданство / Nationality"), {QStringLiteral("РОССИЙСКАЯ ФЕДЕРАЦИЯ"), QStringLiteral("RUSSIAN FEDERATION")});
    field(300, 380, QStringLiteral("Дата рождения / Date of birth"), {m.birthDate});
    field(640, 380, QStringLiteral("Пол / Sex"), {m.sexShort + QStringLiteral("/") + (m.sexShort == QStringLiteral("М") ? "M" : "F")});
    field(300, 445, QStringLiteral("Место рождения / Place of birth"), {m.birthPlace1, m.birthPlaceLatin});
    field(40, 445, QStringLiteral("Дата выдачи / Date of issue"), {m.issueDate});
    field(40, 530, QStringLiteral("Дата окончания срока / Date of expiry"), {m.expiryDate});
    field(640, 445, QStringLiteral("Орган, выдавший документ / Authority"), {QStringLiteral("МВД ") + m.code.left(3) + m.code.right(2)});
    if (zone) {
        const bool male = m.sexShort == QStringLiteral("М");
        const QString birth = m.birthDate.right(2) + m.birthDate.mid(3, 2) + m.birthDate.left(2);
        const QString expiry = m.expiryDate.right(2) + m.expiryDate.mid(3, 2) + m.expiryDate.left(2);
        const QStringList lines = specimens::PassportMrz({"P", "RUS", m.surnameLatin, m.givenLatin,
                                                          m.foreignSeries + m.foreignNumber, "RUS", birth,
                                                          male ? "M" : "F", expiry, ""});
        p.Zone(40, 650, 920, lines);
    }
    d.truth = {{Field::Surname, m.surname},       {Field::SurnameLatin, m.surnameLatin},
               {Field::GivenName, m.given},       {Field::GivenNameLatin, m.givenLatin},
               {Field::Nationality, QStringLiteral("РОССИЙСКАЯ ФЕДЕРАЦИЯ")},
               {Field::BirthDate, m.birthDate},   {Field::Sex, m.sexShort},
               {Field::BirthPlace, m.birthPlace1}, {Field::IssueDate, m.issueDate},
               {Field::ExpiryDate, m.expiryDate}, {Field::IssuedBy, QStringLiteral("МВД ") + m.code.left(3) + m.code.right(2)},
               {Field::Series, m.foreignSeries},  {Field::Number, m.foreignNumber}};
    return d;
}

} // namespace

DrawnPage Draw(const Drawing &d)
{
    const Person &m = PersonNo(d.person);
    DrawnPage page = d.kind == DocumentKind::InternalPassport ? Internal(m, d.family, d.labelsLeft, d.numberAlongEdge)
                     : d.kind == DocumentKind::DrivingLicence ? Licence(m, d.family)
                                                              : Foreign(m, d.family, d.zone);
    if (d.zone && d.turn != 0) {
        // The whole page turned, on a larger sheet.
        QImage turned = page.picture.transformed(QTransform().rotate(d.turn), Qt::SmoothTransformation);
        QImage sheet(turned.size(), QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter p(&sheet);
        p.drawImage(0, 0, turned);
        p.end();
        page.picture = sheet;
    } else if (d.turn != 0) {
        QImage turned(page.picture.size(), QImage::Format_RGB32);
        turned.fill(Qt::white);
        QPainter p(&turned);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.translate(turned.width() / 2.0, turned.height() / 2.0);
        p.rotate(d.turn);
        p.translate(-turned.width() / 2.0, -turned.height() / 2.0);
        p.drawImage(0, 0, page.picture);
        p.end();
        page.picture = turned;
    }
    return page;
}

} // namespace printedtest
