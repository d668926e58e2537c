#include "SaneTestDevices.h"

#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

namespace r9test {

QString SaneTestFolder()
{
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/r9-sane-XXXXXX"));
    return folder.path();
}

void UseSaneTestDevices()
{
    QDir().mkpath(SaneTestFolder());
    WriteFile(SaneTestFolder() + QStringLiteral("/dll.conf"), "test\n");
    ConfigureSaneTestDevices();
    qputenv("SANE_CONFIG_DIR", SaneTestFolder().toLocal8Bit());
}

void ConfigureSaneTestDevices(const QStringList &lines)
{
    QByteArray conf = "number_of_devices 2\n";
    for (const QString &l : lines)
        conf += l.toLatin1() + '\n';
    WriteFile(SaneTestFolder() + QStringLiteral("/test.conf"), conf);
}

QStringList SmallPageOptions()
{
    return {QStringLiteral("resolution=100"), QStringLiteral("br-x=25"), QStringLiteral("br-y=20"),
            QStringLiteral("test-picture=Color pattern")};
}

} // namespace r9test
