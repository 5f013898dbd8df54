#ifndef DGHOST_COMMAND_TABLE_H
#define DGHOST_COMMAND_TABLE_H
// The host's command table as data: every registered command with the
// flags of its syntax, for language bindings that check and type a call's
// arguments before running it. Not for running commands: use runCommand().

#include <maya/MSyntax.h>
#include <string>
#include <vector>

namespace dghost {

struct FlagInfo {
    std::string shortName;                      // without the leading '-'
    std::string longName;
    std::vector<MSyntax::MArgType> arguments;   // in order; empty for an on/off flag
    bool multiUse = false;
};

struct CommandInfo {
    std::string name;
    std::string plugin;          // empty for the host's own commands
    bool hasSyntax = false;      // false: the command reads its words itself
    std::vector<FlagInfo> flags;
    bool query = false;          // -q/-query accepted
    bool edit = false;           // -e/-edit accepted
    MSyntax::MObjectFormat objectFormat = MSyntax::kInvalidObjectFormat;
    unsigned int minimumObjects = 0;
    unsigned int maximumObjects = ~0u;
};

// Whether a command of that name is registered.
bool hasCommand(const std::string& name);

// Names of every registered command, sorted.
std::vector<std::string> commandNames();

// Fills `info` for a registered command; false when there is none. Builds
// the command's syntax anew, so a plug-in reloaded since is seen as it is.
bool commandInfo(const std::string& name, CommandInfo& info);

// The same as commandInfo(), kept from one call to the next while the
// command's registration stays the same, for callers that check every call.
// Null when there is no such command. The pointer is good until the next call.
const CommandInfo* findCommandInfo(const std::string& name);

// Names of the loaded plug-ins, in load order.
std::vector<std::string> loadedPlugins();

}  // namespace dghost

#endif
