#include "common/PictureTurn.h"

#include "ui/TBusyGuard.h"
#include "ui/TPictureBox.h"

#include <utility>

namespace imaging {

namespace {

// Asks the work image to repaint when the turn ends, however it ends.
struct RepaintOnExit
{
    ui::TPictureBox *image;
    ~RepaintOnExit() { image->Invalidate(); }
};

} // namespace

void TurnImage(ui::TPictureBox *source, ui::TPictureBox *work, TurnDirection direction)
{
    if (!source || !work || !source->HasGraphic())
        return;

    RepaintOnExit repaint{work};
    ui::TBusyGuard guard(work->window());

    // A shared copy: the source stays intact even when both controls are one.
    const QImage scan = source->Picture();
    const int turned = TurnedIndex(source->Tag(), direction);
    // The turned picture is made whole before anything changes: a turn that
    // cannot be made leaves the picture shown and its angle as they were.
    QImage turnedImage = TurnedPicture(scan, turned, work->Picture());
    work->Bitmap() = std::move(turnedImage);
    source->SetTag(turned);
}

} // namespace imaging
