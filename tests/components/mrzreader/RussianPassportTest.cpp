// The Russian internal passport's zone: its letter table on hand-written
// names, and the fields of hand-composed zones.

#include "MrzFields.h"
#include "MrzFormat.h"
#include "RussianPassport.h"

#include "specimen-generator/Mrz.h"

#include <gtest/gtest.h>

using namespace mrz;

namespace {

// ЧЕРНЫШЁВА-ЩУКИНА НАТАЛЬЯ ЮРЬЕВНА, series 45 03, number 123456, born
// 12.04.1985, issued 17.09.2005 by the division 770-001.
const QString kZone = QStringLiteral("PNRUS3ERNY42VA<WUKINA<<NATAL98<7R9EVNA<<<<<<"
                                     "4501234568RUS8504124F<<<<<<<3050917770001<88");
const QString kLine2 = kZone.mid(44);

} // namespace

TEST(RussianPassport, NamesGoThroughTheLetterTableAndBack)
{
    struct Case
    {
        QString cyrillic;
        QString zone;
    };
    const Case cases[] = {
        {QStringLiteral("ЧЕРНЫШЁВА-ЩУКИНА"), QStringLiteral("3ERNY42VA<WUKINA")},
        {QStringLiteral("НАТАЛЬЯ"), QStringLiteral("NATAL98")},
        {QStringLiteral("ЮРЬЕВНА"), QStringLiteral("7R9EVNA")},
        {QStringLiteral("ОБЪЯВЛЕНСКИЙ"), QStringLiteral("OBX8VLENSKIQ")},
        {QStringLiteral("ЭЙХГОЛЬЦ"), QStringLiteral("6QHGOL9C")},
        {QStringLiteral("ЖУЗДЫФ"), QStringLiteral("JUZDYF")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.cyrillic.toStdString());
        EXPECT_EQ(ToZoneNames(c.cyrillic), c.zone);
        EXPECT_EQ(FromZoneNames(c.zone), c.cyrillic);
        // The page generator writes the names on its own; it must agree.
        specimens::MrzData d;
        d.surname = c.cyrillic;
        EXPECT_EQ(specimens::RussianZoneNames(d), (c.zone + QStringLiteral("<<<")).leftJustified(39, QLatin1Char('<')));
    }
    EXPECT_EQ(ToZoneNames(u"IVANOV"), QString()) << "Latin letters are no Cyrillic ones";
    // Digits stand for letters in the names; 0, 1 and 5 for none.
    for (char ch : {'2', '3', '4', '6', '7', '8', '9', 'A', 'Q', '<'})
        EXPECT_TRUE(IsCyrillicNameSymbol(ch)) << ch;
    for (char ch : {'0', '1', '5', 'a'})
        EXPECT_FALSE(IsCyrillicNameSymbol(ch)) << ch;
}

TEST(RussianPassport, TheFieldsOfAHandComposedZone)
{
    for (const CheckRule &r : RulesFor(Format::RusInternal).checks)
        EXPECT_TRUE(CheckHolds(r, kZone)) << r.name;
    const Fields f = ParseFields(Format::RusInternal, kZone);
    const std::pair<FieldText Fields::*, QString> expected[] = {
        {&Fields::documentCode, QStringLiteral("PN")},
        {&Fields::issuingState, QStringLiteral("RUS")},
        {&Fields::surname, QStringLiteral("ЧЕРНЫШЁВА-ЩУКИНА")},
        {&Fields::givenNames, QStringLiteral("НАТАЛЬЯ")},
        {&Fields::patronymic, QStringLiteral("ЮРЬЕВНА")},
        {&Fields::documentNumber, QStringLiteral("45 03 123456")},
        {&Fields::nationality, QStringLiteral("RUS")},
        {&Fields::birthDate, QStringLiteral("850412")},
        {&Fields::sex, QStringLiteral("F")},
        {&Fields::expiryDate, QString()},
        {&Fields::issueDate, QStringLiteral("050917")},
        {&Fields::divisionCode, QStringLiteral("770-001")},
        {&Fields::personalNumber, QString()},
    };
    for (const auto &[member, value] : expected)
        EXPECT_EQ((f.*member).value, value);
    // Every character leads back to its zone position; the blanks and the
    // hyphens the reader puts in lead nowhere.
    EXPECT_EQ(f.documentNumber.positions, (std::vector<int>{44, 45, -1, 46, 72, -1, 47, 48, 49, 50, 51, 52}));
    EXPECT_EQ(f.divisionCode.positions, (std::vector<int>{79, 80, 81, -1, 82, 83, 84}));
    EXPECT_EQ(f.surname.positions[6], 11) << "Ё";
    EXPECT_EQ(f.surname.positions[9], -1) << "the hyphen of a double name";
    EXPECT_EQ(SeriesOf(f.documentNumber).value, "45 03");
    EXPECT_EQ(NumberOf(f.documentNumber).value, "123456");
    EXPECT_EQ(NumberOf(f.documentNumber).positions.front(), 47);
    EXPECT_EQ(PrintedSex(f.sex).value, "ЖЕН.");
    EXPECT_EQ(PrintedSex(f.sex).positions, (std::vector<int>(4, 64)));
}

TEST(RussianPassport, DoubleNamesAndNamesCutAtTheLinesEnd)
{
    struct Case
    {
        QString names; ///< after "PNRUS", cut to the line
        QString surname, givenName, patronymic;
    };
    const Case cases[] = {
        // A double given name: the patronymic is the last word.
        {QStringLiteral("IVANOV<<ANNA<MARI8<PETROVNA"), QStringLiteral("ИВАНОВ"), QStringLiteral("АННА-МАРИЯ"),
         QStringLiteral("ПЕТРОВНА")},
        // The patronymic cut at the line's end.
        {QStringLiteral("KONSTANTINOPOL9SKIQ<<ALEKSANDR<KONSTANTINOVI3"), QStringLiteral("КОНСТАНТИНОПОЛЬСКИЙ"),
         QStringLiteral("АЛЕКСАНДР"), QStringLiteral("КОНСТАНТ")},
        // No patronymic.
        {QStringLiteral("PETROV<<IVAN"), QStringLiteral("ПЕТРОВ"), QStringLiteral("ИВАН"), QString()},
        // A surname of three parts, the patronymic cut short.
        {QStringLiteral("RIMSKIQ<KORSAKOV<NEKRASOV<<NIKOLAQ<ANDREEVI3"), QStringLiteral("РИМСКИЙ-КОРСАКОВ-НЕКРАСОВ"),
         QStringLiteral("НИКОЛАЙ"), QStringLiteral("АНДР")},
        // The given name and patronymic cut off whole after the surname's double filler.
        {QStringLiteral("RIMSKIQ<KORSAKOV<NIKOLAEVSKIQ<BOL94OQ<<IVAN"), QStringLiteral("РИМСКИЙ-КОРСАКОВ-НИКОЛАЕВСКИЙ-БОЛЬШОЙ"),
         QString(), QString()},
        // The surname itself cut at the line's end.
        {QStringLiteral("MAKSIMILIANOVA<KONSTANTINOPOL9SKA8<RIMSKA8<<ANNA"),
         QStringLiteral("МАКСИМИЛИАНОВА-КОНСТАНТИНОПОЛЬСКАЯ-РИМС"), QString(), QString()},
        // The given name cut: no room for a patronymic.
        {QStringLiteral("MAKSIMILIANOVA<KONSTANTINOPOL9SKA8<<ANNA"), QStringLiteral("МАКСИМИЛИАНОВА-КОНСТАНТИНОПОЛЬСКАЯ"),
         QStringLiteral("АНН"), QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.names.toStdString());
        const QString text = QStringLiteral("PNRUS") + c.names.left(39).leftJustified(39, QLatin1Char('<')) + kLine2;
        const Fields f = ParseFields(Format::RusInternal, text);
        EXPECT_EQ(f.surname.value, c.surname);
        EXPECT_EQ(f.givenNames.value, c.givenName);
        EXPECT_EQ(f.patronymic.value, c.patronymic);
        // Names that reach the line's end may be cut: the given name and
        // patronymic are doubtful then, and only then; cut off whole, they
        // are doubtful and empty.
        const bool cut = c.names.size() >= 39;
        EXPECT_EQ(f.givenNames.doubtful, cut);
        EXPECT_EQ(f.patronymic.doubtful, cut && (!c.patronymic.isEmpty() || c.givenName.isEmpty()));
        EXPECT_EQ(f.surname.doubtful, c.names.size() >= 39 && !c.names.left(39).contains(QLatin1String("<<")));
    }
}
