// Shared main of every test executable: the offscreen platform unless the
// caller chose one (test discovery runs this at build time, without a
// display), one QApplication, and a fresh temporary HOME/XDG_CONFIG_HOME per
// test so that no test touches a real settings file.
#include "support/TestSupport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> g_home;

class TemporaryHome : public testing::EmptyTestEventListener
{
    void OnTestStart(const testing::TestInfo &) override
    {
        g_home = std::make_unique<QTemporaryDir>();
        qputenv("HOME", g_home->path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (g_home->path() + QStringLiteral("/.config")).toLocal8Bit());
        qputenv("XDG_STATE_HOME", (g_home->path() + QStringLiteral("/.local/state")).toLocal8Bit());
    }
    void OnTestEnd(const testing::TestInfo &) override { g_home.reset(); }
};

} // namespace

QString r9test::TestHome()
{
    return g_home ? g_home->path() : QString();
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // GStreamer (behind the real cameras) keeps its plugin registry under
    // HOME, which is new for every test: one registry beside the tests
    // spares each test a scan of every plugin.
    if (qEnvironmentVariableIsEmpty("GST_REGISTRY"))
        qputenv("GST_REGISTRY", (QCoreApplication::applicationDirPath() + QStringLiteral("/gstreamer-registry.bin")).toLocal8Bit());
    testing::UnitTest::GetInstance()->listeners().Append(new TemporaryHome);
    return RUN_ALL_TESTS();
}
