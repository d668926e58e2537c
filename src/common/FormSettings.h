#pragma once
// The settings both recognition windows keep, declared once: the option
// check boxes with their section, key, global and default, and the window's
// place and size ("SCAN_FORM", shared, so either window opens where one of
// them was closed last). Reading and writing go through the same table.

#include <QMargins>
#include <QRect>
#include <QString>

class QCheckBox;
class QTabWidget;
class QWidget;
class TSettingsFile;

namespace settings {

/// A Boolean setting: where it lives in the settings file and the global
/// that holds it while the package runs.
struct TBoolSetting
{
    const char *section;
    const char *key;
    bool *global;
    bool defaultValue;
};

extern const TBoolSetting RecognizePhoto;    ///< "RECOGNIZE_INFO" / "RecognizePhoto"
extern const TBoolSetting RecognizeDocument; ///< "RECOGNIZE_INFO" / "RecognizeDocument"
extern const TBoolSetting FIOOnLatin;        ///< "RECOGNIZE_INFO" / "FIOOnLation"
extern const TBoolSetting TwainDialogNeed;   ///< "SCAN_INFO" / "TwainDialogNeed"
extern const TBoolSetting SelectScanner;     ///< "SCAN_INFO" / "SelectScanner"

/// Reads the setting into its global (its default when the key is missing).
void Read(const TSettingsFile &ini, const TBoolSetting &setting);
/// Writes the setting's global.
void Write(TSettingsFile &ini, const TBoolSetting &setting);

/// An option box clicked: the box of the pair that lies on the active data
/// page (addBox on addPage, editBox on editPage) gives the global its value;
/// on any other page the global keeps it. The global is written to the
/// settings file at once. Raises when the file cannot be written.
void SaveOptionBox(const QTabWidget *pages, const QWidget *addPage, const QWidget *editPage,
                   const QCheckBox *addBox, const QCheckBox *editBox, const TBoolSetting &setting);

/// Where a window's top, left, width and height are stored.
struct TFormBoundsKeys
{
    const char *section;
    const char *top;
    const char *left;
    const char *width;
    const char *height;
};

extern const TFormBoundsKeys ScanFormBounds;    ///< "SCAN_FORM": both recognition windows
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
