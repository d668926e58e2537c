#include "imaging/PictureFile.h"

#include "imaging/JpegImage.h"

#include <QFileInfo>
#include <QImageReader>
#include <stdexcept>

namespace imaging {

QImage LoadPictureFile(const QString &fileName)
{
    const QString extension = QFileInfo(fileName).suffix().toLower();
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg"))
        return LoadJpegFile(fileName);

    const auto fail = [&](const QString &reason) {
        return std::runtime_error(QStringLiteral("Не удалось загрузить изображение из файла \"%1\": %2")
                                      .arg(fileName, reason).toStdString());
    };
    if (extension.isEmpty() || !QImageReader::supportedImageFormats().contains(extension.toLatin1()))
        throw fail(QStringLiteral("неизвестный формат изображения (расширение \"%1\")").arg(extension));

    // The extension decides the format; content of another format is an error.
    QImageReader reader(fileName, extension.toLatin1());
    reader.setDecideFormatFromContent(false);
    QImage image;
    if (!reader.read(&image))
        throw fail(reader.errorString());
    return image;
}

} // namespace imaging
