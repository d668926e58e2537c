#include "Labels.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace printed {

const std::vector<LabelText> &LabelsOf(DocumentKind kind)
{
    static const std::vector<LabelText> internal = {
        {LabelRole::IssuedBy, {QStringLiteral("Паспорт выдан")}},
        {LabelRole::IssueDate, {QStringLiteral("Дата выдачи")}},
        {LabelRole::DivisionCode, {QStringLiteral("Код подразделения")}},
        {LabelRole::Surname, {QStringLiteral("Фамилия")}},
        {LabelRole::GivenName, {QStringLiteral("Имя")}},
        {LabelRole::Patronymic, {QStringLiteral("Отчество")}},
        {LabelRole::Sex, {QStringLiteral("Пол")}},
        {LabelRole::BirthDate, {QStringLiteral("Дата рождения")}},
        {LabelRole::BirthPlace, {QStringLiteral("Место рождения")}},
        {LabelRole::Other, {QStringLiteral("Личная подпись"), QStringLiteral("Подпись")}},
    };
    static const std::vector<LabelText> foreign = {
        {LabelRole::Surname, {QStringLiteral("Фамилия / Surname"), QStringLiteral("Фамилия"), QStringLiteral("Surname")}},
        {LabelRole::GivenName, {QStringLiteral("Имя / Given names"), QStringLiteral("Имя"), QStringLiteral("Given names")}},
        {LabelRole::Nationality,
         {QStringLiteral("Гражданство / Nationality"), QStringLiteral("Гражданство"), QStringLiteral("Nationality")}},
        {LabelRole::BirthDate,
         {QStringLiteral("Дата рождения / Date of birth"), QStringLiteral("Дата рождения"), QStringLiteral("Date of birth")}},
        {LabelRole::Sex, {QStringLiteral("Пол / Sex"), QStringLiteral("Пол"), QStringLiteral("Sex")}},
        {LabelRole::BirthPlace,
         {QStringLiteral("Место рождения / Place of birth"), QStringLiteral("Место рождения"),
          QStringLiteral("Place of birth")}},
        {LabelRole::IssueDate,
         {QStringLiteral("Дата выдачи / Date of issue"), QStringLiteral("Дата выдачи"), QStringLiteral("Date of issue")}},
        {LabelRole::ExpiryDate,
         {QStringLiteral("Дата окончания срока / Date of expiry"), QStringLiteral("Дата окончания срока"),
          QStringLiteral("Date of expiry")}},
        {LabelRole::IssuedBy,
         {QStringLiteral("Орган, выдавший документ / Authority"), QStringLiteral("Орган, выдавший документ"),
          QStringLiteral("Authority")}},
        {LabelRole::PassportNumber,
         {QStringLiteral("Номер паспорта / Passport No."), QStringLiteral("Номер / Passport No."),
          QStringLiteral("Номер / Passport №"),
          QStringLiteral("Номер паспорта"), QStringLiteral("Passport No.")}},
        {LabelRole::Other,
         {QStringLiteral("Тип / Type"), QStringLiteral("Код государства / Code of issuing State"),
          QStringLiteral("Подпись владельца / Holder's signature")}},
    };
    // The licence's labels are its field numbers (LicenceNumber); these
    // are for telling the document.
    static const std::vector<LabelText> licence = {
        {LabelRole::Other, {QStringLiteral("ВОДИТЕЛЬСКОЕ УДОСТОВЕРЕНИЕ"), QStringLiteral("DRIVING LICENCE"),
                            QStringLiteral("DRIVING LICENSE"), QStringLiteral("PERMIS DE CONDUIRE")}},
    };
    switch (kind) {
    case DocumentKind::InternalPassport:
        return internal;
    case DocumentKind::ForeignPassport:
        return foreign;
    case DocumentKind::DrivingLicence:
        return licence;
    }
    return internal;
}

QString LabelKey(const QString &text)
{
    // Latin look-alikes are compared as the Cyrillic letters they resemble
    // (and the other way round does not matter: a key is only compared
    // with keys).
    static const QHash<QChar, QChar> alike = {
        {u'a', u'а'}, {u'b', u'ь'}, {u'c', u'с'}, {u'e', u'е'}, {u'h', u'н'}, {u'k', u'к'}, {u'm', u'м'},
        {u'o', u'о'}, {u'p', u'р'}, {u't', u'т'}, {u'x', u'х'}, {u'y', u'у'}, {u'ё', u'е'}, {u'й', u'и'},
        {u'0', u'о'}, {u'3', u'з'}, {u'6', u'б'}};
    QString key;
    for (QChar c : text.toLower()) {
        if (!c.isLetterOrNumber())
            continue;
        key += alike.value(c, c);
    }
    return key;
}

namespace {

int EditDistance(const QString &a, const QString &b)
{
    std::vector<int> row(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

double LabelDistance(const QString &reading, const QString &label)
{
    const QString a = LabelKey(reading), b = LabelKey(label);
    if (b.isEmpty())
        return 1.0;
    return std::min(1.0, double(EditDistance(a, b)) / b.size());
}

bool MatchesLabel(const QString &reading, const QString &label)
{
    const QString key = LabelKey(label);
    // "Имя", "Пол": one slip would make them any short word.
    if (key.size() <= 4)
        return LabelKey(reading) == key;
    return LabelDistance(reading, label) <= 0.22;
}

QString LicenceNumber(const QString &reading)
{
    // OCR reads the letters of "4a)" in either script, and the dot or the
    // bracket may be lost or doubled.
    static const QRegularExpression number(QStringLiteral("^([1-9])([abcабсв6])?[.,)]{0,2}$"),
                                     QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = number.match(reading.trimmed());
    if (!m.hasMatch())
        return {};
    const QString digit = m.captured(1);
    QString letter = m.captured(2).toLower();
    if (letter == u'а')
        letter = QStringLiteral("a");
    else if (letter == u'в' || letter == u'6')
        letter = QStringLiteral("b");
    else if (letter == u'с')
        letter = QStringLiteral("c");
    // Field 4 has its letters; the others none. A bare digit without a dot
    // or bracket is a value's digit more often than a field number.
    if ((digit == u'4') != !letter.isEmpty())
        return {};
    if (letter.isEmpty() && !reading.contains(QRegularExpression(QStringLiteral("[.,)]"))))
        return {};
    return digit + letter;
}

} // namespace printed
