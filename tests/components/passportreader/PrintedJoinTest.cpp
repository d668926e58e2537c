// How the first engine joins a page's printed fields to its zone's.

#include "components/passportreader/PrintedSpecimen.h"

#include <gtest/gtest.h>

namespace {

using passportreader::Specimen;
using passportreader::SpecimenField;
using printed::DocumentKind;
using printed::Field;

printed::PrintedText Text(const QStringList &lines, bool doubtful = false, bool fromZone = false)
{
    printed::PrintedText t;
    t.lines = lines;
    t.doubtful = doubtful;
    t.fromZone = fromZone;
    t.confidence.assign(std::size_t(t.Value().size()), 0.95f);
    return t;
}

std::shared_ptr<Specimen> Zone(std::vector<std::pair<QString, QString>> fields)
{
    auto s = std::make_shared<Specimen>();
    for (auto &[name, value] : fields) {
        SpecimenField f;
        f.name = name;
        f.value = value;
        f.id = QString::number(s->fields.size() + 1);
        s->fields.push_back(f);
    }
    return s;
}

const SpecimenField &Named(const Specimen &s, const QString &name)
{
    for (const SpecimenField &f : s.fields)
        if (f.name == name)
            return f;
    throw std::runtime_error(name.toStdString());
}

TEST(PrintedJoin, TheZoneStandsWhereThePrintDiffersAndThePrintAddsWhatTheZoneLacks)
{
    printed::PrintedReading r;
    r.documentFound = true;
    r.kind = DocumentKind::InternalPassport;
    r.fields = {
        {Field::Surname, Text({QStringLiteral("ИВАНОВА")})},
        {Field::DivisionCode, Text({QStringLiteral("770-002")})},
        {Field::IssueDate, Text({QStringLiteral("01.02.2015")}, true, true)},
        {Field::BirthPlace, Text({QStringLiteral("ГОР. ТВЕРЬ"), QStringLiteral("ТВЕРСКОЙ ОБЛ.")})},
        {Field::IssuedBy, Text({QStringLiteral("ГУ МВД")}, true)},
        {Field::Sex, Text({QStringLiteral("ЖЕН.")}, false, true)},
    };
    auto s = passportreader::JoinPrinted(Zone({{QStringLiteral("LastName"), QStringLiteral("ИВАНОВА")},
                                               {QStringLiteral("DepartmentCode"), QStringLiteral("770-001")},
                                               {QStringLiteral("DateOfIssue"), QStringLiteral("01.02.2015")},
                                               {QStringLiteral("Sex"), QStringLiteral("ЖЕН.")}}),
                                         r, QStringLiteral("Passport_RU"));
    ASSERT_TRUE(s);
    ASSERT_EQ(s->fields.size(), 6u);
    EXPECT_TRUE(Named(*s, QStringLiteral("Sex")).untrusted.isEmpty()) << "the zone's alone where the print gave nothing";
    EXPECT_TRUE(Named(*s, QStringLiteral("LastName")).untrusted.isEmpty()) << "print and zone agree";
    EXPECT_EQ(Named(*s, QStringLiteral("DepartmentCode")).value, QStringLiteral("770-001"));
    EXPECT_EQ(Named(*s, QStringLiteral("DepartmentCode")).untrusted, (QList<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Named(*s, QStringLiteral("DateOfIssue")).untrusted.size(), 10) << "the reader set the zone's value against the print";
    // A value over two lines keeps its line break, as the engine returns it.
    const SpecimenField &place = Named(*s, QStringLiteral("PlaceOfBirth"));
    EXPECT_EQ(place.value, QStringLiteral("ГОР. ТВЕРЬ\r\nТВЕРСКОЙ ОБЛ."));
    EXPECT_TRUE(place.untrusted.isEmpty());
    EXPECT_EQ(Named(*s, QStringLiteral("IssuedBy")).untrusted.size(), 6) << "a doubtful print is wholly untrusted";
    EXPECT_EQ(Named(*s, QStringLiteral("IssuedBy")).id, QStringLiteral("6"));
}

TEST(PrintedJoin, AForeignPassportsPrintGivesWhatItsZoneWritesOtherwise)
{
    printed::PrintedReading r;
    r.documentFound = true;
    r.kind = DocumentKind::ForeignPassport;
    r.fields = {{Field::Surname, Text({QStringLiteral("СОКОЛОВ")})},
                {Field::SurnameLatin, Text({QStringLiteral("SOKOLOV")})},
                {Field::Series, Text({QStringLiteral("75")})},
                {Field::Number, Text({QStringLiteral("1234567")})}};
    auto s = passportreader::JoinPrinted(Zone({{QStringLiteral("LastName"), QStringLiteral("SOKOLOV")},
                                               {QStringLiteral("LastName_EX"), QStringLiteral("SOKOLOV")},
                                               {QStringLiteral("Number"), QStringLiteral("751234567")}}),
                                         r, QStringLiteral("ForeignPassport_RU"));
    EXPECT_EQ(Named(*s, QStringLiteral("LastName")).value, QStringLiteral("СОКОЛОВ"));
    EXPECT_EQ(Named(*s, QStringLiteral("LastName")).id, QStringLiteral("1"));
    EXPECT_EQ(Named(*s, QStringLiteral("LastName_EX")).value, QStringLiteral("SOKOLOV"));
    EXPECT_EQ(Named(*s, QStringLiteral("Number")).value, QStringLiteral("1234567"));
    EXPECT_EQ(Named(*s, QStringLiteral("Series")).value, QStringLiteral("75"));

    // Nothing found in print: the zone's specimen as it was, or none.
    printed::PrintedReading none;
    none.kind = DocumentKind::DrivingLicence;
    EXPECT_EQ(passportreader::JoinPrinted(nullptr, none, QStringLiteral("DriverLicense_RU")), nullptr);
}

} // namespace
