#include "abbyy/engABBYY9r_FM_RecognizePictures.h"

#include "abbyy/engABBYY9r_FM_RecognizeFields.h"
#include "abbyy/engUtilsABBYY9r.h"
#include "base/PackageTexts.h"
#include "common/PrivateFiles.h"
#include "common/engCommon9r.h"
#include "host/Sdlogfile.h"
#include "imaging/JpegImage.h"
#include "imaging/PictureFile.h"
#include "ui/TPictureBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace abbyy {

namespace {

/// Deletes a temporary file when the scope ends, whatever happened.
class TTemporaryFile
{
public:
    explicit TTemporaryFile(QString path) : m_path(std::move(path)) {}
    ~TTemporaryFile() { QFile::remove(m_path); }
    TTemporaryFile(const TTemporaryFile &) = delete;
    TTemporaryFile &operator=(const TTemporaryFile &) = delete;
    const QString &Path() const { return m_path; }

private:
    QString m_path;
};

QString DataFolderFile(const QString &name)
{
    const QString folder = GetUserDataFolder();
    if (folder.isEmpty())
        throw std::runtime_error(texts::UserFolderForPictures);
    return folder + name;
}

/// The engine saves the image field to the data folder; the file is loaded
/// into image and deleted. Throws when any step fails.
void LoadImageField(IRecognizedField &field, const QString &fileName, ui::TPictureBox *image)
{
    TTemporaryFile file(DataFolderFile(fileName));
    {
        // The picture is the person's: for the user alone while it exists.
        const TPrivateCreation privateFiles;
        field.SaveTo(file.Path(), 0);
    }
    MakePrivate(file.Path());
    const QString error = LoadPictureFromFile(file.Path(), image);
    if (!error.isEmpty())
        throw std::runtime_error(error.toStdString());
}

void Log(const QString &what, const std::exception &e)
{
    WriteLogFileMessage(what + QStringLiteral(": ") + QString::fromUtf8(e.what()));
}

} // namespace

TScannedPicture MoveScannedPicture(const QString &scannedPath)
{
    const QFileInfo info(scannedPath);
    TScannedPicture picture;
    picture.Jpeg = imaging::IsJpegFileName(scannedPath);
    picture.FileName = info.suffix().isEmpty() && !scannedPath.endsWith(QLatin1Char('.'))
        ? scannedPath + QStringLiteral(".bmp")
        : scannedPath.left(scannedPath.size() - info.suffix().size()) + QStringLiteral("bmp");
    if (picture.FileName == scannedPath) {
        picture.Moved = QFileInfo::exists(scannedPath);
        return picture;
    }
    if (QFileInfo::exists(picture.FileName))
        QFile::remove(picture.FileName);
    picture.Moved = QFile::rename(scannedPath, picture.FileName);
    return picture;
}

QImage LoadScannedPicture(const TScannedPicture &picture)
{
    if (picture.Jpeg)
        return imaging::LoadJpegFile(picture.FileName);
    return imaging::LoadPictureFile(picture.FileName);
}

void LoadRecognizedPhoto(IFieldsCollection *fields, ui::TPictureBox *image, bool wanted)
{
    const QString value = fields->FieldValue(QStringLiteral("Photo"), MissingFieldValue);
    const IRecognizedFieldPtr field = fields->Field(QStringLiteral("Photo"));
    if (!field || !field->IsFound() || !wanted || value == MissingFieldValue || !field->IsImage())
        return;
    try {
        LoadImageField(*field, QStringLiteral("Photo.jpg"), image);
    } catch (const std::exception &e) {
        image->Clear();
        Log(QStringLiteral("Фотография документа не загружена"), e);
    }
}

bool LoadRecognizedFullImage(IFieldsCollection *fields, ui::TPictureBox *image, bool wanted)
{
    try {
        const QString value = fields->FieldValue(QStringLiteral("FullImage"), MissingFieldValue);
        const IRecognizedFieldPtr field = fields->Field(QStringLiteral("FullImage"));
        if (field) {
            if (field->IsFound() && wanted && value != MissingFieldValue && field->IsImage())
                LoadImageField(*field, QStringLiteral("FullImage.jpg"), image);
            return true;
        }
    } catch (const std::exception &e) {
        image->Clear();
        Log(QStringLiteral("Изображение документа не получено из поля \"FullImage\""), e);
    }
    const IStringsArrayPtr properties = fields->GetArray(1, 0);
    const QString path = properties ? properties->Value(QStringLiteral("FullImage")) : QString();
    if (path.isEmpty())
        return false;
    // A page file that cannot be read leaves the picture empty, as the
    // operator still has every field to check.
    const QString error = LoadPictureFromFile(path, image);
    if (!error.isEmpty())
        WriteLogFileMessage(error);
    return true;
}

} // namespace abbyy
