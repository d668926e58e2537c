#pragma once
// What Tesseract reads from a picture, as words with their boxes and the
// confidence of each character, grouped in the lines it found.

#include <QImage>
#include <QRect>
#include <QString>

#include <vector>

namespace tesseract {
class TessBaseAPI;
}

namespace printed {

struct OcrWord
{
    QString text;
    QRect box;
    std::vector<float> confidence; ///< per character of text, 0..1
};

struct OcrLine
{
    std::vector<OcrWord> words;
    QRect box;

    QString Text() const;
    int Height() const { return box.height(); }
};

/// Gives the picture (8-bit grey) to the engine; it must outlive the readings.
void SetPicture(tesseract::TessBaseAPI &api, const QImage &grey);

/// The text lines of the whole picture, top to bottom, those of one printed
/// row merged (MergedRows).
std::vector<OcrLine> ReadLines(tesseract::TessBaseAPI &api);

/// Lines that share a printed row made one, their words left to right: the
/// engine finds a small label and the larger value beside it as two lines.
std::vector<OcrLine> MergedRows(std::vector<OcrLine> lines);

/// The lines' boxes from the layout analysis alone (nothing recognised), and
/// the angle the engine would turn the picture by to make them level.
struct Layout
{
    std::vector<QRect> lines;
    double deskewRadians = 0;
};
Layout AnalyseLayout(tesseract::TessBaseAPI &api);

/// How a region read again is laid out.
enum class RegionShape { Line, Block, Word };

/// One region read again as a single line (a block of lines, a single word)
/// with only the characters of `alphabet` allowed (all when empty).
struct RegionReading
{
    QString text; ///< lines separated by '\n'
    std::vector<float> confidence; ///< per character of text, '\n' included
};
RegionReading ReadRegion(tesseract::TessBaseAPI &api, const QRect &region, const QString &alphabet,
                         RegionShape shape = RegionShape::Line);

} // namespace printed
