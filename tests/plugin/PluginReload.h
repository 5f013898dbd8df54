#ifndef DENDRINE_TESTS_PLUGIN_RELOAD_H
#define DENDRINE_TESTS_PLUGIN_RELOAD_H
// A scene test that unloads and loads the in-process plug-in itself, with
// faults armed in between, and collects the error texts the plug-in shows
// while it is being loaded or unloaded. Leaves the plug-in loaded and the
// faults cleared for the next test.

#include "tests/support/SceneTest.h"

#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <string>
#include <vector>

class PluginReloadTest : public SceneTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    MStatus load();
    MStatus unload();
    // Loads with other entry points in place of the plug-in's own, e.g. ones
    // that call them and then look at what is registered.
    MStatus loadWith(MStatus (*initialize)(MObject), MStatus (*uninitialize)(MObject));
    bool loaded() const;

    // displayError texts shown during load() / unload() since the last call.
    std::vector<std::string> takeShownErrors();
};

#endif
