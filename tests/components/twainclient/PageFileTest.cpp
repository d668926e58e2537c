// A page's picture file: written whole or not at all, the owner's alone,
// and a file that was there before stays as it was when the new one cannot
// be written.
#include "TwainClient.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

TEST(TwainClientPageFile, AFileIsWrittenWholeOrTheOneThereStays)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString there = dir.filePath(QStringLiteral("there.bmp"));
    struct Case
    {
        const char *what;
        QString path;
        bool blocked; ///< the place the file is written at first is taken by a folder
        bool written;
        QByteArray left; ///< what the path holds afterwards
    };
    const Case cases[] = {
        {"a new file", dir.filePath(QStringLiteral("new.bmp")), false, true, "headrows"},
        {"a file written again", there, false, true, "headrows"},
        {"a file that cannot be written", there, true, false, "before"},
        {"a folder that is not there", dir.filePath(QStringLiteral("gone/page.bmp")), false, false, "(none)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QFile before(there);
        ASSERT_TRUE(before.open(QIODevice::WriteOnly) && before.write("before") == 6);
        before.close();
        if (c.blocked) {
            ASSERT_TRUE(QDir().mkpath(there + QStringLiteral(".part")));
        }
        const QString failed = twainclient::WritePageFile(c.path, {"head", "rows"});
        EXPECT_EQ(failed.isEmpty(), c.written) << failed.toStdString();
        if (!c.written) {
            EXPECT_TRUE(failed.contains(c.path)) << failed.toStdString();
        }
        EXPECT_EQ(Read(c.path), c.left);
        if (c.written) {
            const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                                    | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
            EXPECT_EQ(QFile::permissions(c.path) & others, QFileDevice::Permissions()) << "a scan is the owner's alone";
        }
        EXPECT_FALSE(QFile::exists(c.path + QStringLiteral(".part")) && !c.blocked);
        QDir(there + QStringLiteral(".part")).removeRecursively();
    }
}

} // namespace
