// How a list of fault switches is written, as every double, its README, the
// test suites and the settings files beside the doubles write one.

#include "FaultSwitches.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <optional>

using r9test::EnvSwitch;

namespace {

struct ListCase
{
    const char *text;
    QStringList names;
};

const ListCase kLists[] = {
    {"", {}},
    {"init", {"init"}},
    {"init,scan", {"init", "scan"}},
    {"package, recog", {"package", "recog"}},
    {"scanerror;recog", {"scanerror", "recog"}},
    {"cancel closedsreq\tfailxfer\r\n", {"cancel", "closedsreq", "failxfer"}},
    {" ,;nolog;, ", {"nolog"}},
    {"NoLog,LogFails", {"nolog", "logfails"}},
    {"recog,init,Recog,INIT", {"recog", "init"}},
    {",;\t", {}},
};

TEST(FaultSwitches, EveryWrittenFormReadsAsTheSameNames)
{
    for (const ListCase &c : kLists)
        EXPECT_EQ(doubles::ParseFaultSwitches(QString::fromLatin1(c.text)), c.names) << '"' << c.text << '"';
}

struct SourcesCase
{
    const char *environment; ///< nullptr: the variable is not set
    const char *file;
    QStringList names;
};

const SourcesCase kSources[] = {
    {nullptr, "", {}},
    {nullptr, "package, recog", {"package", "recog"}},
    {"init", "", {"init"}},
    {"init", "package", {"init", "package"}},
    {"Init;scan", "scan,INIT", {"init", "scan"}},
};

TEST(FaultSwitches, TheEnvironmentAndTheSettingsFileAddUp)
{
    for (const SourcesCase &c : kSources) {
        std::optional<EnvSwitch> variable;
        if (c.environment)
            variable.emplace("R9_TEST_FAULTS", c.environment);
        else
            qunsetenv("R9_TEST_FAULTS");
        EXPECT_EQ(doubles::ActiveFaultSwitches("R9_TEST_FAULTS", QString::fromLatin1(c.file)), c.names)
            << (c.environment ? c.environment : "(unset)") << " + " << c.file;
    }
}

} // namespace
