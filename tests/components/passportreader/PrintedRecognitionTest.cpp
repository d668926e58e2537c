// Pages that no description knows, of the documents whose print is read:
// the server fills their printed fields from the page.

#include "EngineFixture.h"

#include "PageGenerator.h"
#include "PrintedPages.h"

using namespace abbyytest;

namespace {

using printed::DocumentKind;
using printed::Field;

class PrintedRecognitionTest : public EngineTest
{
protected:
    /// A clean page of the document, written as the scanner's BMP file would be.
    QString WritePage(DocumentKind kind, printedpages::Truth *truth)
    {
        mrzpages::Random rng(31 + std::uint64_t(kind));
        printedpages::Recipe recipe;
        recipe.kind = kind;
        const printedpages::Page page = printedpages::MakePage(recipe, printedpages::RandomIssued(kind, rng), rng);
        *truth = page.truth;
        const QString path = m_dir.filePath(printed::KindName(kind) + QStringLiteral(".bmp"));
        EXPECT_TRUE(page.image.save(path, "BMP"));
        return path;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(PrintedRecognitionTest, EachDocumentsPrintedFieldsFillItsTypesFields)
{
    QTemporaryDir specimens;
    SetSpecimens(SpecimenSubset(specimens, {QStringLiteral("01-Passport_RU")}));
    IRecognitionEnginePtr engine = StartedEngine();
    struct Case
    {
        DocumentKind kind;
        const char *type;
        std::vector<std::pair<const char *, Field>> fields;
    };
    const Case cases[] = {
        {DocumentKind::InternalPassport, "Passport_RU",
         {{"LastName", Field::Surname}, {"FirstName", Field::GivenName}, {"MiddleName", Field::Patronymic},
          {"Series", Field::Series}, {"Number", Field::Number}, {"Sex", Field::Sex}, {"DateOfBirth", Field::BirthDate},
          {"PlaceOfBirth", Field::BirthPlace}, {"DateOfIssue", Field::IssueDate}, {"IssuedBy", Field::IssuedBy},
          {"DepartmentCode", Field::DivisionCode}}},
        {DocumentKind::ForeignPassport, "ForeignPassport_RU",
         {{"LastName", Field::Surname}, {"LastName_EX", Field::SurnameLatin}, {"FirstName", Field::GivenName},
          {"Series", Field::Series}, {"Number", Field::Number}, {"Sex", Field::Sex}, {"DateOfBirth", Field::BirthDate},
          {"PlaceOfBirth", Field::BirthPlace}, {"DateOfIssue", Field::IssueDate}, {"DateOfExpiry", Field::ExpiryDate},
          {"IssuedBy", Field::IssuedBy}}},
        {DocumentKind::DrivingLicence, "DriverLicense_RU",
         {{"LastName", Field::Surname}, {"LastName_EX", Field::SurnameLatin}, {"FirstName", Field::GivenName},
          {"MiddleName", Field::Patronymic}, {"DateOfBirth", Field::BirthDate}, {"PlaceOfBirth", Field::BirthPlace},
          {"DateOfIssue", Field::IssueDate}, {"DateOfExpiry", Field::ExpiryDate}, {"IssuedBy", Field::IssuedBy},
          {"Series", Field::Series}, {"Number", Field::Number}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        printedpages::Truth truth;
        const QString path = WritePage(c.kind, &truth);
        IFieldsCollectionPtr fields = engine->Recognize(path, QString::fromLatin1(c.type));
        ASSERT_TRUE(fields);
        // A field the print gave wrong has untrusted symbols (never wrong
        // text offered as read); one it did not give is not in the
        // collection; most are right.
        int right = 0;
        for (const auto &[name, field] : c.fields) {
            IRecognizedFieldPtr read = fields->Field(QString::fromLatin1(name));
            if (!read)
                continue;
            // A value printed over several lines comes with its line breaks.
            const QString value = fields->FieldValue(QString::fromLatin1(name), QString())
                                      .replace(QStringLiteral("\r\n"), QStringLiteral(" "));
            bool trusted = true;
            for (int i = 0; i < read->Length(); ++i)
                trusted = trusted && read->Symbol(i)->Trusted();
            if (value == truth.fields.at(field))
                ++right;
            else
                EXPECT_FALSE(trusted) << name << " read as " << value.toStdString();
        }
        EXPECT_GE(right, int(c.fields.size()) - 2);
        // A page of the type is none of another type's.
        const char *other = c.kind == DocumentKind::DrivingLicence ? "Passport_RU" : "DriverLicense_RU";
        EXPECT_EQ(engine->Recognize(path, QString::fromLatin1(other))->Count(), 0) << other;
    }
}
