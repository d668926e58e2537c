// The generated specimens: ground truth the engine serves, the deliberate
// difficulties, and machine-readable zones with correct check digits.

#include "EngineFixture.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace abbyytest;

namespace {

class SpecimenTest : public EngineTest
{
protected:
    IFieldsCollectionPtr Read(IRecognitionEngine *engine, const char *stem, const char *type)
    {
        return engine->Recognize(GeneratedSpecimens() + QLatin1Char('/') + QLatin1String(stem) + QStringLiteral(".png"),
                                 QString::fromLatin1(type));
    }

    static QJsonObject Description(const char *stem)
    {
        QFile f(GeneratedSpecimens() + QLatin1Char('/') + QLatin1String(stem) + QStringLiteral(".json"));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << stem;
        return QJsonDocument::fromJson(f.readAll()).object();
    }

    // Written apart from the generator's: weights 7 3 1, letters from 10, '<' zero.
    static int Check(const QString &s)
    {
        int sum = 0;
        for (int i = 0; i < s.size(); ++i) {
            const char c = s.at(i).toLatin1();
            const int v = (c >= '0' && c <= '9') ? c - '0' : (c >= 'A' && c <= 'Z') ? c - 'A' + 10 : 0;
            sum += v * (i % 3 == 0 ? 7 : i % 3 == 1 ? 3 : 1);
        }
        return sum % 10;
    }
    static int Digit(const QString &line, int pos) { return line.at(pos).digitValue(); }
};

TEST_F(SpecimenTest, SixCatalogueTypesAreGenerated)
{
    const QStringList descriptions = QDir(GeneratedSpecimens()).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    QStringList types;
    for (const QString &d : descriptions) {
        const QJsonObject o = Description(qPrintable(d.chopped(5)));
        types << o.value(QLatin1String("documentType")).toString();
        EXPECT_TRUE(o.contains(QLatin1String("photoZone"))) << d.toStdString();
    }
    EXPECT_EQ(types, (QStringList{QStringLiteral("Passport_RU"), QStringLiteral("ForeignPassport_RU"),
                                  QStringLiteral("DriverLicense_RU"), QStringLiteral("ForeignPassport_MRZ"),
                                  QStringLiteral("Passport_BY"), QStringLiteral("ID_KZ")}));
}

TEST_F(SpecimenTest, DeliberateDifficultiesReachTheCaller)
{
    IRecognitionEnginePtr engine = StartedEngine();

    IFieldsCollectionPtr foreign = Read(engine.get(), "02-ForeignPassport_RU", "ForeignPassport_RU");
    EXPECT_EQ(foreign->FieldValue(QStringLiteral("LastName_EX"), QString()), QStringLiteral("SOKOLOV"));
    EXPECT_EQ(foreign->FieldValue(QStringLiteral("LastName"), QString()), QStringLiteral("СОКОЛОВ"));
    EXPECT_FALSE(foreign->Field(QStringLiteral("MiddleName"))) << "missing field";
    EXPECT_EQ(foreign->FieldValue(QStringLiteral("Series"), QString()), QStringLiteral("75"));

    IFieldsCollectionPtr licence = Read(engine.get(), "03-DriverLicense_RU", "DriverLicense_RU");
    const QString issued = licence->FieldValue(QStringLiteral("DateOfIssue"), QStringLiteral("FieldValue"));
    EXPECT_EQ(issued, QStringLiteral("29.02.2019"));
    EXPECT_FALSE(QDate::fromString(issued, QStringLiteral("dd.MM.yyyy")).isValid()) << "a date that cannot be parsed";
    EXPECT_TRUE(QDate::fromString(licence->FieldValue(QStringLiteral("DateOfExpiry"), QString()), QStringLiteral("dd.MM.yyyy")).isValid());
    EXPECT_FALSE(licence->Field(QStringLiteral("Number"))->Symbol(2)->Trusted());

    IFieldsCollectionPtr mrz = Read(engine.get(), "04-ForeignPassport_MRZ", "ForeignPassport_MRZ");
    IRecognizedFieldPtr place = mrz->Field(QStringLiteral("PlaceOfBirth"));
    ASSERT_TRUE(place) << "present but empty";
    EXPECT_EQ(place->Value(), QString());
    EXPECT_FALSE(place->IsFound());
    EXPECT_EQ(mrz->FieldValue(QStringLiteral("Number"), QString()), QStringLiteral("L8X4R2K07"));

    IFieldsCollectionPtr by = Read(engine.get(), "05-Passport_BY", "Passport_BY");
    IRecognizedFieldPtr nationality = by->Field(QStringLiteral("Nationality"));
    ASSERT_TRUE(nationality);
    EXPECT_EQ(nationality->Value(), QString()) << "nationality left empty";
    EXPECT_EQ(by->FieldValue(QStringLiteral("PersonalCode"), QString()), QStringLiteral("4090190A012PB3"));

    IFieldsCollectionPtr kz = Read(engine.get(), "06-ID_KZ", "ID_KZ");
    EXPECT_FALSE(kz->Field(QStringLiteral("Series")));
    EXPECT_EQ(kz->FieldValue(QStringLiteral("Number"), QString()), QStringLiteral("012345678"));
    EXPECT_FALSE(kz->Field(QStringLiteral("PersonalCode"))->Symbol(5)->Trusted());
}

TEST_F(SpecimenTest, MachineReadableZonesHaveCorrectCheckDigits)
{
    for (const char *stem : {"02-ForeignPassport_RU", "04-ForeignPassport_MRZ", "05-Passport_BY"}) {
        const QJsonArray lines = Description(stem).value(QLatin1String("mrz")).toArray();
        ASSERT_EQ(lines.size(), 2) << stem;
        const QString l1 = lines[0].toString(), l2 = lines[1].toString();
        ASSERT_EQ(l1.size(), 44) << stem;
        ASSERT_EQ(l2.size(), 44) << stem;
        EXPECT_TRUE(l1.startsWith(QLatin1Char('P'))) << stem;
        EXPECT_EQ(Check(l2.mid(0, 9)), Digit(l2, 9)) << stem;
        EXPECT_EQ(Check(l2.mid(13, 6)), Digit(l2, 19)) << stem;
        EXPECT_EQ(Check(l2.mid(21, 6)), Digit(l2, 27)) << stem;
        EXPECT_EQ(Check(l2.mid(0, 10) + l2.mid(13, 7) + l2.mid(21, 22)), Digit(l2, 43)) << stem;
    }
    const QJsonArray card = Description("06-ID_KZ").value(QLatin1String("mrz")).toArray();
    ASSERT_EQ(card.size(), 3);
    const QString c1 = card[0].toString(), c2 = card[1].toString();
    ASSERT_EQ(c1.size(), 30);
    ASSERT_EQ(c2.size(), 30);
    EXPECT_EQ(Check(c1.mid(5, 9)), Digit(c1, 14));
    EXPECT_EQ(Check(c2.mid(0, 6)), Digit(c2, 6));
    EXPECT_EQ(Check(c2.mid(8, 6)), Digit(c2, 14));
    EXPECT_EQ(Check(c1.mid(5, 25) + c2.mid(0, 7) + c2.mid(8, 7) + c2.mid(18, 11)), Digit(c2, 29));
    EXPECT_EQ(card[2].toString().size(), 30);
}

TEST_F(SpecimenTest, ZonesLieOnThePicture)
{
    for (const QString &d : QDir(GeneratedSpecimens()).entryList({QStringLiteral("*.json")}, QDir::Files)) {
        const QJsonObject o = Description(qPrintable(d.chopped(5)));
        const QImage picture(GeneratedSpecimens() + QLatin1Char('/') + o.value(QLatin1String("picture")).toString());
        ASSERT_FALSE(picture.isNull()) << d.toStdString();
        for (const QJsonValue &f : o.value(QLatin1String("fields")).toArray()) {
            const QJsonObject z = f.toObject().value(QLatin1String("zone")).toObject();
            if (z.isEmpty())
                continue;
            const QRect r(z.value(QLatin1String("x")).toInt(), z.value(QLatin1String("y")).toInt(),
                          z.value(QLatin1String("width")).toInt(), z.value(QLatin1String("height")).toInt());
            EXPECT_FALSE(r.isEmpty()) << d.toStdString();
            EXPECT_TRUE(picture.rect().contains(r)) << d.toStdString() << " " << f.toObject().value(QLatin1String("name")).toString().toStdString();
        }
    }
}

} // namespace
