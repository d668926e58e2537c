// What cannot be read from the scanner ends the window without a record and
// tells the operator why, in Russian: a page with no document on it, a
// document no form of the engine's configuration reads (the second engine
// has none for an identity card: it is never forced into a passport), and a
// scanner that fails mid-scan. Nothing of the scan is left behind.
#include "HostOnGlass.h"
#include "TestPages.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace scannertest;

TEST(UnreadPages, NoDocumentOrAScannerFaultKeepsNoRecordAndTellsTheOperatorWhy)
{
    struct Case
    {
        const char *name;
        Engine engine;
        QImage page;
        QStringList saneOptions; ///< the device's own faults
        const char *told;        ///< part of a message the operator was shown
        bool scanned;            ///< the page arrived and was read (else the scan failed)
    };
    specimens::MrzData passport;
    passport.documentCode = QStringLiteral("P");
    passport.issuingState = passport.nationality = QStringLiteral("UTO");
    passport.surname = QStringLiteral("BRANDT");
    passport.givenNames = QStringLiteral("OLE");
    passport.documentNumber = QStringLiteral("X12345678");
    passport.birthDate = QStringLiteral("800101");
    passport.sex = QStringLiteral("M");
    passport.expiryDate = QStringLiteral("310101");
    specimens::MrzData card = passport;
    card.documentCode = QStringLiteral("ID");
    card.issuingState = card.nationality = QStringLiteral("KAZ");
    const QImage nothing = PageWithoutDocument();
    const QStringList jam{QStringLiteral("status-jammed=yes")};
    const Case cases[] = {
        {"no document, passport reader", Engine::Abbyy, nothing, {}, "Данные не распознаны", true},
        {"no document, Scanify", Engine::Scanify, nothing, {}, "не поддерживается", true},
        {"identity card, Scanify", Engine::Scanify, DocumentPage(QStringLiteral("TD1"), card), {}, "не поддерживается",
         true},
        {"paper jam, passport reader", Engine::Abbyy, DocumentPage(QStringLiteral("TD3"), passport), jam, "застряла",
         false},
        {"paper jam, Scanify", Engine::Scanify, DocumentPage(QStringLiteral("TD3"), passport), jam, "застряла", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        GlassRequest request;
        request.engine = c.engine;
        request.page = c.page;
        request.saneOptions = c.saneOptions;
        const GlassRun run = RunHostOnGlass(request);
        const QJsonObject &entry = run.entry;
        const std::string report = QJsonDocument(entry).toJson().toStdString() + run.errors.toStdString();
        EXPECT_EQ(run.exitCode, 0) << report;
        EXPECT_EQ(entry["scanner"].toString(), QLatin1String(pnmglass::SourceName)) << report;
        EXPECT_EQ(entry["modalResult"].toInt(), 2) << report;
        EXPECT_FALSE(entry.contains("record")) << report;
        const QString messages = QJsonDocument(entry["messages"].toArray()).toJson();
        EXPECT_TRUE(messages.contains(QString::fromUtf8(c.told))) << report;
        // A page that was scanned and read, not a scan that failed on its way.
        if (c.scanned)
            EXPECT_EQ(entry["page"].toString(), QStringLiteral("read")) << report;
        else
            EXPECT_FALSE(entry.contains("page")) << report;
        // Told once: neither the scanner nor the window repeats it.
        EXPECT_EQ(entry["messages"].toArray().size(), 1) << report;
        EXPECT_EQ(run.leftBehind, QStringList()) << report;
    }
}
