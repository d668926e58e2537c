// The one rule by which the package finds its own files whatever the case of
// the name it is given.
#include "common/PackageFiles.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(PackageFiles, ExactNameFirstThenAnyCaseElseTheNameToCreate)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    EXPECT_EQ(PackageFilePath(folder, QStringLiteral("ScApi_270.ini")), folder + QStringLiteral("/ScApi_270.ini"));
    EXPECT_FALSE(PackageFileExists(folder, QStringLiteral("ScApi_270.ini")));

    r9test::WriteFile(folder + QStringLiteral("/ScApi_270.Ini"), "x");
    EXPECT_EQ(PackageFilePath(folder, QStringLiteral("ScApi_270.ini")), folder + QStringLiteral("/ScApi_270.Ini"));
    EXPECT_EQ(PackageFilePath(folder + QStringLiteral("/"), QStringLiteral("SCAPI_270.INI")),
              folder + QStringLiteral("/ScApi_270.Ini"));
    EXPECT_TRUE(PackageFileExists(folder, QStringLiteral("scapi_270.ini")));

    r9test::WriteFile(folder + QStringLiteral("/scapi_270.ini"), "y");
    EXPECT_EQ(PackageFilePath(folder, QStringLiteral("scapi_270.ini")), folder + QStringLiteral("/scapi_270.ini"));
    EXPECT_EQ(PackageFilePath(folder, QStringLiteral("ScApi_270.Ini")), folder + QStringLiteral("/ScApi_270.Ini"));

    // A folder of that name is not the file.
    QDir(folder).mkdir(QStringLiteral("ScProxy.Ini"));
    EXPECT_FALSE(PackageFileExists(folder, QStringLiteral("ScProxy.Ini")));
    EXPECT_FALSE(PackageFileExists(folder + QStringLiteral("/missing"), QStringLiteral("ScProxy.Ini")));
}

} // namespace
