// The specimens as the Scanify engine reads them. The first six describe the
// pages drawn for the first engine (the same invented people); two more pages
// exist only here. The deliberate difficulties are listed in each
// description's "difficulties".

#include "ScanifyDocuments.h"

#include "Mrz.h"
#include "ScanifyDescription.h"

namespace specimens {

namespace {

using D = ScanifyDescription;

bool Passport1(const QString &folder, QString *error)
{
    D d(QStringLiteral("Passport1"), QStringLiteral("Паспорт гражданина Российской Федерации"),
        QStringLiteral("ZoneOfPassportRF"), QStringLiteral("../01-Passport_RU.png"));
    d.Text(QStringLiteral("PP_SurName"), QStringLiteral("Фамилия"), QStringLiteral("ПЕТРОВСКАЯ"), D::Doubt);
    d.Text(QStringLiteral("PP_Name"), QStringLiteral("Имя"), QStringLiteral("АЛЁНА"));
    d.Text(QStringLiteral("PP_SecName"), QStringLiteral("Отчество"), QStringLiteral("ИГОРЕВНА"));
    d.Text(QStringLiteral("PP_Sex"), QStringLiteral("Пол"), QStringLiteral("ЖЕН."));
    d.Date(QStringLiteral("PP_BirthDate"), QStringLiteral("Дата рождения"), QStringLiteral("03.09.1991"));
    d.Text(QStringLiteral("PP_BirthPlace"), QStringLiteral("Место рождения"), QStringLiteral("ГОР. ЛУГОВСК-9 ЗАРЕЧНОЙ ОБЛ."));
    d.Text(QStringLiteral("PP_Ser2"), QStringLiteral("Серия"), QStringLiteral("99 12"));
    d.Text(QStringLiteral("PP_Num2"), QStringLiteral("Номер"), QStringLiteral("345678"));
    d.Text(QStringLiteral("PP_Kem"), QStringLiteral("Кем выдан"), QStringLiteral("ОТДЕЛОМ ВНУТРЕННИХ ДЕЛ ГОР. ЛУГОВСК-9"));
    d.Date(QStringLiteral("PP_Date"), QStringLiteral("Дата выдачи"), QStringLiteral("14.05.2012"));
    d.Text(QStringLiteral("PP_Podr"), QStringLiteral("Код подразделения"), QStringLiteral("999-017"));
    d.Photo(QStringLiteral("photo"), QRect(40, 250, 220, 290));
    d.Difficulty(QStringLiteral("PP_SurName is recognised with doubt (flags 4): symbol 3 is smudged"));
    d.Difficulty(QStringLiteral("series and number are two fields (PP_Ser2, PP_Num2) that the form joins"));
    return d.Save(folder, QStringLiteral("01-Passport1"), error);
}

bool InoPas1(const QString &folder, QString *error)
{
    D d(QStringLiteral("InoPas1"), QStringLiteral("Заграничный паспорт гражданина Российской Федерации"),
        QStringLiteral("ZoneOfInoPassportRF"), QStringLiteral("../02-ForeignPassport_RU.png"));
    d.Text(QStringLiteral("IN_SurName"), QStringLiteral("Фамилия"), QStringLiteral("СОКОЛОВ"));
    d.Text(QStringLiteral("IN_Name"), QStringLiteral("Имя"), QStringLiteral("ДМИТРИЙ"));
    d.Text(QStringLiteral("IN_Sex"), QStringLiteral("Пол"), QStringLiteral("М"));
    d.Date(QStringLiteral("IN_BirthDate"), QStringLiteral("Дата рождения"), QStringLiteral("21.11.1979"));
    d.Text(QStringLiteral("IN_BirthPlace"), QStringLiteral("Место рождения"), QStringLiteral("ГОР. ТИХОРЕЧЬЕ"));
    d.Text(QStringLiteral("IN_SerNum2"), QStringLiteral("Номер паспорта"), QStringLiteral("75 1234567"));
    d.Text(QStringLiteral("IN_Kem"), QStringLiteral("Орган, выдавший документ"), QStringLiteral("МВД 99017"));
    d.Date(QStringLiteral("IN_Date"), QStringLiteral("Дата выдачи"), QStringLiteral("02.06.2019"));
    d.Date(QStringLiteral("IN_ExpiryDate"), QStringLiteral("Дата окончания срока"), QStringLiteral("02.06.2029"));
    d.Photo(QStringLiteral("IN_PHOTO2"), QRect(40, 90, 220, 290));
    d.Difficulty(QStringLiteral("no middle name field: the document has no patronymic"));
    return d.Save(folder, QStringLiteral("02-InoPas1"), error);
}

bool Drvl(const QString &folder, QString *error)
{
    D d(QStringLiteral("DRVL"), QStringLiteral("Водительское удостоверение"), QStringLiteral("ZoneOfDrivingLicenceRF"),
        QStringLiteral("../03-DriverLicense_RU.png"));
    d.Text(QStringLiteral("DR_SurName"), QStringLiteral("Фамилия"), QStringLiteral("КУЗНЕЦОВА"));
    d.Text(QStringLiteral("DR_Name"), QStringLiteral("Имя"), QStringLiteral("МАРИНА"));
    d.Text(QStringLiteral("DR_SecName"), QStringLiteral("Отчество"), QStringLiteral("СЕРГЕЕВНА"));
    d.Date(QStringLiteral("DR_BirthDate"), QStringLiteral("Дата рождения"), QStringLiteral("17.02.1988"));
    d.Date(QStringLiteral("DR_Date"), QStringLiteral("Дата выдачи"), QStringLiteral("29.02.2019"));
    d.Text(QStringLiteral("DR_Ser"), QStringLiteral("Серия"), QStringLiteral("99 31"));
    d.Text(QStringLiteral("DR_Num"), QStringLiteral("Номер"), QStringLiteral("456789"), D::Error);
    d.Photo(QStringLiteral("photo"), QRect(30, 80, 200, 260));
    d.Difficulty(QStringLiteral("DR_Date 29.02.2019 does not exist (2019 is not a leap year): a date control cannot take it"));
    d.Difficulty(QStringLiteral("DR_Num is recognised with an error (flags 8): symbol 2 is smudged"));
    return d.Save(folder, QStringLiteral("03-DRVL"), error);
}

/// The fields of a passport read by its machine-readable zone. Surname and
/// given names come out of the zone only when it is read upright.
void MrzFields(D &d, const MrzData &m, const QString &country, const QString &birth, const QString &expiry)
{
    d.Text(QStringLiteral("IN_SurName"), QStringLiteral("Surname"), m.surname, D::Clean, D::OnlyUpright);
    d.Text(QStringLiteral("IN_Name"), QStringLiteral("Given names"), m.givenNames, D::Clean, D::OnlyUpright);
    d.Text(QStringLiteral("IN_SerNum"), QStringLiteral("Passport No."), m.documentNumber);
    d.Date(QStringLiteral("IN_BirthDate"), QStringLiteral("Date of birth"), birth);
    d.Text(QStringLiteral("IN_Sex"), QStringLiteral("Sex"), m.sex);
    d.Date(QStringLiteral("IN_Expiry"), QStringLiteral("Date of expiry"), expiry);
    d.Text(QStringLiteral("IN_CNT"), QStringLiteral("Country"), country);
    d.Text(QStringLiteral("IN_KOD"), QStringLiteral("Country code"), m.nationality);
}

bool InoPasMrz(const QString &folder, QString *error)
{
    // The page of the first engine's specimen 04, which lies on its side in the feeder.
    D d(QStringLiteral("InoPas_MRZ"), QStringLiteral("Passport (machine-readable zone)"), QStringLiteral("ZoneOfMRZ"),
        QStringLiteral("../04-ForeignPassport_MRZ.png"), 90);
    const MrzData m{QStringLiteral("P"), QStringLiteral("UTO"), QStringLiteral("HALVORSEN"), QStringLiteral("MIRA ELISE"),
                    QStringLiteral("L8X4R2K07"), QStringLiteral("UTO"), QStringLiteral("900709"), QStringLiteral("F"),
                    QStringLiteral("310415"), QString()};
    MrzFields(d, m, QStringLiteral("UTOPIA"), QStringLiteral("09.07.1990"), QStringLiteral("15.04.2031"));
    d.Photo(QStringLiteral("IN_FOTO"), QRect(40, 90, 220, 290));
    d.Difficulty(QStringLiteral("the page lies turned by 90 degrees: the 270-degree turn of the MRZ zone brings it upright"));
    return d.Save(folder, QStringLiteral("04-InoPas_MRZ"), error);
}

bool PassportBlr(const QString &folder, QString *error)
{
    D d(QStringLiteral("PaspBLR1"), QStringLiteral("Паспорт Республики Беларусь"), QStringLiteral("ZoneOfPassportRF"),
        QStringLiteral("../05-Passport_BY.png"));
    d.Text(QStringLiteral("BY_SurName"), QStringLiteral("Фамилия"), QStringLiteral("КАРПОВИЧ"));
    d.Text(QStringLiteral("BY_Name"), QStringLiteral("Имя"), QStringLiteral("ЯНА"));
    d.Text(QStringLiteral("BY_SerNum"), QStringLiteral("Номер"), QStringLiteral("MP1234567"));
    d.Date(QStringLiteral("BY_BirthDate"), QStringLiteral("Дата рождения"), QStringLiteral("09.01.1990"));
    d.Photo(QStringLiteral("photo"), QRect(40, 90, 220, 290));
    d.Difficulty(QStringLiteral("form identifier PaspBLR1 is recognised but not supported by the package"));
    return d.Save(folder, QStringLiteral("05-PaspBLR1"), error);
}

bool IdCardKaz(const QString &folder, QString *error)
{
    D d(QStringLiteral("IdCardKAZ"), QStringLiteral("Удостоверение личности (Казахстан)"), QStringLiteral("ZoneOfIdCardKZ"),
        QStringLiteral("../06-ID_KZ.png"));
    d.Text(QStringLiteral("KZ_SurName"), QStringLiteral("Фамилия"), QStringLiteral("ЖАКСЫБЕКОВ"));
    d.Text(QStringLiteral("KZ_Name"), QStringLiteral("Имя"), QStringLiteral("НУРЛАН"));
    d.Difficulty(QStringLiteral("its zone ZoneOfIdCardKZ is in no scanning configuration: no document is found"));
    return d.Save(folder, QStringLiteral("06-IdCardKAZ"), error);
}

bool BioPassport(const Fonts &fonts, const QString &folder, QString *error)
{
    SpecimenBuilder b(fonts, QStringLiteral("ForeignPassport_RU"), QStringLiteral("Биометрический загранпаспорт (образец)"),
                      QSize(1000, 700), QColor(140, 110, 190));
    b.Caption({40, 50}, QStringLiteral("ОБРАЗЕЦ ЗАГРАНПАСПОРТА · BIOMETRIC PASSPORT SPECIMEN"), 22, true);
    const QRect portrait(40, 90, 220, 290);
    b.Portrait(portrait);
    auto pair = [&](const QString &caption, const QString &name, const QString &cyr, const QString &lat, QPoint at) {
        b.Caption(at, caption, 13);
        b.Field(name, cyr, at + QPoint(0, 28), 22);
        if (!lat.isEmpty())
            b.Field(name + QStringLiteral("_EX"), lat, at + QPoint(0, 56), 22);
    };
    pair(QStringLiteral("Фамилия / Surname"), QStringLiteral("LastName"), QStringLiteral("ОРЛОВА"), QStringLiteral("ORLOVA"), {300, 90});
    pair(QStringLiteral("Имя / Given names"), QStringLiteral("FirstName"), QStringLiteral("ВЕРА"), QStringLiteral("VERA"), {300, 170});
    pair(QStringLiteral("Место рождения / Place of birth"), QStringLiteral("PlaceOfBirth"), QStringLiteral("ГОР. СОСНОВКА"),
         QStringLiteral("GOR. SOSNOVKA"), {300, 250});
    pair(QStringLiteral("Номер / Passport No."), QStringLiteral("Number"), QStringLiteral("76 7654321"), QString(), {640, 90});
    pair(QStringLiteral("Пол / Sex"), QStringLiteral("Sex"), QStringLiteral("Ж"), QStringLiteral("F"), {640, 170});
    pair(QStringLiteral("Дата рождения / Date of birth"), QStringLiteral("DateOfBirth"), QStringLiteral("30.06.1984"), QString(), {300, 345});
    pair(QStringLiteral("Дата выдачи / Date of issue"), QStringLiteral("DateOfIssue"), QStringLiteral("12.10.2021"), QString(), {40, 420});
    pair(QStringLiteral("Дата окончания срока / Date of expiry"), QStringLiteral("DateOfExpiry"), QStringLiteral("12.10.2031"), QString(), {40, 490});
    pair(QStringLiteral("Орган, выдавший документ / Authority"), QStringLiteral("IssuedBy"), QStringLiteral("МВД 99025"), QString(), {640, 420});
    const MrzData m{QStringLiteral("P"), QStringLiteral("RUS"), QStringLiteral("ORLOVA"), QStringLiteral("VERA"),
                    QStringLiteral("767654321"), QStringLiteral("RUS"), QStringLiteral("840630"), QStringLiteral("F"),
                    QStringLiteral("311012"), QString()};
    b.Mrz(PassportMrz(m), {40, 580}, 920);
    if (!b.SavePicture(folder, QStringLiteral("07-biopasp_mdl"), error))
        return false;

    D d(QStringLiteral("biopasp_mdl"), QStringLiteral("Биометрический заграничный паспорт"), QStringLiteral("ZoneOfBioPassport"),
        QStringLiteral("07-biopasp_mdl.png"));
    d.Text(QStringLiteral("IN_SurName"), QStringLiteral("Фамилия"), QStringLiteral("ОРЛОВА"));
    d.Text(QStringLiteral("IN_Name"), QStringLiteral("Имя"), QStringLiteral("ВЕРА"));
    d.Text(QStringLiteral("IN_Sex"), QStringLiteral("Пол"), QStringLiteral("Ж"));
    d.Date(QStringLiteral("IN_BirthDate"), QStringLiteral("Дата рождения"), QStringLiteral("30.06.1984"));
    d.Text(QStringLiteral("IN_BirthPlace"), QStringLiteral("Место рождения"), QStringLiteral("ГОР. СОСНОВКА"));
    d.Text(QStringLiteral("IN_SerNum2"), QStringLiteral("Номер паспорта"), QStringLiteral("76 7654321"));
    d.Text(QStringLiteral("IN_Kem"), QStringLiteral("Орган, выдавший документ"), QStringLiteral("МВД 99025"), D::Doubt | D::Error);
    d.Date(QStringLiteral("IN_Date"), QStringLiteral("Дата выдачи"), QStringLiteral("12.10.2021"), D::Doubt);
    d.Date(QStringLiteral("IN_ExpiryDate"), QStringLiteral("Дата окончания срока"), QStringLiteral("12.10.2031"));
    d.Photo(QStringLiteral("IN_PHOTO2"), portrait);
    d.Difficulty(QStringLiteral("IN_Kem carries both flags (12): the error marking wins"));
    d.Difficulty(QStringLiteral("IN_Date is recognised with doubt (flags 4)"));
    return d.Save(folder, QStringLiteral("07-biopasp_mdl"), error);
}

bool UpsideDownMrzPassport(const Fonts &fonts, const QString &folder, QString *error)
{
    SpecimenBuilder b(fonts, QStringLiteral("ForeignPassport_MRZ"), QStringLiteral("Passport read by its MRZ (specimen)"),
                      QSize(1000, 700), QColor(190, 160, 100));
    b.Caption({40, 50}, QStringLiteral("UTOPIA · PASSPORT · SPECIMEN"), 26, true);
    const QRect portrait(40, 90, 220, 290);
    b.Portrait(portrait);
    int y = 95;
    for (const auto &[caption, text] : {std::pair{QStringLiteral("Surname"), QStringLiteral("LINDQVIST")},
                                        std::pair{QStringLiteral("Given names"), QStringLiteral("OSKAR")},
                                        std::pair{QStringLiteral("Nationality"), QStringLiteral("UTOPIAN")},
                                        std::pair{QStringLiteral("Date of birth"), QStringLiteral("23 MAR 1976")},
                                        std::pair{QStringLiteral("Date of expiry"), QStringLiteral("01 DEC 2030")}}) {
        b.Caption({300, y}, caption, 13);
        b.Caption({300, y + 28}, text, 22, true, QColor(20, 20, 30));
        y += 62;
    }
    const MrzData m{QStringLiteral("P"), QStringLiteral("UTO"), QStringLiteral("LINDQVIST"), QStringLiteral("OSKAR"),
                    QStringLiteral("T5R8M2Q41"), QStringLiteral("UTO"), QStringLiteral("760323"), QStringLiteral("M"),
                    QStringLiteral("301201"), QString()};
    b.Mrz(PassportMrz(m), {40, 560}, 920);
    if (!b.SavePicture(folder, QStringLiteral("08-InoPas_MRZ-upside-down"), error))
        return false;

    // Upside down compared with how a passport usually lies (turned by 90).
    D d(QStringLiteral("InoPas_MRZ"), QStringLiteral("Passport (machine-readable zone)"), QStringLiteral("ZoneOfMRZ"),
        QStringLiteral("08-InoPas_MRZ-upside-down.png"), 270);
    MrzFields(d, m, QStringLiteral("UTOPIA"), QStringLiteral("23.03.1976"), QStringLiteral("01.12.2030"));
    d.Photo(QStringLiteral("IN_FOTO"), portrait);
    d.Difficulty(QStringLiteral("the page lies upside down (turned by 270 degrees): only the 90-degree turn of "
                                "\"ScApi_90.Ini\" reads surname and given names; with 270 they come back empty"));
    d.Difficulty(QStringLiteral("a page read turned stays in the feeder, so the repeat run scans it again"));
    return d.Save(folder, QStringLiteral("08-InoPas_MRZ-upside-down"), error);
}

} // namespace

bool DrawScanifySpecimens(const Fonts &fonts, const QString &folder, QString *error)
{
    return Passport1(folder, error) && InoPas1(folder, error) && Drvl(folder, error) && InoPasMrz(folder, error)
           && PassportBlr(folder, error) && IdCardKaz(folder, error) && BioPassport(fonts, folder, error)
           && UpsideDownMrzPassport(fonts, folder, error);
}

} // namespace specimens
