// The operator's remembered mode and resolution per scanner: a file of the
// user's alone, and a choice written over a file that did not read is
// remembered and said to be.
#include "RememberedChoice.h"
#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

} // namespace

TEST(RememberedChoiceTest, PrivateWhateverTheUmaskAndRememberedOverAFileThatDidNotRead)
{
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm");
    const QString path = folder + QStringLiteral("/sane-choices.ini");
    QDir(folder).removeRecursively();
    // A fresh folder and file, then a file another program left readable to all.
    const mode_t umask = ::umask(0);
    const bool fresh = twainsane::RememberChoice("SANE: A", TWPT_GRAY, 600);
    QFile::setPermissions(path, QFile::Permissions(0x6666));
    const bool again = twainsane::RememberChoice("SANE: A", TWPT_BW, 300);
    ::umask(umask);
    EXPECT_TRUE(fresh);
    EXPECT_TRUE(again);
    EXPECT_EQ(r9test::ModeOf(folder), 0700);
    EXPECT_EQ(r9test::ModeOf(path), 0600);

    r9test::WriteFile(path, "[unclosed\nno equals sign\n");
    EXPECT_TRUE(twainsane::RememberChoice("SANE: B", TWPT_RGB, 150));
    const twainsane::RememberedChoice b = twainsane::ReadRememberedChoice("SANE: B");
    EXPECT_EQ(b.pixelType, std::optional<TW_UINT16>(TWPT_RGB));
    EXPECT_EQ(b.resolution, std::optional<double>(150));
    QFile::remove(path);
}
