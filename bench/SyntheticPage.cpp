#include "SyntheticPage.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace bench {

namespace {

unsigned char Clip(int v)
{
    return static_cast<unsigned char>(std::clamp(v, 0, 255));
}

// Smooth colour field with fine noise, as a photographed face or scene.
void Photo(QImage &image, QRect area, std::mt19937 &random)
{
    std::uniform_int_distribution<int> noise(-12, 12);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        unsigned char *row = image.scanLine(y);
        for (int x = area.left(); x <= area.right(); ++x) {
            const double u = double(x - area.left()) / area.width(), v = double(y - area.top()) / area.height();
            row[3 * x] = Clip(int(120 + 100 * std::sin(6.0 * u + 2.0 * v)) + noise(random));
            row[3 * x + 1] = Clip(int(110 + 90 * std::cos(5.0 * v - 3.0 * u)) + noise(random));
            row[3 * x + 2] = Clip(int(150 + 80 * std::sin(9.0 * u * v)) + noise(random));
        }
    }
}

} // namespace

QImage SyntheticPage(int width, int height)
{
    QImage page(width, height, QImage::Format_BGR888);
    std::mt19937 random(300);
    std::uniform_int_distribution<int> grain(-6, 6);
    for (int y = 0; y < height; ++y) {
        unsigned char *row = page.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const int g = grain(random);
            row[3 * x] = Clip(236 + g);
            row[3 * x + 1] = Clip(240 + g);
            row[3 * x + 2] = Clip(243 + g);
        }
    }
    // Lines of "words": dark blocks with gaps, 40 px line pitch.
    std::uniform_int_distribution<int> wordLength(30, 160), gap(12, 30), ink(10, 60);
    for (int line = height / 3; line + 30 < height - 150; line += 40) {
        int x = 150;
        while (x < width - 150) {
            const int w = std::min(wordLength(random), width - 150 - x);
            const int shade = ink(random);
            for (int y = line; y < line + 24; ++y) {
                unsigned char *row = page.scanLine(y);
                for (int i = x; i < x + w; ++i)
                    if (((i * 7 + y * 3) % 11) < 7) // strokes, not solid blocks
                        row[3 * i] = row[3 * i + 1] = row[3 * i + 2] = Clip(shade + grain(random));
            }
            x += w + gap(random);
        }
    }
    Photo(page, QRect(150, 150, 700, 900), random);
    return page;
}

QImage SyntheticFrame(int width, int height)
{
    QImage frame(width, height, QImage::Format_BGR888);
    std::mt19937 random(640);
    Photo(frame, frame.rect(), random);
    return frame;
}

} // namespace bench
