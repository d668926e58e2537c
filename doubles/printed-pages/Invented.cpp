#include "Invented.h"

#include "PageGenerator.h"

#include <QStringList>

#include <iterator>

namespace printedpages {

namespace {

template <typename T, std::size_t N>
const T &Pick(mrzpages::Random &rng, const T (&table)[N])
{
    return table[rng.Int(0, int(N) - 1)];
}

// Syllables of Russian-sounding words. The rare letters (Ж Х Ц Ч Ш Щ Ы Ъ Ь
// Й Ю Я) come often enough that every Latin rule of the passports is met in
// a few pages.
QString Syllable(mrzpages::Random &rng)
{
    static const char *const onsets[] = {"Б", "В", "Г", "Д", "Ж", "З", "К", "Л", "М", "Н", "П", "Р", "С", "Т",
                                         "Ф", "Х", "Ц", "Ч", "Ш", "Щ", "БР", "ГР", "КР", "СТ", "ТР", "ЗВ", "СМ", "ПЛ"};
    static const char *const vowels[] = {"А", "О", "Е", "И", "У", "А", "О", "Е", "Ы", "Я", "Ю", "Э"};
    QString s = QString::fromUtf8(Pick(rng, onsets));
    // A soft or hard sign before an iotated vowel: "ЛЬЕ", "ЪЕ".
    if (rng.Chance(0.06)) {
        s += QString::fromUtf8(rng.Chance(0.6) ? "Ь" : "Ъ");
        static const char *const iotated[] = {"Е", "Я", "Ю"};
        return s + QString::fromUtf8(Pick(rng, iotated));
    }
    s += QString::fromUtf8(Pick(rng, vowels));
    if (rng.Chance(0.15))
        s += QString::fromUtf8("Й");
    return s;
}

QString Stem(mrzpages::Random &rng, int minSyllables, int maxSyllables)
{
    QString s;
    for (int n = rng.Int(minSyllables, maxSyllables); n > 0; --n)
        s += Syllable(rng);
    // A vowel never meets the endings' vowel; and Й is no end for a stem.
    while (!s.isEmpty() && QStringLiteral("АОЕИУЫЯЮЭЙЬЪ").contains(s.back()))
        s.chop(1);
    return s;
}

QString Surname(mrzpages::Random &rng, bool male)
{
    static const char *const endings[][2] = {{"ОВ", "ОВА"},     {"ЕВ", "ЕВА"},     {"ИН", "ИНА"},   {"ЫН", "ЫНА"},
                                             {"СКИЙ", "СКАЯ"},  {"ЦКИЙ", "ЦКАЯ"},  {"ЕНКО", "ЕНКО"}, {"УК", "УК"},
                                             {"ИХ", "ИХ"},      {"ОВСКИЙ", "ОВСКАЯ"}, {"ЯЕВ", "ЯЕВА"}};
    const auto &e = Pick(rng, endings);
    return Stem(rng, 1, 3) + QString::fromUtf8(e[male ? 0 : 1]);
}

QString GivenName(mrzpages::Random &rng, bool male)
{
    static const char *const maleEndings[] = {"", "ИЙ", "ЕЙ", "АН", "ОР", "ИМ", "ЕН", "ИЛ"};
    static const char *const femaleEndings[] = {"А", "ИЯ", "ЕНА", "ИНА", "ЬЯ", "АНА"};
    QString name;
    while (name.size() < 4)
        name = Stem(rng, 1, 2) + QString::fromUtf8(male ? Pick(rng, maleEndings) : Pick(rng, femaleEndings));
    return name;
}

QString Patronymic(mrzpages::Random &rng, bool male)
{
    static const char *const endings[][2] = {{"ОВИЧ", "ОВНА"}, {"ЕВИЧ", "ЕВНА"}, {"ИЧ", "ИЧНА"}};
    const auto &e = Pick(rng, endings);
    QString stem;
    while (stem.size() < 3)
        stem = Stem(rng, 1, 2);
    return stem + QString::fromUtf8(e[male ? 0 : 1]);
}

// A town: a stem and one of the endings Russian place names have.
QString Town(mrzpages::Random &rng)
{
    static const char *const endings[] = {"СК", "ГРАД", "ОВО", "ИНО", "ЕВКА", "ОВКА", "ОВСК", "ЬЕВО", "ЕЦ", "ОРСК"};
    static const char *const prefixes[] = {"ВЕРХНИЙ ", "НИЖНИЙ ", "НОВО", "СТАРО", "ЗА", "ПРИ"};
    QString t = Stem(rng, 1, 2) + QString::fromUtf8(Pick(rng, endings));
    if (rng.Chance(0.15))
        t = QString::fromUtf8(Pick(rng, prefixes)) + t;
    return t;
}

// Regions in the nominative and the genitive, as "ОБЛ." and "КРАЙ" print them.
struct Region
{
    const char *nominative, *genitive;
};
const Region kRegions[] = {
    {"ТВЕРСКАЯ ОБЛ.", "ТВЕРСКОЙ ОБЛ."},           {"МОСКОВСКАЯ ОБЛ.", "МОСКОВСКОЙ ОБЛ."},
    {"АРХАНГЕЛЬСКАЯ ОБЛ.", "АРХАНГЕЛЬСКОЙ ОБЛ."}, {"ЯРОСЛАВСКАЯ ОБЛ.", "ЯРОСЛАВСКОЙ ОБЛ."},
    {"ЧЕЛЯБИНСКАЯ ОБЛ.", "ЧЕЛЯБИНСКОЙ ОБЛ."},     {"ХАБАРОВСКИЙ КРАЙ", "ХАБАРОВСКОГО КРАЯ"},
    {"КРАСНОЯРСКИЙ КРАЙ", "КРАСНОЯРСКОГО КРАЯ"},  {"ЖИТОМИРСКАЯ ОБЛ.", "ЖИТОМИРСКОЙ ОБЛ."},
    {"ПСКОВСКАЯ ОБЛ.", "ПСКОВСКОЙ ОБЛ."},         {"ТЮМЕНСКАЯ ОБЛ.", "ТЮМЕНСКОЙ ОБЛ."},
    {"КУРСКАЯ ОБЛ.", "КУРСКОЙ ОБЛ."},       {"ПРИМОРСКИЙ КРАЙ", "ПРИМОРСКОГО КРАЯ"},
};

QString BirthPlace(mrzpages::Random &rng)
{
    const Region &r = Pick(rng, kRegions);
    switch (rng.Int(0, 3)) {
    case 0:
        return QStringLiteral("ГОР. ") + Town(rng);
    case 1:
        return QStringLiteral("ГОР. ") + Town(rng) + QLatin1Char(' ') + QString::fromUtf8(r.genitive);
    case 2:
        return QStringLiteral("С. ") + Town(rng) + QLatin1Char(' ') + QString::fromUtf8(r.genitive);
    default:
        return QStringLiteral("ПОС. ") + Town(rng) + QLatin1Char(' ') + Stem(rng, 1, 2) + QStringLiteral("СКОГО Р-НА ") +
               QString::fromUtf8(r.genitive);
    }
}

QString IssuingOffice(mrzpages::Random &rng)
{
    const QString region = QString::fromUtf8(Pick(rng, kRegions).genitive);
    const QString district = Stem(rng, 1, 2) + QStringLiteral("СКОМ");
    switch (rng.Int(0, 4)) {
    case 0:
        return QStringLiteral("ОТДЕЛОМ УФМС РОССИИ ПО ") + region + QStringLiteral(" В ") + district + QStringLiteral(" Р-НЕ ГОР. ") + Town(rng);
    case 1:
        return QStringLiteral("ГУ МВД РОССИИ ПО ") + region;
    case 2:
        return QStringLiteral("ГУ МВД РОССИИ ПО Г. ") + Town(rng);
    case 3:
        return QStringLiteral("ТП УФМС РОССИИ ПО ") + region + QStringLiteral(" В ") + district + QStringLiteral(" Р-НЕ");
    default:
        return QStringLiteral("ОТДЕЛЕНИЕМ УФМС РОССИИ ПО ") + region + QStringLiteral(" В ГОР. ") + Town(rng);
    }
}

QString Digits(mrzpages::Random &rng, int n)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += QLatin1Char(char('0' + rng.Int(0, 9)));
    return s;
}

// A day of the years given; the 29th of February never, so that ten years on
// is the same day.
QDate Day(mrzpages::Random &rng, int fromYear, int toYear)
{
    return QDate(rng.Int(fromYear, toYear), rng.Int(1, 12), rng.Int(1, 28));
}

QDate NotBefore(const QDate &d, const QDate &limit)
{
    return d < limit ? limit.addDays(1) : d;
}

} // namespace

QString PassportLatin(const QString &cyrillic)
{
    static const QString letters = QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
    static const char *const latin[] = {"A", "B", "V",  "G",  "D",  "E",    "E",  "ZH", "Z", "I", "I",
                                        "K", "L", "M",  "N",  "O",  "P",    "R",  "S",  "T", "U", "F",
                                        "KH", "TS", "CH", "SH", "SHCH", "IE", "Y",  "",  "E", "IU", "IA"};
    QString out;
    for (const QChar c : cyrillic) {
        const int i = int(letters.indexOf(c.toUpper()));
        out += i < 0 ? QString(c) : QString::fromLatin1(latin[i]);
    }
    return out;
}

QString PrintedDate(const QDate &d)
{
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}

QString ZoneDate(const QDate &d)
{
    return d.toString(QStringLiteral("yyMMdd"));
}

Person RandomPerson(mrzpages::Random &rng, int minAge)
{
    Person p;
    p.male = rng.Chance(0.5);
    p.surname = Surname(rng, p.male);
    p.givenName = GivenName(rng, p.male);
    p.patronymic = Patronymic(rng, p.male);
    p.birth = Day(rng, 1945, 2024 - minAge);
    p.birthPlace = BirthPlace(rng);
    return p;
}

Issued RandomIssued(printed::DocumentKind kind, mrzpages::Random &rng)
{
    using printed::DocumentKind;
    Issued d;
    d.kind = kind;
    const int minAge = kind == DocumentKind::InternalPassport ? 14 : kind == DocumentKind::DrivingLicence ? 18 : 1;
    d.person = RandomPerson(rng, minAge);
    // Names short enough that the zone holds them whole, in Cyrillic (the
    // internal passport) and in Latin (the foreign passport).
    const auto fits = [&] {
        const Person &p = d.person;
        return p.surname.size() + p.givenName.size() + p.patronymic.size() + 3 <= 39 &&
               PassportLatin(p.surname).size() + PassportLatin(p.givenName).size() + 2 <= 39;
    };
    while (!fits()) {
        d.person.surname = Surname(rng, d.person.male);
        d.person.givenName = GivenName(rng, d.person.male);
        d.person.patronymic = Patronymic(rng, d.person.male);
    }
    const QDate earliest = d.person.birth.addYears(minAge);
    d.issue = NotBefore(Day(rng, 1998, 2025), earliest);
    switch (kind) {
    case DocumentKind::InternalPassport:
        d.issuedBy = IssuingOffice(rng);
        d.divisionCode = Digits(rng, 3) + QLatin1Char('-') + Digits(rng, 3);
        // The series: the region's two digits, then the year the form was printed.
        d.series = Digits(rng, 2) + QLatin1Char(' ') + QStringLiteral("%1").arg(d.issue.year() % 100, 2, 10, QLatin1Char('0'));
        d.number = Digits(rng, 6);
        break;
    case DocumentKind::DrivingLicence: {
        // The card's line has room for a town or a region.
        d.person.birthPlace = rng.Chance(0.7) ? QStringLiteral("ГОР. ") + Town(rng) : QString::fromUtf8(Pick(rng, kRegions).nominative);
        d.expiry = d.issue.addYears(10);
        const QString office = Digits(rng, 4);
        d.issuedBy = QStringLiteral("ГИБДД ") + office;
        d.issuedByLatin = QStringLiteral("GIBDD ") + office;
        d.series = Digits(rng, 2) + QLatin1Char(' ') + Digits(rng, 2);
        d.number = Digits(rng, 6);
        d.residence = QString::fromUtf8(Pick(rng, kRegions).nominative);
        d.residenceLatin = PassportLatin(d.residence);
        d.birthPlaceLatin = PassportLatin(d.person.birthPlace);
        static const char *const categories[] = {"A", "A1", "B", "B1", "BE", "C", "C1", "CE", "C1E", "D", "D1", "DE", "M"};
        QStringList held;
        for (const char *c : categories)
            if (rng.Chance(QByteArray(c) == "B" ? 0.9 : 0.2))
                held << QString::fromLatin1(c);
        if (held.isEmpty())
            held << QStringLiteral("B");
        d.categories = held.join(QLatin1Char(' '));
        break;
    }
    case DocumentKind::ForeignPassport:
        d.expiry = d.issue.addYears(10);
        d.issuedBy = QString::fromUtf8(rng.Chance(0.5) ? "МВД " : "ФМС ") + Digits(rng, 5);
        d.series = Digits(rng, 2);
        d.number = Digits(rng, 7);
        // The foreign passport names a place in one line: a town, or a region.
        d.person.birthPlace = rng.Chance(0.7) ? QStringLiteral("ГОР. ") + Town(rng) : QString::fromUtf8(Pick(rng, kRegions).nominative);
        d.birthPlaceLatin = PassportLatin(d.person.birthPlace);
        break;
    }
    return d;
}

} // namespace printedpages
