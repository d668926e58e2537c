// The sources the engines offer are the manager's.
#include "ScannerSources.h"

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
