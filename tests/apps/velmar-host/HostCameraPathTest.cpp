// The reference host's camera path run as a program without a display: the
// scripted operator meets a camera he may not use, the camera that gives no
// frame, and takes a frame and a fragment from the entrance camera.
#include "support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

QJsonObject RunCameraPath(const QString &output)
{
    return r9test::RunReferenceHost({"--camera", "--output", output}, 120000)["camera"].toObject();
}

QJsonObject Attempt(const QJsonObject &report, const QString &camera)
{
    for (const QJsonValue &v : report["attempts"].toArray())
        if (v.toObject()["camera"].toString() == camera)
            return v.toObject();
    return {};
}

} // namespace

TEST(HostCameraPath, TheScriptedOperatorStoresAFrameAndItsFragmentAndMeetsEveryRefusal)
{
    const QString out = r9test::TestHome() + "/out";
    const QJsonObject report = RunCameraPath(out);
    ASSERT_FALSE(report.isEmpty());
    EXPECT_TRUE(report["scriptFinished"].toBool());
    EXPECT_EQ(report["modalResult"].toInt(), 1);
    EXPECT_EQ(report["restoredCamera"].toString(), QString());

    EXPECT_EQ(Attempt(report, "Автостоянка")["notice"].toString(), QStringLiteral("Нет прав на работу с данной камерой"));
    EXPECT_EQ(Attempt(report, "Архив")["messages"].toArray(), QJsonArray({QStringLiteral("Не удалось получить кадр камеры.")}));
    EXPECT_FALSE(Attempt(report, "Архив")["frozen"].toBool());
    EXPECT_TRUE(Attempt(report, "Проходная")["frozen"].toBool());
    EXPECT_EQ(report["guest"].toObject()["messages"].toArray(),
              QJsonArray({QStringLiteral("У пользователя системы нет прав на камеры.")}));

    const QJsonObject frame = report["frame"].toObject();
    const QImage frameImage(frame["file"].toString());
    ASSERT_FALSE(frameImage.isNull());
    EXPECT_EQ(frameImage.size(), QSize(frame["width"].toInt(), frame["height"].toInt()));
    EXPECT_EQ(frameImage.size(), QSize(640, 480));

    const QJsonObject fragment = report["fragment"].toObject();
    const QJsonObject rect = fragment["rect"].toObject();
    const QImage fragmentImage(fragment["file"].toString());
    ASSERT_FALSE(fragmentImage.isNull());
    EXPECT_EQ(fragmentImage.size(), QSize(fragment["width"].toInt(), fragment["height"].toInt()));
    const QRect r(rect["x"].toInt(), rect["y"].toInt(), rect["width"].toInt(), rect["height"].toInt());
    EXPECT_EQ(fragmentImage.size(), r.size());
    EXPECT_NE(r.size(), QSize(225, 271)); // one edge was dragged
    EXPECT_TRUE(fragment["matchesFrame"].toBool());
    EXPECT_EQ(fragmentImage.convertToFormat(QImage::Format_RGB32),
              frameImage.copy(r).convertToFormat(QImage::Format_RGB32));

    // The next run opens on the camera of the last one.
    EXPECT_EQ(RunCameraPath(out)["restoredCamera"].toString(), QStringLiteral("Проходная"));
}

// Where the services' settings give the guest a camera, the scripted guest
// meets the camera list instead of the refusal: the run closes it and ends,
// where it once waited in it for ever.
TEST(HostCameraPath, AGuestWithACameraOfTheSettingsEndsTheScriptedRun)
{
    const QString out = r9test::TestHome() + "/out-guest";
    const QString data = r9test::RunReferenceHost({"--camera", "--output", out}, 120000)["dataFolder"].toString();
    ASSERT_FALSE(data.isEmpty());
    QFile settings(data + "/hostkit.ini");
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write("[Stream.gate]\nName=Въезд\nAddress=gate-missing.avi\nUsers=operator, guest\n");
    settings.close();

    const QJsonObject guest = RunCameraPath(out)["guest"].toObject();
    QFile::remove(settings.fileName());
    ASSERT_FALSE(guest.isEmpty());
    EXPECT_EQ(guest["modalResult"].toInt(), 2); // cancelled
    EXPECT_EQ(guest["messages"].toArray(), QJsonArray());
}
