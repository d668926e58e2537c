#pragma once
// A stand-in host installed into the package for the duration of one test.

#include "services/HostKit.h"
#include "host/HostServices.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

class HostKitTest : public testing::Test
{
protected:
    void SetUp() override { Install(); }
    void TearDown() override
    {
        InstallHostServices(nullptr);
        kit.reset();
    }
    /// (Re)creates the kit on the test's data folder and installs it.
    void Install(const QString &login = QStringLiteral("admin"))
    {
        InstallHostServices(nullptr);
        kit.reset();
        kit = std::make_unique<hostkit::THostKit>(DataFolder(), login);
        InstallHostServices(kit->Services());
    }
    static QString DataFolder() { return r9test::TestHome() + QStringLiteral("/data"); }

    std::unique_ptr<hostkit::THostKit> kit;
};
