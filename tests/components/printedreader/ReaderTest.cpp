// The reader on drawn pages: every field of each document right in more than
// one typeface and layout, the zone standing where the print differs, and
// pages it cannot read giving nothing without failing.
#include "DrawnPages.h"

#include "EnginePool.h"
#include "MrzFields.h"
#include "MrzReader.h"
#include "PrintedReader.h"
#include "specimen-generator/Mrz.h"

#include <gtest/gtest.h>

namespace {

using printed::DocumentKind;
using printed::Field;
using printedtest::Draw;
using printedtest::Drawing;

std::string Describe(const Drawing &d)
{
    return printed::KindName(d.kind).toStdString() + " in " + d.family.toStdString() +
           (d.labelsLeft ? ", labels left" : "") + (d.turn != 0 ? ", turned " + std::to_string(d.turn) : "") +
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
    if (qEnvironmentVariableIsSet("PR_SAVE")) page.picture.save(QStringLiteral("/tmp/drawn_%1.png").arg(QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name()).replace(u'/', u'_'))); // TEMP
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
                    Drawing{DocumentKind::DrivingLicence, QStringLiteral("DejaVu Sans"), false, 0, 1},
                    Drawing{DocumentKind::DrivingLicence, QStringLiteral("Liberation Serif")},
                    Drawing{DocumentKind::DrivingLicence, QStringLiteral("PT Sans"), false, -3, 1},
                    Drawing{DocumentKind::ForeignPassport, QStringLiteral("PT Sans")},
                    Drawing{DocumentKind::ForeignPassport, QStringLiteral("Liberation Serif"), false, 0, 1},
                    Drawing{DocumentKind::ForeignPassport, QStringLiteral("DejaVu Sans"), false, 3, 0}));

} // namespace
