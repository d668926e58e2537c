// Scanned documents and what goes with them are personal data: whatever the
// user's umask, the data folder and every file the package writes into it are
// readable by the user alone.
#include "support/TestSupport.h"
#include "base/PackageUnits.h"
#include "common/PrivateFiles.h"
#include "common/TProfileFile.h"
#include "common/TSettingsFile.h"
#include "common/engCommon9r.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(PrivateFiles, DataFolderAndSettingsFilesAreTheUsersAloneWhateverTheUmask)
{
    r9test::PermissiveUmask open;
    for (const bool existedOpen : {false, true}) {
        SCOPED_TRACE(existedOpen ? "an open folder and files from before" : "created now");
        const QString folder = QDir::homePath() + (existedOpen ? "/old/Velmar-Q-70/" : "/new/Velmar-Q-70/");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(QFileInfo(folder + "..").absoluteFilePath()));
        if (existedOpen) {
            ASSERT_TRUE(QDir().mkpath(folder));
            ::chmod(QFile::encodeName(folder).constData(), 0777);
            for (const char *name : {"Recognize.iniu", "ScApi_90.Ini"}) {
                QFile f(folder + name);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write("8-bit text, no settings\n"); // the settings file is kept aside as it is
                f.setPermissions(QFileDevice::Permissions(0x6666));
            }
        }
        ASSERT_EQ(GetUserDataFolder(), folder);
        EXPECT_EQ(r9test::ModeOf(folder), 0700);

        TSettingsFile settings(folder + "Recognize.iniu");
        settings.WriteInteger("SCAN_INFO", "ScannerIndex", 2);
        settings.UpdateFile();
        EXPECT_EQ(r9test::ModeOf(settings.FileName()), 0600);
        TProfileFile profile(folder + "ScApi_90.Ini");
        profile.WriteInteger("ScanAllDocuments", "ShowTWAIN", 1);
        EXPECT_EQ(r9test::ModeOf(profile.FileName()), 0600);
        const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(files.size(), existedOpen ? 3 : 2) << files.join(' ').toStdString();
        for (const QString &name : files)
            EXPECT_EQ(r9test::ModeOf(folder + name), 0600) << name.toStdString();
    }
}

TEST(PrivateFiles, WhatTheDataFolderHeldBeforeIsClosedAtPackageStartAndLinksAreNotFollowed)
{
    r9test::PermissiveUmask open;
    const QString config = QDir::homePath() + "/start";
    const QString folder = config + "/Velmar-Q-70/";
    const QString outside = QDir::homePath() + "/outside.txt";
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    // Left by a package of before: an open package folder with a page in it,
    // and a link to a file of someone else's that must stay as it is.
    ASSERT_TRUE(QDir().mkpath(folder + "dss0A1B/photos"));
    for (const QString &file : {folder + "dss0A1B/PassportRF.jpg", folder + "dss0A1B/photos/photo1.jpg", outside}) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.setPermissions(QFileDevice::Permissions(0x6644));
    }
    ::chmod(QFile::encodeName(folder + "dss0A1B").constData(), 0755);
    ASSERT_TRUE(QFile::link(outside, folder + "dss0A1B/link.txt"));

    engCommon9r_Initialization();
    engCommon9r_Finalization();
    for (const char *path : {"dss0A1B", "dss0A1B/photos"})
        EXPECT_EQ(r9test::ModeOf(folder + path), 0700) << path;
    for (const char *path : {"dss0A1B/PassportRF.jpg", "dss0A1B/photos/photo1.jpg"})
        EXPECT_EQ(r9test::ModeOf(folder + path), 0600) << path;
    EXPECT_EQ(r9test::ModeOf(outside), 0644) << "a link is not followed";

    // What cannot be closed is told, not passed over.
    EXPECT_FALSE(MakePrivate(QStringLiteral("/proc/self/fdinfo")));
    EXPECT_FALSE(MakePrivateFolder(QStringLiteral("/proc/self")));
}
