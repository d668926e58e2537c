#include "PageGenerator.h"

#include "CardPrint.h"
#include "Degradation.h"
#include "Placement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QFontMetricsF>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace mrzpages {

double Random::Uniform(double lo, double hi)
{
    // 53 random bits to a double in [0, 1).
    const double u = double(m_engine() >> 11) * (1.0 / 9007199254740992.0);
    return lo + (hi - lo) * u;
}

int Random::Int(int lo, int hi)
{
    return lo + int(m_engine() % std::uint64_t(hi - lo + 1));
}

double Random::Gaussian()
{
    // Sum of twelve uniforms: mean 6, variance 1.
    double s = 0;
    for (int i = 0; i < 12; ++i)
        s += Uniform(0, 1);
    return s - 6.0;
}

namespace {

const char *const kStates[] = {"AUT", "BEL", "BLR", "BRA", "CAN", "CHE", "CHN", "CZE", "D",   "DNK", "ESP",
                               "EST", "FIN", "FRA", "GBR", "GRC", "HUN", "IND", "IRL", "ISL", "ITA", "JPN",
                               "KAZ", "KGZ", "LTU", "LVA", "MEX", "NLD", "NOR", "NZL", "POL", "PRT", "ROU",
                               "RUS", "SVK", "SWE", "TUR", "UKR", "USA", "UTO", "UZB", "ZAF"};

QString Word(Random &rng, int minLen, int maxLen)
{
    static const char *const consonants = "BCDFGHJKLMNPRSTVWZXQ";
    static const char *const vowels = "AEIOUY";
    const int len = rng.Int(minLen, maxLen);
    QString w;
    bool vowel = rng.Chance(0.3);
    while (w.size() < len) {
        w += QLatin1Char(vowel ? vowels[rng.Int(0, 5)] : consonants[rng.Int(0, 19)]);
        vowel = !vowel || rng.Chance(0.15);
    }
    return w;
}

QString AlphaNum(Random &rng, int len, double digitShare)
{
    QString s;
    for (int i = 0; i < len; ++i)
        s += rng.Chance(digitShare) ? QLatin1Char(char('0' + rng.Int(0, 9))) : QLatin1Char(char('A' + rng.Int(0, 25)));
    return s;
}

QString Date(Random &rng, int fromYear, int toYear)
{
    const int y = rng.Int(fromYear, toYear), m = rng.Int(1, 12), d = rng.Int(1, 28);
    return QStringLiteral("%1%2%3").arg(y % 100, 2, 10, QLatin1Char('0')).arg(m, 2, 10, QLatin1Char('0')).arg(d, 2, 10, QLatin1Char('0'));
}

QString State(Random &rng)
{
    return QString::fromLatin1(kStates[rng.Int(0, int(std::size(kStates)) - 1)]);
}

// A Cyrillic word of random letters, every letter of the alphabet as likely
// (the rare ones are the ones a reader's letter table can get wrong).
QString CyrillicWord(Random &rng, int minLen, int maxLen)
{
    static const QString letters = QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
    const int len = rng.Int(minLen, maxLen);
    QString w;
    while (w.size() < len) {
        const QChar c = letters.at(rng.Int(0, int(letters.size()) - 1));
        if (w.isEmpty() && QStringLiteral("ЪЫЬ").contains(c))
            continue;
        w += c;
    }
    return w;
}

QString Digits(Random &rng, int len)
{
    QString s;
    for (int i = 0; i < len; ++i)
        s += QLatin1Char(char('0' + rng.Int(0, 9)));
    return s;
}

// The Russian internal passport's data: double names now and then, and one
// page in five with names too long for the zone, cut at the line's end. A
// double given name always leaves room for a letter of the patronymic after
// it: without one a reader could not tell its second part from a patronymic.
specimens::MrzData RussianInternalData(Random &rng)
{
    specimens::MrzData d;
    d.documentCode = QStringLiteral("PN");
    d.issuingState = d.nationality = QStringLiteral("RUS");
    const bool tooLong = rng.Chance(0.2);
    d.surname = CyrillicWord(rng, 3, tooLong ? 16 : 11);
    if (rng.Chance(0.15) || (tooLong && rng.Chance(0.5)))
        d.surname += QLatin1Char('-') + CyrillicWord(rng, 3, tooLong ? 12 : 7);
    d.givenNames = CyrillicWord(rng, 3, tooLong ? 12 : 8);
    const QString second = CyrillicWord(rng, 3, 6);
    if (rng.Chance(0.15) && d.surname.size() + 2 + d.givenNames.size() + 1 + second.size() + 2 <= 39)
        d.givenNames += QLatin1Char('-') + second;
    d.patronymic = CyrillicWord(rng, 6, tooLong ? 16 : 12);
    d.documentNumber = Digits(rng, 10);
    d.birthDate = Date(rng, 1940, 2008);
    d.sex = QString::fromLatin1(rng.Chance(0.5) ? "M" : "F");
    d.issueDate = Date(rng, 2000, 2025);
    d.divisionCode = Digits(rng, 6);
    return d;
}

// What the zone keeps of a name that starts at `from` in the 39 characters
// of names: cut at the line's end, without a hyphen left dangling.
QString Kept(const QString &name, int from)
{
    QString kept = name.left(std::max(0, 39 - from));
    while (kept.endsWith(QLatin1Char('-')))
        kept.chop(1);
    return kept;
}

QJsonObject RussianInternalTruth(const specimens::MrzData &d)
{
    const int given = int(d.surname.size()) + 2, patronymic = given + int(d.givenNames.size()) + 1;
    return QJsonObject{
        {QStringLiteral("documentCode"), d.documentCode},
        {QStringLiteral("issuingState"), d.issuingState},
        {QStringLiteral("surname"), Kept(d.surname, 0)},
        {QStringLiteral("givenNames"), Kept(d.givenNames, given)},
        {QStringLiteral("patronymic"), Kept(d.patronymic, patronymic)},
        {QStringLiteral("documentNumber"),
         QStringLiteral("%1 %2 %3").arg(d.documentNumber.left(2), d.documentNumber.mid(2, 2), d.documentNumber.mid(4))},
        {QStringLiteral("nationality"), d.nationality},
        {QStringLiteral("birthDate"), d.birthDate},
        {QStringLiteral("sex"), d.sex},
        {QStringLiteral("expiryDate"), QString()},
        {QStringLiteral("personalNumber"), QString()},
        {QStringLiteral("issueDate"), d.issueDate},
        {QStringLiteral("divisionCode"), d.divisionCode.left(3) + QLatin1Char('-') + d.divisionCode.mid(3)},
    };
}

struct CardSize
{
    double width, height; // mm
    int chars;
};

CardSize SizeOf(const QString &format)
{
    if (format == QLatin1String("TD1"))
        return {85.6, 54.0, 30};
    if (format == QLatin1String("TD2") || format == QLatin1String("MRVB"))
        return {105.0, 74.0, 36};
    return {125.0, 88.0, 44};
}

// Ordinary text rows where a zone would stand: an address, dates and a
// signature line in the card's text typeface, nothing a zone reader should take.
void DrawTextRows(QPainter &p, double left, double firstBaseline, double step, int rows, double cardWidth, double k, Random &rng)
{
    QFont f(TextFamily());
    f.setPixelSize(std::max(6, int(2.4 * k)));
    p.setFont(f);
    p.setPen(RandomHsv(rng, {200, 260}, {0, 200}, {0, 80}));
    const QFontMetricsF fm(f);
    for (int r = 0; r < rows; ++r) {
        QString row;
        while (fm.horizontalAdvance(row) < (cardWidth - 2 * left) * 0.8) {
            QString w = Word(rng, 2, 9);
            if (rng.Chance(0.5))
                w = w.left(1) + w.mid(1).toLower();
            if (rng.Chance(0.25))
                w = QString::number(rng.Int(1, 9999));
            row += (row.isEmpty() ? QString() : QStringLiteral(" ")) + w;
        }
        p.drawText(QPointF(left, firstBaseline + r * step), row);
    }
}

// The card upright at the scan's resolution, with the zone's corners and the
// share of the zone's height its capitals take.
QImage DrawCard(const PageRecipe &recipe, const QStringList &lines, Random &rng, QPolygonF *zone, double *capShare)
{
    const CardSize size = SizeOf(recipe.format);
    const double k = recipe.dpi / 25.4; // pixels per mm
    QImage card(int(size.width * k), int(size.height * k), QImage::Format_ARGB32_Premultiplied);
    card.fill(Qt::transparent);
    QPainter p(&card);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor paper = QColor::fromHsv(rng.Int(0, 359), rng.Int(10, 45), rng.Int(220, 250));
    QPainterPath outline;
    outline.addRoundedRect(QRectF(card.rect()), 3 * k, 3 * k);
    p.fillPath(outline, paper);
    p.setClipPath(outline);
    DrawWaves(p, QSizeF(card.size()), paper, k, rng);
    // Portrait and the printed data beside it.
    const QRectF photo(5 * k, 10 * k, size.width * 0.27 * k, size.height * 0.45 * k);
    DrawPortrait(p, photo, rng);
    QFont text(TextFamily());
    text.setPixelSize(std::max(6, int(1.8 * k)));
    p.setFont(text);
    p.setPen(QColor(30, 30, 60));
    p.drawText(QPointF(5 * k, 6 * k), Word(rng, 5, 9) + QLatin1Char(' ') + Word(rng, 4, 8) + QStringLiteral(" / SPECIMEN"));
    const double tx = photo.right() + 4 * k;
    for (double y = 13 * k; y < photo.bottom(); y += 5 * k) {
        text.setPixelSize(std::max(5, int(1.3 * k)));
        p.setFont(text);
        p.setPen(QColor(80, 80, 110));
        p.drawText(QPointF(tx, y), Word(rng, 4, 10).toLower());
        text.setPixelSize(std::max(6, int(2.2 * k)));
        p.setFont(text);
        p.setPen(QColor(20, 20, 30));
        p.drawText(QPointF(tx, y + 2.5 * k), Word(rng, 3, 12) + QLatin1Char(' ') + Word(rng, 2, 8));
    }

    // The zone: OCR-B at the nominal pitch of 2.54 mm, as a printer lays it down.
    QFont ocrb(recipe.zoneFontFile.isEmpty() ? OcrbFamily() : FontFamily(recipe.zoneFontFile));
    ocrb.setPixelSize(200);
    const QFontMetricsF fm(ocrb);
    const double pitch = 2.54 * k * recipe.pitchScale;
    const double scale = pitch / fm.horizontalAdvance(QLatin1Char('0'));
    const double lineStep = (recipe.format == QLatin1String("TD1") ? 4.3 : 4.6) * k;
    const double left = (size.width - size.chars * 2.54 * recipe.pitchScale) / 2.0 * k;
    const double lastBaseline = card.height() - rng.Uniform(4.0, 5.5) * k;
    // A card without a zone has as many text rows in its place as the format's zone.
    const int rows = recipe.hasZone ? int(lines.size()) : recipe.format == QLatin1String("TD1") ? 3 : 2;
    const double firstBaseline = lastBaseline - lineStep * double(rows - 1);
    const int ink = rng.Int(0, 60);
    const int blue = ink + rng.Int(0, 20);
    // Faded print lies between the ink and the paper.
    const auto fade = [&](int from, int to) { return int(std::lround(to + (from - to) * std::clamp(recipe.contrast, 0.0, 1.0))); };
    const double capHeight = fm.tightBoundingRect(QStringLiteral("H")).height() * scale;
    if (recipe.colourBackground)
        DrawGuilloche(p, QRectF(0, firstBaseline - capHeight - 2 * k, card.width(), card.height() - firstBaseline + capHeight + 2 * k), k, rng);
    if (!recipe.hasZone) {
        DrawTextRows(p, left, firstBaseline, lineStep, rows, card.width(), k, rng);
        *zone = QPolygonF();
        *capShare = 0;
        return card;
    }
    p.setPen(QColor(fade(ink, paper.red()), fade(ink, paper.green()), fade(blue, paper.blue())));
    p.setFont(ocrb);
    DrawZoneRows(p, lines, scale, QPointF(left, firstBaseline), pitch, lineStep, 0.06 * k, rng);
    const double right = left + size.chars * pitch;
    *capShare = capHeight / (lastBaseline - firstBaseline + capHeight);
    *zone = QPolygonF({QPointF(left, firstBaseline - capHeight), QPointF(right, firstBaseline - capHeight),
                       QPointF(right, lastBaseline), QPointF(left, lastBaseline)});
    return card;
}

} // namespace

QStringList ZoneLines(const QString &format, const specimens::MrzData &data)
{
    if (format == QLatin1String("TD1"))
        return specimens::IdCardMrz(data);
    if (format == QLatin1String("TD2"))
        return specimens::Td2Mrz(data);
    if (format == QLatin1String("MRVA"))
        return specimens::VisaMrz(data, 44);
    if (format == QLatin1String("MRVB"))
        return specimens::VisaMrz(data, 36);
    if (format == QLatin1String("RUSPN"))
        return specimens::RussianInternalMrz(data);
    return specimens::PassportMrz(data);
}

specimens::MrzData RandomData(const QString &format, Random &rng)
{
    if (format == QLatin1String("RUSPN"))
        return RussianInternalData(rng);
    specimens::MrzData d;
    const bool td1 = format == QLatin1String("TD1");
    const bool visa = format == QLatin1String("MRVA") || format == QLatin1String("MRVB");
    // A visa's lines are as long as a passport's (MRV-A) or a TD2 document's (MRV-B).
    const bool td3 = format == QLatin1String("TD3") || format == QLatin1String("MRVA");
    static const char *const td3Codes[] = {"P", "P", "P", "PD", "PS"};
    static const char *const cardCodes[] = {"I", "ID", "IR", "AC", "C"};
    static const char *const visaCodes[] = {"V", "V", "VC", "VD", "VT"};
    d.documentCode = QString::fromLatin1(visa ? visaCodes[rng.Int(0, 4)] : td3 ? td3Codes[rng.Int(0, 4)] : cardCodes[rng.Int(0, 4)]);
    d.issuingState = State(rng);
    d.nationality = rng.Chance(0.8) ? d.issuingState : State(rng);
    // Names short enough that the zone holds them whole.
    const int room = (td1 ? 30 : td3 ? 39 : 31) - 2;
    do {
        d.surname = Word(rng, 3, 10);
        if (rng.Chance(0.15))
            d.surname += QLatin1Char(' ') + Word(rng, 3, 8);
        d.givenNames = Word(rng, 3, 9);
        for (int extra = rng.Int(0, 2); extra > 0; --extra)
            d.givenNames += QLatin1Char(' ') + Word(rng, 2, 8);
    } while (d.surname.size() + d.givenNames.size() > room);
    d.documentNumber = AlphaNum(rng, rng.Chance(0.15) ? 8 : 9, 0.7);
    d.birthDate = Date(rng, 1940, 2012);
    d.expiryDate = Date(rng, 2020, 2039);
    d.sex = QString::fromLatin1(rng.Chance(0.05) ? "<" : rng.Chance(0.5) ? "M" : "F");
    const int optional = visa ? (td3 ? 16 : 8) : td1 ? 15 : td3 ? 14 : 7;
    if (rng.Chance(0.5))
        d.optionalData = AlphaNum(rng, rng.Int(3, optional), 0.8);
    return d;
}

const std::vector<FormatShare> &SetFormats()
{
    static const std::vector<FormatShare> formats{{"TD1", 0.3},   {"TD2", 0.15},  {"TD3", 0.35},
                                                  {"MRVA", 0.07}, {"MRVB", 0.05}, {"RUSPN", 0.08}};
    return formats;
}

PageRecipe RandomRecipe(Random &rng, const std::vector<FormatShare> &formats)
{
    PageRecipe s;
    double total = 0;
    for (const FormatShare &f : formats)
        total += f.share;
    double f = rng.Uniform(0, 1) * total;
    s.format = QString::fromLatin1(formats.back().format);
    for (const FormatShare &share : formats) {
        if (f < share.share) {
            s.format = QString::fromLatin1(share.format);
            break;
        }
        f -= share.share;
    }
    static const int dpis[] = {150, 200, 300, 300, 300, 400, 600};
    s.dpi = dpis[rng.Int(0, 6)];
    // Below 300 dpi a scanner is set for a whole page; above it, half the
    // pages are the whole glass too (the largest pictures the reader meets),
    // half a scan of the card alone.
    s.a4 = s.dpi <= 300 || rng.Chance(0.5);
    s.turn = 90 * rng.Int(0, 3);
    s.skew = rng.Uniform(-5, 5);
    s.blur = rng.Uniform(0, 1.0);
    s.noise = rng.Uniform(0, 8);
    s.light = rng.Uniform(0, 0.35);
    s.jpegQuality = rng.Chance(0.5) ? 35 : rng.Int(50, 95);
    s.gray = rng.Chance(0.3);
    s.pitchScale = rng.Uniform(0.97, 1.03);
    return s;
}

namespace {

// A quarter turn give or take up to `within` degrees.
double NearQuarterTurn(Random &rng, double within)
{
    const int quarter = rng.Int(0, 3);
    return 90 * quarter + rng.Uniform(-within, within);
}

} // namespace

void RandomConditions(PageRecipe &s, Random &rng)
{
    const double kind = rng.Uniform(0, 1);
    s.hasZone = rng.Chance(0.93);
    // Below 0.3 a plain scan as drawn: quarter turns and a little skew.
    if (kind < 0.3) {
    } else if (kind < 0.5) { // a scan with the card at any angle on the glass
        s.rotation = rng.Uniform(0, 360);
        s.turn = 0;
        s.skew = 0;
        s.aspect = rng.Uniform(0.98, 1.02);
    } else if (kind < 0.85 || !s.hasZone) { // a photograph
        s.capture = Capture::Camera;
        static const int dpis[] = {100, 120, 150, 180, 220};
        s.dpi = dpis[rng.Int(0, 4)];
        s.a4 = false;
        s.rotation = rng.Chance(0.5) ? NearQuarterTurn(rng, 12) : rng.Uniform(0, 360);
        s.turn = 0;
        s.skew = 0;
        s.keystone = rng.Uniform(0, 0.15);
        s.keystoneSide = rng.Int(0, 3);
        s.aspect = rng.Uniform(0.88, 1.12);
        s.blur = rng.Uniform(0.2, 1.2);
        s.noise = rng.Uniform(2, 6);
        s.light = rng.Uniform(0.05, 0.45);
        s.jpegQuality = rng.Int(40, 90);
        s.gray = false;
        s.glare = rng.Chance(0.45) ? rng.Uniform(0.3, 0.7) : 0;
    } else { // the zone cut out
        s.capture = Capture::ZoneOnly;
        static const int dpis[] = {150, 200, 300, 400};
        s.dpi = dpis[rng.Int(0, 3)];
        s.a4 = false;
        s.rotation = rng.Chance(0.75) ? NearQuarterTurn(rng, 4) : rng.Uniform(0, 360);
        s.turn = 0;
        s.skew = 0;
        s.keystone = rng.Uniform(0, 0.06);
        s.keystoneSide = rng.Int(0, 3);
        s.aspect = rng.Uniform(0.9, 1.1);
        s.cropMargin = rng.Uniform(0.3, 3.0);
    }
    if (s.capture == Capture::Scan && rng.Chance(0.15))
        s.glare = rng.Uniform(0.2, 0.5);
    s.glareOnZone = s.glare > 0 && rng.Chance(0.6);
    s.colourBackground = rng.Chance(0.25);
    s.annotationFrame = s.hasZone && rng.Chance(s.capture == Capture::Scan ? 0.1 : 0.25);
}


Page MakePage(const PageRecipe &recipe, const specimens::MrzData &data, Random &rng)
{
    Page page;
    page.truth.recipe = recipe;
    page.truth.data = data;
    if (recipe.hasZone)
        page.truth.lines = recipe.printedRows.isEmpty() ? ZoneLines(recipe.format, data) : recipe.printedRows;
    QPolygonF zone;
    double capShare = 0;
    const QImage card = DrawCard(recipe, page.truth.lines, rng, &zone, &capShare);
    QImage image = PlainScan(recipe) ? PlaceOnGlass(recipe, card, &zone, rng) : PlaceAnyhow(recipe, card, &zone, capShare, rng);
    if (PlainScan(recipe) && recipe.glare > 0) {
        const QRectF target = recipe.glareOnZone && !zone.isEmpty() ? zone.boundingRect() : QRectF(image.rect());
        const double r = 0.05 * std::min(image.width(), image.height()) * rng.Uniform(0.5, 2);
        GlareWithin(image, target, r, recipe.glare, rng);
    }
    if (recipe.annotationFrame && !zone.isEmpty())
        DrawFrame(image, zone, CharPx(zone, capShare), rng);
    if (recipe.turn % 360) {
        const QTransform turn = QImage::trueMatrix(QTransform().rotate(recipe.turn), image.width(), image.height());
        image = image.transformed(QTransform().rotate(recipe.turn));
        zone = turn.map(zone);
    }
    if (recipe.gray)
        image = image.convertToFormat(QImage::Format_Grayscale8);
    if (recipe.jpegQuality > 0) {
        page.encoded = JpegBytes(image, recipe.jpegQuality);
        // A colour A4 page at 600 dpi is larger than Qt decodes by default; the
        // limit is the process's, so it is put back for the readers under test.
        const int limit = QImageReader::allocationLimit();
        QImageReader::setAllocationLimit(0);
        image.loadFromData(page.encoded, "JPG");
        QImageReader::setAllocationLimit(limit);
    }
    page.image = image;
    page.truth.zone = zone;
    page.truth.charPx = CharPx(zone, capShare);
    return page;
}

Page MakeSetPage(std::uint64_t seed, int index, int dpi, SetMix mix)
{
    Random rng(seed * 1000003ULL + std::uint64_t(index));
    PageRecipe recipe = RandomRecipe(rng);
    // One page in four has faded print, down to half the contrast and below.
    // Drawn from a stream of its own, so the pages keep everything else.
    Random fading(~(seed * 1000003ULL + std::uint64_t(index)));
    recipe.contrast = fading.Chance(0.25) ? fading.Uniform(0.4, 0.75) : 1.0;
    if (mix == SetMix::RealWorld) {
        Random world((seed * 1000003ULL + std::uint64_t(index)) ^ 0x9e3779b97f4a7c15ULL);
        RandomConditions(recipe, world);
    }
    if (dpi > 0) {
        recipe.dpi = dpi;
        recipe.a4 = recipe.a4 || (dpi <= 300 && recipe.capture == Capture::Scan);
    }
    const specimens::MrzData data = RandomData(recipe.format, rng);
    return MakePage(recipe, data, rng);
}

QJsonObject TruthJson(const PageTruth &t)
{
    auto clean = [](QString s) { return s.replace(QLatin1Char('<'), QString()).trimmed(); };
    const PageRecipe &s = t.recipe;
    QJsonObject fields;
    if (s.hasZone && s.format == QLatin1String("RUSPN"))
        fields = RussianInternalTruth(t.data);
    else if (s.hasZone)
        fields = QJsonObject{
            {QStringLiteral("documentCode"), clean(t.data.documentCode)},
            {QStringLiteral("issuingState"), clean(t.data.issuingState)},
            {QStringLiteral("surname"), t.data.surname},
            {QStringLiteral("givenNames"), t.data.givenNames},
            {QStringLiteral("documentNumber"), t.data.documentNumber},
            {QStringLiteral("nationality"), clean(t.data.nationality)},
            {QStringLiteral("birthDate"), t.data.birthDate},
            {QStringLiteral("sex"), clean(t.data.sex)},
            {QStringLiteral("expiryDate"), t.data.expiryDate},
            {QStringLiteral("personalNumber"), t.data.optionalData},
        };
    QJsonArray zone;
    for (const QPointF &p : t.zone)
        zone.append(QJsonArray{p.x(), p.y()});
    static const char *const captures[] = {"scan", "camera", "zone-only"};
    return QJsonObject{
        {QStringLiteral("has_zone"), s.hasZone},
        {QStringLiteral("legible"), s.hasZone},
        {QStringLiteral("format"), s.hasZone ? s.format : QString()},
        {QStringLiteral("lines"), QJsonArray::fromStringList(t.lines)},
        {QStringLiteral("fields"), fields},
        {QStringLiteral("zone"), zone},
        {QStringLiteral("char_px"), t.charPx},
        {QStringLiteral("capture"), QString::fromLatin1(captures[int(s.capture)])},
        {QStringLiteral("dpi"), s.dpi},
        {QStringLiteral("a4"), s.a4},
        {QStringLiteral("turn"), s.turn},
        {QStringLiteral("skew"), s.skew},
        {QStringLiteral("rotation"), s.rotation},
        {QStringLiteral("keystone"), s.keystone},
        {QStringLiteral("keystoneSide"), s.keystoneSide},
        {QStringLiteral("aspect"), s.aspect},
        {QStringLiteral("blur"), s.blur},
        {QStringLiteral("noise"), s.noise},
        {QStringLiteral("light"), s.light},
        {QStringLiteral("glare"), s.glare},
        {QStringLiteral("glareOnZone"), s.glareOnZone},
        {QStringLiteral("colourBackground"), s.colourBackground},
        {QStringLiteral("annotationFrame"), s.annotationFrame},
        {QStringLiteral("jpegQuality"), s.jpegQuality},
        {QStringLiteral("gray"), s.gray},
        {QStringLiteral("contrast"), s.contrast},
    };
}

bool WritePictureAndTruth(const QImage &image, const QByteArray &encoded, QJsonObject truth, const QString &folder,
                          const QString &stem, QString *error)
{
    QDir().mkpath(folder);
    const bool jpeg = !encoded.isEmpty();
    const QString picture = QDir(folder).filePath(stem + (jpeg ? QStringLiteral(".jpg") : QStringLiteral(".png")));
    QFile pf(picture);
    const bool written = jpeg ? (pf.open(QIODevice::WriteOnly) && pf.write(encoded) == encoded.size())
                              : image.save(picture, "PNG");
    if (!written) {
        *error = QStringLiteral("cannot write %1").arg(picture);
        return false;
    }
    truth.insert(QStringLiteral("picture"), QFileInfo(picture).fileName());
    QFile f(QDir(folder).filePath(stem + QStringLiteral(".json")));
    if (!f.open(QIODevice::WriteOnly) || f.write(QJsonDocument(truth).toJson()) < 0) {
        *error = QStringLiteral("cannot write %1").arg(f.fileName());
        return false;
    }
    return true;
}

bool WritePage(const Page &page, const QString &folder, const QString &stem, QString *error)
{
    return WritePictureAndTruth(page.image, page.encoded, TruthJson(page.truth), folder, stem, error);
}

} // namespace mrzpages
