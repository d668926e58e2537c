#pragma once
// The scanner options as both recognition windows lay them out on their
// "Установки" page: the scanner row (list and test scan) and the group
// " Параметры сканера " with brightness (pictures, track bar, value), the
// scanner's own dialog, orientation, colour mode, paper size and the hidden
// rotation choice. TRecognitionWindow::buildScannerOptions makes the controls;
// each window places the scanner row and the group and binds what it handles.

#include <QString>
#include <array>

class QCheckBox;
class QHBoxLayout;
class QLabel;


namespace recognition {

/// The 44 paper sizes of cbPaperSize, in order (the last one is empty).
extern const std::array<const char *, 44> PaperSizes;

/// What of the scanner options a window places or keeps itself.
struct TScannerOptionsLayout
{
    QHBoxLayout *scannerRow = nullptr;      ///< laScannerList, cbScanListForTest, bScanTest
    QCheckBox *cxShowTwainDialog = nullptr; ///< null unless asked for
    QLabel *laShowTwainDialog = nullptr;
};

} // namespace recognition
