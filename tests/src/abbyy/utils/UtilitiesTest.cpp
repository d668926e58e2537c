// Brightness, symbol confidence colouring, picture loading into an image
// control and the interface packet variant.
#include "support/FakeEngine.h"

#include "abbyy/engUtilsABBYY9r.h"
#include "support/TestSupport.h"
#include "ui/TPictureBox.h"

#include <QImage>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// A 32-bit picture whose pixel i has the bytes (blue, green, red, fourth) given.
QImage pixels32(QImage::Format format, const std::vector<std::array<uchar, 4>> &bytes)
{
    QImage image(int(bytes.size()), 1, format);
    for (size_t i = 0; i < bytes.size(); ++i)
        std::memcpy(image.bits() + 4 * i, bytes[i].data(), 4);
    return image;
}

std::array<uchar, 4> pixelBytes(const QImage &image, int i)
{
    std::array<uchar, 4> b{};
    std::memcpy(b.data(), image.constBits() + 4 * i, 4);
    return b;
}

TEST(ChangeBrightness, AddsTheClampedAmountToTheColourBytesOnly)
{
    const std::vector<std::array<uchar, 4>> source = {{250, 3, 0, 0x10}, {255, 128, 1, 0x80}, {0, 100, 254, 0xFF}};
    struct Case { int amount; std::vector<std::array<uchar, 4>> expected; };
    const Case cases[] = {
        {0, source},
        {10, {{255, 13, 10, 0x10}, {255, 138, 11, 0x80}, {10, 110, 255, 0xFF}}},
        {-10, {{240, 0, 0, 0x10}, {245, 118, 0, 0x80}, {0, 90, 244, 0xFF}}},
        {300, {{255, 255, 255, 0x10}, {255, 255, 255, 0x80}, {255, 255, 255, 0xFF}}},
        {-300, {{0, 0, 0, 0x10}, {0, 0, 0, 0x80}, {0, 0, 0, 0xFF}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.amount);
        QImage image = pixels32(QImage::Format_ARGB32, source);
        ChangeBrightness(&image, c.amount);
        ASSERT_EQ(image.format(), QImage::Format_ARGB32);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(pixelBytes(image, i), c.expected[size_t(i)]) << "pixel " << i;
    }
}

TEST(ChangeBrightness, ConvertsOtherFormatsToThirtyTwoBitsOverEveryLine)
{
    // 3 x 3 in 24 bits has padded lines: after conversion every pixel of
    // every line must be reached, not just the first Width x Height bytes.
    QImage image(3, 3, QImage::Format_RGB888);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            image.setPixel(x, y, qRgb(10 * x + y, 50 + x, 200 + y));
    const QImage original = image.convertToFormat(QImage::Format_RGB32);
    ChangeBrightness(&image, 0);
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    EXPECT_EQ(image, original);
    ChangeBrightness(&image, 5);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(image.pixel(x, y), qRgb(10 * x + y + 5, 55 + x, 205 + y));

    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3)});
    indexed.fill(0);
    ChangeBrightness(&indexed, 1);
    EXPECT_EQ(indexed.format(), QImage::Format_RGB32);
    EXPECT_EQ(indexed.pixel(1, 0), qRgb(2, 3, 4));
}

TEST(ChangeBrightness, PaddedLinesOverOutsideMemoryAreWalkedByTheirStride)
{
    // Two lines of two pixels, each line padded to 12 bytes; the padding is
    // not the picture's and must stay as it is.
    std::array<uchar, 24> memory{};
    memory.fill(0xAB);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) {
            uchar *p = memory.data() + 12 * y + 4 * x;
            p[0] = uchar(10 + x);
            p[1] = uchar(20 + y);
            p[2] = 30;
            p[3] = 0xFF;
        }
    QImage image(memory.data(), 2, 2, 12, QImage::Format_RGB32);
    ChangeBrightness(&image, 5);
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(image.pixel(x, y), qRgb(35, 25 + y, 15 + x)) << x << "," << y;
    for (int y = 0; y < 2; ++y)
        for (int b = 8; b < 12; ++b)
            EXPECT_EQ(memory[size_t(12 * y + b)], 0xAB) << "padding of line " << y;
}

TEST(ChangeBrightness, PremultipliedPicturesKeepTheirAlpha)
{
    const std::vector<std::array<uchar, 4>> source = {{10, 20, 30, 0x40}, {0x80, 0x80, 0x80, 0x80}, {0, 0, 0, 0}};
    QImage image = pixels32(QImage::Format_ARGB32_Premultiplied, source);
    ChangeBrightness(&image, 0);
    ASSERT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(pixelBytes(image, i), source[size_t(i)]) << "amount 0 changes nothing, pixel " << i;

    ChangeBrightness(&image, 40);
    // A premultiplied colour byte never exceeds its alpha.
    EXPECT_EQ(pixelBytes(image, 0), (std::array<uchar, 4>{50, 60, 0x40, 0x40}));
    EXPECT_EQ(pixelBytes(image, 1), (std::array<uchar, 4>{0x80, 0x80, 0x80, 0x80}));
    EXPECT_EQ(pixelBytes(image, 2), (std::array<uchar, 4>{0, 0, 0, 0}));
    ChangeBrightness(&image, -55);
    EXPECT_EQ(pixelBytes(image, 0), (std::array<uchar, 4>{0, 5, 9, 0x40}));
}

TEST(ChangeBrightness, NoScanLinesRaises)
{
    QImage empty;
    EXPECT_THROW(ChangeBrightness(&empty, 10), std::out_of_range);
    EXPECT_THROW(ChangeBrightness(nullptr, 10), std::invalid_argument);
}

class CheckSymbolsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        fields = fake::make<fake::FieldsCollection>(&log);
        field = fake::make<fake::RecognizedField>(&log);
        field->name = "LastName";
        fields->fields = {field};
        normal = edit.palette().color(QPalette::Text);
        ASSERT_NE(normal, UntrustedSymbolColor());
    }
    QColor colour() const { return edit.palette().color(QPalette::Text); }
    /// The field's symbols, trusted or not, in order.
    void Symbols(const std::vector<bool> &trust)
    {
        field->value = QString(qsizetype(trust.size()), QLatin1Char('A'));
        field->untrusted.clear();
        for (size_t i = 0; i < trust.size(); ++i)
            if (!trust[i])
                field->untrusted << int(i);
    }

    fake::CallLog log;
    ComPtr<fake::FieldsCollection> fields;
    ComPtr<fake::RecognizedField> field;
    QLineEdit edit;
    QColor normal;
};

TEST_F(CheckSymbolsTest, AnUntrustedSymbolTurnsTheEditRed)
{
    Symbols({true, true, false});
    CheckSymbols(fields.get(), "LastName", &edit);
    EXPECT_EQ(colour(), QColor(255, 0, 0));
    EXPECT_EQ(edit.palette().color(QPalette::Inactive, QPalette::Text), QColor(255, 0, 0));
}

TEST_F(CheckSymbolsTest, TrustedAbsentOrEmptyFieldsLeaveTheColour)
{
    Symbols({true, true});
    CheckSymbols(fields.get(), "LastName", &edit);
    EXPECT_EQ(colour(), normal);

    Symbols({false});
    CheckSymbols(fields.get(), "FirstName", &edit);
    EXPECT_EQ(colour(), normal);

    Symbols({});
    CheckSymbols(fields.get(), "LastName", &edit);
    EXPECT_EQ(colour(), normal);

    CheckSymbols(nullptr, "LastName", &edit);
    CheckSymbols(fields.get(), "LastName", nullptr);
    EXPECT_EQ(colour(), normal);

    // Never sets the normal colour back: the caller resets it.
    QPalette red = edit.palette();
    red.setColor(QPalette::Text, UntrustedSymbolColor());
    edit.setPalette(red);
    Symbols({true});
    CheckSymbols(fields.get(), "LastName", &edit);
    EXPECT_EQ(colour(), UntrustedSymbolColor());
}

TEST_F(CheckSymbolsTest, TheAnswerWithoutAnEdit)
{
    Symbols({true, false});
    EXPECT_TRUE(abbyy::HasUntrustedSymbols(fields.get(), "LastName"));
    Symbols({true, true});
    EXPECT_FALSE(abbyy::HasUntrustedSymbols(fields.get(), "LastName"));
    Symbols({});
    EXPECT_FALSE(abbyy::HasUntrustedSymbols(fields.get(), "LastName")) << "no symbols";
    EXPECT_FALSE(abbyy::HasUntrustedSymbols(fields.get(), "FirstName")) << "absent";
    EXPECT_FALSE(abbyy::HasUntrustedSymbols(nullptr, "LastName"));
    Symbols({true});
    field->failing = {"Symbol:0"};
    EXPECT_TRUE(abbyy::HasUntrustedSymbols(fields.get(), "LastName")) << "unreadable confidence";
}

TEST_F(CheckSymbolsTest, UnreadableConfidenceCountsAsDoubtful)
{
    auto fresh = [&] { edit.setPalette(QPalette()); };
    Symbols({true, true});
    field->failing = {"Symbol:1"};
    CheckSymbols(fields.get(), "LastName", &edit);
    EXPECT_EQ(colour(), UntrustedSymbolColor());

    fresh();
    field->failing.clear();
    field->nullSymbols = {0};
    CheckSymbols(fields.get(), "LastName", &edit);
    EXPECT_EQ(colour(), UntrustedSymbolColor());

    fresh();
    field->nullSymbols.clear();
    field->length = 5; // more symbols claimed than delivered
    CheckSymbols(fields.get(), "LastName", &edit);
    EXPECT_EQ(colour(), UntrustedSymbolColor());

    fresh();
    field->length.reset();
    fields->lookups = 0;
    fields->vanishAfter = 2; // the field disappears between lookups
    CheckSymbols(fields.get(), "LastName", &edit);
    EXPECT_EQ(colour(), UntrustedSymbolColor());
}

TEST(LoadPictureFromFile, LoadsByExtensionAndKeepsThePictureOnFailure)
{
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    const QString bmp = r9test::TestHome() + "/scan.bmp";
    ASSERT_TRUE(picture.save(bmp, "BMP"));

    ui::TPictureBox image;
    EXPECT_EQ(LoadPictureFromFile(bmp, &image), QString());
    ASSERT_TRUE(image.HasGraphic());
    EXPECT_EQ(image.Picture().convertToFormat(QImage::Format_RGB32), picture);

    const QString broken = r9test::TestHome() + "/Photo.jpg";
    r9test::WriteFile(broken, "not a picture");
    const QString error = LoadPictureFromFile(broken, &image);
    EXPECT_TRUE(error.contains(broken)) << error.toStdString();
    EXPECT_EQ(image.Picture().convertToFormat(QImage::Format_RGB32), picture);

    EXPECT_FALSE(LoadPictureFromFile(bmp, nullptr).isEmpty());
}

TEST(InterfacePacketToVariant, TakesOverTheReferencesOrGivesNull)
{
    fake::CallLog log;
    bool released = false;
    auto a = fake::make<fake::Symbol>(&log);
    auto b = fake::make<fake::Symbol>(&log);
    b->onDestroy = [&] { released = true; };
    TInterfacePacket packet = {ComPtr<IUnknown>(a.get()), ComPtr<IUnknown>(b.get())};
    const std::uint32_t refsBefore = a->refs;

    QVariant variant = QStringLiteral("old value");
    InterfacePacketToVariant(&packet, variant);
    EXPECT_TRUE(packet.isEmpty());
    ASSERT_EQ(variant.typeId(), qMetaTypeId<TInterfacePacket>());
    {
        const TInterfacePacket &held = *static_cast<const TInterfacePacket *>(variant.constData());
        ASSERT_EQ(held.size(), 2);
        EXPECT_EQ(held[0].get(), static_cast<IUnknown *>(a.get()));
        EXPECT_EQ(held[1].get(), static_cast<IUnknown *>(b.get()));
        EXPECT_EQ(a->refs, refsBefore); // moved, not copied one by one
    }

    b = nullptr;
    EXPECT_FALSE(released);
    InterfacePacketToVariant(nullptr, variant); // clears the old array
    EXPECT_TRUE(released);
    EXPECT_TRUE(variant.isNull());
    EXPECT_TRUE(variant.isValid());
    EXPECT_NE(variant.typeId(), qMetaTypeId<TInterfacePacket>());
}

} // namespace
