// The reader on generated pages: the three formats, the four quarter turns,
// skew at low and high resolution, a poor scan, and pages without a zone.

#include "MrzReader.h"
#include "PageGenerator.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace mrz;
using mrzpages::PageSpec;

namespace {

mrzpages::Page Make(const PageSpec &spec, std::uint64_t seed = 5)
{
    mrzpages::Random rng(seed);
    const specimens::MrzData data = mrzpages::RandomData(spec.format, rng);
    return mrzpages::MakePage(spec, data, rng);
}

PageSpec Spec(const char *format, int dpi, int turn = 0, double skew = 0)
{
    PageSpec s;
    s.format = QString::fromLatin1(format);
    s.dpi = dpi;
    s.a4 = dpi <= 300;
    s.turn = turn;
    s.skew = skew;
    return s;
}

void ExpectRead(const mrzpages::Page &page, const MrzResult &r)
{
    ASSERT_TRUE(r.found) << r.error.toStdString();
    EXPECT_EQ(r.lines, page.truth.lines);
    EXPECT_TRUE(r.AllChecksValid());
    EXPECT_EQ(r.fields.surname.value, page.truth.data.surname);
    EXPECT_EQ(r.fields.givenNames.value, page.truth.data.givenNames);
    EXPECT_EQ(r.fields.documentNumber.value, page.truth.data.documentNumber);
    EXPECT_EQ(r.fields.birthDate.value, page.truth.data.birthDate);
    EXPECT_EQ(r.fields.expiryDate.value, page.truth.data.expiryDate);
}

} // namespace

TEST(MrzReader, ReadsEachFormatUpright)
{
    for (const char *format : {"TD1", "TD2", "TD3"}) {
        SCOPED_TRACE(format);
        const mrzpages::Page page = Make(Spec(format, 300));
        const MrzResult r = ReadMrz(page.image);
        ExpectRead(page, r);
        EXPECT_EQ(FormatName(r.format), QLatin1String(format));
        EXPECT_EQ(r.turn, 0);
        EXPECT_NEAR(r.skew, 0.0, 0.5);
        for (bool t : r.trusted)
            EXPECT_TRUE(t);
    }
}

TEST(MrzReader, ReadsEveryQuarterTurnAndReportsIt)
{
    for (int turn : {0, 90, 180, 270}) {
        SCOPED_TRACE(turn);
        const mrzpages::Page page = Make(Spec("TD3", 200, turn, 2.0));
        const MrzResult r = ReadMrz(page.image);
        ExpectRead(page, r);
        // The scan was turned clockwise by `turn`; turning it back makes it upright.
        EXPECT_EQ(r.turn, (360 - turn) % 360);
        EXPECT_NEAR(r.skew, 2.0, 0.6);
    }
}

TEST(MrzReader, ReadsFiveDegreesOfSkewAtLowAndHighResolution)
{
    for (const auto &[dpi, skew] : {std::pair{150, 5.0}, std::pair{150, -5.0}, std::pair{600, 4.8}, std::pair{600, -5.0}}) {
        SCOPED_TRACE(testing::Message() << dpi << " dpi, " << skew << " degrees");
        const mrzpages::Page page = Make(Spec("TD1", dpi, 0, skew), 9);
        const MrzResult r = ReadMrz(page.image);
        ExpectRead(page, r);
        EXPECT_NEAR(r.skew, skew, 0.6);
    }
}

TEST(MrzReader, ReadsAPoorScan)
{
    PageSpec s = Spec("TD2", 300, 90, -3.0);
    s.blur = 0.9;
    s.noise = 8;
    s.light = 0.35;
    s.jpegQuality = 35;
    s.gray = true;
    const mrzpages::Page page = Make(s, 21);
    ASSERT_EQ(page.image.format(), QImage::Format_Grayscale8);
    ExpectRead(page, ReadMrz(page.image));
}

TEST(MrzReader, TheZoneOnThePageIsReported)
{
    const mrzpages::Page page = Make(Spec("TD3", 300, 0, 1.0));
    const MrzResult r = ReadMrz(page.image);
    ASSERT_TRUE(r.found);
    ASSERT_EQ(r.zone.size(), 4);
    const QRectF found = r.zone.boundingRect(), truth = page.truth.zone.boundingRect();
    EXPECT_TRUE(found.intersects(truth));
    EXPECT_NEAR(found.center().x(), truth.center().x(), 30);
    EXPECT_NEAR(found.center().y(), truth.center().y(), 30);
}

TEST(MrzReader, PagesWithoutAZone)
{
    QImage blank(1240, 1754, QImage::Format_RGB32);
    blank.fill(Qt::white);
    EXPECT_FALSE(ReadMrz(blank).found);
    EXPECT_TRUE(ReadMrz(blank).error.isEmpty()) << "no zone is no error";

    // Ordinary print: many rows of text, none of them a zone.
    QPainter p(&blank);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(18);
    p.setFont(f);
    for (int y = 100; y < 1600; y += 30)
        p.drawText(80, y, QStringLiteral("Lorem ipsum dolor sit amet, consectetur adipiscing elit %1").arg(y));
    p.end();
    const MrzResult r = ReadMrz(blank);
    EXPECT_FALSE(r.found && r.AllChecksValid());

    const MrzResult none = ReadMrz(QImage());
    EXPECT_FALSE(none.found);
    EXPECT_FALSE(none.error.isEmpty());
}

TEST(MrzReader, UprightOnlyRefusesATurnedPage)
{
    const mrzpages::Page upright = Make(Spec("TD3", 200));
    ReadOptions o;
    o.anyTurn = false;
    ExpectRead(upright, ReadMrz(upright.image, o));
    const mrzpages::Page turned = Make(Spec("TD3", 200, 180));
    EXPECT_FALSE(ReadMrz(turned.image, o).found);
    const mrzpages::Page quarter = Make(Spec("TD3", 200, 90));
    EXPECT_FALSE(ReadMrz(quarter.image, o).found);
}

TEST(MrzReader, TheGeneratorIsDeterministic)
{
    const mrzpages::Page a = mrzpages::MakeSetPage(77, 3), b = mrzpages::MakeSetPage(77, 3);
    EXPECT_EQ(a.truth.lines, b.truth.lines);
    EXPECT_EQ(a.image, b.image);
    EXPECT_NE(mrzpages::MakeSetPage(77, 4).truth.lines, a.truth.lines);
}

TEST(MrzReader, FieldMarksForTheSecondEngine)
{
    // A reading with one doubtful name symbol and a failing expiry check.
    MrzResult r;
    r.found = true;
    r.confidence.assign(88, 1.f);
    r.trusted.assign(88, true);
    r.checkFailed.assign(88, false);
    r.confidence[6] = 0.1f;
    r.trusted[6] = false;
    for (int p = 44 + 21; p <= 44 + 27; ++p) {
        r.trusted[size_t(p)] = false;
        r.checkFailed[size_t(p)] = true;
    }
    const FieldText surname{QStringLiteral("ERIKSSON"), {5, 6, 7, 8, 9, 10, 11, 12}};
    const FieldText expiry{QStringLiteral("120415"), {65, 66, 67, 68, 69, 70}};
    const FieldText given{QStringLiteral("ANNA MARIA"), {15, 16, 17, 18, -1, 20, 21, 22, 23, 24}};
    EXPECT_TRUE(r.Marks(surname).doubt);
    EXPECT_FALSE(r.Marks(surname).error);
    EXPECT_FALSE(r.Marks(expiry).doubt);
    EXPECT_TRUE(r.Marks(expiry).error);
    EXPECT_FALSE(r.Marks(given).doubt || r.Marks(given).error);
    EXPECT_FALSE(r.Trusted(surname, 1));
    EXPECT_TRUE(r.Trusted(given, 4)) << "the blank the reader put between names";
}
