// Loading and unloading plug-in modules: finding them, checking their entry
// points, and removing what a failed or unloaded plug-in left registered.

#include "Api.h"

#include <dghost/Host.h>

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sys/stat.h>

using namespace dghost::detail;

namespace dghost {
namespace detail {
namespace {

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
    for (NodeType* type : left) reg.removeType(type);
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

namespace detail {

bool isPluginName(const std::string& name)
{
    return !name.empty() && name.find_first_of("/\\") == std::string::npos && name.find("..") == std::string::npos;
}

MStatus loadPluginByName(const std::string& name, std::string* error)
{
    if (!isPluginName(name)) return refuse(error, "Not a plug-in name: " + name + " (a path is not accepted here)");
    return loadPlugin(name, error);
}

}  // namespace detail

}  // namespace dghost

