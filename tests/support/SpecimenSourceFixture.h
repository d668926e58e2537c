#pragma once
// The specimen scanner behind the source manager, as the package's TWAIN
// layer meets them (both loaded at run time from the build's bin folder):
// the scanner made the remembered default, its fault switches cleared, the
// pictures of each test freed and its warning boxes recorded. Shared by the
// specimen scanner's suite and the source manager's, whose only source it is.

#include "support/TestSupport.h"
#include "twain/MultiTWAIN_p.h"

#include <QDir>
#include <QStringList>
#include <gtest/gtest.h>

namespace twaintest {

inline constexpr const char *SpecimenName = "Specimen Scanner";

class SpecimenSourceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        twain::ResetSessionForTests();
        twain::SetSourceManagerOverride(QString());
        for (const char *v : {"TWAINSPECIMEN_FAULTS", "TWAINSPECIMEN_PAGES", "TWAINSPECIMEN_CONTAINER"})
            qunsetenv(v);
        // Other data sources may sit beside the specimen one: make it the default.
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/twaindsm");
        QDir().mkpath(config);
        r9test::WriteFile(config + QStringLiteral("/default-source"), QByteArray(SpecimenName) + '\n');
        TWAIN_SetHideUI(1);
    }
    void TearDown() override
    {
        for (int i = 0; i < TWAIN_GetNumDibs(); ++i)
            if (TWAIN_GetDib(i) != kept)
                TWAIN_FreeNative(TWAIN_GetDib(i));
        TWAIN_FreeNative(kept);
        TWAIN_ClearDibList();
        for (const char *v : {"TWAINSPECIMEN_FAULTS", "TWAINSPECIMEN_PAGES", "TWAINSPECIMEN_CONTAINER"})
            qunsetenv(v);
        twain::ResetSessionForTests();
    }
    /// Acquires and keeps the returned DIB for freeing.
    TWAIN_HDIB acquire(int32_t mask = TWAIN_ANYTYPE)
    {
        kept = TWAIN_AcquireNative(0, mask);
        return kept;
    }
    QStringList boxTexts() const
    {
        QStringList t;
        for (const auto &c : boxes.calls)
            t << c.text;
        return t;
    }

    TWAIN_HDIB kept = nullptr;
    r9test::MessageBoxRecorder boxes;
};

} // namespace twaintest
