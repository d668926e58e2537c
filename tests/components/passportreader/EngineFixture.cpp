#include "EngineFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <memory>
#include <turbojpeg.h>

namespace abbyytest {

QString GeneratedSpecimens()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/specimens");
}

QString SpecimenSubset(QTemporaryDir &dir, const QStringList &stems)
{
    for (const QString &stem : stems)
        for (const char *ext : {".json", ".png"})
            QFile::copy(GeneratedSpecimens() + QLatin1Char('/') + stem + QLatin1String(ext),
                        dir.filePath(stem + QLatin1String(ext)));
    return dir.path();
}

QImage DecodeJpeg(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    std::unique_ptr<void, int (*)(tjhandle)> tj(tjInitDecompress(), tjDestroy);
    int w = 0, h = 0, subsamp = 0, colorspace = 0;
    auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    if (tjDecompressHeader3(tj.get(), data, bytes.size(), &w, &h, &subsamp, &colorspace) != 0)
        return {};
    QImage image(w, h, QImage::Format_RGB888);
    if (tjDecompress2(tj.get(), data, bytes.size(), image.bits(), w, int(image.bytesPerLine()), h, TJPF_RGB, 0) != 0)
        return {};
    return image;
}

QString ExceptionText(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EEngineError &e) {
        return e.Message();
    }
    return {};
}

void EngineTest::SetUp()
{
    m_oldFaults = qgetenv("PASSPORTREADER_FAULTS");
    m_oldSpecimens = qgetenv("PASSPORTREADER_SPECIMENS");
    qunsetenv("PASSPORTREADER_FAULTS");
    qunsetenv("PASSPORTREADER_SPECIMENS");
}

void EngineTest::TearDown()
{
    qputenv("PASSPORTREADER_FAULTS", m_oldFaults);
    qputenv("PASSPORTREADER_SPECIMENS", m_oldSpecimens);
}

void EngineTest::SetFaults(const char *faults)
{
    qputenv("PASSPORTREADER_FAULTS", faults);
}

void EngineTest::SetSpecimens(const QString &folder)
{
    qputenv("PASSPORTREADER_SPECIMENS", folder.toLocal8Bit());
}

IRecognitionEnginePtr EngineTest::StartedEngine()
{
    IRecognitionEnginePtr engine = CoRecognitionEngine::Create();
    IInitParamsPtr params = CoInitParams::Create();
    EXPECT_TRUE(engine->Init(params.get()));
    return engine;
}

} // namespace abbyytest
