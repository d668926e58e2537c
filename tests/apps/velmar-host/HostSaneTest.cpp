// The reference host's document-picture window scanning from SANE's test
// backend, as the README has it run by hand: the scripted operator ticks the
// source list, picks the SANE device, answers its dialog and saves.
#include "support/SaneFixture.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace sanetest;

TEST_F(SaneSourceTest, TheReferenceHostScansTheDocumentPictureFromSanesTestBackend)
{
    QTemporaryDir output;
    ASSERT_TRUE(output.isValid());
    // The host inherits the private SANE folder and the source options. In
    // the sanitizer build its leak check is left out: SANE's test backend,
    // unloaded at the end, does not free all it allocates, and unloaded it
    // can no longer be told apart from our code.
    const QByteArray asanOptions = qgetenv("ASAN_OPTIONS");
    qputenv("ASAN_OPTIONS", asanOptions + (asanOptions.isEmpty() ? "" : ":") + "detect_leaks=0");
    const QJsonObject scan = r9test::RunReferenceHost({"--doc-picture", "--scanner", "SANE: Noname",
                                                       "--output", output.path()},
                                                      120000)["docPicture"].toObject()["scan"].toObject();
    if (asanOptions.isNull())
        qunsetenv("ASAN_OPTIONS");
    else
        qputenv("ASAN_OPTIONS", asanOptions);
    EXPECT_EQ(scan["modalResult"].toInt(), 1);
    const QJsonArray windows = scan["windows"].toArray();
    EXPECT_FALSE(windows.contains(QStringLiteral("Specimen Scanner")));
    const QImage stored(QDir(output.path()).filePath(QStringLiteral("doc-picture/document.png")));
    ASSERT_FALSE(stored.isNull()) << QJsonDocument(scan).toJson().toStdString();
    // The base options' page, turned a quarter by the scripted operator.
    const QImage reference = ReferenceScan(BaseOptions());
    ASSERT_FALSE(reference.isNull());
    EXPECT_EQ(stored.size(), reference.size().transposed());
}
