#pragma once
// The SANE source under test: SANE's "test" backend enabled alone in a
// private configuration folder (two devices), the first of them made the
// source manager's default, small pages, and a reference scan read straight
// from SANE to compare the delivered DIBs with.

#include "support/SaneTestDevices.h"
#include "support/TestSupport.h"
#include "twain/MultiTWAIN_p.h"

#include <QImage>
#include <QStringList>
#include <gtest/gtest.h>
#include <QTimer>
#include <functional>
#include <ostream>
#include <vector>

/// Texts as text in the tests' messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace sanetest {

inline constexpr const char *FirstSource = r9test::SaneTestDevice;
inline constexpr const char *SecondSource = r9test::SecondSaneTestDevice;

/// The options every test scans with: a small coloured page.
QStringList BaseOptions();
/// Options that make the device hold back the rest of a page for a while
/// after each piece it gives (ten lines, then a tenth of a second), so the
/// operator meets the scan under way: a page of the base options takes
/// most of a second.
QStringList SlowReads();
/// The DIB as a picture in `format` (Grayscale8 or RGB888).
QImage DibPicture(TWAIN_HDIB dib, QImage::Format format);
/// The device test:0 scanned with the options directly through SANE, one
/// page, as a picture in RGB888 (colour) or Grayscale8 (grey and one-bit).
QImage ReferenceScan(const QStringList &options);

/// The SANE source's dialog while it shows; null otherwise.
QWidget *ScanDialogShown();
/// The texts of the source's notices to the operator on the screen, which
/// are closed.
QStringList Notices();
/// Clicks the dialog's button with the object name.
void Click(QWidget *dialog, const char *button);

/// Works the source's dialog as it shows: each step runs once, in order,
/// when its condition first holds.
class DialogOperator
{
public:
    struct Step
    {
        std::function<bool(QWidget *)> when;
        std::function<void(QWidget *)> act;
    };
    explicit DialogOperator(std::vector<Step> steps);
    std::size_t stepsDone() const { return m_next; }

private:
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    QTimer m_timer;
};

class SaneSourceTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// Writes the backend's test.conf: two devices plus the given lines.
    void configureBackend(const QStringList &lines = {});
    /// The source's options for this test (joined for TWAINSANE_OPTIONS).
    void setSourceOptions(const QStringList &options);
    /// One whole acquisition through the layer; the DIB is freed at the end.
    TWAIN_HDIB acquire(int32_t mask = TWAIN_ANYTYPE);
    /// Walks the session to state 4, runs `inState4`, enables the source
    /// without its dialog, runs the modal loop, and answers the condition
    /// code the source reports once the loop ended; the session is closed
    /// again afterwards.
    int runSession(const std::function<void()> &inState4);
    void freePictures();
    QStringList boxTexts() const;
    /// The operator opens the source list, searches again and cancels: the
    /// SANE source lists the devices afresh (the list is kept otherwise).
    static void SearchScannersAgain();

    r9test::MessageBoxRecorder boxes;
    TWAIN_HDIB kept = nullptr;
};

} // namespace sanetest
