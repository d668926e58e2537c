#include "Background.h"

#include <algorithm>

namespace mrz {

namespace {

// A character covers a fifth to a third of its cell: the cell's background is
// its darker side below this share, the strokes above the other.
constexpr double kBackgroundShare = 0.65;
constexpr double kStrokeShare = 0.98;
// Where between background and strokes the paper begins: low enough to keep
// a blurred stroke's flanks, high enough to drop a band a third as dark.
constexpr float kLevel = 0.0f;
// Less than this between background and strokes is no stroke to keep.
constexpr float kMinStroke = 12.f;

} // namespace

void FlattenBackground(std::vector<float> &patch)
{
    if (patch.size() < 8)
        return;
    std::vector<float> sorted = patch;
    const auto at = [&](double share) {
        auto nth = sorted.begin() + std::ptrdiff_t(share * double(sorted.size() - 1));
        std::nth_element(sorted.begin(), nth, sorted.end());
        return *nth;
    };
    const float stroke = at(kStrokeShare);
    const float background = at(kBackgroundShare);
    if (stroke - background < kMinStroke)
        return;
    const float level = background + kLevel * (stroke - background);
    for (float &v : patch)
        v = std::max(0.f, v - level);
}

} // namespace mrz
