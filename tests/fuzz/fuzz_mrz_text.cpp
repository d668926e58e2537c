// The zone reader's last stage alone, on inputs small enough to be tried by
// the hundred thousand: the scores of every character cell through the
// decoder (best admitted characters, check-digit repairs, confidences), and
// zone texts of any bytes through the check digits, the split into fields
// and the dates. Beyond "no crash": every character is one its position
// admits, a check reported as holding holds on the text reported, a clean
// reading of a valid zone comes back unchanged, and every character of a
// field is the zone's character at the position the field names (the
// internal passport's names: the Cyrillic letter it stands for).
//
// Input: one byte of options (bits 0-1 the format: TD1, TD2, TD3, the Russian
// internal passport, which as scores is a zone of TD3's shape; bit 2
// a zone text instead of scores; bits 3-7 the current year - 2000 for the
// dates), then for scores three bytes per position (the likeliest
// character, the runner-up, the scores: high nibble how like its glyph the
// first is, low nibble how far behind the runner-up is; positions not given
// are clean fillers), for a text its bytes as Latin-1.
#include "FuzzCheck.h"

#include "FormatChoice.h"
#include "MrzFields.h"
#include "MrzFormat.h"
#include "RussianPassport.h"
#include "ZoneDecoder.h"

#include <QDate>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

using namespace mrz;

// The scores a cell gives: the first character the likeliest by its nibble,
// the runner-up close behind or far, every other glyph unlike the cell.
Scores CellScores(const uint8_t *cell)
{
    Scores s;
    s.fill(0.2f);
    const int first = cell[0] % kAlphabetSize, second = cell[1] % kAlphabetSize;
    const float best = 0.4f + 0.6f * float(cell[2] >> 4) / 15.f;
    s[size_t(second)] = best - 0.3f * float(cell[2] & 15) / 15.f;
    s[size_t(first)] = best;
    return s;
}

const CheckRule *RuleNamed(const Rules &rules, const QString &name)
{
    for (const CheckRule &r : rules.checks)
        if (name == QLatin1String(r.name))
            return &r;
    return nullptr;
}

void CheckDate(const FieldText &yymmdd, bool birth, int year)
{
    const FieldText shown = DisplayDate(yymmdd, birth, year);
    FUZZ_CHECK(shown.positions.size() == size_t(shown.value.size()));
    if (shown.value.isEmpty())
        return;
    FUZZ_CHECK(!shown.doubtful);
    const QDate d = QDate::fromString(shown.value, QStringLiteral("dd.MM.yyyy"));
    FUZZ_CHECK(d.isValid());
    // Day, month and the year's last two digits are the zone's own.
    FUZZ_CHECK(shown.value.mid(0, 2) == yymmdd.value.mid(4, 2) && shown.value.mid(3, 2) == yymmdd.value.mid(2, 2) &&
               shown.value.mid(8, 2) == yymmdd.value.mid(0, 2));
    if (birth)
        FUZZ_CHECK(d.year() <= year && d.year() > year - 100);
    else
        FUZZ_CHECK(d.year() >= 1970 && d.year() <= 2069);
}

void CheckFields(Format f, const QString &text, int year)
{
    const Fields fields = ParseFields(f, text);
    const Layout layout = LayoutOf(f);
    const bool whole = text.size() == layout.lines * layout.length;
    const bool cyrillic = f == Format::RusInternal;
    for (const FieldEntry &e : FieldTable()) {
        const FieldText &field = fields.*(e.member);
        FUZZ_CHECK(whole || field.value.isEmpty());
        FUZZ_CHECK(field.positions.size() == size_t(field.value.size()));
        const bool date = &field == &fields.birthDate || &field == &fields.expiryDate || &field == &fields.issueDate;
        // The internal passport's number and division code are its digits as
        // printed, in pairs and groups: a filler among them stays one.
        const bool asPrinted = date || (cyrillic && (&field == &fields.documentNumber || &field == &fields.divisionCode));
        for (qsizetype i = 0; i < field.value.size(); ++i) {
            const int p = field.positions[size_t(i)];
            // A blank (or, in the internal passport's fields, a hyphen) the
            // reader put between words, or the zone's character there.
            if (p < 0) {
                const QChar c = field.value.at(i);
                FUZZ_CHECK(!date && p == -1 && (c == QLatin1Char(' ') || (cyrillic && c == QLatin1Char('-'))));
                continue;
            }
            FUZZ_CHECK(p < text.size()
                       && (field.value.at(i) == text.at(p)
                           || (cyrillic && field.value.at(i) == CyrillicLetter(char(text.at(p).toLatin1())))));
            FUZZ_CHECK(asPrinted || text.at(p) != QLatin1Char('<'));
        }
        // Blanks of the reader's own only between words.
        FUZZ_CHECK(field.positions.empty() || (field.positions.front() >= 0 && field.positions.back() >= 0));
    }
    CheckDate(fields.birthDate, true, year);
    CheckDate(fields.expiryDate, false, year);
    CheckDate(fields.issueDate, true, year);
}

void Decode(Format f, const uint8_t *data, size_t size, int year)
{
    const Rules base = RulesFor(f);
    const size_t n = base.classes.size();
    std::vector<Scores> scores(n);
    QString clean(qsizetype(n), QLatin1Char('<'));
    for (size_t i = 0; i < n; ++i) {
        static const uint8_t filler[3] = {36, 36, 0xf0};
        const uint8_t *cell = 3 * i + 3 <= size ? data + 3 * i : filler;
        scores[i] = CellScores(cell);
        clean[qsizetype(i)] = QLatin1Char(kAlphabet[cell[0] % kAlphabetSize]);
    }
    const DecodedZone z = DecodeZone(f, scores);
    // The document code may choose another layout, never another shape.
    FUZZ_CHECK(z.format == FormatOfZone(f, scores));
    FUZZ_CHECK(LayoutOf(z.format).length == LayoutOf(f).length && LayoutOf(z.format).lines == LayoutOf(f).lines);
    FUZZ_CHECK(size_t(z.text.size()) == n && z.confidence.size() == n && z.trusted.size() == n &&
               z.checkFailed.size() == n && z.checks.size() == RulesFor(z.format).checks.size());
    const Rules rules = RulesFor(z.format, z.text);
    for (size_t i = 0; i < n; ++i) {
        FUZZ_CHECK(Admits(rules.classes[i], char(z.text.at(qsizetype(i)).unicode())));
        FUZZ_CHECK(z.confidence[i] >= 0.f && z.confidence[i] <= 1.f);
        FUZZ_CHECK(!z.trusted[i] || (!z.checkFailed[i] && !z.weakLikeness && z.confidence[i] >= kTrustThreshold));
    }
    for (const CheckResult &c : z.checks) {
        const CheckRule *rule = RuleNamed(rules, c.name);
        FUZZ_CHECK(rule);
        FUZZ_CHECK(!c.valid || CheckHolds(*rule, z.text));
    }
    // One field may break the format and a date may be none as that field,
    // but nothing of such a zone is confident.
    FUZZ_CHECK(!z.plausible || (z.repairs <= kMaxRepairs && z.misfits - z.worstFieldMisfits <= kMaxMisfits));
    FUZZ_CHECK(z.datesValid || !z.allConfident);

    // Each cell clearly its first character, each one its position admits in
    // the layout the code chose, every check digit holding: the reading is
    // that text, untouched.
    const Rules cleanRules = RulesFor(z.format, clean);
    bool valid = true;
    for (size_t i = 0; i < n && valid; ++i) {
        const uint8_t *cell = 3 * i + 3 <= size ? data + 3 * i : nullptr;
        // Clearly: like its glyph, and ahead of the runner-up by more than
        // a letter needs over its digit twin.
        const bool ahead = !cell || ((cell[2] >> 4) >= 10 && (cell[0] % kAlphabetSize == cell[1] % kAlphabetSize || (cell[2] & 15) >= 3));
        valid = ahead && Admits(cleanRules.classes[i], char(clean.at(qsizetype(i)).unicode()));
    }
    for (const CheckRule &r : cleanRules.checks)
        valid = valid && CheckHolds(r, clean);
    if (valid) {
        FUZZ_CHECK(z.text == clean && z.repairs == 0 && z.misfits == 0);
        for (const CheckResult &c : z.checks)
            FUZZ_CHECK(c.valid);
    }
    CheckFields(z.format, z.text, year);
}

void Text(Format f, const uint8_t *data, size_t size, int year)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    bool zoneCharacters = true;
    for (QChar c : text)
        zoneCharacters = zoneCharacters && AlphabetIndex(c) >= 0;
    const int digit = CheckDigit(text);
    FUZZ_CHECK(zoneCharacters ? digit >= 0 && digit <= 9 : digit == -1);
    const Layout layout = LayoutOf(f);
    if (text.size() == layout.lines * layout.length)
        for (const CheckRule &r : RulesFor(f, text).checks)
            CheckHolds(r, text);
    CheckFields(f, text, year);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t options = data[0];
    ++data, --size;
    const Format formats[4] = {Format::TD1, Format::TD2, Format::TD3, Format::RusInternal};
    const Format f = formats[options & 3];
    const int year = 2000 + (options >> 3);
    if (options & 4)
        Text(f, data, size, year);
    else
        Decode(f, data, size, year);
    return 0;
}
