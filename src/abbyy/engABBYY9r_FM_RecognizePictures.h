#pragma once
// The picture files of a scan and of a recognition: the scanned page under
// its final name, and the photo and full page the engine saves as temporary
// JPEG files in the per-user data folder (loaded, then always deleted).

#include "sdk/ABBYY_PassportReaderSdk_TLB.h"

#include <QImage>
#include <QString>

namespace ui { class TPictureBox; }

namespace abbyy {

struct TScannedPicture
{
    QString FileName;  ///< the name the picture now has (or should have had)
    bool Moved = false; ///< the file is under FileName
    bool Jpeg = false;  ///< the engine delivered a JPEG picture
};

/// Gives the scanned file the extension ".bmp" (the same name when it already
/// has it). A file left under that name by an earlier scan is replaced, so the
/// name always stands for the newest scan. Moved is false when the file could
/// not be moved; FileName is the new name all the same.
TScannedPicture MoveScannedPicture(const QString &scannedPath);

/// Loads a moved scan: JPEG content when the engine delivered ".jpg"/".jpeg",
/// otherwise a bitmap. Throws std::runtime_error naming the file.
QImage LoadScannedPicture(const TScannedPicture &picture);

/// The holder's photo: when wanted and the collection has a found image field
/// "Photo", the engine saves it to the data folder as "Photo.jpg", the file is
/// loaded into image and deleted. A photo that cannot be saved or loaded is
/// logged and leaves image empty. Engine failures reading the collection
/// itself reach the caller.
void LoadRecognizedPhoto(IFieldsCollection *fields, ui::TPictureBox *image, bool wanted);

/// The full page: when the collection has the field "FullImage" (found, an
/// image, and wanted) it goes through "FullImage.jpg" in the data folder like
/// the photo; a present field that is not wanted leaves image as it is. When
/// the field is absent or any of that fails, the page file named by the
/// collection's array (kind 1) entry "FullImage" is loaded instead. Returns
/// false only when there is no field and no page file either.
bool LoadRecognizedFullImage(IFieldsCollection *fields, ui::TPictureBox *image, bool wanted);

} // namespace abbyy
