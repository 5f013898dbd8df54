// Loading and unloading the plug-in: all ten registrations made and removed
// in table order, and a failed step never stopping the steps after it.

#include "tests/plugin/PluginReload.h"

#define MNoVersionString
#include <maya/MFnPlugin.h>

#include <dghost/Fault.h>
#include <dghost/Host.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kHostLoadFailure = "initializePlugin function failed (Dendrine)";
const char* const kHostUnloadFailure = "uninitializePlugin function failed (Dendrine)";

const std::vector<std::string> kNodeTypes = {"XmlDocument", "XmlElement", "XmlElementAttribute"};
const std::vector<std::string> kCommands = {"XmlLoadFile", "XmlSaveFile", "XmlElement",
                                            "XmlAttribute", "XmlFind", "XmlQuery"};

// The nth call of a host operation and the text shown when it fails.
struct FailingStep {
    const char* operation;
    unsigned nth;
    const char* shownText;  // null: nothing of the plug-in's shown
};

const FailingStep kRegistrationSteps[] = {
    {"registerData", 1, "registerNode 'XmlConnectionAttrElm' failed"},
    {"registerData", 2, "registerNode 'XMLConnectionElement' failed"},
    {"registerNode", 1, "registerNode 'XmlDocument' failed"},
    {"registerNode", 2, "registerNode 'XmlElement' failed"},
    {"registerNode", 3, "registerNode 'XmlElementAttribute' failed"},
    {"registerCommand", 1, "registerCommand 'XmlLoadFile' failed"},
    {"registerCommand", 2, "registerCommand 'XmlSaveFile' failed"},
    {"registerCommand", 3, "registerCommand 'XmlElementCmd' failed"},
    {"registerCommand", 4, "registerCommand 'XmlAttributeCmd' failed"},
    {"registerCommand", 5, "registerCommand 'XmlFindCmd' failed"},
    {"registerCommand", 6, "registerCommand 'XmlQueryCmd' failed"},
};

const FailingStep kDeregistrationSteps[] = {
    {"deregisterCommand", 1, "deregisterCommand 'XmlElement' failed"},
    {"deregisterCommand", 2, "deregisterCommand 'XmlAttribute' failed"},
    {"deregisterCommand", 3, "deregisterCommand 'XmlSaveFile' failed"},
    {"deregisterCommand", 4, "deregisterCommand 'XmlFind' failed"},
    {"deregisterCommand", 5, nullptr},
    {"deregisterCommand", 6, "deregisterCommand 'XmlQuery' failed"},
    {"deregisterNode", 1, "deregisterNode 'XMLDocNode' failed"},
    {"deregisterNode", 2, "deregisterNode 'XMLElementNode' failed"},
    {"deregisterNode", 3, "deregisterNode 'XMLElementAttributeNode' failed"},
    {"deregisterData", 1, "deregisterNode 'XMLConnectionAttributeElement' failed"},
    {"deregisterData", 2, "deregisterNode 'XMLConnectionElement' failed"},
};

// The plug-in's text, then the host's own report of the failed entry point.
std::vector<std::string> expectedShown(const FailingStep& step, const char* hostText)
{
    if (step.shownText == nullptr) {
        return {hostText};
    }
    return {step.shownText, hostText};
}

std::string traceOf(const FailingStep& step)
{
    return std::string(step.operation) + " " + std::to_string(step.nth);
}

// Asks for the help text: the one invocation of every command without an
// effect on the scene.
bool commandRegistered(const std::string& name)
{
    for (const std::string& error : dghost::runCommand(name + " -h").errors) {
        if (error.rfind("Cannot find procedure", 0) == 0) {
            return false;
        }
    }
    return true;
}

// What was registered right after an entry point of the plug-in returned:
// the host drops the registrations of a failed load, so look before it does.
struct Registered {
    std::vector<bool> nodeTypes;
    std::vector<bool> commands;
};

Registered lookAtRegistrations()
{
    Registered seen;
    for (const std::string& type : kNodeTypes) {
        seen.nodeTypes.push_back(MFnPlugin::isNodeRegistered(type.c_str()));
    }
    for (const std::string& command : kCommands) {
        seen.commands.push_back(commandRegistered(command));
    }
    return seen;
}

Registered afterEntryPoint;

MStatus initializeAndLook(MObject plugin)
{
    MStatus status = initializePlugin(plugin);
    afterEntryPoint = lookAtRegistrations();
    return status;
}

MStatus uninitializeAndLook(MObject plugin)
{
    MStatus status = uninitializePlugin(plugin);
    afterEntryPoint = lookAtRegistrations();
    return status;
}

class PluginRegistrationTest : public PluginReloadTest
{
protected:
    void unloadClean()
    {
        if (loaded()) {
            ASSERT_EQ(unload(), MS::kSuccess);
        }
        takeShownErrors();
        dghost::fault::clear();
    }

    // Loaded with the looking entry points, whatever was loaded before.
    void loadClean()
    {
        unloadClean();
        ASSERT_EQ(loadWith(initializeAndLook, uninitializeAndLook), MS::kSuccess);
        takeShownErrors();
        dghost::fault::clear();
    }

    void expectRegistrationCalls()
    {
        EXPECT_EQ(dghost::fault::calls("registerData"), 2u);
        EXPECT_EQ(dghost::fault::calls("registerNode"), 3u);
        EXPECT_EQ(dghost::fault::calls("registerCommand"), 6u);
    }

    void expectDeregistrationCalls()
    {
        EXPECT_EQ(dghost::fault::calls("deregisterCommand"), 6u);
        EXPECT_EQ(dghost::fault::calls("deregisterNode"), 3u);
        EXPECT_EQ(dghost::fault::calls("deregisterData"), 2u);
    }
};

TEST_F(PluginRegistrationTest, LoadUnloadLoadMakesAndRemovesEveryRegistration)
{
    const Registered none{{false, false, false}, {false, false, false, false, false, false}};
    const Registered all{{true, true, true}, {true, true, true, true, true, true}};
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        unloadClean();
        ASSERT_EQ(loadWith(initializeAndLook, uninitializeAndLook), MS::kSuccess);
        expectRegistrationCalls();
        EXPECT_EQ(afterEntryPoint.nodeTypes, all.nodeTypes);
        EXPECT_EQ(afterEntryPoint.commands, all.commands);
        for (const std::string& type : kNodeTypes) {
            EXPECT_EQ(run("createNode " + type).status, MS::kSuccess) << type;
        }
        dghost::newScene();

        dghost::fault::clear();
        ASSERT_EQ(unload(), MS::kSuccess);
        expectDeregistrationCalls();
        EXPECT_EQ(afterEntryPoint.nodeTypes, none.nodeTypes);
        EXPECT_EQ(afterEntryPoint.commands, none.commands);
        EXPECT_NE(run("createNode XmlElement").status, MS::kSuccess);
    }
    EXPECT_TRUE(takeShownErrors().empty());
    EXPECT_EQ(takeOutput(), "");
}

TEST_F(PluginRegistrationTest, EachFailedRegistrationIsShownAndTheRestStillRun)
{
    for (const FailingStep& step : kRegistrationSteps) {
        SCOPED_TRACE(traceOf(step));
        unloadClean();
        dghost::fault::failCall(step.operation, step.nth);

        EXPECT_EQ(loadWith(initializeAndLook, uninitializeAndLook), MS::kFailure);
        expectRegistrationCalls();
        EXPECT_EQ(takeShownErrors(), expectedShown(step, kHostLoadFailure));
        EXPECT_FALSE(loaded());
    }
}

// Registering the XmlElement node type fails: the types and commands after
// it are registered all the same.
TEST_F(PluginRegistrationTest, LaterStepsStandAfterAFailedOne)
{
    unloadClean();
    dghost::fault::failCall("registerNode", 2);

    EXPECT_EQ(loadWith(initializeAndLook, uninitializeAndLook), MS::kFailure);
    EXPECT_EQ(afterEntryPoint.nodeTypes, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(afterEntryPoint.commands, (std::vector<bool>{true, true, true, true, true, true}));
}

TEST_F(PluginRegistrationTest, EachFailedDeregistrationIsShownAndTheRestStillRun)
{
    for (const FailingStep& step : kDeregistrationSteps) {
        SCOPED_TRACE(traceOf(step));
        loadClean();
        dghost::fault::failCall(step.operation, step.nth);

        EXPECT_EQ(unload(), MS::kFailure);
        expectDeregistrationCalls();
        EXPECT_EQ(takeShownErrors(), expectedShown(step, kHostUnloadFailure));
    }
}

// Removing the XmlAttribute command fails: it alone stays registered.
TEST_F(PluginRegistrationTest, LaterRemovalsStandAfterAFailedOne)
{
    loadClean();
    dghost::fault::failCall("deregisterCommand", 2);

    EXPECT_EQ(unload(), MS::kFailure);
    EXPECT_EQ(afterEntryPoint.nodeTypes, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(afterEntryPoint.commands, (std::vector<bool>{false, false, false, true, false, false}));
}

TEST_F(PluginRegistrationTest, UnloadIsRefusedWhileItsNodesAreInTheScene)
{
    for (const std::string& type : kNodeTypes) {
        SCOPED_TRACE(type);
        ASSERT_EQ(run("createNode " + type + " -n inUse").status, MS::kSuccess);
        dghost::fault::clear();

        EXPECT_NE(unload(), MS::kSuccess);
        EXPECT_TRUE(loaded());
        EXPECT_EQ(dghost::fault::calls("deregisterCommand"), 0u);
        EXPECT_EQ(run("createNode " + type + " -n another").status, MS::kSuccess);
        EXPECT_TRUE(commandRegistered("XmlAttribute"));
        dghost::newScene();
    }
    EXPECT_EQ(unload(), MS::kSuccess);
}

}  // namespace
