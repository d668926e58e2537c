// Crash-safe settings: a writer process rewrites the settings file in a loop
// and is killed (SIGKILL) at random moments, a few hundred times. After every
// kill the file must parse and hold one of the two contents in full; never a
// mix, a cut-off or an empty file, and no temporary files may pile up.
#include "SettingsContent.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <random>

namespace {

constexpr int kKills = 300;

/// Work of random length on this side, so the kill falls anywhere in the
/// writer's cycle (reading, building the text, writing, renaming).
void RandomWork(std::mt19937 &random)
{
    volatile unsigned sink = 0;
    const unsigned n = std::uniform_int_distribution<unsigned>(0, 400000)(random);
    for (unsigned i = 0; i < n; ++i)
        sink = sink + i;
}

TEST(SettingsKill, FileHoldsOldOrNewContentAfterEveryKill)
{
    // A kill takes the process, not the page cache: where the file lies does
    // not change what is tested. A memory-backed folder keeps the writer's
    // syncs from making the test wait for the disk.
    const QString shm = QStringLiteral("/dev/shm");
    const QTemporaryDir memory(shm + "/r9-kill-XXXXXX");
    const QString folder = (QFileInfo(shm).isWritable() && memory.isValid() ? memory.path() : r9test::TestHome())
                           + "/Velmar-Q-70";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + "/Recognize.iniu";
    const QByteArray contentA = r9test::Utf16LeFile(reliability::SettingsText('A'));
    const QByteArray contentB = r9test::Utf16LeFile(reliability::SettingsText('B'));
    r9test::WriteFile(path, contentA);

    std::mt19937 random(20261208);
    int changedBetweenKills = 0;
    QByteArray previous = contentA;
    for (int round = 0; round < kKills; ++round) {
        SCOPED_TRACE(round);
        QProcess writer;
        writer.start(QCoreApplication::applicationDirPath() + "/r9-settings-writer", {path});
        ASSERT_TRUE(writer.waitForStarted());
        // Let it finish a random number of writes (often none), then a random
        // moment more.
        const int writes = std::uniform_int_distribution<int>(0, 2)(random);
        while (writer.readAllStandardOutput().count('\n') < writes && writer.state() == QProcess::Running)
            writer.waitForReadyRead();
        RandomWork(random);
        writer.kill();
        ASSERT_TRUE(writer.waitForFinished());
        ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit) << writer.readAllStandardError().toStdString();

        const QByteArray now = r9test::ReadFile(path);
        ASSERT_TRUE(now == contentA || now == contentB) << "file of " << now.size() << " bytes holds neither content";
        const TSettingsFile parsed(path);
        const QString generation = parsed.ReadString(reliability::kGenerationSection, reliability::kGenerationKey, "");
        ASSERT_TRUE(generation == "A" || generation == "B");
        changedBetweenKills += now != previous;
        previous = now;
    }
    // The new content is written into an unnamed file that vanishes with the
    // killed writer; only a kill in the instant between naming it and renaming
    // it over the old file leaves a named copy. Those must stay rare; how
    // many kills land in that instant depends on the machine's load, so the
    // bound leaves room (seen: 0 to 2 of 300).
    const int leftovers = int(QDir(folder).entryList(QDir::Files | QDir::Hidden).size()) - 1;
    EXPECT_LE(leftovers, kKills / 30);
    // Such copies are removed by the next write once they are old enough
    // that no writer can still be at work on them; a young one is kept.
    const QDateTime old = QDateTime::currentDateTimeUtc().addSecs(-TSettingsFile::StaleTemporarySeconds - 60);
    for (const QFileInfo &copy : QDir(folder).entryInfoList({"Recognize.iniu.*"}, QDir::Files | QDir::Hidden)) {
        QFile file(copy.absoluteFilePath());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const QString planted = path + ".Ab12Cd";
    r9test::WriteFile(planted, "an old copy");
    {
        QFile file(planted);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const QString young = path + ".Ef34Gh";
    const QString foreign = path + ".backup";
    r9test::WriteFile(young, "being written");
    r9test::WriteFile(foreign, "not ours");
    TSettingsFile(path).UpdateFile();
    QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    EXPECT_EQ(left, QStringList({"Recognize.iniu", "Recognize.iniu.Ef34Gh", "Recognize.iniu.backup"}));
    // The writer did rewrite the file between kills; otherwise nothing was tested.
    EXPECT_GT(changedBetweenKills, kKills / 10);
    RecordProperty("kills", kKills);
    RecordProperty("content_changes", changedBetweenKills);
    RecordProperty("temporary_files_left", leftovers);
}

} // namespace
