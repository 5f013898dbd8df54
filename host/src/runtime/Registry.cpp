// The host-wide registry of node types, data types, commands and plug-ins.

#include "runtime/Registry.h"

#include <algorithm>

namespace dghost {
namespace detail {

NodeType* Registry::findType(const std::string& typeName) const
{
    for (const auto& type : nodeTypes)
        if (type->name == typeName) return type.get();
    return nullptr;
}

NodeType* Registry::findType(unsigned int id) const
{
    for (const auto& type : nodeTypes)
        if (type->id == id) return type.get();
    return nullptr;
}

Plugin* Registry::findPlugin(const std::string& pluginName) const
{
    for (const MObject& object : plugins) {
        auto* plugin = static_cast<Plugin*>(handleOf(object));
        if (plugin->name == pluginName) return plugin;
    }
    return nullptr;
}

// Drops a node type; its attributes forget their owner.
void Registry::removeType(NodeType* type)
{
    for (Attribute* attr : type->attributes) {
        attr->owner = nullptr;
        attr->index = -1;
    }
    nodeTypes.erase(std::find_if(nodeTypes.begin(), nodeTypes.end(),
                                     [type](const auto& t) { return t.get() == type; }));
}

Registry& registry()
{
    static Registry* instance = [] {
        auto* created = new Registry();
        registerBuiltins(*created);
        return created;
    }();
    return *instance;
}

}  // namespace detail
}  // namespace dghost
