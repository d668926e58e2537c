#include "OcrText.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <QStringList>

#include <algorithm>
#include <memory>

namespace printed {

namespace {

QRect BoxOf(const tesseract::PageIterator &it, tesseract::PageIteratorLevel level)
{
    int l = 0, t = 0, r = 0, b = 0;
    if (!it.BoundingBox(level, &l, &t, &r, &b))
        return {};
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

QString TextOf(const tesseract::ResultIterator &it, tesseract::PageIteratorLevel level)
{
    std::unique_ptr<char[]> text(it.GetUTF8Text(level));
    return text ? QString::fromUtf8(text.get()) : QString();
}

// The symbols of a word with their confidences; a symbol that is several
// characters (a letter and its combining mark) gives each its confidence.
OcrWord ReadWord(tesseract::ResultIterator &it)
{
    OcrWord word;
    word.box = BoxOf(it, tesseract::RIL_WORD);
    do {
        const QString symbol = TextOf(it, tesseract::RIL_SYMBOL);
        const float conf = std::clamp(it.Confidence(tesseract::RIL_SYMBOL) / 100.0f, 0.0f, 1.0f);
        word.text += symbol;
        word.confidence.insert(word.confidence.end(), symbol.size(), conf);
    } while (!it.IsAtFinalElement(tesseract::RIL_WORD, tesseract::RIL_SYMBOL) && it.Next(tesseract::RIL_SYMBOL));
    return word;
}

// Words several times the height of the text are what the engine made of a
// photo or an emblem; left in, they would join the rows beside them.
std::vector<OcrLine> WithoutPictures(std::vector<OcrLine> lines)
{
    std::vector<int> heights;
    for (const OcrLine &l : lines)
        for (const OcrWord &w : l.words)
            heights.push_back(w.box.height());
    if (heights.empty())
        return lines;
    std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
    const int limit = 3 * heights[heights.size() / 2];
    std::vector<OcrLine> out;
    for (OcrLine &l : lines) {
        OcrLine kept;
        for (OcrWord &w : l.words) {
            if (w.box.height() > limit)
                continue;
            kept.box = kept.box.united(w.box);
            kept.words.push_back(std::move(w));
        }
        if (!kept.words.empty())
            out.push_back(std::move(kept));
    }
    return out;
}

} // namespace

QString OcrLine::Text() const
{
    QStringList parts;
    for (const OcrWord &w : words)
        parts << w.text;
    return parts.join(QLatin1Char(' '));
}

void SetPicture(tesseract::TessBaseAPI &api, const QImage &grey)
{
    api.SetImage(grey.constBits(), grey.width(), grey.height(), 1, static_cast<int>(grey.bytesPerLine()));
    api.SetSourceResolution(300);
}

std::vector<OcrLine> ReadLines(tesseract::TessBaseAPI &api)
{
    std::vector<OcrLine> lines;
    // A document is a form of scattered labels and values, not columns of
    // running text: sparse text finds small labels next to a photo, which
    // the page layout takes for part of the picture.
    api.SetPageSegMode(tesseract::PSM_SPARSE_TEXT);
    api.SetVariable("tessedit_char_whitelist", "");
    if (api.Recognize(nullptr) != 0)
        return lines;
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it || it->Empty(tesseract::RIL_WORD))
        return lines;
    it->Begin();
    OcrLine line;
    do {
        if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE) && !line.words.empty()) {
            lines.push_back(std::move(line));
            line = {};
        }
        OcrWord word = ReadWord(*it);
        if (!word.text.trimmed().isEmpty()) {
            line.box = line.box.united(word.box);
            line.words.push_back(std::move(word));
        }
    } while (it->Next(tesseract::RIL_WORD));
    if (!line.words.empty())
        lines.push_back(std::move(line));
    return MergedRows(WithoutPictures(std::move(lines)));
}

std::vector<OcrLine> MergedRows(std::vector<OcrLine> lines)
{
    std::stable_sort(lines.begin(), lines.end(),
                     [](const OcrLine &a, const OcrLine &b) { return a.box.center().y() < b.box.center().y(); });
    std::vector<OcrLine> rows;
    for (OcrLine &line : lines) {
        OcrLine *row = nullptr;
        // Most of the lower line lies within the taller one: a small label
        // shares its baseline with the large value beside it.
        for (auto it = rows.rbegin(); it != rows.rend() && !row; ++it) {
            const int overlap = std::min(it->box.bottom(), line.box.bottom()) - std::max(it->box.top(), line.box.top());
            const int lower = std::min(it->box.height(), line.box.height());
            const int taller = std::max(it->box.height(), line.box.height());
            if (overlap >= 0.6 * lower && taller <= 3 * lower)
                row = &*it;
        }
        if (!row) {
            rows.push_back(std::move(line));
            continue;
        }
        row->words.insert(row->words.end(), line.words.begin(), line.words.end());
        std::stable_sort(row->words.begin(), row->words.end(),
                         [](const OcrWord &a, const OcrWord &b) { return a.box.left() < b.box.left(); });
        row->box = row->box.united(line.box);
    }
    return rows;
}

Layout AnalyseLayout(tesseract::TessBaseAPI &api)
{
    Layout layout;
    api.SetPageSegMode(tesseract::PSM_AUTO);
    std::unique_ptr<tesseract::PageIterator> it(api.AnalyseLayout());
    if (!it || it->Empty(tesseract::RIL_TEXTLINE))
        return layout;
    it->Begin();
    tesseract::Orientation orientation;
    tesseract::WritingDirection direction;
    tesseract::TextlineOrder order;
    float deskew = 0;
    it->Orientation(&orientation, &direction, &order, &deskew);
    layout.deskewRadians = deskew;
    do {
        const QRect box = BoxOf(*it, tesseract::RIL_TEXTLINE);
        if (!box.isEmpty())
            layout.lines.push_back(box);
    } while (it->Next(tesseract::RIL_TEXTLINE));
    return layout;
}

RegionReading ReadRegion(tesseract::TessBaseAPI &api, const QRect &region, const QString &alphabet, RegionShape shape)
{
    RegionReading out;
    api.SetPageSegMode(shape == RegionShape::Block  ? tesseract::PSM_SINGLE_BLOCK
                       : shape == RegionShape::Word ? tesseract::PSM_SINGLE_WORD
                                                    : tesseract::PSM_SINGLE_LINE);
    api.SetVariable("tessedit_char_whitelist", alphabet.toUtf8().constData());
    api.SetRectangle(region.x(), region.y(), region.width(), region.height());
    if (api.Recognize(nullptr) != 0)
        return out;
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it || it->Empty(tesseract::RIL_WORD))
        return out;
    it->Begin();
    do {
        if (!out.text.isEmpty()) {
            const bool newLine = it->IsAtBeginningOf(tesseract::RIL_TEXTLINE);
            out.text += newLine ? QLatin1Char('\n') : QLatin1Char(' ');
            out.confidence.push_back(1.0f);
        }
        const OcrWord word = ReadWord(*it);
        out.text += word.text;
        out.confidence.insert(out.confidence.end(), word.confidence.begin(), word.confidence.end());
    } while (it->Next(tesseract::RIL_WORD));
    return out;
}

} // namespace printed
