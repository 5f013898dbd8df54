// MFnPlugin: what a plug-in registers from its entry points.

#include "Api.h"

#include <maya/MFnPlugin.h>

#include <algorithm>
#include <cctype>

using namespace dghost::detail;

OPENMAYA_MAJOR_NAMESPACE_OPEN

namespace {

std::string lowerFirst(const std::string& name)
{
    std::string base = name;
    if (!base.empty()) base[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(base[0])));
    return base;
}

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
        reg.removeType(added);
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
    registry().removeType(type);
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
