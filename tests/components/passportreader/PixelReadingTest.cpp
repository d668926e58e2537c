// Pages read from their pixels, as the server reads every page of a real
// scanner: the zone of the page for the document type the operator chose,
// whatever the page looks like and however it lies, never a description.

#include "EngineFixture.h"

#include "PageGenerator.h"
#include "support/TestSupport.h"
#include "support/ScannerSources.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <map>

using namespace abbyytest;

namespace {

using r9test::EnvSwitch;

// Names and values as plain text, so a difference prints readably.
using FieldValues = std::map<std::string, std::string>;

/// A generated page: a document of one format and state, lying turned and
/// crooked on an A4 glass; its truth holds the fields a reading must give.
struct PageCase
{
    const char *what;
    const char *format;  ///< the generator's format
    const char *code;    ///< the document code printed in the zone
    const char *state;   ///< issuing state
    int turn;            ///< clockwise quarter turn of the scan
    double skew;
    bool hasZone;
    const char *type;    ///< the document type the operator chose
    bool recognised;     ///< false: "not recognised" (an empty collection)
};

class PixelReadingTest : public EngineTest
{
protected:
    /// Writes the page of c as a scanner's BMP file and gives the fields its truth says a reading yields.
    /// misprint, when given, changes the zone's rows before they are printed.
    QString WritePage(const PageCase &c, FieldValues *truth, const std::function<void(QStringList &)> &misprint = {})
    {
        mrzpages::PageRecipe recipe;
        recipe.format = QString::fromLatin1(c.format);
        recipe.dpi = 200;
        recipe.turn = c.turn;
        recipe.skew = c.skew;
        recipe.hasZone = c.hasZone;
        mrzpages::Random rng(77);
        specimens::MrzData d = mrzpages::RandomData(recipe.format, rng);
        d.documentCode = QString::fromLatin1(c.code);
        d.issuingState = d.nationality = QString::fromLatin1(c.state);
        d.birthDate = QStringLiteral("790228");
        d.sex = QStringLiteral("M");
        if (recipe.format == QLatin1String("RUSPN")) {
            d.surname = QStringLiteral("ВОРОБЬЁВ");
            d.givenNames = QStringLiteral("ЯКОВ");
            d.patronymic = QStringLiteral("ЧЕСЛАВОВИЧ");
            d.documentNumber = QStringLiteral("4503123456");
            d.issueDate = QStringLiteral("140521");
            d.divisionCode = QStringLiteral("770001");
            *truth = {{"LastName", d.surname.toStdString()},        {"FirstName", d.givenNames.toStdString()},   {"MiddleName", d.patronymic.toStdString()},
                      {"Series", "45 03"},             {"Number", "123456"},          {"Sex", "МУЖ."},
                      {"DateOfBirth", "28.02.1979"},   {"DateOfIssue", "21.05.2014"}, {"DepartmentCode", "770-001"}};
        } else {
            d.surname = QStringLiteral("VALDEZ");
            d.givenNames = QStringLiteral("ANA LUISA");
            d.expiryDate = QStringLiteral("310930");
            d.optionalData.clear();
            *truth = {{"LastName", d.surname.toStdString()},      {"LastName_EX", d.surname.toStdString()},      {"FirstName", "ANA"},
                      {"FirstName_EX", "ANA"},      {"MiddleName", "LUISA"},         {"MiddleName_EX", "LUISA"},
                           {"Number", d.documentNumber.toStdString()},    {"Nationality", d.nationality.toStdString()},
                      {"Sex", d.sex.toStdString()},               {"DateOfBirth", "28.02.1979"},   {"DateOfExpiry", "30.09.2031"}};
        }
        if (misprint) {
            recipe.printedRows = mrzpages::ZoneLines(recipe.format, d);
            misprint(recipe.printedRows);
        }
        const QString path = m_dir.filePath(QString::fromLatin1(c.what).replace(QLatin1Char(' '), QLatin1Char('-')) + QStringLiteral(".bmp"));
        EXPECT_TRUE(mrzpages::MakePage(recipe, d, rng).image.save(path, "BMP"));
        return path;
    }

    QTemporaryDir m_dir;
};

/// The fields of a collection by name, the pictures left out.
FieldValues TextFields(IFieldsCollectionPtr fields)
{
    FieldValues out;
    for (int i = 0; i < fields->Count(); ++i) {
        IRecognizedFieldPtr f = fields->Item(i);
        if (!f->IsImage())
            out[f->Name().toStdString()] = f->Value().toStdString();
    }
    return out;
}

} // namespace

TEST_F(PixelReadingTest, TheZoneOfTheChosenTypeGivesTheTruthAndAnyOtherPageNothing)
{
    const PageCase cases[] = {
        {"internal passport on its side", "RUSPN", "PN", "RUS", 90, 1.5, true, "Passport_RU", true},
        {"russian passport upside down", "TD3", "P", "RUS", 180, -2.0, true, "ForeignPassport_RU", true},
        {"any passport upright", "TD3", "P", "UTO", 0, 0.5, true, "ForeignPassport_MRZ", true},
        {"kazakh identity card crooked", "TD1", "ID", "KAZ", 270, 3.0, true, "ID_KZ", true},
        {"any identity card as any travel document", "TD1", "ID", "UTO", 90, 0, true, "ForeignPassport_MRZ", true},
        {"two-row card as any travel document", "TD2", "ID", "UTO", 0, 0, true, "ForeignPassport_MRZ", true},
        {"passport of another state", "TD3", "P", "UTO", 0, 0, true, "ForeignPassport_RU", false},
        {"internal passport as a passport", "RUSPN", "PN", "RUS", 0, 0, true, "ForeignPassport_MRZ", false},
        {"passport as an internal passport", "TD3", "P", "RUS", 0, 0, true, "Passport_RU", false},
        {"identity card as a russian passport", "TD1", "ID", "RUS", 90, 0, true, "ForeignPassport_RU", false},
        {"card of another state", "TD1", "ID", "UTO", 0, 0, true, "ID_KZ", false},
        {"visa", "MRVA", "V", "UTO", 0, 0, true, "ForeignPassport_MRZ", false},
        {"page without a zone", "TD3", "P", "UTO", 0, 0, false, "ForeignPassport_MRZ", false},
        {"passport as a driving licence", "TD3", "P", "RUS", 0, 0, true, "DriverLicense_RU", false},
    };
    QTemporaryDir specimens;
    SetSpecimens(SpecimenSubset(specimens, {QStringLiteral("01-Passport_RU")}));
    EnvSwitch pixels("PASSPORTREADER_READ", "pixels");
    IRecognitionEnginePtr engine = StartedEngine();
    for (const PageCase &c : cases) {
        SCOPED_TRACE(c.what);
        FieldValues truth;
        const QString page = WritePage(c, &truth);
        IFieldsCollectionPtr fields = engine->Recognize(page, QString::fromLatin1(c.type));
        ASSERT_TRUE(fields);
        if (!c.recognised) {
            EXPECT_EQ(fields->Count(), 0);
            continue;
        }
        // Exactly the zone's fields: what it does not carry stays absent.
        EXPECT_EQ(TextFields(fields), truth);
        EXPECT_TRUE(fields->Field(QStringLiteral("FullImage")));
        EXPECT_FALSE(fields->Field(QStringLiteral("Photo"))) << "the portrait is no field of the zone";
        IRecognizedFieldPtr last = fields->Field(QStringLiteral("LastName"));
        for (int i = 0; i < last->Length(); ++i)
            EXPECT_TRUE(last->Symbol(i)->Trusted()) << i;
    }
}

TEST_F(PixelReadingTest, DoubtFollowsTheReadersTrust)
{
    // A number printed under a check digit that does not hold: the reader
    // does not trust it, and the other fields keep their trust.
    QTemporaryDir specimens;
    SetSpecimens(SpecimenSubset(specimens, {QStringLiteral("01-Passport_RU")}));
    EnvSwitch pixels("PASSPORTREADER_READ", "pixels");
    IRecognitionEnginePtr engine = StartedEngine();
    const PageCase passport{"wrong check digit", "TD3", "P", "UTO", 90, 1.0, true, "ForeignPassport_MRZ", true};
    FieldValues truth;
    // The number's check digit (line 2, position 10) off by one.
    const QString page = WritePage(passport, &truth, [](QStringList &rows) {
        QChar &check = rows[1][9];
        check = QChar(u'0' + (check.digitValue() + 1) % 10);
    });
    IFieldsCollectionPtr fields = engine->Recognize(page, QStringLiteral("ForeignPassport_MRZ"));
    ASSERT_GT(fields->Count(), 0);
    const auto untrusted = [&](const char *name) {
        IRecognizedFieldPtr f = fields->Field(QString::fromLatin1(name));
        int n = 0;
        for (int i = 0; f && i < f->Length(); ++i)
            n += f->Symbol(i)->Trusted() ? 0 : 1;
        return n;
    };
    EXPECT_GT(untrusted("Number"), 0) << "under the failing check digit";
    EXPECT_EQ(untrusted("LastName"), 0);
    EXPECT_EQ(untrusted("DateOfBirth"), 0) << "its own check digit holds";
}

TEST_F(PixelReadingTest, ASpecimensPageReadFromItsPixelsIsNeverItsDescription)
{
    // The specimen whose description lists a place of birth the zone does not
    // carry: read from the pixels, by file and by scanning, it has none, and
    // the engine's log tells a reading from a description.
    const QString log = m_dir.filePath(QStringLiteral("engine.log"));
    EnvSwitch logFile("PASSPORTREADER_LOG", log.toLocal8Bit());
    QTemporaryDir specimens;
    SetSpecimens(SpecimenSubset(specimens, {QStringLiteral("04-ForeignPassport_MRZ")}));
    IRecognitionEnginePtr engine = StartedEngine();
    const QString picture = QDir(specimens.path()).filePath(QStringLiteral("04-ForeignPassport_MRZ.png"));
    const QString type = QStringLiteral("ForeignPassport_MRZ");
    EXPECT_TRUE(engine->Recognize(picture, type)->Field(QStringLiteral("PlaceOfBirth"))) << "described";
    {
        EnvSwitch pixels("PASSPORTREADER_READ", "pixels");
        for (IFieldsCollectionPtr fields : {engine->Recognize(picture, type), engine->ScanAndRecognize(type)}) {
            EXPECT_FALSE(fields->Field(QStringLiteral("PlaceOfBirth")));
            EXPECT_EQ(fields->FieldValue(QStringLiteral("LastName"), QString()), QStringLiteral("HALVORSEN"));
        }
    }
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              QStringList({"described 04-ForeignPassport_MRZ.json", "read TD3", "read TD3"}));
    EXPECT_EQ(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());
}

TEST_F(PixelReadingTest, APageOfTheSourceManagersScannerIsReadFromItsPixels)
{
    // The manager's specimen scanner is a real scanner to the engine: what it
    // delivers is read, never matched, even the picture of a described
    // specimen; the feeder's page of that specimen stays described.
    scannertest::ScannerSources sources;
    const QString log = m_dir.filePath(QStringLiteral("engine.log"));
    EnvSwitch logFile("PASSPORTREADER_LOG", log.toLocal8Bit());
    QTemporaryDir specimens;
    SetSpecimens(SpecimenSubset(specimens, {QStringLiteral("04-ForeignPassport_MRZ")}));
    QTemporaryDir glass;
    FieldValues internal;
    const QString generated = WritePage({"internal on the glass", "RUSPN", "PN", "RUS", 270, -1.0, true, "Passport_RU", true}, &internal);
    struct Case
    {
        const char *what;
        QString picture;
        const char *type;
        FieldValues truth; ///< the fields read; the specimen's: those the zone holds
    };
    const Case cases[] = {
        {"a specimen's picture", QDir(specimens.path()).filePath(QStringLiteral("04-ForeignPassport_MRZ.png")), "ForeignPassport_MRZ", {}},
        {"a generated internal passport", generated, "Passport_RU", internal},
    };
    IRecognitionEnginePtr engine = StartedEngine();
    int source = -1;
    for (int i = 0; i < engine->ScannersCount(); ++i)
        if (engine->ScannerName(i) == QLatin1String(scannertest::SpecimenSource))
            source = i;
    ASSERT_GE(source, 0);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(glass.filePath(QStringLiteral("page.png")));
        ASSERT_TRUE(QImage(c.picture).save(glass.filePath(QStringLiteral("page.png"))));
        EnvSwitch pictures("TWAINSPECIMEN_PICTURES", glass.path().toLocal8Bit());
        engine->CurrentScanSource(source);
        IFieldsCollectionPtr fields = engine->ScanAndRecognize(QString::fromLatin1(c.type));
        ASSERT_GT(fields->Count(), 0);
        EXPECT_FALSE(fields->Field(QStringLiteral("PlaceOfBirth"))) << "no description's field";
        if (!c.truth.empty())
            EXPECT_EQ(TextFields(fields), c.truth);
        else
            EXPECT_EQ(fields->FieldValue(QStringLiteral("LastName"), QString()), QStringLiteral("HALVORSEN"));
    }
    engine->CurrentScanSource(0);
    EXPECT_TRUE(engine->ScanAndRecognize(QStringLiteral("ForeignPassport_MRZ"))->Field(QStringLiteral("PlaceOfBirth")));
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              QStringList({"read TD3", "read RUSPN", "described 04-ForeignPassport_MRZ.json"}));
}
