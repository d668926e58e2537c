#include "common/LoadPictureFromFile.h"

#include "imaging/PictureFile.h"
#include "ui/TPictureBox.h"

#include <stdexcept>

QString LoadPictureFromFile(const QString &fileName, ui::TPictureBox *image)
{
    try {
        if (!image)
            throw std::invalid_argument("LoadPictureFromFile: no image control");
        image->SetPicture(imaging::LoadPictureFile(fileName));
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}
