// The host's long-run mode, short: both engines cycle through their
// documents past one round, every later window ends as the first on the
// same document did, and the figures the soak script reads are there.
#include "support/TestSupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

TEST(SoakRun, BothEnginesGoRoundTheirDocumentsAndReportTheFigures)
{
    const QString home = r9test::TestHome();
    const QString temp = home + "/tmp";
    ASSERT_TRUE(QDir().mkpath(temp));
    qputenv("TMPDIR", temp.toLocal8Bit());
    const int recognitions = 11; // more than one round of either engine's 8 documents
    const QJsonObject report = r9test::RunReferenceHost({"--soak", QString::number(recognitions)}, 600000);
    qunsetenv("TMPDIR");
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
            EXPECT_TRUE(p.toObject()["tempFiles"].toArray().isEmpty());
        }
    }
    // The passport reader's documents show nothing; Scanify's ask for a
    // word on two of its eight pages (the sixth and eighth), so eleven
    // windows meet two.
    EXPECT_EQ(report["abbyy"].toObject()["soak"].toObject()["messages"].toInt(), 0);
    EXPECT_EQ(report["scanify"].toObject()["soak"].toObject()["messages"].toInt(), 2);
}

} // namespace
