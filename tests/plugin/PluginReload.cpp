#include "tests/plugin/PluginReload.h"

#define MNoVersionString
#include <maya/MFnPlugin.h>

#include <dghost/Fault.h>
#include <dghost/Host.h>

namespace {

const char* const kPluginName = "Dendrine";

std::vector<std::string>& shownErrors()
{
    static std::vector<std::string> errors;
    return errors;
}

void collectErrors(const char* kind, const std::string& text)
{
    if (std::string(kind) == "error") {
        shownErrors().push_back(text);
    }
}

}  // namespace

void PluginReloadTest::SetUp()
{
    SceneTest::SetUp();
    shownErrors().clear();
    dghost::setMessageSink(collectErrors);
}

void PluginReloadTest::TearDown()
{
    dghost::fault::clear();
    dghost::setMessageSink(nullptr);
    dghost::newScene();
    // Loaded afresh without faults: a load made while a fault was armed may
    // have registered types with attributes missing or flags wrong.
    if (loaded()) {
        unload();
    }
    dghost::loadLinkedPlugin(kPluginName, initializePlugin, uninitializePlugin);
    SceneTest::TearDown();
}

MStatus PluginReloadTest::load()
{
    return loadWith(initializePlugin, uninitializePlugin);
}

MStatus PluginReloadTest::loadWith(MStatus (*initialize)(MObject),
                                   MStatus (*uninitialize)(MObject))
{
    return dghost::loadLinkedPlugin(kPluginName, initialize, uninitialize);
}

MStatus PluginReloadTest::unload()
{
    return dghost::unloadPlugin(kPluginName);
}

bool PluginReloadTest::loaded() const
{
    return dghost::isPluginLoaded(kPluginName);
}

std::vector<std::string> PluginReloadTest::takeShownErrors()
{
    std::vector<std::string> taken;
    taken.swap(shownErrors());
    return taken;
}
