// The reference host's document-picture path run as a program: a scan turned
// once and stored, a three-page feeder run, a scan cancelled in the scanner's
// own dialog after a good one.
#include "support/TestSupport.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(HostDocPicturePath, ScanTurnSaveAndWhatTheWindowKeeps)
{
    QTemporaryDir output;
    ASSERT_TRUE(output.isValid());
    const QJsonObject report =
        r9test::RunReferenceHost({"--doc-picture", "--output", output.path()}, 120000)["docPicture"].toObject();

    const QJsonObject scan = report["scan"].toObject();
    EXPECT_EQ(scan["modalResult"].toInt(), 1);
    EXPECT_TRUE(scan["windows"].toArray().contains(QStringLiteral("Specimen Scanner")))
        << "the operator picked the specimen source from the list";
    const QJsonObject picture = scan["picture"].toObject();
    EXPECT_EQ(picture["rotationIndex"].toInt(), 1);
    EXPECT_EQ(picture["depth"].toInt(), 32);
    const QImage stored(QDir(output.path()).filePath(QStringLiteral("doc-picture/document.png")));
    ASSERT_FALSE(stored.isNull());
    EXPECT_EQ(stored.size(), QSize(picture["width"].toInt(), picture["height"].toInt()));
    EXPECT_GT(stored.height(), stored.width()) << "the landscape page was turned a quarter";

    const QJsonObject multi = report["multiPageScan"].toObject();
    EXPECT_EQ(multi["modalResult"].toInt(), 1);
    EXPECT_FALSE(multi["picture"].isNull());

    const QJsonObject cancelled = report["scanThenCancelledScan"].toObject();
    EXPECT_EQ(cancelled["modalResult"].toInt(), 1);
    const QJsonObject kept = cancelled["picture"].toObject();
    EXPECT_EQ(kept["width"].toInt(), picture["width"].toInt()) << "the turned first scan is what stays";
    EXPECT_EQ(kept["height"].toInt(), picture["height"].toInt());
    EXPECT_EQ(kept["rotationIndex"].toInt(), 1) << "the turned picture that stays keeps its angle";
}
