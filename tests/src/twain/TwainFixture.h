#pragma once
// The TWAIN layer's fixture: a fresh session against the in-process fake
// source manager; warning boxes are recorded instead of shown.

#include "support/FakeDsm.h"
#include "platform/GlobalMemory.h"
#include "support/TestSupport.h"
#include "twain/MultiTWAIN_p.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

namespace twaintest {

class FakeSessionTest : public testing::Test
{
public:
    void SetUp() override
    {
        twain::ResetSessionForTests();
        FakeDsm::instance().reset();
        twain::SetSourceManagerOverride(QString(), &FakeDsm::Entry);
        boxes = std::make_unique<r9test::MessageBoxRecorder>();
    }
    void TearDown() override
    {
        twain::SetSourceManagerOverride(QString());
        twain::ResetSessionForTests();
        boxes.reset();
    }
    /// Walks the session up to the state (2 to 5) through the layer.
    void walkTo(int state, TWAIN_HWND window = 0)
    {
        if (state >= 2) {
            ASSERT_TRUE(TWAIN_LoadSourceManager());
        }
        if (state >= 3) {
            ASSERT_TRUE(TWAIN_OpenSourceManager(window));
        }
        if (state >= 4) {
            ASSERT_TRUE(TWAIN_OpenDefaultSource());
        }
        if (state >= 5) {
            ASSERT_TRUE(TWAIN_EnableSource(window));
        }
        ASSERT_EQ(TWAIN_State(), state);
    }
    QStringList boxTexts() const
    {
        QStringList texts;
        for (const ui::MessageBoxCall &c : boxes->calls)
            texts << c.text;
        return texts;
    }

    FakeDsm &dsm = FakeDsm::instance();
    std::unique_ptr<r9test::MessageBoxRecorder> boxes;
};

} // namespace twaintest
