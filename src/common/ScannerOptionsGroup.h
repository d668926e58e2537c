#pragma once
// The scanner options as both recognition windows lay them out on their
// "Установки" page: the scanner row (list and test scan) and the group
// " Параметры сканера " with brightness (pictures, track bar, value), the
// scanner's own dialog, orientation, colour mode, paper size and the hidden
// rotation choice. Only the controls are made here; each window places the
// scanner row and the group and binds what it handles.

#include <QString>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace ui {
class TChoiceGroup;
class TPictureBox;
class TTrackSlider;
} // namespace ui

namespace recognition {

/// The 44 paper sizes of cbPaperSize, in order (the last one is empty).
extern const std::array<const char *, 44> PaperSizes;

struct TScannerOptionsControls
{
    QHBoxLayout *scannerRow = nullptr; ///< laScannerList, cbScanListForTest, bScanTest
    QLabel *laScannerList = nullptr;
    QComboBox *cbScanListForTest = nullptr;
    QPushButton *bScanTest = nullptr;
    QGroupBox *gbScannerOptions = nullptr;
    ui::TPictureBox *imgBrightMin = nullptr;
    ui::TTrackSlider *tbBrightness = nullptr;
    ui::TPictureBox *imgBrightMax = nullptr;
    QLabel *laBrightValue = nullptr;
    QCheckBox *cxShowTwainDialog = nullptr; ///< null unless asked for
    QLabel *laShowTwainDialog = nullptr;
    ui::TChoiceGroup *rgOrient = nullptr;
    ui::TChoiceGroup *rgColorMode = nullptr;
    QLabel *laPaperSize = nullptr;
    QComboBox *cbPaperSize = nullptr;
    ui::TChoiceGroup *rgRotation = nullptr; ///< hidden
};

/// Makes the scanner options on page; withTwainDialog adds the box for the
/// scanner's own dialog to the group.
TScannerOptionsControls BuildScannerOptions(QWidget *page, bool withTwainDialog);

} // namespace recognition
