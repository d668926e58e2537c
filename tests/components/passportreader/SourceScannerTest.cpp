// The source manager's scanners as the engine's: listed after the feeders
// with the feeders' settings that the source has, a page of theirs delivered as the feeders
// deliver theirs, their faults as the engine's error.

#include "EngineFixture.h"
#include "support/TestSupport.h"
#include "support/ScannerSources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

using namespace abbyytest;
using namespace scannertest;

namespace {

class SourceScannerTest : public EngineTest
{
protected:
    /// The engine's scanner of that name made current; false when it has none.
    static bool Choose(IRecognitionEngine *engine, const char *name)
    {
        for (int i = 0; i < engine->ScannersCount(); ++i)
            if (engine->ScannerName(i) == QLatin1String(name)) {
                engine->CurrentScanSource(i);
                return true;
            }
        return false;
    }

    static void Set(IRecognitionEngine *engine, const char *name, const char *value)
    {
        IStringsArrayPtr settings = engine->GetScanSettings();
        settings->Set_(QLatin1String(name), QLatin1String(value));
        engine->SetScanSettings(settings.get());
    }

    /// The files of the engine's scan folder (the folder of a feeder's page).
    static QStringList ScanFolderFiles(IRecognitionEngine *engine)
    {
        engine->CurrentScanSource(0);
        const QString page = engine->Scan();
        QFile::remove(page);
        return QDir(QFileInfo(page).path()).entryList(QDir::Files);
    }

    ScannerSources sources;
};

TEST_F(SourceScannerTest, EverySourceOfTheManagerIsAScannerWithTheFeedersSettings)
{
    IRecognitionEnginePtr engine = StartedEngine();
    QStringList names;
    for (int i = 2; i < engine->ScannersCount(); ++i)
        names << engine->ScannerName(i);
    for (const char *source : {SpecimenSource, SaneSource, SecondSaneSource}) {
        SCOPED_TRACE(source);
        EXPECT_TRUE(names.contains(QLatin1String(source))) << names.join(QLatin1Char('|')).toStdString();
        ASSERT_TRUE(Choose(engine.get(), source));
        IStringsArrayPtr settings = engine->GetScanSettings();
        for (const char *name : {"interface-type", "picture-mode"})
            EXPECT_TRUE(settings->Contains(QLatin1String(name))) << name;
        // Neither source has brightness, orientation or paper sizes: the
        // operator is not offered what would never reach the scanner.
        for (const char *name : {"brightness", "orientation", "paper-size"})
            EXPECT_FALSE(settings->Contains(QLatin1String(name))) << name;
        // No window of the source's own until the operator asks for it.
        EXPECT_EQ(settings->Value(QStringLiteral("interface-type")), QStringLiteral("None"));
    }
}

TEST_F(SourceScannerTest, EachStartOfTheEngineFindsTheScannersSwitchedOnSince)
{
    const char *third = "SANE: Noname frontend-tester #3";
    struct Case
    {
        int devices;
        bool listed;
    };
    for (const Case c : {Case{2, false}, Case{3, true}, Case{2, false}}) {
        SCOPED_TRACE(c.devices);
        sources.configureSane({QStringLiteral("number_of_devices %1").arg(c.devices)});
        IRecognitionEnginePtr engine = StartedEngine();
        EXPECT_EQ(Choose(engine.get(), third), c.listed);
    }
    sources.configureSane({});
}

TEST_F(SourceScannerTest, AScanDeliversTheSourcesPageAsTheFeederDeliversItsOwn)
{
    IRecognitionEnginePtr engine = StartedEngine();
    engine->CurrentScanSource(0);
    const QString feederPage = engine->Scan();
    QFile::remove(feederPage);
    struct Case
    {
        const char *source;
        const char *mode;
        bool grey;
    };
    for (const Case c : {Case{SpecimenSource, "Color", false}, Case{SpecimenSource, "Grayscale", true},
                         Case{SaneSource, "Color", false}, Case{SaneSource, "Grayscale", true}}) {
        SCOPED_TRACE(testing::Message() << c.source << " " << c.mode);
        ASSERT_TRUE(Choose(engine.get(), c.source));
        Set(engine.get(), "picture-mode", c.mode);
        const QString page = engine->Scan();
        EXPECT_EQ(QFileInfo(page).path(), QFileInfo(feederPage).path());
        EXPECT_TRUE(QFileInfo(page).fileName().startsWith(QLatin1String("page-"))) << page.toStdString();
        EXPECT_TRUE(page.endsWith(QLatin1String(".tmp"))) << page.toStdString();
        EXPECT_TRUE(r9test::ReadFile(page).startsWith("BM"));
        QImage picture;
        ASSERT_TRUE(picture.load(page, "BMP"));
        EXPECT_EQ(picture.allGray(), c.grey);
        QFile::remove(page);
    }
}

TEST_F(SourceScannerTest, TheSourcesWindowShowsWhenTheInterfaceTypeAsksForIt)
{
    IRecognitionEnginePtr engine = StartedEngine();
    ASSERT_TRUE(Choose(engine.get(), SpecimenSource));
    for (const char *interfaceType : {"Twain", "None"}) {
        SCOPED_TRACE(interfaceType);
        Set(engine.get(), "interface-type", interfaceType);
        DialogAnswer operatorAnswers("SpecimenScanDialog", [](QWidget *dialog) { Click(dialog, "bScan"); });
        const QString page = engine->Scan();
        EXPECT_EQ(operatorAnswers.answered(), QLatin1String(interfaceType) == QLatin1String("Twain"));
        EXPECT_TRUE(QFileInfo::exists(page));
        QFile::remove(page);
    }
}

TEST_F(SourceScannerTest, ScannerFaultsBecomeTheEnginesErrorAndLeaveNothingBehind)
{
    struct Case
    {
        const char *source;
        const char *specimenFaults;
        const char *saneStatus;
        const char *message; // UTF-8, a part of the error
        bool cancel = false;
    };
    for (const Case c : {Case{SpecimenSource, "cancel", nullptr, "Сканирование отменено", true},
                         Case{SpecimenSource, "openfails", nullptr, "Specimen Scanner"},
                         Case{SaneSource, nullptr, "SANE_STATUS_JAMMED", "Бумага застряла"},
                         Case{SaneSource, nullptr, "SANE_STATUS_COVER_OPEN", "Крышка сканера открыта"},
                         Case{SaneSource, nullptr, "SANE_STATUS_IO_ERROR", "не отвечает"}}) {
        SCOPED_TRACE(testing::Message() << c.source << " " << (c.specimenFaults ? c.specimenFaults : "")
                                        << (c.saneStatus ? c.saneStatus : ""));
        sources.setSpecimenFaults(QLatin1String(c.specimenFaults));
        sources.configureSane(c.saneStatus ? QStringList{QStringLiteral("read-status-code %1").arg(QLatin1String(c.saneStatus))}
                                           : QStringList());
        IRecognitionEnginePtr engine = StartedEngine();
        const QStringList before = ScanFolderFiles(engine.get());
        ASSERT_TRUE(Choose(engine.get(), c.source));
        const QString scanError = ExceptionText([&] { engine->Scan(); });
        EXPECT_TRUE(scanError.contains(QString::fromUtf8(c.message))) << scanError.toStdString();
        // Scanning and recognising in one call, the fault is the collection's
        // (the window shows it once, with nothing recognised); the
        // operator's cancel is no fault, with no collection.
        IFieldsCollectionPtr fields;
        EXPECT_EQ(ExceptionText([&] { fields = engine->ScanAndRecognize(QStringLiteral("ForeignPassport_MRZ")); }),
                  QString());
        EXPECT_EQ(fields == nullptr, c.cancel);
        if (fields) {
            EXPECT_EQ(ExceptionText([&] { fields->Count(); }), scanError);
        }
        EXPECT_EQ(ScanFolderFiles(engine.get()), before);
        CloseNotices();
    }
}

} // namespace
