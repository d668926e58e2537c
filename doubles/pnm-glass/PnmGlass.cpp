#include "PnmGlass.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace pnmglass {

Glass::Glass() : m_folder(QDir::tempPath() + QStringLiteral("/r9-pnm-glass-XXXXXX"))
{
    if (!m_folder.isValid() || !QDir().mkpath(ConfigFolder()))
        return;
    QFile conf(QDir(ConfigFolder()).filePath(QStringLiteral("dll.conf")));
    m_valid = conf.open(QIODevice::WriteOnly) && conf.write("pnm\n") == 4;
}

QString Glass::ConfigFolder() const
{
    return m_folder.filePath(QStringLiteral("sane"));
}

QString Glass::PageFile() const
{
    return m_folder.filePath(QStringLiteral("page.ppm"));
}

bool Glass::Lay(const QImage &page)
{
    // The backend reads the binary colour form (P6) with 255 as its largest value.
    QSaveFile file(PageFile());
    return m_valid && file.open(QIODevice::WriteOnly)
           && page.convertToFormat(QImage::Format_RGB888).save(&file, "PPM") && file.commit();
}

QString Glass::SourceOptions(const QStringList &more) const
{
    return (QStringList{QStringLiteral("filename=") + PageFile()} + more).join(QLatin1Char(';'));
}

QProcessEnvironment Glass::Environment(QProcessEnvironment base, const QStringList &more) const
{
    base.insert(QStringLiteral("SANE_CONFIG_DIR"), ConfigFolder());
    base.insert(QStringLiteral("TWAINSANE_OPTIONS"), SourceOptions(more));
    return base;
}

} // namespace pnmglass
