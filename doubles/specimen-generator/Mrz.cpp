#include "Mrz.h"

namespace specimens {

int MrzCheckDigit(const QString &field)
{
    static const int weights[3] = {7, 3, 1};
    int sum = 0;
    for (int i = 0; i < field.size(); ++i) {
        const QChar c = field.at(i);
        int v = 0;
        if (c.isDigit())
            v = c.digitValue();
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            v = c.unicode() - 'A' + 10;
        sum += v * weights[i % 3];
    }
    return sum % 10;
}

QString MrzField(const QString &text, int width)
{
    QString s = text.toUpper();
    s.replace(QLatin1Char(' '), QLatin1Char('<')).replace(QLatin1Char('-'), QLatin1Char('<'));
    return s.left(width).leftJustified(width, QLatin1Char('<'));
}

namespace {

QString Names(const MrzData &d, int width)
{
    return MrzField(d.surname + QStringLiteral("<<") + d.givenNames, width);
}

QString WithCheck(const QString &field)
{
    return field + QString::number(MrzCheckDigit(field));
}

} // namespace

namespace {

// Passports and TD2 documents share their layout: names on line 1, then the
// number, nationality, dates and optional data on line 2, ending in the
// composite check digit. Only the widths differ, and TD2 has no check digit
// of its own for the optional data.
QStringList TwoLineMrz(const MrzData &d, int width, int optionalWidth, bool optionalCheck)
{
    const QString line1 = MrzField(d.documentCode, 2) + MrzField(d.issuingState, 3) + Names(d, width - 5);
    const QString number = WithCheck(MrzField(d.documentNumber, 9));
    const QString birth = WithCheck(d.birthDate);
    const QString expiry = WithCheck(d.expiryDate);
    QString optional = MrzField(d.optionalData, optionalWidth);
    // An empty optional field may carry '<' as its check digit.
    if (optionalCheck)
        optional += d.optionalData.isEmpty() ? QStringLiteral("<") : QString::number(MrzCheckDigit(optional));
    const QString composite = number + birth + expiry + optional;
    const QString line2 = number + MrzField(d.nationality, 3) + birth + MrzField(d.sex, 1) + expiry + optional
                          + QString::number(MrzCheckDigit(composite));
    return {line1, line2};
}

} // namespace

QStringList PassportMrz(const MrzData &d)
{
    return TwoLineMrz(d, 44, 14, true);
}

QStringList Td2Mrz(const MrzData &d)
{
    return TwoLineMrz(d, 36, 7, false);
}

QStringList VisaMrz(const MrzData &d, int width)
{
    const QString line1 = MrzField(d.documentCode, 2) + MrzField(d.issuingState, 3) + Names(d, width - 5);
    const QString line2 = WithCheck(MrzField(d.documentNumber, 9)) + MrzField(d.nationality, 3) + WithCheck(d.birthDate)
                          + MrzField(d.sex, 1) + WithCheck(d.expiryDate) + MrzField(d.optionalData, width - 28);
    return {line1, line2};
}

char RussianZoneLetter(QChar cyrillic)
{
    // Letters with a Latin likeness keep it; the others take a letter left
    // over or a digit.
    static const QString letters = QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
    static const char symbols[] = "ABVGDE2JZIQKLMNOPRSTUFHC34WXY9678";
    const int i = letters.indexOf(cyrillic);
    return i < 0 ? 0 : symbols[i];
}

QString RussianZoneNames(const MrzData &d)
{
    QString names;
    const QString full = d.surname + QStringLiteral("<<") + d.givenNames + QLatin1Char('<') + d.patronymic;
    for (const QChar c : full) {
        const char z = RussianZoneLetter(c);
        names += z ? QLatin1Char(z) : QLatin1Char('<');
    }
    return MrzField(names, 39);
}

QStringList RussianInternalMrz(const MrzData &d)
{
    // Ten digits: the series' four, then the number's six; the series' last
    // digit goes into the optional data.
    const QString series = d.documentNumber.left(4), number = d.documentNumber.mid(4, 6);
    const QString line1 = QStringLiteral("PNRUS") + RussianZoneNames(d);
    const QString documentNumber = WithCheck(series.left(3) + number);
    const QString birth = WithCheck(d.birthDate);
    const QString expiry = QStringLiteral("<<<<<<<");
    const QString optional = WithCheck(series.right(1) + d.issueDate + d.divisionCode + QLatin1Char('<'));
    const QString composite = documentNumber + birth + expiry + optional;
    const QString line2 = documentNumber + QStringLiteral("RUS") + birth + MrzField(d.sex, 1) + expiry + optional
                          + QString::number(MrzCheckDigit(composite));
    return {line1, line2};
}

QStringList IdCardMrz(const MrzData &d)
{
    const QString number = WithCheck(MrzField(d.documentNumber, 9));
    const QString optional1 = MrzField(d.optionalData, 15);
    const QString line1 = MrzField(d.documentCode, 2) + MrzField(d.issuingState, 3) + number + optional1;
    const QString birth = WithCheck(d.birthDate);
    const QString expiry = WithCheck(d.expiryDate);
    const QString optional2 = MrzField(QString(), 11);
    const QString composite = number + optional1 + birth + expiry + optional2;
    const QString line2 = birth + MrzField(d.sex, 1) + expiry + MrzField(d.nationality, 3) + optional2
                          + QString::number(MrzCheckDigit(composite));
    return {line1, line2, Names(d, 30)};
}

} // namespace specimens
