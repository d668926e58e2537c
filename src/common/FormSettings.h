#pragma once
// The settings the package keeps, declared once: each with its section, key,
// type, default and the global that holds it while the package runs; and
// each window's place and size, by one helper. Reading and writing go through
// the same table, so a key is spelled in one place only.

#include <QMargins>
#include <QRect>
#include <QString>

class QCheckBox;
class QTabWidget;
class QWidget;
class TSettingsFile;

namespace settings {

/// A setting: where it lives in the settings file, the global that holds it
/// while the package runs, and its value when the file does not hold it.
/// Kept for bool, int and QString.
template <class T>
struct TSetting
{
    const char *section;
    const char *key;
    T *global;
    T defaultValue;
};

// Types of their own rather than aliases: the window classes take them in
// their member functions, whose exported names must not change.
struct TBoolSetting : TSetting<bool>
{
};
struct TIntSetting : TSetting<int>
{
};
struct TStringSetting : TSetting<QString>
{
};

extern const TBoolSetting RecognizePhoto;    ///< "RECOGNIZE_INFO" / "RecognizePhoto"
extern const TBoolSetting RecognizeDocument; ///< "RECOGNIZE_INFO" / "RecognizeDocument"
extern const TBoolSetting FIOOnLatin;        ///< "RECOGNIZE_INFO" / "FIOOnLation"
extern const TIntSetting PackageKeepDays;    ///< "RECOGNIZE_INFO" / "PackageKeepDays"

// The scanner and what the operator chose for it ("SCAN_INFO").
extern const TStringSetting ScannerName;
extern const TIntSetting ScannerIndex;
extern const TBoolSetting TwainDialogSupported;
extern const TBoolSetting TwainDialogNeed;
extern const TBoolSetting SelectScanner;
extern const TBoolSetting BrightnessSupported;
extern const TIntSetting BrightnessValue;
extern const TBoolSetting OrientSupported;
extern const TIntSetting OrientValue;
extern const TBoolSetting PaperSizeSupported;
extern const TIntSetting PaperSizeIndex;
extern const TStringSetting PaperSizeValue;
extern const TBoolSetting ColorModeSupported;
extern const TIntSetting ColorModeValue;
extern const TIntSetting RotationIndex;

// Settings a window holds in its own members while it is open (no global):
// read with Stored, written with Write(ini, setting, value).
extern const TBoolSetting ShowScannerList;   ///< "SCAN_DOC_INFO" / "ShowScanerList": the document-picture window
extern const TStringSetting CameraInnerName; ///< "CAMERA_INFO" / "CameraInnerName": the camera window's camera
extern const TStringSetting CameraInnerPath; ///< "CAMERA_INFO" / "CameraInnerPath"
extern const TIntSetting CameraAttributes;   ///< "CAMERA_INFO" / "Attributes": its view's attributes

/// Reads the setting into its global (its default when the key is missing).
template <class T>
void Read(const TSettingsFile &ini, const TSetting<T> &setting);
/// The stored value, or fallback when the key is missing; the global is left
/// alone (for a window that reads a setting with a default of its own).
template <class T>
T Stored(const TSettingsFile &ini, const TSetting<T> &setting, const T &fallback);
/// The stored value, or the setting's default when the key is missing.
template <class T>
T Stored(const TSettingsFile &ini, const TSetting<T> &setting)
{
    return Stored(ini, setting, setting.defaultValue);
}
/// Writes the setting's global.
template <class T>
void Write(TSettingsFile &ini, const TSetting<T> &setting);
/// Writes value under the setting's key; the global is left alone.
template <class T>
void Write(TSettingsFile &ini, const TSetting<T> &setting, const T &value);

/// Reads every setting the package loads when it starts into its global.
void ReadAll(const TSettingsFile &ini);

/// An option box clicked: the box of the pair that lies on the active data
/// page (addBox on addPage, editBox on editPage) gives the global its value;
/// on any other page the global keeps it. The global is written to the
/// settings file at once. Raises when the file cannot be written.
void SaveOptionBox(const QTabWidget *pages, const QWidget *addPage, const QWidget *editPage,
                   const QCheckBox *addBox, const QCheckBox *editBox, const TBoolSetting &setting);

/// Where a window's top, left, width and height are stored: in section, under
/// the keys prefix + "Top", "Left", "Width" and "Height".
struct TFormBoundsKeys
{
    const char *section;
    const char *prefix;

    QString Top() const { return key("Top"); }
    QString Left() const { return key("Left"); }
    QString Width() const { return key("Width"); }
    QString Height() const { return key("Height"); }

private:
    QString key(const char *part) const { return QLatin1String(prefix) + QLatin1String(part); }
};

/// "SCAN_FORM": both recognition windows, so either opens where one of them was closed last.
extern const TFormBoundsKeys ScanFormBounds;
extern const TFormBoundsKeys ScanDocFormBounds; ///< "SCAN_DOC_FORM": the document-picture window
extern const TFormBoundsKeys CameraFormBounds;  ///< "CAMERA_FORM": the camera window

/// Fits the bounds of a window's contents to a screen's available area,
/// the frame (its margins around the contents) included: the size is cut
/// to what the area leaves beside the frame, never below minimum; when
/// keepPlace, the framed rectangle is then moved, as little as it takes,
/// into the area, its top edge (the title bar) and its left edge first.
QRect FitFormBounds(const QRect &contents, const QMargins &frame, const QRect &area, const QSize &minimum,
                    bool keepPlace);

/// Applies the stored bounds to window. The place is that of the window's
/// contents, inside whatever frame the window system draws around them: the
/// frame is often not known yet when a window opens, and a place taken with
/// it would move the window by the frame's size at every opening. The place
/// is applied when both top and left are stored and lie on a screen;
/// otherwise the window system places the window. The stored size (each
/// part not stored stays the window's own) is fitted to the screen's
/// available area and a stored place kept inside it, frame and title bar included, as a
/// damaged or hand-edited file may hold any bounds; the size never goes
/// below the window's minimum size. A frame not known yet (the window was
/// never shown) is reckoned as a usual title bar and border, taking room
/// without moving the contents; once the
/// window system has framed the shown window, the bounds are fitted again
/// with its real frame.
void ReadFormBounds(const TSettingsFile &ini, QWidget *window, const TFormBoundsKeys &keys = ScanFormBounds);
/// Stores the place of the window's contents and its size, as ReadFormBounds reads them.
void WriteFormBounds(TSettingsFile &ini, const QWidget *window, const TFormBoundsKeys &keys = ScanFormBounds);

} // namespace settings
