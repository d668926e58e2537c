// Scanners, their settings and the pages they deliver.

#include "EngineFixture.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

using namespace abbyytest;

namespace {

class ScannerTest : public EngineTest
{
protected:
    // Mean brightness and whether any pixel has colour.
    static void Measure(const QImage &image, double *mean, bool *coloured)
    {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
        double sum = 0;
        *coloured = false;
        for (int y = 0; y < rgb.height(); ++y) {
            const uchar *p = rgb.constScanLine(y);
            for (int x = 0; x < rgb.width(); ++x, p += 3) {
                sum += p[0] + p[1] + p[2];
                if (p[0] != p[1] || p[1] != p[2])
                    *coloured = true;
            }
        }
        *mean = sum / (3.0 * rgb.width() * rgb.height());
    }

    QImage ScanWith(IRecognitionEngine *engine, const char *brightness, const char *mode)
    {
        IStringsArrayPtr settings = engine->GetScanSettings();
        settings->Set_(QStringLiteral("brightness"), QString::fromLatin1(brightness));
        settings->Set_(QStringLiteral("picture-mode"), QString::fromLatin1(mode));
        engine->SetScanSettings(settings.get());
        const QString path = engine->Scan();
        QImage image;
        EXPECT_TRUE(image.load(path, "BMP")) << path.toStdString();
        QFile::remove(path);
        return image;
    }
};

TEST_F(ScannerTest, TwoScannersWithDifferentAbilities)
{
    IRecognitionEnginePtr engine = StartedEngine();
    // The two feeders come first, the source manager's scanners after them.
    const int count = engine->ScannersCount();
    ASSERT_GE(count, 2);
    EXPECT_EQ(engine->ScannerName(0), QStringLiteral("PassportReader Specimen Feeder"));
    EXPECT_EQ(engine->ScannerName(1), QStringLiteral("PassportReader Card Slot"));
    EXPECT_FALSE(ExceptionText([&] { engine->ScannerName(count); }).isEmpty());
    EXPECT_FALSE(ExceptionText([&] { engine->CurrentScanSource(-1); }).isEmpty());

    const QStringList all = {QStringLiteral("interface-type"), QStringLiteral("brightness"), QStringLiteral("orientation"),
                             QStringLiteral("paper-size"), QStringLiteral("picture-mode")};
    IStringsArrayPtr feeder = engine->GetScanSettings();
    ASSERT_EQ(feeder->Count(), 5);
    for (const QString &name : all)
        EXPECT_TRUE(feeder->Contains(name)) << name.toStdString();
    EXPECT_EQ(feeder->Value(QStringLiteral("paper-size")), QStringLiteral("A4"));
    EXPECT_EQ(feeder->Value(QStringLiteral("brightness")), QStringLiteral("50"));
    EXPECT_EQ(feeder->Value(QStringLiteral("picture-mode")), QStringLiteral("Color"));
    EXPECT_FALSE(ExceptionText([&] { feeder->Name(5); }).isEmpty());

    engine->CurrentScanSource(1);
    IStringsArrayPtr slot = engine->GetScanSettings();
    EXPECT_TRUE(slot->Contains(QStringLiteral("interface-type")));
    EXPECT_TRUE(slot->Contains(QStringLiteral("paper-size")));
    EXPECT_FALSE(slot->Contains(QStringLiteral("brightness")));
    EXPECT_FALSE(slot->Contains(QStringLiteral("orientation")));
    EXPECT_FALSE(slot->Contains(QStringLiteral("picture-mode")));
    // A paper size the operator's list does not offer.
    EXPECT_EQ(slot->Value(QStringLiteral("paper-size")), QStringLiteral("ID-1"));
    // A setting the array does not hold reads as empty.
    EXPECT_EQ(slot->Value(QStringLiteral("brightness")), QString());
}

TEST_F(ScannerTest, SettingsAreKeptPerScannerAndOnlyThroughSetScanSettings)
{
    IRecognitionEnginePtr engine = StartedEngine();
    IStringsArrayPtr feeder = engine->GetScanSettings();
    feeder->Set_(QStringLiteral("brightness"), QStringLiteral("80"));
    feeder->Set_(QStringLiteral("orientation"), QStringLiteral("Portrait"));
    // The fetched array is a copy until it is handed back.
    EXPECT_EQ(engine->GetScanSettings()->Value(QStringLiteral("brightness")), QStringLiteral("50"));
    engine->SetScanSettings(feeder.get());
    EXPECT_EQ(engine->GetScanSettings()->Value(QStringLiteral("brightness")), QStringLiteral("80"));

    engine->CurrentScanSource(1);
    IStringsArrayPtr slot = engine->GetScanSettings();
    slot->Set_(QStringLiteral("interface-type"), QStringLiteral("Twain"));
    engine->SetScanSettings(slot.get());
    EXPECT_EQ(engine->GetScanSettings()->Value(QStringLiteral("interface-type")), QStringLiteral("Twain"));

    engine->CurrentScanSource(0);
    IStringsArrayPtr again = engine->GetScanSettings();
    EXPECT_EQ(again->Value(QStringLiteral("brightness")), QStringLiteral("80"));
    EXPECT_EQ(again->Value(QStringLiteral("orientation")), QStringLiteral("Portrait"));
    EXPECT_EQ(again->Value(QStringLiteral("interface-type")), QStringLiteral("Twain"));
}

TEST_F(ScannerTest, WrongSettingsAreRefusedAndNothingIsApplied)
{
    IRecognitionEnginePtr engine = StartedEngine();
    IStringsArrayPtr feeder = engine->GetScanSettings();
    feeder->Set_(QStringLiteral("brightness"), QStringLiteral("70"));
    feeder->Set_(QStringLiteral("picture-mode"), QStringLiteral("Sepia"));
    const QString text = ExceptionText([&] { engine->SetScanSettings(feeder.get()); });
    EXPECT_TRUE(text.contains(QLatin1String("Sepia"))) << text.toStdString();
    EXPECT_EQ(engine->GetScanSettings()->Value(QStringLiteral("brightness")), QStringLiteral("50"));

    for (const char *bad : {"101", "-1", "bright"}) {
        IStringsArrayPtr s = engine->GetScanSettings();
        s->Set_(QStringLiteral("brightness"), QString::fromLatin1(bad));
        EXPECT_FALSE(ExceptionText([&] { engine->SetScanSettings(s.get()); }).isEmpty()) << bad;
    }

    // The feeder's settings are not the card slot's.
    engine->CurrentScanSource(1);
    const QString slotText = ExceptionText([&] { engine->SetScanSettings(feeder.get()); });
    EXPECT_TRUE(slotText.contains(QLatin1String("has no setting"))) << slotText.toStdString();
    EXPECT_FALSE(ExceptionText([&] { engine->SetScanSettings(nullptr); }).isEmpty());
}

TEST_F(ScannerTest, ScanDeliversTheNextSpecimenPageAsABmpInATemporaryFolder)
{
    QTemporaryDir dir;
    SetSpecimens(SpecimenSubset(dir, {QStringLiteral("01-Passport_RU"), QStringLiteral("06-ID_KZ")}));
    IRecognitionEnginePtr engine = StartedEngine();
    const QString first = engine->Scan();
    const QString second = engine->Scan();
    const QString third = engine->Scan();
    for (const QString &path : {first, second, third}) {
        EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
        EXPECT_FALSE(path.startsWith(dir.path())) << "pages are not written among the specimens";
        EXPECT_TRUE(r9test::ReadFile(path).startsWith("BM")) << path.toStdString();
    }
    EXPECT_NE(first, second);
    QImage a, b, c;
    ASSERT_TRUE(a.load(first, "BMP") && b.load(second, "BMP") && c.load(third, "BMP"));
    EXPECT_EQ(a.size(), QSize(1000, 700));
    EXPECT_EQ(b.size(), QSize(856, 1120));
    EXPECT_EQ(c.size(), a.size()) << "the feeder starts again after the last page";
    for (const QString &path : {first, second, third})
        QFile::remove(path);
}

TEST_F(ScannerTest, BrightnessAndColourModeChangeThePicture)
{
    QTemporaryDir dir;
    SetSpecimens(SpecimenSubset(dir, {QStringLiteral("02-ForeignPassport_RU")}));
    IRecognitionEnginePtr engine = StartedEngine();
    double darkMean = 0, normalMean = 0, lightMean = 0;
    bool darkColour = false, normalColour = false, lightColour = false;
    Measure(ScanWith(engine.get(), "10", "Color"), &darkMean, &darkColour);
    Measure(ScanWith(engine.get(), "50", "Color"), &normalMean, &normalColour);
    Measure(ScanWith(engine.get(), "90", "Grayscale"), &lightMean, &lightColour);
    EXPECT_LT(darkMean + 40, normalMean);
    EXPECT_LT(normalMean + 20, lightMean);
    EXPECT_TRUE(darkColour);
    EXPECT_TRUE(normalColour);
    EXPECT_FALSE(lightColour);
}

TEST_F(ScannerTest, EmptyFeederAndBrokenDescriptionsAreReported)
{
    QTemporaryDir dir;
    SetSpecimens(dir.path());
    IRecognitionEnginePtr engine = StartedEngine();
    // The operator learns what to install.
    EXPECT_TRUE(ExceptionText([&] { engine->Scan(); }).contains(QLatin1String("recognition9r-doubles")));

    r9test::WriteFile(dir.filePath(QStringLiteral("mine.json")), QByteArray("{\"documentType\": \"ID_KG\", \"picture\": \"missing.png\", \"fields\": []}"));
    const QString text = ExceptionText([&] { engine->Scan(); });
    EXPECT_TRUE(text.contains(QLatin1String("mine.json"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("missing.png"))) << text.toStdString();
}

TEST_F(ScannerTest, WithoutTheSpecimensInstalledNoFeederIsOffered)
{
    QTemporaryDir dir;
    SetSpecimens(dir.filePath(QStringLiteral("not-installed")));
    IRecognitionEnginePtr engine = StartedEngine();
    for (int i = 0; i < engine->ScannersCount(); ++i)
        EXPECT_FALSE(engine->ScannerName(i).startsWith(QLatin1String("PassportReader "))) << i;
}

TEST_F(ScannerTest, ZonesReachingPastTheCoordinateRangeAreReported)
{
    QTemporaryDir dir;
    SetSpecimens(dir.path());
    QImage page(40, 30, QImage::Format_RGB888);
    page.fill(Qt::white);
    ASSERT_TRUE(page.save(dir.filePath(QStringLiteral("page.png"))));
    // The second zone's last column is a coordinate, the edge after it is not.
    for (const char *zone : {"\"x\": 2147483647, \"y\": 0, \"width\": 2147483647, \"height\": 1",
                             "\"x\": 2147483647, \"y\": 0, \"width\": 1, \"height\": 1"}) {
        SCOPED_TRACE(zone);
        r9test::WriteFile(dir.filePath(QStringLiteral("far.json")),
                          QByteArray("{\"documentType\": \"ID_KG\", \"picture\": \"page.png\", \"fields\": [],"
                                     " \"photoZone\": {") + zone + "}}");
        IRecognitionEnginePtr engine = StartedEngine();
        const QString text = ExceptionText([&] { engine->Scan(); });
        EXPECT_TRUE(text.contains(QLatin1String("far.json"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String("coordinate range"))) << text.toStdString();
    }
}

} // namespace
