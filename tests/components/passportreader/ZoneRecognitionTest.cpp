// Pages that no description knows: the server reads the machine-readable zone
// for the document types that have one.

#include "EngineFixture.h"

#include "PageGenerator.h"

#include <QDir>

using namespace abbyytest;

namespace {

class ZoneRecognitionTest : public EngineTest
{
protected:
    /// A generated page of a format, written as the scanner's BMP file would be.
    QString WritePage(const char *format, specimens::MrzData *data, int turn = 0,
                      const QString &birthDate = QStringLiteral("870315"), const QString &state = QString(),
                      const QString &givenNames = QStringLiteral("ANA LUISA"), const QString &sex = QString())
    {
        mrzpages::PageRecipe recipe;
        recipe.format = QString::fromLatin1(format);
        recipe.dpi = 200;
        recipe.turn = turn;
        recipe.skew = 1.5;
        mrzpages::Random rng(12);
        *data = mrzpages::RandomData(recipe.format, rng);
        if (!state.isEmpty())
            data->issuingState = state;
        data->surname = QStringLiteral("VALDEZ");
        data->givenNames = givenNames;
        if (!sex.isEmpty())
            data->sex = sex;
        data->birthDate = birthDate;
        data->expiryDate = QStringLiteral("310930");
        data->optionalData = QStringLiteral("4512");
        const mrzpages::Page page = mrzpages::MakePage(recipe, *data, rng);
        const QString path = m_dir.filePath(QStringLiteral("page.bmp"));
        EXPECT_TRUE(page.image.save(path, "BMP"));
        return path;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ZoneRecognitionTest, APassportPageIsReadFromItsZone)
{
    QTemporaryDir specimens;
    SetSpecimens(SpecimenSubset(specimens, {QStringLiteral("01-Passport_RU")}));
    IRecognitionEnginePtr engine = StartedEngine();
    specimens::MrzData data;
    const QString page = WritePage("TD3", &data, 90);
    IFieldsCollectionPtr fields = engine->Recognize(page, QStringLiteral("ForeignPassport_MRZ"));
    ASSERT_TRUE(fields);
    auto value = [&](const char *name) { return fields->FieldValue(QString::fromLatin1(name), QStringLiteral("missing")); };
    EXPECT_EQ(value("LastName"), "VALDEZ");
    EXPECT_EQ(value("LastName_EX"), "VALDEZ");
    EXPECT_EQ(value("FirstName"), "ANA");
    EXPECT_EQ(value("MiddleName"), "LUISA");
    EXPECT_EQ(value("Number"), data.documentNumber);
    EXPECT_EQ(value("Nationality"), data.nationality.remove(QLatin1Char('<')));
    EXPECT_EQ(value("DateOfBirth"), "15.03.1987");
    EXPECT_EQ(value("DateOfExpiry"), "30.09.2031");
    EXPECT_EQ(value("PersonalCode"), "4512");
    EXPECT_EQ(value("Series"), "missing") << "the zone has no series";
    IRecognizedFieldPtr last = fields->Field(QStringLiteral("LastName"));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->Length(), 6);
    for (int i = 0; i < last->Length(); ++i)
        EXPECT_TRUE(last->Symbol(i)->Trusted()) << i;
    // The picture is there as for every recognised page.
    EXPECT_TRUE(fields->Field(QStringLiteral("FullImage")));
}

TEST_F(ZoneRecognitionTest, WhatTheZoneLeavesOutIsNoFieldOfTheCollection)
{
    // One given name and the sex left unspecified: the document has no middle
    // name and no sex, which the window must not show as found but not read.
    QTemporaryDir specimens;
    SetSpecimens(SpecimenSubset(specimens, {QStringLiteral("01-Passport_RU")}));
    IRecognitionEnginePtr engine = StartedEngine();
    specimens::MrzData data;
    const QString page = WritePage("TD3", &data, 0, QStringLiteral("870315"), QString(), QStringLiteral("ANA"),
                                   QStringLiteral("<"));
    IFieldsCollectionPtr fields = engine->Recognize(page, QStringLiteral("ForeignPassport_MRZ"));
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->FieldValue(QStringLiteral("FirstName"), QStringLiteral("missing")), "ANA");
    for (const char *name : {"MiddleName", "MiddleName_EX", "Sex"})
        EXPECT_FALSE(fields->Field(QString::fromLatin1(name))) << name;
}

TEST_F(ZoneRecognitionTest, ADateOfBirthWithUnknownDayAndMonthIsFoundButNotRead)
{
    // The zone prints the year only; its check digits hold, so the page is
    // read, and the date comes back as a field found without a value.
    QTemporaryDir specimens;
    SetSpecimens(SpecimenSubset(specimens, {QStringLiteral("01-Passport_RU")}));
    IRecognitionEnginePtr engine = StartedEngine();
    specimens::MrzData data;
    const QString page = WritePage("TD3", &data, 0, QStringLiteral("87<<<<"));
    IFieldsCollectionPtr fields = engine->Recognize(page, QStringLiteral("ForeignPassport_MRZ"));
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->FieldValue(QStringLiteral("LastName"), QString()), "VALDEZ");
    IRecognizedFieldPtr birth = fields->Field(QStringLiteral("DateOfBirth"));
    ASSERT_TRUE(birth);
    EXPECT_TRUE(birth->IsFound()) << "found, so the form marks it as not read";
    EXPECT_EQ(fields->FieldValue(QStringLiteral("DateOfBirth"), QStringLiteral("missing")), QString());
    EXPECT_EQ(fields->FieldValue(QStringLiteral("DateOfExpiry"), QString()), "30.09.2031");
}

TEST_F(ZoneRecognitionTest, ACardPageIsReadOnlyAsTheCardType)
{
    QTemporaryDir specimens;
    SetSpecimens(SpecimenSubset(specimens, {QStringLiteral("01-Passport_RU")}));
    IRecognitionEnginePtr engine = StartedEngine();
    specimens::MrzData data;
    // A card of the type's state: a Kazakh identity card.
    const QString page = WritePage("TD1", &data, 0, QStringLiteral("870315"), QStringLiteral("KAZ"));
    IFieldsCollectionPtr card = engine->Recognize(page, QStringLiteral("ID_KZ"));
    ASSERT_TRUE(card);
    EXPECT_EQ(card->FieldValue(QStringLiteral("Number"), QString()), data.documentNumber);
    EXPECT_EQ(card->FieldValue(QStringLiteral("FirstName"), QString()), "ANA");
    // Three rows of 30 are no passport, and a driving licence has no zone at all.
    EXPECT_EQ(engine->Recognize(page, QStringLiteral("ForeignPassport_RU"))->Count(), 0);
    EXPECT_EQ(engine->Recognize(page, QStringLiteral("DriverLicense_RU"))->Count(), 0);
}

TEST_F(ZoneRecognitionTest, DescribedSpecimensStillComeFromTheirDescriptions)
{
    SetSpecimens(GeneratedSpecimens());
    IRecognitionEnginePtr engine = StartedEngine();
    // The MRZ specimen's description lists PlaceOfBirth as present but empty;
    // a reading of its zone would not have it.
    IFieldsCollectionPtr fields = engine->Recognize(QDir(GeneratedSpecimens()).filePath(QStringLiteral("04-ForeignPassport_MRZ.png")),
                                                    QStringLiteral("ForeignPassport_MRZ"));
    ASSERT_TRUE(fields->Field(QStringLiteral("PlaceOfBirth")));
    EXPECT_EQ(fields->FieldValue(QStringLiteral("LastName"), QString()), "HALVORSEN");
}

TEST_F(ZoneRecognitionTest, AnInternalPassportPageIsReadFromItsZone)
{
    QTemporaryDir specimens;
    SetSpecimens(SpecimenSubset(specimens, {QStringLiteral("01-Passport_RU")}));
    IRecognitionEnginePtr engine = StartedEngine();
    mrzpages::PageRecipe recipe;
    recipe.format = QStringLiteral("RUSPN");
    recipe.dpi = 200;
    recipe.turn = 270;
    recipe.skew = -1.5;
    mrzpages::Random rng(14);
    specimens::MrzData data = mrzpages::RandomData(recipe.format, rng);
    data.surname = QStringLiteral("ВОРОБЬЁВ");
    data.givenNames = QStringLiteral("ЯКОВ");
    data.patronymic = QStringLiteral("ЧЕСЛАВОВИЧ");
    data.documentNumber = QStringLiteral("4503123456");
    data.birthDate = QStringLiteral("790228");
    data.sex = QStringLiteral("M");
    data.issueDate = QStringLiteral("140521");
    data.divisionCode = QStringLiteral("770001");
    const QString path = m_dir.filePath(QStringLiteral("internal.bmp"));
    ASSERT_TRUE(mrzpages::MakePage(recipe, data, rng).image.save(path, "BMP"));

    IFieldsCollectionPtr fields = engine->Recognize(path, QStringLiteral("Passport_RU"));
    ASSERT_TRUE(fields);
    auto value = [&](const char *name) { return fields->FieldValue(QString::fromLatin1(name), QStringLiteral("missing")); };
    const std::pair<const char *, QString> expected[] = {
        {"LastName", QStringLiteral("ВОРОБЬЁВ")},
        {"FirstName", QStringLiteral("ЯКОВ")},
        {"MiddleName", QStringLiteral("ЧЕСЛАВОВИЧ")},
        {"Series", QStringLiteral("45 03")},
        {"Number", QStringLiteral("123456")},
        {"Sex", QStringLiteral("МУЖ.")},
        {"DateOfIssue", QStringLiteral("21.05.2014")},
        {"DepartmentCode", QStringLiteral("770-001")},
        {"DateOfBirth", QStringLiteral("28.02.1979")},
        {"LastName_EX", QStringLiteral("missing")}, // the zone has no Latin names
        {"DateOfExpiry", QStringLiteral("missing")},
    };
    for (const auto &[name, text] : expected)
        EXPECT_EQ(value(name), text) << name;
    IRecognizedFieldPtr last = fields->Field(QStringLiteral("LastName"));
    ASSERT_TRUE(last);
    ASSERT_EQ(last->Length(), 8);
    for (int i = 0; i < last->Length(); ++i)
        EXPECT_TRUE(last->Symbol(i)->Trusted()) << i;
    // The internal passport is no foreign passport, and a passport's zone no internal passport's.
    EXPECT_EQ(engine->Recognize(path, QStringLiteral("ForeignPassport_RU"))->Count(), 0);
    specimens::MrzData passport;
    EXPECT_EQ(engine->Recognize(WritePage("TD3", &passport), QStringLiteral("Passport_RU"))->Count(), 0);
}
