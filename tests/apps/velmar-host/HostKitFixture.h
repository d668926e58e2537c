#pragma once
// A stand-in host installed into the package for the duration of one test.

#include "services/HostKit.h"
#include "host/HostServices.h"
#include "support/TestSupport.h"

#include <QImage>
#include <cstdlib>
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

/// How far two pictures differ, per channel on 0 to 255; the second is
/// scaled to the first's size (a view against the frame it shows).
inline double MeanAbsoluteDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB888);
    const QImage y = b.convertToFormat(QImage::Format_RGB888).scaled(x.size());
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const uchar *p = x.constScanLine(row);
        const uchar *q = y.constScanLine(row);
        for (int i = 0; i < x.width() * 3; ++i)
            sum += std::abs(int(p[i]) - int(q[i]));
    }
    return sum / (double(x.width()) * x.height() * 3);
}
