#ifndef DENDRINE_TESTS_HOST_TEST_H
#define DENDRINE_TESTS_HOST_TEST_H
// Fixture of the host tests: an empty scene with the probe plug-in loaded.

#include <dghost/Fault.h>
#include <dghost/Host.h>
#include <gtest/gtest.h>

#include <maya/MDGModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>
#include <maya/MString.h>

#include <string>

class HostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(dghost::loadPlugin(PROBE_PLUGIN, &error)) << error;
        dghost::newScene();
        dghost::fault::clear();
    }
    void TearDown() override
    {
        dghost::fault::clear();
        dghost::newScene();
    }

    static MObject probe(const char* name = "")
    {
        MFnDependencyNode fn;
        return fn.create("probe", name);
    }
    static MPlug plug(const MObject& node, const char* attr)
    {
        return MFnDependencyNode(node).findPlug(attr, false);
    }
    static std::string nameOf(const MObject& node) { return MFnDependencyNode(node).name().asChar(); }
    static MStatus link(const MPlug& source, const MPlug& destination)
    {
        MDGModifier modifier;
        modifier.connect(source, destination);
        return modifier.doIt();
    }
};

#endif
