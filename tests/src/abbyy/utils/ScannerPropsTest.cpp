// Pushing the operator's scanner options into the engine.
#include "support/FakeEngine.h"

#include "abbyy/engUtilsABBYY9r.h"
#include "common/engCommon9r.h"

#include <gtest/gtest.h>

namespace {

const std::set<QString> kAllSettings = {"interface-type", "brightness", "orientation", "paper-size", "picture-mode"};

class ScannerProps : public testing::Test
{
protected:
    void SetUp() override
    {
        engine = fake::make<fake::Engine>(&log);
        settings = fake::make<fake::StringsArray>(&log);
        settings->supported = kAllSettings;
        gl_RecognitionEngine = IRecognitionEnginePtr(engine.get());
        gl_ScanSettings = IStringsArrayPtr(settings.get());
    }
    void TearDown() override
    {
        gl_RecognitionEngine = nullptr;
        gl_ScanSettings = nullptr;
    }
    // Everything available and chosen; the tests change one thing at a time.
    struct Args
    {
        bool twainAvailable = true, showTwain = true;
        bool brightnessAvailable = true;
        int brightness = 42;
        bool orientAvailable = true;
        int orient = 2;
        bool paperAvailable = true, paperSelected = true;
        QString paper = "A4";
        bool colorAvailable = true;
        int color = 1;
    };
    QString apply(const Args &a)
    {
        return SetScannerProps(a.twainAvailable, a.showTwain, a.brightnessAvailable, a.brightness, a.orientAvailable,
                               a.orient, a.paperAvailable, a.paperSelected, a.paper, a.colorAvailable, a.color);
    }
    std::vector<QString> writes() const
    {
        std::vector<QString> w;
        for (const QString &entry : log)
            if (entry.startsWith("Set_:"))
                w.push_back(entry.mid(5));
        return w;
    }
    bool asked(const QString &name) const
    {
        return std::find(log.begin(), log.end(), "Contains:" + name) != log.end();
    }

    fake::CallLog log;
    ComPtr<fake::Engine> engine;
    ComPtr<fake::StringsArray> settings;
};

TEST_F(ScannerProps, WritesTheFiveSettingsInOrderThenApplies)
{
    EXPECT_EQ(apply({}), QString());
    const fake::CallLog expected = {"Contains:interface-type", "Set_:interface-type=Twain",
                                    "Contains:brightness",     "Set_:brightness=42",
                                    "Contains:orientation",    "Set_:orientation=Landscape",
                                    "Contains:paper-size",     "Set_:paper-size=A4",
                                    "Contains:picture-mode",   "Set_:picture-mode=Color",
                                    "SetScanSettings"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(engine->settingsHanded, settings.get());
}

TEST_F(ScannerProps, OtherValues)
{
    Args a;
    a.showTwain = false;
    a.brightness = -5;
    a.orient = 0;
    a.paper = QStringLiteral("Letter 8½×11");
    a.color = 0;
    EXPECT_EQ(apply(a), QString());
    const std::vector<QString> expected = {"interface-type=None", "brightness=-5", "orientation=Portrait",
                                           QStringLiteral("paper-size=Letter 8½×11"), "picture-mode=Grayscale"};
    EXPECT_EQ(writes(), expected);
}

TEST_F(ScannerProps, UnavailableOrUnsupportedSettingsAreNotWrittenButStillApplied)
{
    Args off;
    off.twainAvailable = off.brightnessAvailable = off.orientAvailable = off.paperSelected = off.colorAvailable = false;
    EXPECT_EQ(apply(off), QString());
    EXPECT_TRUE(writes().empty());
    for (const QString &name : kAllSettings)
        EXPECT_TRUE(asked(name)) << name.toStdString();
    EXPECT_EQ(log.back(), "SetScanSettings");

    log.clear();
    settings->supported.clear();
    EXPECT_EQ(apply({}), QString());
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(log.back(), "SetScanSettings");
}

TEST_F(ScannerProps, PaperSizeIsNotEvenAskedWhenUnavailable)
{
    Args a;
    a.paperAvailable = false;
    EXPECT_EQ(apply(a), QString());
    EXPECT_FALSE(asked("paper-size"));
    EXPECT_EQ(writes().size(), 4u);
}

TEST_F(ScannerProps, ColourIndexOutsideZeroAndOneWritesNothing)
{
    for (int index : {2, -1}) {
        log.clear();
        Args a;
        a.color = index;
        EXPECT_EQ(apply(a), QString());
        EXPECT_TRUE(asked("picture-mode"));
        for (const QString &w : writes())
            EXPECT_FALSE(w.startsWith("picture-mode"));
        EXPECT_EQ(log.back(), "SetScanSettings");
    }
}

TEST_F(ScannerProps, AFailureEndsWithItsMessageAndKeepsEarlierWrites)
{
    settings->failing = {"Set_:brightness=42"};
    EXPECT_EQ(apply({}), QStringLiteral("Set_:brightness=42 failed"));
    EXPECT_EQ(settings->items.size(), 1u);
    EXPECT_EQ(settings->items[0].second, QStringLiteral("Twain"));
    EXPECT_EQ(std::count(log.begin(), log.end(), "SetScanSettings"), 0);

    settings->failing = {"Contains:orientation"};
    EXPECT_EQ(apply({}), QStringLiteral("Contains:orientation failed"));

    settings->failing.clear();
    engine->failing = {"SetScanSettings"};
    EXPECT_EQ(apply({}), QStringLiteral("SetScanSettings failed"));
}

TEST_F(ScannerProps, NoSettingsOrNoEngineIsAnErrorAndAppliesNothing)
{
    gl_ScanSettings = nullptr;
    EXPECT_FALSE(apply({}).isEmpty());
    EXPECT_TRUE(log.empty());

    gl_ScanSettings = IStringsArrayPtr(settings.get());
    gl_RecognitionEngine = nullptr;
    EXPECT_FALSE(apply({}).isEmpty());
    EXPECT_TRUE(log.empty());
}

} // namespace
