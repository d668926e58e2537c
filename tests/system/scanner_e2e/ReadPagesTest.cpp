// A document laid on the scanner is read from its pixels by either engine:
// SANE's pnm backend scans the page, our SANE source and source manager hand
// it to the engine, the package's window shows what was read and the host
// keeps it. Every field the window fills is the page's truth; the fields the
// zone does not carry stay empty.
#include "HostOnGlass.h"
#include "TestPages.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace scannertest;

namespace {

specimens::MrzData InternalPassport()
{
    specimens::MrzData d;
    d.documentCode = QStringLiteral("PN");
    d.issuingState = QStringLiteral("RUS");
    d.surname = QStringLiteral("КОРОЛЕВА");
    d.givenNames = QStringLiteral("МАРИНА");
    d.patronymic = QStringLiteral("ОЛЕГОВНА");
    d.documentNumber = QStringLiteral("4611702354");
    d.nationality = QStringLiteral("RUS");
    d.birthDate = QStringLiteral("850704");
    d.sex = QStringLiteral("F");
    d.issueDate = QStringLiteral("090316");
    d.divisionCode = QStringLiteral("500112");
    return d;
}

specimens::MrzData ForeignPassport()
{
    specimens::MrzData d;
    d.documentCode = QStringLiteral("P");
    d.issuingState = QStringLiteral("UTO");
    d.surname = QStringLiteral("ERIKSSON");
    d.givenNames = QStringLiteral("ANNA MARIA");
    d.documentNumber = QStringLiteral("L898902C3");
    d.nationality = QStringLiteral("UTO");
    d.birthDate = QStringLiteral("740812");
    d.sex = QStringLiteral("F");
    d.expiryDate = QStringLiteral("320415");
    return d;
}

specimens::MrzData IdentityCard()
{
    specimens::MrzData d;
    // The catalogue's identity card is Kazakhstan's.
    d.documentCode = QStringLiteral("ID");
    d.issuingState = QStringLiteral("KAZ");
    d.surname = QStringLiteral("NOVAK");
    d.givenNames = QStringLiteral("PETR JAN");
    d.documentNumber = QStringLiteral("D23145890");
    d.nationality = QStringLiteral("KAZ");
    d.birthDate = QStringLiteral("920130");
    d.sex = QStringLiteral("M");
    d.expiryDate = QStringLiteral("300621");
    return d;
}

struct ReadCase
{
    const char *name;
    Engine engine;
    const char *format;
    specimens::MrzData (*person)();
    const char *documentType; ///< chosen in the passport-reader window; null: the host's default
    int turn;
    /// The page's truth as the record holds it, every field the window fills.
    QJsonObject truth;
    bool repeated; ///< Scanify: read only by the repeat run, which turns the page
};

} // namespace

TEST(ReadPages, EveryFieldReadFromAScannedPageIsThePagesTruth)
{
    const QJsonObject internalPassport{{"lastName", "КОРОЛЕВА"},       {"firstName", "МАРИНА"},
                                       {"middleName", "ОЛЕГОВНА"},      {"passportNumber", "46 11 702354"},
                                       {"sex", "ЖЕН."},                  {"dateOfBirth", "1985-07-04"},
                                       {"dateOfIssue", "2009-03-16"},    {"departmentCode", "500-112"}};
    const QJsonObject foreignPassport{{"lastName", "ERIKSSON"},   {"firstName", "ANNA"},
                                      {"middleName", "MARIA"},     {"passportNumber", "L898902C3"},
                                      {"sex", "F"},                {"dateOfBirth", "1974-08-12"},
                                      {"dateOfExpiry", "2032-04-15"}, {"nationality", "UTO"}};
    // The second engine's window keeps the given names in one box; the zone
    // names no country, so the nationality is its code alone.
    const QJsonObject foreignPassportScanify{{"lastName", "ERIKSSON"},     {"firstName", "ANNA MARIA"},
                                             {"passportNumber", "L898902C3"}, {"sex", "F"},
                                             {"dateOfBirth", "1974-08-12"},  {"dateOfExpiry", "2032-04-15"},
                                             {"nationality", "UTO"}};
    const QJsonObject identityCard{{"lastName", "NOVAK"},        {"firstName", "PETR"}, {"middleName", "JAN"},
                                   {"passportNumber", "D23145890"}, {"sex", "M"},
                                   {"dateOfBirth", "1992-01-30"}, {"dateOfExpiry", "2030-06-21"},
                                   {"nationality", "KAZ"}};
    const ReadCase cases[] = {
        {"internal passport, passport reader", Engine::Abbyy, "RUSPN", InternalPassport, "Passport_RU", 0,
         internalPassport, false},
        {"foreign passport, passport reader (the host's default type)", Engine::Abbyy, "TD3", ForeignPassport,
         nullptr, 0, foreignPassport, false},
        {"identity card, passport reader", Engine::Abbyy, "TD1", IdentityCard, "ID_KZ", 0, identityCard, false},
        {"foreign passport upside down, passport reader", Engine::Abbyy, "TD3", ForeignPassport, nullptr, 180,
         foreignPassport, false},
        {"internal passport, Scanify", Engine::Scanify, "RUSPN", InternalPassport, nullptr, 0, internalPassport, false},
        // The second engine's configuration turns a passport's scan a quarter
        // to the right (the repeat run: to the left), as a passport lies
        // across the glass; laid the other way round, only the repeat run reads it.
        {"foreign passport, Scanify", Engine::Scanify, "TD3", ForeignPassport, nullptr, 90, foreignPassportScanify,
         false},
        {"foreign passport upside down, Scanify", Engine::Scanify, "TD3", ForeignPassport, nullptr, 270,
         foreignPassportScanify, true},
    };
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(c.name);
        GlassRequest request;
        request.engine = c.engine;
        request.page = DocumentPage(QLatin1String(c.format), c.person(), c.turn);
        if (c.documentType)
            request.documentType = QLatin1String(c.documentType);
        const GlassRun run = RunHostOnGlass(request);
        const QJsonObject &entry = run.entry;
        const std::string report = QJsonDocument(entry).toJson().toStdString() + run.errors.toStdString();
        EXPECT_EQ(run.exitCode, 0) << report;
        EXPECT_EQ(entry["scanner"].toString(), QLatin1String(pnmglass::SourceName)) << report;
        EXPECT_EQ(entry["page"].toString(), "read") << report;
        if (entry["modalResult"].toInt() != 1) {
            ADD_FAILURE() << "the window kept nothing\n" << report;
            continue;
        }
        for (auto it = c.truth.begin(); it != c.truth.end(); ++it)
            EXPECT_EQ(std::as_const(run.record)[it.key()].toString(), it.value().toString()) << it.key().toStdString() << report;
        EXPECT_EQ(FilledFields(run.record), FilledFields(c.truth)) << report;
        EXPECT_TRUE(std::as_const(run.record)["erroneous"].toArray().isEmpty()) << report;
        EXPECT_TRUE(std::as_const(run.record)["doubtful"].toArray().isEmpty()) << report;
        EXPECT_TRUE(std::as_const(run.record)["unreadable"].toArray().isEmpty()) << report;
        EXPECT_EQ(entry["repeated"].toBool(), c.repeated) << report;
        EXPECT_EQ(run.leftBehind, QStringList()) << report;
    }
}
