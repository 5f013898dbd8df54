// Command syntax: flags by short or long name, query and edit modes,
// refusals before doIt, results and messages.

#include "HostTest.h"

namespace {

dghost::CommandOutcome probeCmd(const std::string& args) { return dghost::runCommand("probeCmd " + args); }

}  // namespace

using Syntax = HostTest;

TEST_F(Syntax, FlagsByShortOrLongName)
{
    auto out = probeCmd("-name abc -c 3 obj \"-n\"");
    ASSERT_TRUE(out.status);
    EXPECT_EQ(out.text, "c n=abc c=3 [obj] [-n]");  // a quoted word is never a flag
    EXPECT_EQ(probeCmd("-n x -count -4").text, "c n=x c=-4");
}

TEST_F(Syntax, QueryFlagsTakeNoArgumentAndEditIsSeen)
{
    EXPECT_EQ(probeCmd("-q -n").text, "q n?");
    EXPECT_EQ(probeCmd("-query -n -c obj").text, "q n? c=0 [obj]");
    EXPECT_EQ(probeCmd("-e -n v").text, "e n=v");
    EXPECT_EQ(probeCmd("-edit -q").status, MS::kInvalidParameter);
}

TEST_F(Syntax, BadArgumentsNeverReachDoIt)
{
    auto unknown = probeCmd("-zz");
    EXPECT_EQ(unknown.status, MS::kInvalidParameter);
    ASSERT_EQ(unknown.errors.size(), 1u);
    EXPECT_EQ(unknown.errors[0], "probeCmd: Invalid flag '-zz'");
    EXPECT_EQ(unknown.kind, dghost::CommandOutcome::Kind::None);
    auto missing = probeCmd("-n");
    EXPECT_EQ(missing.errors[0], "probeCmd: Flag '-n' needs an argument");
    auto wrongType = probeCmd("-c many");
    EXPECT_EQ(wrongType.errors[0], "probeCmd: Invalid argument for flag '-c': many");
}

TEST_F(Syntax, UnknownCommandsAndScriptErrors)
{
    auto out = dghost::runCommand("noSuchCommand -x");
    EXPECT_FALSE(out.status);
    EXPECT_EQ(out.errors[0], "Cannot find procedure \"noSuchCommand\".");
    auto bad = dghost::runCommand("probeCmd -n \"open");
    EXPECT_FALSE(bad.status);
    EXPECT_EQ(bad.errors[0], "line 1: unterminated string");
}

TEST_F(Syntax, HostCommandsGiveTypedResults)
{
    EXPECT_EQ(dghost::runCommand("createNode probe -n a").text, "a");
    auto exists = dghost::runCommand("objExists a");
    EXPECT_EQ(exists.kind, dghost::CommandOutcome::Kind::Bool);
    EXPECT_TRUE(exists.boolValue);
    ASSERT_TRUE(dghost::runCommand("setAttr a.items[4] -type \"string\" four").status);
    EXPECT_EQ(dghost::runCommand("getAttr -size a.it").intValue, 1);
    EXPECT_EQ(dghost::runCommand("getAttr a.it[4]").text, "four");
    dghost::runCommand("createNode probe -n b");
    ASSERT_TRUE(dghost::runCommand("connectAttr a.o b.lk[2]").status);
    auto plugs = dghost::runCommand("listConnections -p 1 b");
    ASSERT_EQ(plugs.strings.size(), 1u);
    EXPECT_EQ(plugs.strings[0], "a.out");
    EXPECT_EQ(dghost::runCommand("listConnections -s 0 b").strings.size(), 0u);
    EXPECT_EQ(dghost::runCommand("listConnections -d 1 a").strings[0], "b");
}
