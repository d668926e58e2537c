#include "EdgeNumber.h"

#include "DocumentFields.h"
#include "FieldPatterns.h"
#include "FieldReading.h"

#include <QTransform>

#include <algorithm>

namespace printed {

namespace {

// The number stands within this part of the page's width from its edge.
constexpr double kStripWidth = 0.14;

PrintedText TextOf(Field f, const QString &digits, const ValueLine &line, const QTransform &toPicture)
{
    PrintedText t;
    t.lines = QStringList{Normalise(f, DocumentKind::InternalPassport, digits)};
    float low = 1.0f;
    for (const OcrWord &w : line.words)
        for (float c : w.confidence)
            low = std::min(low, c);
    t.confidence.assign(t.Value().size(), low);
    t.box = toPicture.mapRect(QRectF(line.box)).toAlignedRect();
    t.doubtful = !MatchesPattern(f, DocumentKind::InternalPassport, t.Value()) || low < kDoubtfulConfidence;
    return t;
}

} // namespace

std::map<Field, PrintedText> ReadEdgeSeriesNumber(tesseract::TessBaseAPI &api, const QImage &grey)
{
    std::map<Field, PrintedText> out;
    if (grey.isNull() || grey.width() < 40)
        return out;
    const int w = std::max(1, int(grey.width() * kStripWidth));
    for (const QRect strip : {QRect(grey.width() - w, 0, w, grey.height()), QRect(0, 0, w, grey.height())}) {
        const QImage part = grey.copy(strip);
        for (int turn : {90, -90}) {
            const QTransform rotate = QImage::trueMatrix(QTransform().rotate(turn), part.width(), part.height());
            const QImage upright = part.transformed(rotate);
            SetPicture(api, upright);
            const auto found = FindSeriesNumber(ReadLines(api));
            if (found.empty())
                continue;
            const QTransform toPicture = rotate.inverted() * QTransform::fromTranslate(strip.left(), strip.top());
            QString digits;
            for (const OcrWord &word : found.front().words)
                digits += Normalise(Field::Number, DocumentKind::InternalPassport, word.text).remove(QLatin1Char(' '));
            out[Field::Series] = TextOf(Field::Series, digits.left(4), found.front(), toPicture);
            out[Field::Number] = TextOf(Field::Number, digits.mid(4), found.front(), toPicture);
            return out;
        }
    }
    return out;
}

} // namespace printed
