#include "SpecimenPackage.h"

#include <QFileInfo>

namespace doubles {

bool SpecimensInstalled(const QString &folder)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir();
}

QString EmptyFeederText(const QString &feeder, const QString &folder)
{
    return QStringLiteral("В лотке «%1» нет документов: в папке %2 нет образцов "
                          "(их устанавливает пакет %3)")
        .arg(feeder, folder, QLatin1String(SpecimenPackage));
}

} // namespace doubles
