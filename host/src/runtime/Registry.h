#ifndef DGHOST_RUNTIME_REGISTRY_H
#define DGHOST_RUNTIME_REGISTRY_H
// The runtime: what is registered (node types, data types, commands,
// loaded plug-ins), running commands and scripts, loading plug-ins, and
// scene files. It runs on top of the graph and uses the SDK-facing API
// like a plug-in would (MFnDependencyNode, MDGModifier, MPxCommand).
//
// May include: graph/, fault/, the SDK-facing headers of host/src, <maya/...>,
// <dghost/...> and the standard library.

#include "graph/Graph.h"

#include <maya/MPlugin.h>
#include <maya/MStatus.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace dghost {
namespace detail {

// A loaded plug-in and what it registered.
struct Plugin : Handle {
    std::string name;
    std::string path;
    std::string vendor = "Unknown";
    std::string version = "Unknown";
    std::string apiVersion;
    void* module = nullptr;          // dlopen handle; null when linked in
    MStatus (*initialize)(MObject) = nullptr;
    MStatus (*uninitialize)(MObject) = nullptr;

    Plugin() : Handle(Kind::Plugin) {}
    MFn::Type apiType() const { return MFn::kBase; }
    bool hasFn(MFn::Type type) const { return type == MFn::kBase; }
};

// Host-wide registries. Never destroyed, so plug-in statics may release
// handles at any point of process exit.
struct CommandEntry {
    std::string name;
    MCreatorFunction creator = nullptr;
    MCreateSyntaxFunction syntax = nullptr;
    Plugin* plugin = nullptr;   // null for the host's own commands
};

struct Registry {
    std::vector<std::unique_ptr<NodeType>> nodeTypes;
    std::unordered_map<std::string, CommandEntry> commands;
    struct DataType {
        std::string name;
        unsigned int id;
        MCreatorFunction creator;
        Plugin* plugin;
    };
    std::vector<DataType> dataTypes;
    std::vector<MObject> plugins;      // loaded plug-ins, in load order
    NodeType* initializing = nullptr;  // the type whose initialize() runs
    Plugin* registering = nullptr;     // the plug-in whose entry point runs

    NodeType* findType(const std::string& name) const;
    NodeType* findType(unsigned int id) const;
    Plugin* findPlugin(const std::string& name) const;
    // Drops a node type; its attributes forget their owner.
    void removeType(NodeType* type);
};

Registry& registry();
// Adds the host's own commands and node types to a new registry.
void registerBuiltins(Registry& registry);
// Loads a plug-in found by its name alone along MAYA_PLUG_IN_PATH and the
// build's plug-ins folder; a name holding a path separator or ".." is
// refused before anything is opened. Scene files load plug-ins only so.
MStatus loadPluginByName(const std::string& name, std::string* error);
// A plug-in name as a scene may give it: not empty, no '/', '\\' or "..".
bool isPluginName(const std::string& name);
// The host's file and dgFault commands, added by registerBuiltins.
void registerFileCommands(Registry& registry);

}  // namespace detail
}  // namespace dghost

#endif
