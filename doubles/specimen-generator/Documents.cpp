// The specimen documents. Every name, number and place is invented; the
// deliberate difficulties are listed in each description's "difficulties".

#include "Documents.h"

#include "Mrz.h"

namespace specimens {

namespace {

const QString CRLF = QStringLiteral("\r\n");

/// A caption with the field printed under it.
void Labelled(SpecimenBuilder &b, const QString &caption, const QString &name, const QString &value, QPoint at,
              QList<int> untrusted = {}, int size = 24)
{
    b.Caption(at, caption, 14);
    b.Field(name, value, at + QPoint(0, size + 8), size, untrusted);
}

bool PassportRu(const Fonts &fonts, const QString &folder, QString *error)
{
    SpecimenBuilder b(fonts, QStringLiteral("Passport_RU"), QStringLiteral("Паспорт (образец)"), QSize(1000, 700),
                      QColor(196, 120, 140));
    b.Caption({40, 50}, QStringLiteral("ОБРАЗЕЦ ВНУТРЕННЕГО ПАСПОРТА"), 26, true);
    Labelled(b, QStringLiteral("Паспорт выдан"), QStringLiteral("IssuedBy"),
             QStringLiteral("ОТДЕЛОМ ВНУТРЕННИХ ДЕЛ ГОР. ЛУГОВСК-9"), {40, 90});
    Labelled(b, QStringLiteral("Дата выдачи"), QStringLiteral("DateOfIssue"), QStringLiteral("14.05.2012"), {40, 160});
    Labelled(b, QStringLiteral("Код подразделения"), QStringLiteral("DepartmentCode"), QStringLiteral("999-017"), {340, 160});
    b.Caption({760, 50}, QStringLiteral("Серия и номер"), 14);
    b.Field(QStringLiteral("Series"), QStringLiteral("99 12"), {760, 86}, 28, {}, QColor(170, 20, 30));
    b.Field(QStringLiteral("Number"), QStringLiteral("345678"), {860, 86}, 28, {}, QColor(170, 20, 30));
    b.Portrait(QRect(40, 250, 220, 290));
    Labelled(b, QStringLiteral("Фамилия"), QStringLiteral("LastName"), QStringLiteral("ПЕТРОВСКАЯ"), {300, 250}, {3}, 30);
    Labelled(b, QStringLiteral("Имя"), QStringLiteral("FirstName"), QStringLiteral("АЛЁНА"), {300, 320});
    Labelled(b, QStringLiteral("Отчество"), QStringLiteral("MiddleName"), QStringLiteral("ИГОРЕВНА"), {300, 385});
    Labelled(b, QStringLiteral("Пол"), QStringLiteral("Sex"), QStringLiteral("ЖЕН."), {300, 450});
    Labelled(b, QStringLiteral("Дата рождения"), QStringLiteral("DateOfBirth"), QStringLiteral("03.09.1991"), {480, 450});
    Labelled(b, QStringLiteral("Место рождения"), QStringLiteral("PlaceOfBirth"),
             QStringLiteral("ГОР. ЛУГОВСК-9") + CRLF + QStringLiteral("ЗАРЕЧНОЙ ОБЛ."), {300, 515});
    b.Difficulty(QStringLiteral("LastName symbol 3 is smudged and reported untrusted"));
    b.Difficulty(QStringLiteral("PlaceOfBirth is printed over two lines; its value holds CR LF"));
    b.Difficulty(QStringLiteral("no Nationality and no DateOfExpiry field: an internal passport has none"));
    return b.Save(folder, QStringLiteral("01-Passport_RU"), error);
}

bool ForeignPassportRu(const Fonts &fonts, const QString &folder, QString *error)
{
    SpecimenBuilder b(fonts, QStringLiteral("ForeignPassport_RU"), QStringLiteral("Загранпаспорт (образец)"),
                      QSize(1000, 700), QColor(120, 150, 200));
    b.Caption({40, 50}, QStringLiteral("ОБРАЗЕЦ ЗАГРАНПАСПОРТА / SPECIMEN PASSPORT"), 24, true);
    b.Portrait(QRect(40, 90, 220, 290));
    auto bi = [&](const QString &caption, const QString &name, const QString &cyr, const QString &lat, QPoint at) {
        b.Caption(at, caption, 13);
        b.Field(name, cyr, at + QPoint(0, 28), 22);
        b.Field(name + QStringLiteral("_EX"), lat, at + QPoint(0, 56), 22);
    };
    bi(QStringLiteral("Фамилия / Surname"), QStringLiteral("LastName"), QStringLiteral("СОКОЛОВ"), QStringLiteral("SOKOLOV"), {300, 90});
    bi(QStringLiteral("Имя / Given names"), QStringLiteral("FirstName"), QStringLiteral("ДМИТРИЙ"), QStringLiteral("DMITRII"), {300, 170});
    bi(QStringLiteral("Гражданство / Nationality"), QStringLiteral("Nationality"), QStringLiteral("РОССИЙСКАЯ ФЕДЕРАЦИЯ"),
       QStringLiteral("RUSSIAN FEDERATION"), {300, 250});
    b.Caption({640, 90}, QStringLiteral("Тип / Type  P"), 13);
    b.Caption({640, 120}, QStringLiteral("Номер / Passport No."), 13);
    b.Field(QStringLiteral("Series"), QStringLiteral("75"), {640, 150}, 26, {}, QColor(170, 20, 30));
    b.Field(QStringLiteral("Number"), QStringLiteral("1234567"), {690, 150}, 26, {}, QColor(170, 20, 30));
    b.Caption({300, 345}, QStringLiteral("Дата рождения / Date of birth"), 13);
    b.Field(QStringLiteral("DateOfBirth"), QStringLiteral("21.11.1979"), {300, 373}, 22);
    b.Caption({640, 345}, QStringLiteral("Пол / Sex"), 13);
    b.Field(QStringLiteral("Sex"), QStringLiteral("М"), {640, 373}, 22);
    b.Field(QStringLiteral("Sex_EX"), QStringLiteral("M"), {680, 373}, 22);
    bi(QStringLiteral("Место рождения / Place of birth"), QStringLiteral("PlaceOfBirth"), QStringLiteral("ГОР. ТИХОРЕЧЬЕ"),
       QStringLiteral("GOR. TIKHORECHE"), {300, 395});
    b.Caption({40, 420}, QStringLiteral("Дата выдачи / Date of issue"), 13);
    b.Field(QStringLiteral("DateOfIssue"), QStringLiteral("02.06.2019"), {40, 448}, 22);
    b.Caption({40, 480}, QStringLiteral("Дата окончания срока / Date of expiry"), 13);
    b.Field(QStringLiteral("DateOfExpiry"), QStringLiteral("02.06.2029"), {40, 508}, 22);
    b.Caption({640, 420}, QStringLiteral("Орган, выдавший документ / Authority"), 13);
    b.Field(QStringLiteral("IssuedBy"), QStringLiteral("МВД 99017"), {640, 448}, 22);
    MrzData m{QStringLiteral("P"), QStringLiteral("RUS"), QStringLiteral("SOKOLOV"), QStringLiteral("DMITRII"),
              QStringLiteral("751234567"), QStringLiteral("RUS"), QStringLiteral("791121"), QStringLiteral("M"),
              QStringLiteral("290602"), QString()};
    b.Mrz(PassportMrz(m), {40, 560}, 920);
    b.Difficulty(QStringLiteral("no MiddleName field: the document has no patronymic"));
    return b.Save(folder, QStringLiteral("02-ForeignPassport_RU"), error);
}

bool DriverLicenseRu(const Fonts &fonts, const QString &folder, QString *error)
{
    SpecimenBuilder b(fonts, QStringLiteral("DriverLicense_RU"), QStringLiteral("Водительское удостоверение (образец)"),
                      QSize(856, 540), QColor(210, 160, 190));
    b.Caption({30, 45}, QStringLiteral("ВОДИТЕЛЬСКОЕ УДОСТОВЕРЕНИЕ / DRIVING LICENCE"), 22, true);
    b.Portrait(QRect(30, 80, 200, 260));
    auto row = [&](const QString &no, const QString &name, const QString &cyr, const QString &lat, int y,
                   QList<int> untrusted = {}) {
        b.Caption({260, y}, no, 16, true);
        b.Field(name, cyr, {300, y}, 20, untrusted);
        if (!lat.isEmpty())
            b.Field(name + QStringLiteral("_EX"), lat, {300, y + 26}, 18);
    };
    row(QStringLiteral("1."), QStringLiteral("LastName"), QStringLiteral("КУЗНЕЦОВА"), QStringLiteral("KUZNETSOVA"), 95);
    row(QStringLiteral("2."), QStringLiteral("FirstName"), QStringLiteral("МАРИНА"), QStringLiteral("MARINA"), 155);
    b.Field(QStringLiteral("MiddleName"), QStringLiteral("СЕРГЕЕВНА"), {460, 155}, 20);
    b.Field(QStringLiteral("MiddleName_EX"), QStringLiteral("SERGEEVNA"), {460, 181}, 18);
    b.Caption({260, 215}, QStringLiteral("3."), 16, true);
    b.Field(QStringLiteral("DateOfBirth"), QStringLiteral("17.02.1988"), {300, 215}, 20);
    b.Field(QStringLiteral("PlaceOfBirth"), QStringLiteral("ГОР. ВЕРХНЕДОЛЬСК"), {440, 215}, 20);
    b.Field(QStringLiteral("PlaceOfBirth_EX"), QStringLiteral("GOR. VERKHNEDOLSK"), {440, 241}, 18);
    b.Caption({260, 280}, QStringLiteral("4a)"), 16, true);
    b.Field(QStringLiteral("DateOfIssue"), QStringLiteral("29.02.2019"), {305, 280}, 20);
    b.Caption({470, 280}, QStringLiteral("4b)"), 16, true);
    b.Field(QStringLiteral("DateOfExpiry"), QStringLiteral("28.02.2029"), {515, 280}, 20);
    b.Caption({260, 320}, QStringLiteral("4c)"), 16, true);
    b.Field(QStringLiteral("IssuedBy"), QStringLiteral("ГИБДД 9917"), {305, 320}, 20);
    b.Caption({260, 365}, QStringLiteral("5."), 16, true);
    b.Field(QStringLiteral("Series"), QStringLiteral("99 31"), {300, 365}, 24, {}, QColor(170, 20, 30));
    b.Field(QStringLiteral("Number"), QStringLiteral("456789"), {385, 365}, 24, {2}, QColor(170, 20, 30));
    b.Caption({260, 410}, QStringLiteral("9.  B  B1  C1"), 18, true);
    b.Difficulty(QStringLiteral("DateOfIssue 29.02.2019 does not exist (2019 is not a leap year): it cannot be parsed"));
    b.Difficulty(QStringLiteral("Number symbol 2 is smudged and reported untrusted"));
    b.Difficulty(QStringLiteral("no Sex and no Nationality field: the licence has none"));
    return b.Save(folder, QStringLiteral("03-DriverLicense_RU"), error);
}

bool ForeignPassportMrz(const Fonts &fonts, const QString &folder, QString *error)
{
    SpecimenBuilder b(fonts, QStringLiteral("ForeignPassport_MRZ"), QStringLiteral("Passport read by its MRZ (specimen)"),
                      QSize(1000, 700), QColor(120, 180, 150));
    b.Caption({40, 50}, QStringLiteral("UTOPIA · PASSPORT · SPECIMEN"), 26, true);
    b.Portrait(QRect(40, 90, 220, 290));
    int y = 95;
    auto line = [&](const QString &caption, const QString &text) {
        b.Caption({300, y}, caption, 13);
        b.Caption({300, y + 28}, text, 22, true, QColor(20, 20, 30));
        y += 62;
    };
    line(QStringLiteral("Surname"), QStringLiteral("HALVORSEN"));
    line(QStringLiteral("Given names"), QStringLiteral("MIRA ELISE"));
    line(QStringLiteral("Nationality"), QStringLiteral("UTOPIAN"));
    line(QStringLiteral("Date of birth"), QStringLiteral("09 JUL 1990"));
    line(QStringLiteral("Date of expiry"), QStringLiteral("15 APR 2031"));
    MrzData m{QStringLiteral("P"), QStringLiteral("UTO"), QStringLiteral("HALVORSEN"), QStringLiteral("MIRA ELISE"),
              QStringLiteral("L8X4R2K07"), QStringLiteral("UTO"), QStringLiteral("900709"), QStringLiteral("F"),
              QStringLiteral("310415"), QString()};
    const QStringList mrz = PassportMrz(m);
    b.Mrz(mrz, {40, 560}, 920);
    // Only what the machine-readable zone holds is read.
    b.Unprinted(QStringLiteral("LastName"), QStringLiteral("HALVORSEN"), true);
    b.Unprinted(QStringLiteral("FirstName"), QStringLiteral("MIRA"), true);
    b.Unprinted(QStringLiteral("MiddleName"), QStringLiteral("ELISE"), true);
    b.Unprinted(QStringLiteral("Number"), QStringLiteral("L8X4R2K07"), true);
    b.Unprinted(QStringLiteral("Nationality"), QStringLiteral("UTO"), true);
    b.Unprinted(QStringLiteral("Sex"), QStringLiteral("F"), true);
    b.Unprinted(QStringLiteral("DateOfBirth"), QStringLiteral("09.07.1990"), true);
    b.Unprinted(QStringLiteral("DateOfExpiry"), QStringLiteral("15.04.2031"), true);
    b.Unprinted(QStringLiteral("PlaceOfBirth"), QString(), false);
    b.Difficulty(QStringLiteral("PlaceOfBirth is present but empty: the machine-readable zone does not hold it"));
    b.Difficulty(QStringLiteral("no Series, DateOfIssue or IssuedBy field"));
    return b.Save(folder, QStringLiteral("04-ForeignPassport_MRZ"), error);
}

bool PassportBy(const Fonts &fonts, const QString &folder, QString *error)
{
    SpecimenBuilder b(fonts, QStringLiteral("Passport_BY"), QStringLiteral("Пашпарт / паспорт (образец)"),
                      QSize(1000, 700), QColor(150, 170, 110));
    b.Caption({40, 50}, QStringLiteral("ПАШПАРТ · ПАСПОРТ · PASSPORT (ОБРАЗЕЦ)"), 24, true);
    b.Portrait(QRect(40, 90, 220, 290));
    auto bi = [&](const QString &caption, const QString &name, const QString &cyr, const QString &lat, QPoint at) {
        b.Caption(at, caption, 13);
        b.Field(name, cyr, at + QPoint(0, 28), 22);
        b.Field(name + QStringLiteral("_EX"), lat, at + QPoint(0, 56), 22);
    };
    bi(QStringLiteral("Прозвішча / Фамилия / Surname"), QStringLiteral("LastName"), QStringLiteral("КАРПОВИЧ"),
       QStringLiteral("KARPOVICH"), {300, 90});
    bi(QStringLiteral("Імя / Имя / Name"), QStringLiteral("FirstName"), QStringLiteral("ЯНА"), QStringLiteral("YANA"), {300, 170});
    bi(QStringLiteral("Імя па бацьку / Отчество"), QStringLiteral("MiddleName"), QStringLiteral("ВИКТОРОВНА"),
       QStringLiteral("VIKTOROVNA"), {300, 250});
    b.Caption({640, 90}, QStringLiteral("Грамадзянства / Гражданство"), 13);
    b.Field(QStringLiteral("Nationality"), QString(), {640, 118}, 22);
    b.Caption({640, 170}, QStringLiteral("Нумар пашпарта / Passport No."), 13);
    b.Field(QStringLiteral("Series"), QStringLiteral("MP"), {640, 198}, 24, {}, QColor(170, 20, 30));
    b.Field(QStringLiteral("Number"), QStringLiteral("1234567"), {690, 198}, 24, {}, QColor(170, 20, 30));
    b.Caption({640, 250}, QStringLiteral("Ідэнтыфікацыйны нумар / Identification No."), 13);
    b.Field(QStringLiteral("PersonalCode"), QStringLiteral("4090190A012PB3"), {640, 278}, 22);
    b.Caption({300, 345}, QStringLiteral("Дата нараджэння / Дата рождения"), 13);
    b.Field(QStringLiteral("DateOfBirth"), QStringLiteral("09.01.1990"), {300, 373}, 22);
    b.Caption({640, 345}, QStringLiteral("Пол / Sex"), 13);
    b.Field(QStringLiteral("Sex"), QStringLiteral("Ж"), {640, 373}, 22);
    b.Field(QStringLiteral("Sex_EX"), QStringLiteral("F"), {680, 373}, 22);
    bi(QStringLiteral("Месца нараджэння / Место рождения"), QStringLiteral("PlaceOfBirth"), QStringLiteral("Г. ЗАБОРЬЕ"),
       QStringLiteral("ZABORE"), {300, 395});
    b.Caption({40, 420}, QStringLiteral("Дата выдачы / Дата выдачи"), 13);
    b.Field(QStringLiteral("DateOfIssue"), QStringLiteral("20.03.2017"), {40, 448}, 22);
    b.Caption({40, 480}, QStringLiteral("Тэрмін дзеяння / Действителен до"), 13);
    b.Field(QStringLiteral("DateOfExpiry"), QStringLiteral("20.03.2027"), {40, 508}, 22);
    b.Caption({640, 420}, QStringLiteral("Орган выдачы / Кем выдан"), 13);
    b.Field(QStringLiteral("IssuedBy"), QStringLiteral("ЦЕНТРАЛЬНЫМ РУВД Г. ЗАБОРЬЕ"), {620, 448}, 17);
    MrzData m{QStringLiteral("P"), QStringLiteral("BLR"), QStringLiteral("KARPOVICH"), QStringLiteral("YANA"),
              QStringLiteral("MP1234567"), QStringLiteral("BLR"), QStringLiteral("900109"), QStringLiteral("F"),
              QStringLiteral("270320"), QStringLiteral("4090190A012PB3")};
    b.Mrz(PassportMrz(m), {40, 560}, 920);
    b.Difficulty(QStringLiteral("Nationality is left empty on the page (the field is present with an empty value)"));
    return b.Save(folder, QStringLiteral("05-Passport_BY"), error);
}

bool IdKz(const Fonts &fonts, const QString &folder, QString *error)
{
    // Both sides of the card on one page: the front above, the back with the
    // machine-readable zone below.
    SpecimenBuilder b(fonts, QStringLiteral("ID_KZ"), QStringLiteral("Удостоверение личности (образец)"),
                      QSize(856, 1120), QColor(110, 170, 200));
    b.Caption({30, 45}, QStringLiteral("ЖЕКЕ КУӘЛІК · УДОСТОВЕРЕНИЕ ЛИЧНОСТИ (ОБРАЗЕЦ)"), 20, true);
    b.Portrait(QRect(30, 80, 200, 260));
    Labelled(b, QStringLiteral("Тегі / Фамилия"), QStringLiteral("LastName"), QStringLiteral("ЖАКСЫБЕКОВ"), {260, 85});
    Labelled(b, QStringLiteral("Аты / Имя"), QStringLiteral("FirstName"), QStringLiteral("НУРЛАН"), {260, 150});
    Labelled(b, QStringLiteral("Әкесінің аты / Отчество"), QStringLiteral("MiddleName"), QStringLiteral("САКЕНОВИЧ"), {260, 215});
    Labelled(b, QStringLiteral("Туған күні / Дата рождения"), QStringLiteral("DateOfBirth"), QStringLiteral("12.03.1985"), {260, 280});
    Labelled(b, QStringLiteral("ЖСН / ИИН"), QStringLiteral("PersonalCode"), QStringLiteral("850312450127"), {30, 380}, {5});
    Labelled(b, QStringLiteral("Нөмірі / Номер"), QStringLiteral("Number"), QStringLiteral("012345678"), {560, 280});
    // Back side.
    b.Caption({30, 600}, QStringLiteral("Туған жері / Место рождения"), 14);
    b.Field(QStringLiteral("PlaceOfBirth"), QStringLiteral("КАРАГАНДИНСКАЯ ОБЛАСТЬ"), {30, 632}, 22);
    b.Caption({30, 670}, QStringLiteral("Ұлты / Национальность"), 14);
    b.Field(QStringLiteral("Nationality"), QStringLiteral("КАЗАХ"), {30, 702}, 22);
    b.Caption({30, 740}, QStringLiteral("Берген орган / Орган выдачи"), 14);
    b.Field(QStringLiteral("IssuedBy"), QStringLiteral("МВД РК"), {30, 772}, 22);
    b.Caption({430, 740}, QStringLiteral("Берілген күні / Дата выдачи"), 14);
    b.Field(QStringLiteral("DateOfIssue"), QStringLiteral("05.10.2016"), {430, 772}, 22);
    b.Caption({430, 810}, QStringLiteral("Қолданылу мерзімі / Срок действия"), 14);
    b.Field(QStringLiteral("DateOfExpiry"), QStringLiteral("04.10.2026"), {430, 842}, 22);
    b.Unprinted(QStringLiteral("Sex"), QStringLiteral("М"), true);
    MrzData m{QStringLiteral("ID"), QStringLiteral("KAZ"), QStringLiteral("ZHAKSYBEKOV"), QStringLiteral("NURLAN"),
              QStringLiteral("012345678"), QStringLiteral("KAZ"), QStringLiteral("850312"), QStringLiteral("M"),
              QStringLiteral("261004"), QStringLiteral("850312450127")};
    b.Mrz(IdCardMrz(m), {30, 900}, 790);
    b.Difficulty(QStringLiteral("PersonalCode symbol 5 is smudged and reported untrusted"));
    b.Difficulty(QStringLiteral("no Series field: the card has a Number and a PersonalCode"));
    b.Difficulty(QStringLiteral("Sex is read from the machine-readable zone only"));
    return b.Save(folder, QStringLiteral("06-ID_KZ"), error);
}

} // namespace

bool DrawAllSpecimens(const Fonts &fonts, const QString &folder, QString *error)
{
    return PassportRu(fonts, folder, error) && ForeignPassportRu(fonts, folder, error)
           && DriverLicenseRu(fonts, folder, error) && ForeignPassportMrz(fonts, folder, error)
           && PassportBy(fonts, folder, error) && IdKz(fonts, folder, error);
}

} // namespace specimens
