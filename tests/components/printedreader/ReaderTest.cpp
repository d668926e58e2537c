// The reader on drawn pages: every field of each document right in more than
// one typeface and layout, the zone standing where the print differs, and
// pages it cannot read giving nothing without failing.
#include "DrawnPages.h"

#include "EnginePool.h"
#include "MrzFields.h"
#include "MrzReader.h"
#include "PrintedReader.h"
#include "specimen-generator/Mrz.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using printed::DocumentKind;
using printed::Field;
using printedtest::Draw;
using printedtest::Drawing;

std::string Describe(const Drawing &d)
{
    return printed::KindName(d.kind).toStdString() + " in " + d.family.toStdString() +
           (d.labelsLeft ? ", labels left" : "") + (d.numberAlongEdge ? ", number along the edge" : "") + (d.turn != 0 ? ", turned " + std::to_string(d.turn) : "") +
           ", person " + std::to_string(d.person);
}

} // namespace

namespace printedtest {
void PrintTo(const Drawing &d, std::ostream *os)
{
    *os << Describe(d);
}
} // namespace printedtest

namespace {

class ReadsEveryField : public testing::TestWithParam<Drawing>
{
};

TEST_P(ReadsEveryField, AsDrawn)
{
    const Drawing d = GetParam();
    const auto page = Draw(d);
    const printed::PrintedReading r = printed::ReadPrinted(page.picture, d.kind);
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    ASSERT_TRUE(r.documentFound) << Describe(d);
    for (const auto &[field, truth] : page.truth) {
        const auto it = r.fields.find(field);
        ASSERT_NE(it, r.fields.end()) << Describe(d) << ": " << printed::FieldName(field).toStdString() << " not found";
        EXPECT_EQ(it->second.Value().toStdString(), truth.toStdString()) << Describe(d) << ": " << printed::FieldName(field).toStdString();
        EXPECT_FALSE(it->second.fromZone);
    }
}

INSTANTIATE_TEST_SUITE_P(
    DrawnPages, ReadsEveryField,
    testing::Values(Drawing{DocumentKind::InternalPassport, QStringLiteral("DejaVu Sans")},
                    Drawing{DocumentKind::InternalPassport, QStringLiteral("PT Serif"), true, 0, 1},
                    Drawing{DocumentKind::InternalPassport, QStringLiteral("Liberation Sans"), true, 2.5, 0},
                    Drawing{DocumentKind::InternalPassport, QStringLiteral("Liberation Serif"), false, 0, 1, true},
                    Drawing{DocumentKind::DrivingLicence, QStringLiteral("DejaVu Sans"), false, 0, 1},
                    Drawing{DocumentKind::DrivingLicence, QStringLiteral("Liberation Serif")},
                    Drawing{DocumentKind::DrivingLicence, QStringLiteral("PT Sans"), false, -3, 1},
                    Drawing{DocumentKind::ForeignPassport, QStringLiteral("PT Sans")},
                    Drawing{DocumentKind::ForeignPassport, QStringLiteral("Liberation Serif"), false, 0, 1},
                    Drawing{DocumentKind::ForeignPassport, QStringLiteral("DejaVu Sans"), false, 3, 0}));


// The zone gives the document's place, turn and scale: a page turned a
// quarter and a little more, or upside down, read as one upright.
TEST(ZonePlace, TurnsAndScalesThePageByItsZone)
{
    for (double turn : {91.5, 180.0, -88.0}) {
        Drawing d{DocumentKind::ForeignPassport, QStringLiteral("DejaVu Sans"), false, turn, 1};
        d.zone = true;
        const auto page = Draw(d);
        const mrz::MrzResult zone = mrz::ReadMrz(page.picture);
        ASSERT_TRUE(zone.found) << Describe(d);
        const printed::PrintedReading r = printed::ReadPrinted(page.picture, DocumentKind::ForeignPassport, &zone);
        ASSERT_TRUE(r.documentFound) << Describe(d);
        for (const auto &[field, truth] : page.truth) {
            const auto it = r.fields.find(field);
            ASSERT_NE(it, r.fields.end()) << Describe(d) << ": " << printed::FieldName(field).toStdString();
            EXPECT_EQ(it->second.Value().toStdString(), truth.toStdString()) << Describe(d);
            EXPECT_FALSE(it->second.fromZone) << Describe(d) << ": " << printed::FieldName(field).toStdString();
        }
    }
}

// A zone as the reader of zones gives it: found, its fields split from the
// text, every character read with confidence (no place on the page, so the
// page is read as a whole).
mrz::MrzResult Zone(mrz::Format format, const QStringList &lines)
{
    mrz::MrzResult z;
    z.found = true;
    z.format = format;
    z.lines = lines;
    z.fields = mrz::ParseFields(format, lines.join(QString()));
    return z;
}

struct Expected
{
    Field field;
    const char *value;
    bool fromZone;
};

void ExpectMarks(const printed::PrintedReading &r, const std::vector<Expected> &expected)
{
    for (const Expected &e : expected) {
        const auto it = r.fields.find(e.field);
        ASSERT_NE(it, r.fields.end()) << printed::FieldName(e.field).toStdString();
        EXPECT_EQ(it->second.Value().toStdString(), std::string(e.value)) << printed::FieldName(e.field).toStdString();
        EXPECT_EQ(it->second.fromZone, e.fromZone) << printed::FieldName(e.field).toStdString();
        // A value that differs from the zone is never left unmarked.
        EXPECT_EQ(it->second.doubtful, e.fromZone) << printed::FieldName(e.field).toStdString();
    }
}

TEST(CrossCheck, TheForeignPassportsZoneStandsWhereThePrintDiffers)
{
    const auto page = Draw({DocumentKind::ForeignPassport, QStringLiteral("DejaVu Sans")});
    // The zone disagrees on the number and the birth date, agrees on the rest.
    specimens::MrzData d{"P", "RUS", "VOROBEVA", "ELENA", "729999999", "RUS", "850308", "F", "261119", ""};
    const mrz::MrzResult zone = Zone(mrz::Format::TD3, specimens::PassportMrz(d));
    const printed::PrintedReading r = printed::ReadPrinted(page.picture, DocumentKind::ForeignPassport, &zone);
    ASSERT_TRUE(r.documentFound);
    ExpectMarks(r, {{Field::Number, "9999999", true},
                    {Field::BirthDate, "08.03.1985", true},
                    {Field::Series, "72", false},
                    {Field::SurnameLatin, "VOROBEVA", false},
                    {Field::GivenNameLatin, "ELENA", false},
                    {Field::Sex, "Ж", false},
                    {Field::ExpiryDate, "19.11.2026", false}});
}

TEST(CrossCheck, TheInternalPassportsZoneStandsWhereThePrintDiffers)
{
    const auto page = Draw({DocumentKind::InternalPassport, QStringLiteral("DejaVu Sans")});
    // The zone writes Ё as Е (no difference), and another patronymic and
    // division code.
    specimens::MrzData d{"PN", "RUS", "ВОРОБЬЁВА", "ЕЛЕНА", "5616482913", "RUS", "850307", "F", "", ""};
    d.patronymic = QStringLiteral("ПЕТРОВНА");
    d.issueDate = QStringLiteral("161119");
    d.divisionCode = QStringLiteral("560215");
    const mrz::MrzResult zone = Zone(mrz::Format::RusInternal, specimens::RussianInternalMrz(d));
    const printed::PrintedReading r = printed::ReadPrinted(page.picture, DocumentKind::InternalPassport, &zone);
    ASSERT_TRUE(r.documentFound);
    ExpectMarks(r, {{Field::Patronymic, "ПЕТРОВНА", true},
                    {Field::DivisionCode, "560-215", true},
                    {Field::Surname, "ВОРОБЬЁВА", false},
                    {Field::GivenName, "ЕЛЕНА", false},
                    {Field::BirthDate, "07.03.1985", false},
                    {Field::Sex, "ЖЕН.", false},
                    {Field::Series, "56 16", false},
                    {Field::Number, "482913", false},
                    {Field::IssueDate, "19.11.2016", false}});
}

// Pictures with no document on them: nothing read, no error, no crash.
QImage Filled(int w, int h, QImage::Format format, QColor colour)
{
    QImage image(w, h, format);
    if (format == QImage::Format_Indexed8) {
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        image.fill(colour == Qt::black ? 0 : 1);
    } else if (!image.isNull()) {
        image.fill(colour);
    }
    return image;
}

QImage Noise(int w, int h)
{
    QImage image(w, h, QImage::Format_Grayscale8);
    quint32 state = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            image.scanLine(y)[x] = uchar(state >> 24);
        }
    return image;
}

TEST(NoDocument, GivesNothingAndNoError)
{
    const std::vector<std::pair<const char *, QImage>> pictures = {
        {"null", QImage()},
        {"1x1", Filled(1, 1, QImage::Format_RGB32, Qt::white)},
        {"a thin strip", Filled(6000, 12, QImage::Format_RGB32, Qt::white)},
        {"blank and large", Filled(7000, 5000, QImage::Format_Mono, Qt::white)},
        {"black", Filled(800, 600, QImage::Format_Indexed8, Qt::black)},
        {"transparent", Filled(400, 300, QImage::Format_ARGB32, Qt::transparent)},
        {"noise", Noise(640, 480)},
    };
    for (const auto &[name, picture] : pictures) {
        for (DocumentKind kind : {DocumentKind::InternalPassport, DocumentKind::DrivingLicence, DocumentKind::ForeignPassport}) {
            const printed::PrintedReading r = printed::ReadPrinted(picture, kind);
            EXPECT_FALSE(r.documentFound) << name;
            EXPECT_TRUE(r.fields.empty()) << name;
            EXPECT_TRUE(r.error.isEmpty()) << name << ": " << r.error.toStdString();
        }
        EXPECT_FALSE(printed::RecogniseKind(picture).has_value()) << name;
    }
}

TEST(RecogniseKind, TellsEachDocumentByItsLabels)
{
    for (DocumentKind kind : {DocumentKind::InternalPassport, DocumentKind::DrivingLicence, DocumentKind::ForeignPassport}) {
        for (const char *family : {"DejaVu Sans", "Liberation Serif"}) {
            const auto page = Draw({kind, QString::fromUtf8(family)});
            const auto told = printed::RecogniseKind(page.picture);
            ASSERT_TRUE(told.has_value()) << printed::KindName(kind).toStdString() << " in " << family;
            EXPECT_EQ(*told, kind) << family;
        }
    }
}

TEST(Availability, AMissingLanguageDataFolderIsReportedNotRead)
{
    ASSERT_TRUE(printed::ReaderAvailable()) << "Tesseract with rus and eng is part of the setup";
    QTemporaryDir empty;
    printed::SetLanguageDataFolder(empty.path());
    QString why;
    EXPECT_FALSE(printed::ReaderAvailable(&why));
    EXPECT_FALSE(why.isEmpty());
    const auto page = Draw({DocumentKind::DrivingLicence, QStringLiteral("DejaVu Sans")});
    const printed::PrintedReading r = printed::ReadPrinted(page.picture, DocumentKind::DrivingLicence);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_FALSE(r.documentFound);
    EXPECT_TRUE(r.fields.empty());
    EXPECT_FALSE(printed::RecogniseKind(page.picture).has_value());
    printed::SetLanguageDataFolder(QString());
    EXPECT_TRUE(printed::ReaderAvailable(&why)) << why.toStdString();
}

} // namespace
