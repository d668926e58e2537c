#pragma once
// The settings both recognition windows keep, declared once: the option
// check boxes with their section, key, global and default, and the window's
// place and size ("SCAN_FORM", shared, so either window opens where one of
// them was closed last). Reading and writing go through the same table.

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

/// Applies the stored bounds to window. The place is that of the window's
/// contents, inside whatever frame the window system draws around them: the
/// frame is often not known yet when a window opens, and a place taken with
/// it would move the window by the frame's size at every opening. The place
/// is applied when top or left is stored (the other one defaulting to the
/// window's own) and lies on a screen; otherwise the window system places
/// the window. The size (each part defaulting to the window's own) is, where
/// stored, fitted to the screen's available area, as a damaged or
/// hand-edited file may hold any size; it never goes below the window's
/// minimum size.
void ReadFormBounds(const TSettingsFile &ini, QWidget *window, const TFormBoundsKeys &keys = ScanFormBounds);
/// Stores the place of the window's contents and its size, as ReadFormBounds reads them.
void WriteFormBounds(TSettingsFile &ini, const QWidget *window, const TFormBoundsKeys &keys = ScanFormBounds);

} // namespace settings
