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
    testing::UnitTest::GetInstance()->listeners().Append(new TemporaryHome);
    return RUN_ALL_TESTS();
}
