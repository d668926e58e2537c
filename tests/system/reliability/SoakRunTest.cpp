// The host's long-run mode, short: both engines cycle through their
// documents past one round, every later window ends as the first on the
// same document did, and the figures the soak script reads are there.
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QRegularExpression>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

const QRegularExpression kWorkingFolder(QStringLiteral("^passportreader-[A-Za-z0-9]{6}/$"));

TEST(SoakRun, BothEnginesGoRoundTheirDocumentsAndReportTheFigures)
{
    const QString home = r9test::TestHome();
    const QString temp = home + "/tmp";
    ASSERT_TRUE(QDir().mkpath(temp));
    qputenv("TMPDIR", temp.toLocal8Bit());
    // A session's own runtime folder: without it Qt makes one in the
    // temporary folder, which would count as left behind.
    const QString runtime = home + "/runtime";
    ASSERT_TRUE(QDir().mkpath(runtime));
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    const int recognitions = 11; // more than one round of either engine: 6 documents (passport reader), 8 (Scanify)
    const QJsonObject report = r9test::RunReferenceHost({"--soak", QString::number(recognitions)}, 600000);
    qunsetenv("TMPDIR");
    qunsetenv("XDG_RUNTIME_DIR");
    if (HasFailure())
        return;
    for (const char *engine : {"abbyy", "scanify"}) {
        SCOPED_TRACE(engine);
        const QJsonObject soak = report[engine].toObject()["soak"].toObject();
        ASSERT_FALSE(soak.isEmpty());
        EXPECT_EQ(soak["recognitions"].toInt(), recognitions);
        EXPECT_EQ(soak["unexpected"].toInt(), 0);
        EXPECT_GT(soak["delivered"].toInt(), 0);
        int boxes = 0;
        for (const QJsonValue &count : soak["messageTexts"].toObject())
            boxes += count.toInt();
        EXPECT_EQ(boxes, soak["messages"].toInt());
        const QJsonArray points = soak["points"].toArray();
        ASSERT_EQ(points.size(), 2) << "at the start and at the end";
        EXPECT_EQ(points[1].toObject()["recognitions"].toInt(), recognitions);
        for (const QJsonValue &p : points) {
            EXPECT_GT(p.toObject()["residentKb"].toInt(), 0);
            EXPECT_GT(p.toObject()["descriptors"].toInt(), 2);
            // While the process runs, the passport-reader stand-in keeps its
            // one working folder there, empty between recognitions.
            const QJsonArray temps = p.toObject()["tempFiles"].toArray();
            EXPECT_LE(temps.size(), 1);
            for (const QJsonValue &t : temps)
                EXPECT_TRUE(kWorkingFolder.match(t.toString()).hasMatch()) << t.toString().toStdString();
        }
    }
    // The passport reader's documents show nothing; Scanify's ask for a
    // word on three of its eight pages (the fifth, sixth and eighth), so
    // eleven windows meet three.
    EXPECT_EQ(report["abbyy"].toObject()["soak"].toObject()["messages"].toInt(), 0);
    EXPECT_EQ(report["scanify"].toObject()["soak"].toObject()["messages"].toInt(), 3);
}

} // namespace
