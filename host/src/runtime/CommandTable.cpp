// The command table as data, read from the registry and each command's
// syntax.

#include "runtime/Registry.h"
#include "Syntax.h"

#include <dghost/CommandTable.h>

#include <algorithm>
#include <unordered_map>

using namespace dghost::detail;

namespace dghost {

bool hasCommand(const std::string& name) { return registry().commands.count(name) != 0; }

std::vector<std::string> commandNames()
{
    std::vector<std::string> names;
    for (const auto& entry : registry().commands) names.push_back(entry.first);
    std::sort(names.begin(), names.end());
    return names;
}

bool commandInfo(const std::string& name, CommandInfo& info)
{
    const auto& commands = registry().commands;
    auto it = commands.find(name);
    if (it == commands.end()) return false;
    const CommandEntry& entry = it->second;
    info = CommandInfo();
    info.name = entry.name;
    info.plugin = entry.plugin ? entry.plugin->name : std::string();
    info.hasSyntax = entry.syntax != nullptr;
    if (!info.hasSyntax) return true;
    MSyntax syntax = entry.syntax();
    const SyntaxData& data = syntaxData(syntax);
    for (const SyntaxData::Flag& flag : data.flags)
        info.flags.push_back(FlagInfo{flag.shortName.substr(1), flag.longName.substr(1), flag.arguments,
                                      flag.multiUse});
    info.query = data.query;
    info.edit = data.edit;
    info.objectFormat = data.objectFormat;
    info.minimumObjects = data.minimumObjects;
    info.maximumObjects = data.maximumObjects;
    return true;
}

namespace {

struct CachedInfo {
    MObject plugin;   // held, so that no later plug-in can take its address
    MCreateSyntaxFunction syntax = nullptr;
    bool filled = false;
    CommandInfo info;
};

std::unordered_map<std::string, CachedInfo>& infoCache()
{
    static auto* cache = new std::unordered_map<std::string, CachedInfo>();
    return *cache;
}

}  // namespace

const CommandInfo* findCommandInfo(const std::string& name)
{
    const auto& commands = registry().commands;
    auto it = commands.find(name);
    if (it == commands.end()) return nullptr;
    const CommandEntry& entry = it->second;
    CachedInfo& cached = infoCache()[name];
    if (!cached.filled || handleOf(cached.plugin) != entry.plugin || cached.syntax != entry.syntax) {
        cached.plugin = entry.plugin ? objectOf(entry.plugin) : MObject();
        cached.syntax = entry.syntax;
        cached.filled = commandInfo(name, cached.info);
    }
    return &cached.info;
}

std::vector<std::string> loadedPlugins()
{
    std::vector<std::string> names;
    for (const MObject& object : registry().plugins) {
        Handle* handle = handleOf(object);
        if (handle && handle->kind == Handle::Kind::Plugin) names.push_back(static_cast<Plugin*>(handle)->name);
    }
    return names;
}

}  // namespace dghost
