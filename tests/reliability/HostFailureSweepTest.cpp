// Every host failure survived: each main scenario of each command runs once
// cleanly to count the host calls it makes, then once per counted call with
// exactly that call failing. After each run the command has returned, every
// link in the scene is whole and of a legal kind, and the scene saves and
// opens unchanged. Leaks and memory errors are caught by the sanitizer build,
// which runs this same program.

#include "tests/reliability/SceneCheck.h"
#include "tests/support/SceneTest.h"

#include <dghost/Fault.h>

#include <cctype>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// A scenario: statements that build the scene (run without faults), then
// the one command whose host calls are failed one by one.
struct Scenario {
    const char* name;
    std::vector<std::string> setup;
    std::string action;
};

// gtest prints a parameter with this (instead of its bytes).
[[maybe_unused]] void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

// A document of five elements and four attributes, small enough that the
// sweep stays quick and rich enough for every flag to find its nodes.
const char kDocument[] =
    "<farm version=\"2\"><server host=\"h\" port=\"1\"><timeout>30</timeout></server>"
    "<queue name=\"q\"><priority>5</priority></queue></farm>";

// Placeholders: @IN is the document's file, @OUT a file to export to.
const std::vector<std::string> kImported = {"XmlLoadFile -f \"@IN\" -n \"doc\""};
const std::vector<std::string> kLoose = {
    "XmlLoadFile -f \"@IN\" -n \"doc\"",
    "createNode XmlElement -n \"loose\"",
    "setAttr loose.XName -type \"string\" \"loose\"",
    "createNode XmlElementAttribute -n \"extra\"",
    "setAttr extra.Name -type \"string\" \"extra\"",
    "setAttr extra.Value -type \"string\" \"e\""};

std::vector<std::string> with(std::vector<std::string> setup, const std::string& more)
{
    setup.push_back(more);
    return setup;
}

// Two more loose elements hung below each other by hand: a loop in which
// each element still has one parent.
std::vector<std::string> withLoop(const std::string& selection)
{
    std::vector<std::string> setup = kLoose;
    for (const char* statement :
         {"createNode XmlElement -n \"ring\"", "setAttr ring.XName -type \"string\" \"ring\"",
          "connectAttr loose.ToParent ring.FromChildren[0]",
          "connectAttr ring.ToParent loose.FromChildren[0]"})
        setup.push_back(statement);
    setup.push_back("select -r " + selection);
    return setup;
}

const std::vector<Scenario>& scenarios()
{
    static const std::vector<Scenario> all = {
        {"import", {}, "XmlLoadFile -f \"@IN\" -n \"doc\""},
        {"import beside another", kImported, "XmlLoadFile -f \"@IN\" -n \"doc\""},
        {"export document", kImported, "XmlSaveFile -n \"doc\" -f \"@OUT\""},
        {"export element", kImported, "XmlSaveFile -n \"server\" -f \"@OUT\""},
        {"export selection", with(kImported, "select -r doc"), "XmlSaveFile -f \"@OUT\""},
        {"export all", kImported, "XmlSaveFile -all"},
        {"create", kLoose, "XmlElement -n \"made\" -xn \"made\" -xv \"text\""},
        {"create under element", kLoose, "XmlElement -n \"made\" -xn \"made\" -p \"queue\""},
        {"create under document", kLoose, "XmlElement -n \"made\" -xn \"made\" -p \"doc\""},
        {"create with child", kLoose, "XmlElement -n \"made\" -xn \"made\" -ch \"loose\""},
        {"create with attribute", kLoose, "XmlElement -n \"made\" -xn \"made\" -at \"extra\""},
        {"edit name", with(kLoose, "select -r timeout"), "XmlElement -e -xn \"renamed\""},
        {"edit value", with(kLoose, "select -r timeout"), "XmlElement -e -xv \"42\""},
        {"edit child", with(kLoose, "select -r queue"), "XmlElement -e -ch \"loose\""},
        {"edit parent", with(kLoose, "select -r loose"), "XmlElement -e -p \"server\""},
        {"edit attribute", with(kLoose, "select -r timeout"), "XmlElement -e -at \"extra\""},
        {"query name", with(kLoose, "select -r server"), "XmlElement -q -xn"},
        {"query value", with(kLoose, "select -r server"), "XmlElement -q -xv"},
        {"query children", with(kLoose, "select -r server"), "XmlElement -q -ch"},
        {"query parent", with(kLoose, "select -r server"), "XmlElement -q -p"},
        {"query attributes", with(kLoose, "select -r server"), "XmlElement -q -at"},
        {"cut parent", with(kLoose, "select -r timeout"), "XmlElement -dp \"server\""},
        {"cut child", with(kLoose, "select -r server"), "XmlElement -dc \"timeout\""},
        {"cut all children", with(kLoose, "select -r farm"), "XmlElement -dac"},
        {"cut attribute", with(kLoose, "select -r server"), "XmlElement -da \"host\""},
        {"cut all attributes", with(kLoose, "select -r server"), "XmlElement -daa"},
        {"remove child", with(kLoose, "select -r farm"), "XmlElement -rc \"server\""},
        {"remove all children", with(kLoose, "select -r farm"), "XmlElement -rac"},
        {"remove attribute", with(kLoose, "select -r server"), "XmlElement -ra \"host\""},
        {"remove all attributes", with(kLoose, "select -r server"), "XmlElement -raa"},
        {"find by name", kLoose, "XmlFind -n \"queue\""},
        {"find by value", kLoose, "XmlFind -v \"30\""},
        {"find in children", with(kLoose, "select -r server"), "XmlFind -c -n \"timeout\""},
        {"find in document", with(kLoose, "select -r doc"), "XmlFind -c -v \"5\""},
        {"find in selected", with(kLoose, "select -r server"), "XmlFind -s -n \"server\""},
        {"find by name and value", kLoose, "XmlFind -n \"queue\" -v \"5\""},
        // Refusals that must change nothing, and walks over a loop.
        {"create refused second parent", kLoose, "XmlElement -n \"made\" -ch \"timeout\""},
        {"create refused unknown parent", with(kLoose, "select -r server"),
         "XmlElement -n \"made\" -p \"typo\""},
        {"create between parent and child", kLoose,
         "XmlElement -n \"made\" -ch \"loose\" -p \"queue\" -at \"extra\""},
        {"edit parent refused second parent", with(kLoose, "select -r timeout"),
         "XmlElement -e -p \"queue\""},
        {"edit parent then attribute", with(kLoose, "select -r loose"),
         "XmlElement -e -p \"queue\" -at \"extra\""},
        {"find below a loop", withLoop("loose"), "XmlFind -c -n \"ring\""},
        {"link a loop", withLoop("queue"), "XmlElement -e -ch \"loose\""},
        {"remove child on a loop", withLoop("loose"), "XmlElement -rc \"ring\""},
        {"remove all children on a loop", withLoop("ring"), "XmlElement -rac"},
        {"remove child with attributes", with(kLoose, "select -r farm"), "XmlElement -rc \"queue\""},
        {"query paths", kLoose, "XmlQuery -p \"//queue[priority > 1]/@name | //timeout\""},
        {"query from selected", with(kLoose, "select -r timeout loose"), "XmlQuery -s -p \"ancestor::*\""},
    };
    return all;
}

// Above this many calls of one operation, only this many evenly spread call
// numbers (always the first and the last) are failed.
const unsigned kMaxFailuresPerOperation = 24;

std::vector<unsigned> callsToFail(unsigned count)
{
    std::vector<unsigned> chosen;
    if (count <= kMaxFailuresPerOperation) {
        for (unsigned n = 1; n <= count; ++n) chosen.push_back(n);
        return chosen;
    }
    for (unsigned i = 0; i < kMaxFailuresPerOperation; ++i)
        chosen.push_back(1 + static_cast<unsigned>(static_cast<unsigned long long>(count - 1) * i /
                                                   (kMaxFailuresPerOperation - 1)));
    return chosen;
}

struct Totals {
    unsigned scenarios = 0, calls = 0, injected = 0;
};

Totals& totals()
{
    static Totals t;
    return t;
}

// Prints the totals once all scenarios ran.
class SweepReport : public ::testing::Environment {
public:
    void TearDown() override
    {
        std::printf("host-failure sweep: %u scenarios, %u host calls counted, %u failures injected\n",
                    totals().scenarios, totals().calls, totals().injected);
    }
};
const auto* const kReport = ::testing::AddGlobalTestEnvironment(new SweepReport);

class HostFailureSweep : public SceneTest, public ::testing::WithParamInterface<Scenario> {
protected:
    std::string expand(std::string statement)
    {
        for (const auto& [mark, file] : {std::pair<std::string, std::string>{"@IN", input_}, {"@OUT", output_}})
            for (std::size_t at; (at = statement.find(mark)) != std::string::npos;)
                statement.replace(at, mark.size(), file);
        return statement;
    }

    // A fresh scene built by the setup, fault counters at zero.
    void prepare()
    {
        dghost::fault::clear();
        dghost::newScene();
        input_ = writeFile("farm.xml", kDocument);
        output_ = tempPath("out.xml");
        for (const std::string& statement : GetParam().setup) {
            dghost::CommandOutcome outcome = run(expand(statement));
            ASSERT_TRUE(outcome.status) << statement;
        }
        takeOutput();
        dghost::fault::clear();
    }

    std::map<std::string, unsigned> countCalls()
    {
        prepare();
        run(expand(GetParam().action));
        std::map<std::string, unsigned> counts;
        for (const std::string& op : dghost::fault::operations())
            if (unsigned n = dghost::fault::calls(op)) counts[op] = n;
        return counts;
    }

    // One run with the nth call of `op` failing; the scene must stay whole.
    void survive(const std::string& op, unsigned nth)
    {
        prepare();
        ASSERT_TRUE(dghost::fault::failCall(op, nth, MS::kFailure));
        run(expand(GetParam().action));
        dghost::fault::clear();
        takeOutput();
        std::string where = std::string(GetParam().name) + ", " + op + " call " + std::to_string(nth);
        std::string error;
        std::string text = reliability::saveSceneText(tempPath("scene.ma"), error);
        ASSERT_TRUE(error.empty()) << where << ": " << error;
        for (const std::string& problem : reliability::brokenLinks(text)) ADD_FAILURE() << where << ": " << problem;
        std::string problem = reliability::saveAndReopenProblem(tempPath("scene.ma"));
        EXPECT_TRUE(problem.empty()) << where << ": " << problem;
    }

    std::string input_, output_;
};

TEST_P(HostFailureSweep, SurvivesEveryFailedHostCall)
{
    std::map<std::string, unsigned> counts = countCalls();
    ASSERT_FALSE(counts.empty()) << "the scenario makes no host call";
    totals().scenarios++;
    for (const auto& [op, count] : counts) {
        totals().calls += count;
        for (unsigned nth : callsToFail(count)) {
            survive(op, nth);
            totals().injected++;
            if (HasFatalFailure()) return;
        }
    }
}

std::string scenarioName(const ::testing::TestParamInfo<Scenario>& info)
{
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Commands, HostFailureSweep, ::testing::ValuesIn(scenarios()), scenarioName);

}  // namespace
