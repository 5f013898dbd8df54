// What the node classes' initialize() writes when a host call fails while
// the plug-in loads: XmlElement reports each checked step, XmlDocument and
// XmlElementAttribute report nothing, and registration goes on.

#include "tests/plugin/PluginReload.h"

#include <dghost/Fault.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

const char* const kFailureText = "(kFailure): Unexpected Internal Failure";

// The host operations an initialize() calls, one counter each.
const std::vector<std::string> kInitOperations = {
    "createAttribute", "setConnectable", "setKeyable", "setReadable", "setWritable",
    "setStorable", "setArray", "setIndexMatters", "addAttribute"};

// A checked step of XmlElement's initialize() and its message, in call order.
struct CheckedStep {
    const char* operation;
    const char* message;
};

const CheckedStep kElementSteps[] = {
    {"createAttribute", "Error Creating ElementName Plug"},
    {"setConnectable", "Error ElementName setConnectable"},
    {"setKeyable", "Error ElementName setKeyable"},
    {"setReadable", "Error ElementName setReadable"},
    {"setWritable", "Error ElementName setWritable"},
    {"setStorable", "Error ElementName setStorable"},
    {"addAttribute", "Error Adding ElementName Plug"},
    {"createAttribute", "Error Creating Value Plug"},
    {"setConnectable", "Error Value setConnectable"},
    {"setKeyable", "Error Value setKeyable"},
    {"setReadable", "Error Value setReadable"},
    {"setWritable", "Error Value setWritable"},
    {"setStorable", "Error Value setStorable"},
    {"addAttribute", "Error Adding elementValue Plug"},
    // "XmlAttributes": only its creation is checked (see BareCreationText).
    {"createAttribute", nullptr},
    {"setConnectable", nullptr},
    {"setKeyable", nullptr},
    {"setArray", nullptr},
    {"setIndexMatters", nullptr},
    {"setReadable", nullptr},
    {"setWritable", nullptr},
    {"setStorable", nullptr},
    {"addAttribute", nullptr},
    {"createAttribute", "error init parent"},
    {"setConnectable", "error Set Parent setConnectable"},
    {"setKeyable", "Error Set Parent setKeyable"},
    {"setArray", "Error Set Parent setArray"},
    {"setReadable", "Error Set Parent setReadable"},
    {"setWritable", "Error Set Parent setWritable"},
    {"setStorable", "Error Set Parent setStorable"},
    {"addAttribute", "Error Adding Parent Attribute"},
    {"createAttribute", "error init children attribute"},
    {"setConnectable", "error children setConnectable"},
    {"setKeyable", "error children setKeyable"},
    {"setReadable", "error children setReadable"},
    {"setWritable", "error children setWritable"},
    {"setStorable", "error children setStorable"},
    {"setArray", "error children setArray"},
    {"setIndexMatters", "error children setIndexMatters"},
    {"addAttribute", "Error Adding children attribute"},
};

using CallCounts = std::map<std::string, unsigned>;

class PluginInitializeMessagesTest : public PluginReloadTest
{
protected:
    void SetUp() override
    {
        PluginReloadTest::SetUp();
        documentCalls = countInitCalls(true);
        allCalls = countInitCalls(false);
        for (const CheckedStep& step : kElementSteps) {
            ++elementCalls[step.operation];
        }
    }

    // Calls of each operation during a clean load; with `documentOnly`, the
    // two later node types are kept from registering so that only
    // XmlDocument's initialize() runs.
    CallCounts countInitCalls(bool documentOnly)
    {
        reloadWith([&] {
            if (documentOnly) {
                dghost::fault::failCall("registerNode", 2, MS::kFailure, 2);
            }
        });
        CallCounts counts;
        for (const std::string& op : kInitOperations) {
            counts[op] = dghost::fault::calls(op);
        }
        return counts;
    }

    // Unloads, arms faults after the counters are cleared, loads; returns the
    // load status. The plug-in's output of the load is left for takeOutput().
    template <typename Arm>
    MStatus reloadWith(Arm arm)
    {
        if (loaded()) {
            EXPECT_EQ(unload(), MS::kSuccess);
        }
        dghost::fault::clear();
        takeOutput();
        arm();
        MStatus status = load();
        takeShownErrors();
        return status;
    }

    MStatus reloadFailing(const std::string& op, unsigned nth, MStatus::MStatusCode code)
    {
        return reloadWith([&] { dghost::fault::failCall(op, nth, code); });
    }

    CallCounts documentCalls;
    CallCounts elementCalls;
    CallCounts allCalls;
};

// Every checked step of XmlElement, failed once: its own line, nothing else
// from the steps after it, and the load still succeeds.
TEST_F(PluginInitializeMessagesTest, EachCheckedElementStepWritesItsLine)
{
    CallCounts seen;
    for (const CheckedStep& step : kElementSteps) {
        unsigned nth = documentCalls[step.operation] + ++seen[step.operation];
        if (step.message == nullptr) {
            continue;
        }
        SCOPED_TRACE(std::string(step.operation) + " " + std::to_string(nth));
        EXPECT_EQ(reloadFailing(step.operation, nth, MS::kFailure), MS::kSuccess);
        std::string expected = std::string(step.message) + kFailureText + "\n";
        std::string output = takeOutput();
        if (std::string(step.operation) == "createAttribute") {
            // The attribute does not exist: its later steps may fail too.
            EXPECT_EQ(output.substr(0, expected.size()), expected);
        } else {
            EXPECT_EQ(output, expected);
        }
    }
}

// kNotFound counts as no failure: a setter or addAttribute failing with it
// writes nothing; a creation failing with it writes no creation line (the
// steps after it may fail on the missing attribute).
TEST_F(PluginInitializeMessagesTest, NotFoundIsNoFailure)
{
    CallCounts seen;
    for (const CheckedStep& step : kElementSteps) {
        unsigned nth = documentCalls[step.operation] + ++seen[step.operation];
        if (step.message == nullptr) {
            continue;
        }
        SCOPED_TRACE(std::string(step.operation) + " " + std::to_string(nth));
        EXPECT_EQ(reloadFailing(step.operation, nth, MS::kNotFound), MS::kSuccess);
        std::string output = takeOutput();
        if (std::string(step.operation) == "createAttribute") {
            EXPECT_EQ(output.find(step.message), std::string::npos) << output;
        } else {
            EXPECT_EQ(output, "");
        }
    }
}

// "XmlAttributes" reports a failed creation with its bare text, no error
// string and no line end, for any status other than success.
TEST_F(PluginInitializeMessagesTest, BareCreationTextOfXmlAttributes)
{
    unsigned nth = documentCalls["createAttribute"] + 3;
    for (MStatus::MStatusCode code : {MS::kFailure, MS::kNotFound}) {
        EXPECT_EQ(reloadFailing("createAttribute", nth, code), MS::kSuccess);
        EXPECT_EQ(takeOutput(), "error init attribute");
    }

    // The next report continues on the same line.
    unsigned parentConnectable = documentCalls["setConnectable"] + 4;
    EXPECT_EQ(reloadWith([&] {
                  dghost::fault::failCall("createAttribute", nth);
                  dghost::fault::failCall("setConnectable", parentConnectable);
              }),
              MS::kSuccess);
    EXPECT_EQ(takeOutput(),
              std::string("error init attributeerror Set Parent setConnectable") + kFailureText +
                  "\n");
}

TEST_F(PluginInitializeMessagesTest, ElementStepsAfterAFailureStillRun)
{
    EXPECT_EQ(reloadFailing("setKeyable", documentCalls["setKeyable"] + 1, MS::kFailure),
              MS::kSuccess);
    EXPECT_EQ(takeOutput(), std::string("Error ElementName setKeyable") + kFailureText + "\n");
    for (const std::string& op : kInitOperations) {
        EXPECT_EQ(dghost::fault::calls(op), allCalls[op]) << op;
    }
    EXPECT_EQ(dghost::fault::calls("attributeAffects"), 2u);
    EXPECT_EQ(run("createNode XmlElement -n e").status, MS::kSuccess);
    EXPECT_EQ(run("getAttr e.XValue").status, MS::kSuccess);
    EXPECT_EQ(run("getAttr e.FromChild -size").status, MS::kSuccess);
}

// Every step of XmlDocument's and XmlElementAttribute's initialize(), failed
// once: nothing written, the load succeeds.
TEST_F(PluginInitializeMessagesTest, DocumentAndAttributeNodeStepsWriteNothing)
{
    for (const std::string& op : kInitOperations) {
        unsigned firstAttributeNodeCall = documentCalls[op] + elementCalls[op] + 1;
        ASSERT_GE(allCalls[op] + 1, firstAttributeNodeCall) << op;
        std::vector<unsigned> silentCalls;
        for (unsigned nth = 1; nth <= documentCalls[op]; ++nth) silentCalls.push_back(nth);
        for (unsigned nth = firstAttributeNodeCall; nth <= allCalls[op]; ++nth) {
            silentCalls.push_back(nth);
        }
        for (unsigned nth : silentCalls) {
            SCOPED_TRACE(op + " " + std::to_string(nth));
            EXPECT_EQ(reloadFailing(op, nth, MS::kFailure), MS::kSuccess);
            EXPECT_EQ(takeOutput(), "");
        }
    }
}

}  // namespace
