// Plug-ins: MFnPlugin registrations and loading/unloading modules.

#include "Internal.h"

#include <dghost/Host.h>

#include <maya/MFnPlugin.h>

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sys/stat.h>

using namespace dghost::detail;

namespace dghost {
namespace detail {
namespace {

std::string lowerFirst(const std::string& name)
{
    std::string base = name;
    if (!base.empty()) base[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(base[0])));
    return base;
}

// Drops a node type; its attributes forget their owner.
void removeType(Registry& reg, NodeType* type)
{
    for (Attribute* attr : type->attributes) {
        attr->owner = nullptr;
        attr->index = -1;
    }
    reg.nodeTypes.erase(std::find_if(reg.nodeTypes.begin(), reg.nodeTypes.end(),
                                     [type](const auto& t) { return t.get() == type; }));
}

// Removes whatever the plug-in left registered; true when nothing was left.
bool removeRegistrations(Plugin* plugin)
{
    Registry& reg = registry();
    bool clean = true;
    for (auto it = reg.commands.begin(); it != reg.commands.end();) {
        if (it->second.plugin == plugin) {
            it = reg.commands.erase(it);
            clean = false;
        } else {
            ++it;
        }
    }
    std::vector<NodeType*> left;
    for (const auto& type : reg.nodeTypes)
        if (type->plugin == plugin) left.push_back(type.get());
    for (NodeType* type : left) removeType(reg, type);
    auto dataEnd = std::remove_if(reg.dataTypes.begin(), reg.dataTypes.end(),
                                  [plugin](const Registry::DataType& d) { return d.plugin == plugin; });
    clean = clean && left.empty() && dataEnd == reg.dataTypes.end();
    reg.dataTypes.erase(dataEnd, reg.dataTypes.end());
    return clean;
}

bool typeInUse(Plugin* plugin, std::string* typeName)
{
    for (const auto& type : registry().nodeTypes) {
        if (type->plugin == plugin && type->liveNodes > 0) {
            if (typeName) *typeName = type->name;
            return true;
        }
    }
    return false;
}

bool fileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The folder of this library's build, whose sibling plug-ins/ holds the
// plug-ins built with it.
std::string buildPluginDir()
{
    Dl_info info;
    if (!dladdr(reinterpret_cast<void*>(&buildPluginDir), &info) || !info.dli_fname) return "";
    std::string lib = info.dli_fname;
    std::size_t slash = lib.rfind('/');
    std::string dir = slash == std::string::npos ? "." : lib.substr(0, slash);
    return dir + "/../" DGHOST_PLUGIN_DIR_NAME;
}

std::string findModule(const std::string& nameOrPath)
{
    if (nameOrPath.find('/') != std::string::npos) return fileExists(nameOrPath) ? nameOrPath : "";
    std::string file = nameOrPath;
    if (file.find('.') == std::string::npos) file += ".so";
    std::vector<std::string> dirs;
    if (const char* path = std::getenv("MAYA_PLUG_IN_PATH")) {
        std::string all = path;
        std::size_t start = 0;
        while (start <= all.size()) {
            std::size_t end = all.find(':', start);
            if (end == std::string::npos) end = all.size();
            if (end > start) dirs.push_back(all.substr(start, end - start));
            start = end + 1;
        }
    }
    dirs.push_back(buildPluginDir());
    for (const std::string& dir : dirs)
        if (fileExists(dir + "/" + file)) return dir + "/" + file;
    return "";
}

std::string moduleName(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t dot = file.find('.');
    return dot == std::string::npos ? file : file.substr(0, dot);
}

bool validApiVersion(const char* text)
{
    if (!text || !*text) return false;
    for (const char* c = text; *c; ++c)
        if (!std::isdigit(static_cast<unsigned char>(*c))) return false;
    return true;
}

MStatus refuse(std::string* error, const std::string& text)
{
    if (error) *error = text;
    reportMessage("error", text);
    return MS::kFailure;
}

// Calls the plug-in's initializePlugin. On failure its registrations are
// removed again, as when it was never loaded.
MStatus start(Plugin* plugin, std::string* error)
{
    MObject object = objectOf(plugin);
    registry().plugins.push_back(object);
    registry().registering = plugin;
    MStatus status = plugin->initialize(object);
    registry().registering = nullptr;
    if (status) return status;
    removeRegistrations(plugin);
    auto& list = registry().plugins;
    list.erase(std::find(list.begin(), list.end(), object));
    return refuse(error, "initializePlugin function failed (" + plugin->name + ")");
}

// The entry points are C++ functions of the API namespace: look them up by
// their mangled names.
const char kInitializeSymbol[] = "_Z16initializePluginN8Autodesk4Maya16OpenMaya202400007MObjectE";
const char kUninitializeSymbol[] = "_Z18uninitializePluginN8Autodesk4Maya16OpenMaya202400007MObjectE";

}  // namespace
}  // namespace detail

MStatus loadPlugin(const std::string& nameOrPath, std::string* error)
{
    std::string path = findModule(nameOrPath);
    if (path.empty()) return refuse(error, "Plug-in not found: " + nameOrPath);
    std::string name = moduleName(path);
    if (registry().findPlugin(name)) return MS::kSuccess;
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) return refuse(error, std::string("Cannot load plug-in ") + path + ": " + dlerror());
    auto* version = static_cast<const char*>(dlsym(module, "MApiVersion"));
    auto init = reinterpret_cast<MStatus (*)(MObject)>(dlsym(module, kInitializeSymbol));
    auto uninit = reinterpret_cast<MStatus (*)(MObject)>(dlsym(module, kUninitializeSymbol));
    if (!validApiVersion(version) || !init || !uninit) {
        dlclose(module);
        return refuse(error, "Not a plug-in (no API version or entry points): " + path);
    }
    auto* plugin = new Plugin();
    MObject keep = objectOf(plugin);
    plugin->name = name;
    plugin->path = path;
    plugin->apiVersion = version;
    plugin->module = module;
    plugin->initialize = init;
    plugin->uninitialize = uninit;
    MStatus status = start(plugin, error);
    if (!status) dlclose(module);
    return status;
}

MStatus loadLinkedPlugin(const std::string& name, MStatus (*initialize)(MObject),
                         MStatus (*uninitialize)(MObject), std::string* error)
{
    if (registry().findPlugin(name)) return MS::kSuccess;
    auto* plugin = new Plugin();
    MObject keep = objectOf(plugin);
    plugin->name = name;
    plugin->initialize = initialize;
    plugin->uninitialize = uninitialize;
    return start(plugin, error);
}

MStatus unloadPlugin(const std::string& name, std::string* error)
{
    Plugin* plugin = registry().findPlugin(name);
    if (!plugin) return refuse(error, "Plug-in is not loaded: " + name);
    std::string typeName;
    if (typeInUse(plugin, &typeName))
        return refuse(error, "Cannot unload plug-in " + name + ": the scene holds nodes of its type " +
                                 typeName);
    MObject object = objectOf(plugin);
    registry().registering = plugin;
    MStatus status = plugin->uninitialize(object);
    registry().registering = nullptr;
    removeRegistrations(plugin);
    auto& list = registry().plugins;
    list.erase(std::find(list.begin(), list.end(), object));
    if (plugin->module) dlclose(plugin->module);
    plugin->module = nullptr;
    if (!status) return refuse(error, "uninitializePlugin function failed (" + name + ")");
    return MS::kSuccess;
}

bool isPluginLoaded(const std::string& name) { return registry().findPlugin(name) != nullptr; }

}  // namespace dghost

// ----------------------------------------------------------------- MFnPlugin

OPENMAYA_MAJOR_NAMESPACE_OPEN

namespace {

Plugin* attached(const MObject& object)
{
    Handle* handle = handleOf(object);
    return handle && handle->kind == Handle::Kind::Plugin ? static_cast<Plugin*>(handle) : nullptr;
}

MStatus injectedStatus(Op op)
{
    MStatus status;
    faultHit(op, status);
    return status;
}

}  // namespace

MFnPlugin::MFnPlugin() = default;

MFnPlugin::MFnPlugin(MObject& object, const char* vendor, const char* version, const char* requiredApiVersion,
                     MStatus* ReturnStatus)
{
    Plugin* plugin = attached(object);
    if (ReturnStatus) *ReturnStatus = plugin ? MS::kSuccess : MS::kInvalidParameter;
    if (!plugin) return;
    fObject = object;
    plugin->vendor = vendor ? vendor : "Unknown";
    plugin->version = version ? version : "Unknown";
    (void)requiredApiVersion;  // "Any": this host serves every plug-in API version
}

MFnPlugin::MFnPlugin(const MObject&, const char*, const char*, const char*, MStatus*) {}
MFnPlugin::~MFnPlugin() = default;
MFn::Type MFnPlugin::type() const { return MFn::kBase; }

MString MFnPlugin::vendor(MStatus* ReturnStatus) const
{
    Plugin* plugin = attached(fObject);
    if (ReturnStatus) *ReturnStatus = plugin ? MS::kSuccess : MS::kFailure;
    return plugin ? MString(plugin->vendor.c_str()) : MString();
}

MString MFnPlugin::version(MStatus* ReturnStatus) const
{
    Plugin* plugin = attached(fObject);
    if (ReturnStatus) *ReturnStatus = plugin ? MS::kSuccess : MS::kFailure;
    return plugin ? MString(plugin->version.c_str()) : MString();
}

MString MFnPlugin::apiVersion(MStatus* ReturnStatus) const
{
    Plugin* plugin = attached(fObject);
    if (ReturnStatus) *ReturnStatus = plugin ? MS::kSuccess : MS::kFailure;
    return plugin ? MString(plugin->apiVersion.c_str()) : MString();
}

MString MFnPlugin::name(MStatus* ReturnStatus) const
{
    Plugin* plugin = attached(fObject);
    if (ReturnStatus) *ReturnStatus = plugin ? MS::kSuccess : MS::kFailure;
    return plugin ? MString(plugin->name.c_str()) : MString();
}

MString MFnPlugin::loadPath(MStatus* ReturnStatus) const
{
    Plugin* plugin = attached(fObject);
    if (ReturnStatus) *ReturnStatus = plugin ? MS::kSuccess : MS::kFailure;
    if (!plugin) return MString();
    std::size_t slash = plugin->path.rfind('/');
    return MString(slash == std::string::npos ? "" : plugin->path.substr(0, slash).c_str());
}

MStatus MFnPlugin::setName(const MString& newName, bool)
{
    Plugin* plugin = attached(fObject);
    if (!plugin) return MS::kFailure;
    plugin->name = newName.asChar();
    return MS::kSuccess;
}

MStatus MFnPlugin::registerCommand(const MString& commandName, MCreatorFunction creatorFunction,
                                   MCreateSyntaxFunction createSyntaxFunction)
{
    MStatus status = injectedStatus(Op::registerCommand);
    if (!status) return status;
    Plugin* plugin = attached(fObject);
    auto& commands = registry().commands;
    if (!plugin || !creatorFunction) return MS::kInvalidParameter;
    if (commands.count(commandName.asChar()))
        return failure(MS::kFailure, std::string("a command named ") + commandName.asChar() + " exists already");
    commands[commandName.asChar()] = CommandEntry{commandName.asChar(), creatorFunction, createSyntaxFunction, plugin};
    return MS::kSuccess;
}

MStatus MFnPlugin::deregisterCommand(const MString& commandName)
{
    MStatus status = injectedStatus(Op::deregisterCommand);
    if (!status) return status;
    Plugin* plugin = attached(fObject);
    auto& commands = registry().commands;
    auto it = commands.find(commandName.asChar());
    if (!plugin || it == commands.end() || it->second.plugin != plugin) return MS::kFailure;
    commands.erase(it);
    return MS::kSuccess;
}

MStatus MFnPlugin::registerNode(const MString& typeName, const MTypeId& typeId, MCreatorFunction creatorFunction,
                                MInitializeFunction initFunction, MPxNode::Type, const MString*)
{
    MStatus status = injectedStatus(Op::registerNode);
    if (!status) return status;
    Plugin* plugin = attached(fObject);
    Registry& reg = registry();
    if (!plugin || !creatorFunction || typeName.length() == 0) return MS::kInvalidParameter;
    if (reg.findType(typeName.asChar()) || reg.findType(typeId.id()))
        return failure(MS::kFailure, std::string("a node type named ") + typeName.asChar() +
                                         " or with its id exists already");
    auto type = std::make_unique<NodeType>();
    type->name = typeName.asChar();
    type->id = typeId.id();
    type->creator = creatorFunction;
    type->initialize = initFunction;
    type->plugin = plugin;
    type->defaultNameBase = lowerFirst(type->name);
    NodeType* added = type.get();
    reg.nodeTypes.push_back(std::move(type));
    reg.initializing = added;
    MStatus initialized = initFunction ? initFunction() : MStatus(MS::kSuccess);
    reg.initializing = nullptr;
    if (!initialized) {
        removeType(reg, added);
        return failure(MS::kFailure, std::string("the initialize function of ") + typeName.asChar() + " failed");
    }
    return MS::kSuccess;
}

MStatus MFnPlugin::deregisterNode(const MTypeId& typeId)
{
    MStatus status = injectedStatus(Op::deregisterNode);
    if (!status) return status;
    Plugin* plugin = attached(fObject);
    NodeType* type = registry().findType(typeId.id());
    if (!plugin || !type || type->plugin != plugin) return MS::kFailure;
    if (type->liveNodes > 0) return failure(MS::kFailure, "the scene holds nodes of the type");
    removeType(registry(), type);
    return MS::kSuccess;
}

MStatus MFnPlugin::registerData(const MString& typeName, const MTypeId& typeId, MCreatorFunction creatorFunction,
                                MPxData::Type)
{
    MStatus status = injectedStatus(Op::registerData);
    if (!status) return status;
    Plugin* plugin = attached(fObject);
    auto& data = registry().dataTypes;
    if (!plugin || !creatorFunction) return MS::kInvalidParameter;
    for (const auto& d : data)
        if (d.name == typeName.asChar() || d.id == typeId.id())
            return failure(MS::kFailure, std::string("a data type named ") + typeName.asChar() +
                                             " or with its id exists already");
    data.push_back(Registry::DataType{typeName.asChar(), typeId.id(), creatorFunction, plugin});
    return MS::kSuccess;
}

MStatus MFnPlugin::deregisterData(const MTypeId& typeId)
{
    MStatus status = injectedStatus(Op::deregisterData);
    if (!status) return status;
    Plugin* plugin = attached(fObject);
    auto& data = registry().dataTypes;
    auto it = std::find_if(data.begin(), data.end(),
                           [&](const Registry::DataType& d) { return d.id == typeId.id(); });
    if (!plugin || it == data.end() || it->plugin != plugin) return MS::kFailure;
    data.erase(it);
    return MS::kSuccess;
}

MObject MFnPlugin::findPlugin(const MString& pluginName)
{
    Plugin* plugin = registry().findPlugin(pluginName.asChar());
    return plugin ? objectOf(plugin) : MObject();
}

bool MFnPlugin::isNodeRegistered(const MString& typeName)
{
    return registry().findType(typeName.asChar()) != nullptr;
}

OPENMAYA_NAMESPACE_CLOSE
