// A program that is not linked with SANE (the host) reaches it only
// through the SANE source, loaded by the source manager: starting and
// stopping SANE to list the scanners afresh (every time the operator
// searches again in the source list) must not leave anything of it behind. With a backend that uses
// SANE's USB helpers beside the test device, every listing used to leave
// its USB context open (two descriptors; some seventy with Debian's whole
// configuration), until the program ran out of them.
#include "support/TestSupport.h"
#include "support/ManagerSupport.h"
#include "twain/MultiTWAIN_p.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <utility>

// Every listing starts SANE's backends and unloads them again; what they
// leave allocated then belongs to no module, and cannot be told apart from
// this program's (the SANE source's own code is leak-checked in
// test_twain_sane, where the test device stays loaded). In the sanitizer
// build the leak check is left out here, as for the host in HostSaneTest.
extern "C" const char *__asan_default_options()
{
    return "detect_leaks=0";
}

namespace {

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

int g_listed = 0;
bool g_searched = false;
/// Searches again, then cancels.
int32_t cancelSelection(const char *const *, int32_t count, int32_t)
{
    if (!std::exchange(g_searched, true))
        return TWAINDSM_SELECT_SEARCH_AGAIN;
    g_listed = count;
    g_searched = false;
    return -1;
}

} // namespace

TEST(SaneScopeTest, ListingTheScannersLeavesNothingOfSaneOpen)
{
    QTemporaryDir sane;
    ASSERT_TRUE(sane.isValid());
    // This program's first use of SANE: its configuration folder holds.
    r9test::WriteFile(sane.filePath(QStringLiteral("dll.conf")), "test\nplustek\n");
    qputenv("SANE_CONFIG_DIR", sane.path().toLocal8Bit());
    qputenv("TWAINSANE_LIST_FRESH_MS", "0");
    twain::ResetSessionForTests();
    const TwainDsmSelectHook previous = twaintest::SetSelectHook(&cancelSelection);
    EXPECT_FALSE(TWAIN_SelectImageSource(0)); // what stays for the program's life is made now
    ASSERT_GE(g_listed, 2);                   // SANE's two test devices
    const int before = openDescriptors();
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(TWAIN_SelectImageSource(0));
    EXPECT_EQ(openDescriptors(), before);
    twaintest::SetSelectHook(previous);
    twain::ResetSessionForTests();
}
