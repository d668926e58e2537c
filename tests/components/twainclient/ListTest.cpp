// The sources the engines offer are the manager's.
#include "support/ScannerSources.h"

#include "TwainClient.h"

#include <gtest/gtest.h>

using namespace scannertest;

TEST(TwainClientList, ListsEverySourceTheManagerFinds)
{
    ScannerSources sources;
    QString failure;
    QStringList names = twainclient::ListSources(&failure);
    EXPECT_TRUE(failure.isEmpty()) << failure.toStdString();
    for (const char *name : {SpecimenSource, SaneSource, SecondSaneSource})
        EXPECT_TRUE(names.contains(QLatin1String(name))) << name << " in " << names.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(names.removeDuplicates(), 0);
}

TEST(TwainClientList, AScannerSwitchedOnLaterIsListedWhenTheListIsReadAfresh)
{
    ScannerSources sources;
    const QLatin1String third("SANE: Noname frontend-tester #3");
    ASSERT_FALSE(twainclient::ListSources().contains(third));
    sources.configureSane({QStringLiteral("number_of_devices 3")});
    struct Case
    {
        bool afresh;
        bool listed;
    };
    // The list the process keeps, then the devices as they are now.
    for (const Case c : {Case{false, false}, Case{true, true}}) {
        SCOPED_TRACE(c.afresh);
        EXPECT_EQ(twainclient::ListSources(nullptr, c.afresh).contains(third), c.listed);
    }
    // Gone again with the next fresh list.
    sources.configureSane({});
    EXPECT_FALSE(twainclient::ListSources(nullptr, true).contains(third));
}
