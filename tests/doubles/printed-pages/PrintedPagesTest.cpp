// The printed-document pages: one page per seed, a truth of exactly the
// fields its document prints, in the documents' formats, zones that say what
// the print says (and that the zone reader reads off a clean page), dates in
// the order life gives them, and the passports' Latin spelling.

#include "MrzFields.h"
#include "MrzReader.h"
#include "PageGenerator.h"
#include "PrintedPages.h"
#include "RussianPassport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

#include <set>

#include <gtest/gtest.h>

using printed::DocumentKind;
using printed::Field;

namespace {

const DocumentKind kKinds[] = {DocumentKind::InternalPassport, DocumentKind::DrivingLicence, DocumentKind::ForeignPassport};

QDate Parse(const QString &printed)
{
    return QDate::fromString(printed, QStringLiteral("dd.MM.yyyy"));
}

// A page without scan faults, so that what is drawn is all there is.
printedpages::Page CleanPage(DocumentKind kind, std::uint64_t seed)
{
    mrzpages::Random rng(seed);
    printedpages::Recipe recipe = printedpages::RandomRecipe(kind, rng);
    recipe.blur = recipe.light = recipe.turn = 0;
    recipe.jpegQuality = 0;
    recipe.dpi = 300;
    return printedpages::MakePage(recipe, printedpages::RandomIssued(kind, rng), rng);
}

} // namespace

TEST(PrintedPages, TheSameSeedGivesTheSamePage)
{
    for (const std::uint64_t seed : {3u, 4u, 5u}) {
        SCOPED_TRACE(seed);
        const printedpages::Page a = printedpages::MakeSeedPage(seed), b = printedpages::MakeSeedPage(seed);
        EXPECT_EQ(a.image, b.image);
        EXPECT_EQ(a.encoded, b.encoded);
        EXPECT_EQ(printedpages::TruthJson(a.truth), printedpages::TruthJson(b.truth));
        const printedpages::Page other = printedpages::MakeSeedPage(seed + 3);
        EXPECT_EQ(other.truth.kind, a.truth.kind);
        EXPECT_NE(printedpages::TruthJson(other.truth), printedpages::TruthJson(a.truth));
    }
}

TEST(PrintedPages, TheEvaluationSetHoldsEveryKindAlike)
{
    std::map<DocumentKind, int> kinds;
    for (int i = 0; i < printedpages::kEvaluationCount; ++i)
        ++kinds[printedpages::KindOfSeed(printedpages::kEvaluationSeed + std::uint64_t(i))];
    for (const DocumentKind k : kKinds)
        EXPECT_EQ(kinds[k], printedpages::kEvaluationCount / 3) << qPrintable(printed::KindName(k));
}

// Every page's truth names exactly its document's fields, each in the form
// the document prints it.
TEST(PrintedPages, TruthHoldsExactlyTheDocumentsFieldsInTheirForms)
{
    const QString date = QStringLiteral("\\d\\d\\.\\d\\d\\.\\d{4}"), name = QStringLiteral("[А-ЯЁ]+(-[А-ЯЁ]+)?");
    struct Form
    {
        DocumentKind kind; // a form for every kind when the field has one form
        Field field;
        QString pattern;
        bool anyKind;
    };
    const Form forms[] = {
        {DocumentKind::InternalPassport, Field::BirthDate, date, true},
        {DocumentKind::InternalPassport, Field::IssueDate, date, true},
        {DocumentKind::InternalPassport, Field::ExpiryDate, date, true},
        {DocumentKind::InternalPassport, Field::Surname, name, true},
        {DocumentKind::InternalPassport, Field::GivenName, name, true},
        {DocumentKind::InternalPassport, Field::Patronymic, name, true},
        {DocumentKind::InternalPassport, Field::SurnameLatin, QStringLiteral("[A-Z]+"), true},
        {DocumentKind::InternalPassport, Field::DivisionCode, QStringLiteral("\\d{3}-\\d{3}"), true},
        {DocumentKind::InternalPassport, Field::Sex, QStringLiteral("МУЖ\\.|ЖЕН\\."), false},
        {DocumentKind::ForeignPassport, Field::Sex, QStringLiteral("М|Ж"), false},
        {DocumentKind::InternalPassport, Field::Series, QStringLiteral("\\d\\d \\d\\d"), false},
        {DocumentKind::DrivingLicence, Field::Series, QStringLiteral("\\d\\d \\d\\d"), false},
        {DocumentKind::ForeignPassport, Field::Series, QStringLiteral("\\d\\d"), false},
        {DocumentKind::InternalPassport, Field::Number, QStringLiteral("\\d{6}"), false},
        {DocumentKind::DrivingLicence, Field::Number, QStringLiteral("\\d{6}"), false},
        {DocumentKind::ForeignPassport, Field::Number, QStringLiteral("\\d{7}"), false},
        {DocumentKind::DrivingLicence, Field::IssuedBy, QStringLiteral("ГИБДД \\d{4}"), false},
        {DocumentKind::ForeignPassport, Field::IssuedBy, QStringLiteral("(МВД|ФМС) \\d{5}"), false},
        {DocumentKind::ForeignPassport, Field::Nationality, QStringLiteral("РОССИЙСКАЯ ФЕДЕРАЦИЯ"), false},
        {DocumentKind::DrivingLicence, Field::Categories, QStringLiteral("[A-Z]+\\d?E?( [A-Z]+\\d?E?)*"), false},
    };
    for (std::uint64_t seed = 20; seed < 32; ++seed) {
        const printedpages::Page page = printedpages::MakeSeedPage(seed);
        const DocumentKind kind = page.truth.kind;
        SCOPED_TRACE(qPrintable(QStringLiteral("seed %1, %2").arg(seed).arg(printed::KindName(kind))));
        const QList<Field> expected = printed::FieldsOf(kind);
        std::set<Field> named;
        for (const auto &[field, value] : page.truth.fields) {
            named.insert(field);
            EXPECT_FALSE(value.trimmed().isEmpty()) << qPrintable(printed::FieldName(field));
            EXPECT_EQ(value, value.simplified()) << "lines joined by one blank";
        }
        EXPECT_EQ(named, std::set<Field>(expected.begin(), expected.end()));
        const QJsonObject json = printedpages::TruthJson(page.truth);
        EXPECT_EQ(json.value(QStringLiteral("kind")).toString(), printed::KindName(kind));
        EXPECT_EQ(json.value(QStringLiteral("fields")).toObject().size(), expected.size());
        EXPECT_EQ(json.contains(QStringLiteral("zone")), kind != DocumentKind::DrivingLicence);
        for (const Form &f : forms) {
            const auto it = page.truth.fields.find(f.field);
            if (it == page.truth.fields.end() || (!f.anyKind && f.kind != kind))
                continue;
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^(%1)$").arg(f.pattern)).match(it->second).hasMatch())
                << qPrintable(printed::FieldName(f.field)) << ": " << qPrintable(it->second);
        }
    }
}

// Birth, then issue (the internal passport at 14, the licence at 18), then
// expiry ten years after issue.
TEST(PrintedPages, DatesComeInTheOrderOfLife)
{
    for (std::uint64_t seed = 40; seed < 55; ++seed) {
        const printedpages::Page page = printedpages::MakeSeedPage(seed);
        const auto &f = page.truth.fields;
        SCOPED_TRACE(seed);
        const QDate birth = Parse(f.at(Field::BirthDate)), issue = Parse(f.at(Field::IssueDate));
        ASSERT_TRUE(birth.isValid() && issue.isValid());
        const int age = page.truth.kind == DocumentKind::InternalPassport ? 14 : page.truth.kind == DocumentKind::DrivingLicence ? 18 : 0;
        EXPECT_GT(issue, birth);
        EXPECT_GE(issue, birth.addYears(age));
        EXPECT_LE(issue, QDate::currentDate());
        if (f.count(Field::ExpiryDate)) {
            EXPECT_EQ(Parse(f.at(Field::ExpiryDate)), issue.addYears(10));
        }
    }
}

TEST(PrintedPages, LatinLinesSpellTheCyrillicAsPassportsDo)
{
    const std::pair<const char *, const char *> spellings[] = {
        {"ЖУКОВ", "ZHUKOV"},       {"ХАРИТОНОВ", "KHARITONOV"}, {"ЦЫГАНОВА", "TSYGANOVA"},   {"ЧАЙКИНА", "CHAIKINA"},
        {"ШИШКИН", "SHISHKIN"},    {"ЩУКИНА", "SHCHUKINA"},     {"ОБЪЕДКОВ", "OBIEEDKOV"},    {"ИЛЬЯ", "ILIA"},
        {"ЮРИЙ", "IURII"},         {"ЁЛКИН", "ELKIN"},          {"ЭДУАРД", "EDUARD"},        {"ГОР. ВЕРХНЯЯ ТОЙМА", "GOR. VERKHNIAIA TOIMA"},
        {"ГИБДД 7701", "GIBDD 7701"}, {"ПРИМОРСКИЙ КРАЙ", "PRIMORSKII KRAI"},
    };
    for (const auto &[cyrillic, latin] : spellings)
        EXPECT_EQ(printedpages::PassportLatin(QString::fromUtf8(cyrillic)), QString::fromLatin1(latin)) << cyrillic;
    // The pages' Latin lines are their Cyrillic ones in that spelling.
    for (std::uint64_t seed = 70; seed < 82; ++seed) {
        const printedpages::Page page = printedpages::MakeSeedPage(seed);
        const auto &f = page.truth.fields;
        if (page.truth.kind == DocumentKind::InternalPassport)
            continue;
        SCOPED_TRACE(seed);
        EXPECT_EQ(f.at(Field::SurnameLatin), printedpages::PassportLatin(f.at(Field::Surname)));
        QString given = f.at(Field::GivenName);
        if (page.truth.kind == DocumentKind::DrivingLicence)
            given += QLatin1Char(' ') + f.at(Field::Patronymic);
        EXPECT_EQ(f.at(Field::GivenNameLatin), printedpages::PassportLatin(given));
    }
}

// The zone's fields, decoded as the zone reader decodes them, are the printed ones.
TEST(PrintedPages, ZonesSayWhatThePrintSays)
{
    for (std::uint64_t seed = 90; seed < 102; ++seed) {
        const printedpages::Page page = printedpages::MakeSeedPage(seed);
        const DocumentKind kind = page.truth.kind;
        if (kind == DocumentKind::DrivingLicence)
            continue;
        SCOPED_TRACE(seed);
        const auto &f = page.truth.fields;
        const mrz::Format format = kind == DocumentKind::InternalPassport ? mrz::Format::RusInternal : mrz::Format::TD3;
        ASSERT_EQ(page.truth.zone.size(), 2);
        const mrz::Fields z = mrz::ParseFields(format, page.truth.zone.join(QString()));
        const auto date = [](const mrz::FieldText &t) { return mrz::DisplayDate(t, true, 2026).value; };
        EXPECT_EQ(date(z.birthDate), f.at(Field::BirthDate));
        if (kind == DocumentKind::InternalPassport) {
            EXPECT_EQ(z.surname.value, f.at(Field::Surname));
            EXPECT_EQ(z.givenNames.value, f.at(Field::GivenName));
            EXPECT_EQ(z.patronymic.value, f.at(Field::Patronymic));
            EXPECT_EQ(mrz::SeriesOf(z.documentNumber).value, f.at(Field::Series));
            EXPECT_EQ(mrz::NumberOf(z.documentNumber).value, f.at(Field::Number));
            EXPECT_EQ(mrz::PrintedSex(z.sex).value, f.at(Field::Sex));
            EXPECT_EQ(date(z.issueDate), f.at(Field::IssueDate));
            EXPECT_EQ(z.divisionCode.value, f.at(Field::DivisionCode));
        } else {
            EXPECT_EQ(z.surname.value, f.at(Field::SurnameLatin));
            EXPECT_EQ(z.givenNames.value, f.at(Field::GivenNameLatin));
            EXPECT_EQ(z.documentNumber.value, f.at(Field::Series) + f.at(Field::Number));
            EXPECT_EQ(z.sex.value, QString::fromLatin1(f.at(Field::Sex) == QStringLiteral("М") ? "M" : "F"));
            EXPECT_EQ(mrz::DisplayDate(z.expiryDate, false, 2026).value, f.at(Field::ExpiryDate));
        }
    }
}

// The zone is drawn where a reader finds it: read off a clean page, it is the truth's.
TEST(PrintedPages, TheDrawnZoneReadsAsTheTruth)
{
    for (const DocumentKind kind : {DocumentKind::InternalPassport, DocumentKind::ForeignPassport}) {
        for (const std::uint64_t seed : {1u, 2u}) {
            SCOPED_TRACE(qPrintable(QStringLiteral("%1, seed %2").arg(printed::KindName(kind)).arg(seed)));
            const printedpages::Page page = CleanPage(kind, seed);
            const mrz::MrzResult read = mrz::ReadMrz(page.image);
            ASSERT_TRUE(read.found);
            EXPECT_EQ(read.lines, page.truth.zone);
            EXPECT_TRUE(read.AllChecksValid());
        }
    }
}

// A reader cannot learn one drawing: the pages mix typefaces, layouts,
// resolutions and faults.
TEST(PrintedPages, PagesVaryInTypefaceLayoutAndFaults)
{
    std::set<QString> fonts, faults;
    std::map<DocumentKind, std::set<QString>> layouts;
    std::set<int> dpis;
    for (std::uint64_t seed = 200; seed < 260; ++seed) {
        mrzpages::Random rng(seed);
        const DocumentKind kind = printedpages::KindOfSeed(seed);
        const printedpages::Recipe r = printedpages::RandomRecipe(kind, rng);
        fonts.insert(QString::fromLatin1(printedpages::Typefaces()[size_t(r.typeface)].family));
        // The licence's numbers stand left of its fields always; what moves is field 9.
        const bool labelsAbove = kind == DocumentKind::DrivingLicence ? r.underPortrait : r.labelAbove;
        layouts[kind].insert(QStringLiteral("%1 %2").arg(labelsAbove).arg(r.underPortrait || kind == DocumentKind::DrivingLicence));
        dpis.insert(r.dpi);
        if (r.jpegQuality == 35)
            faults.insert(QStringLiteral("jpeg 35"));
        if (r.blur > 0)
            faults.insert(QStringLiteral("blur"));
        if (std::abs(r.turn) > 0.5 && std::abs(r.turn) <= 3)
            faults.insert(QStringLiteral("turn"));
        if (r.light > 0)
            faults.insert(QStringLiteral("light"));
    }
    EXPECT_GE(fonts.size(), 3u);
    for (const DocumentKind k : kKinds)
        EXPECT_GE(layouts[k].size(), 2u) << qPrintable(printed::KindName(k));
    EXPECT_EQ(dpis, (std::set<int>{200, 300}));
    EXPECT_EQ(faults.size(), 4u);
}

// A page is written as the picture a reader gets (PNG when kept lossless,
// the JPEG's own bytes otherwise) beside its truth, which names it.
TEST(PrintedPages, PagesAreWrittenWithTheirTruth)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const int quality : {0, 35}) {
        SCOPED_TRACE(quality);
        mrzpages::Random rng(7);
        printedpages::Recipe recipe = printedpages::RandomRecipe(DocumentKind::DrivingLicence, rng);
        recipe.jpegQuality = quality;
        recipe.dpi = 200;
        const printedpages::Page page = printedpages::MakePage(recipe, printedpages::RandomIssued(DocumentKind::DrivingLicence, rng), rng);
        const QString stem = QStringLiteral("page-%1").arg(quality);
        QString error;
        ASSERT_TRUE(printedpages::WritePage(page, dir.path(), stem, &error)) << qPrintable(error);
        QFile truth(QDir(dir.path()).filePath(stem + QStringLiteral(".json")));
        ASSERT_TRUE(truth.open(QIODevice::ReadOnly));
        const QJsonObject json = QJsonDocument::fromJson(truth.readAll()).object();
        const QString picture = json.value(QStringLiteral("picture")).toString();
        EXPECT_EQ(picture, stem + (quality ? QStringLiteral(".jpg") : QStringLiteral(".png")));
        const QImage read(QDir(dir.path()).filePath(picture));
        ASSERT_FALSE(read.isNull());
        EXPECT_EQ(read.size(), page.image.size());
        EXPECT_EQ(std::lround(read.dotsPerMeterX() * 0.0254), 200);
        EXPECT_EQ(json.value(QStringLiteral("degradations")).toVariant().toStringList().contains(QStringLiteral("JPEG quality 35")), quality == 35);
        EXPECT_EQ(json.value(QStringLiteral("fields")).toObject(), printedpages::TruthJson(page.truth).value(QStringLiteral("fields")).toObject());
    }
}
