#ifndef DGHOST_HOST_H
#define DGHOST_HOST_H
// The headless host's own API, for the dghost program and for tests.
// Plug-ins never include this: they see only the <maya/...> headers.

#include <maya/MStatus.h>
#include <maya/MObject.h>
#include <string>
#include <vector>

namespace dghost {

// What one command left behind: its status, its result and its messages.
struct CommandOutcome {
    enum class Kind { None, Bool, Int, Double, String, StringArray, IntArray };

    std::string command;               // the command name as invoked
    MStatus status;
    Kind kind = Kind::None;
    bool boolValue = false;
    long long intValue = 0;
    double doubleValue = 0.0;
    std::string text;                   // Kind::String
    std::vector<std::string> strings;   // Kind::StringArray
    std::vector<long long> ints;        // Kind::IntArray
    std::vector<std::string> errors;    // every displayError text, in order
    std::vector<std::string> warnings;
    std::vector<std::string> infos;
};

// Empties the scene (nodes, connections, selection) and forgets its file
// name. Loaded plug-ins and registered types stay.
void newScene();

// Loads a plug-in module: a path, or a name looked up as NAME.so along
// MAYA_PLUG_IN_PATH and then in the build's plug-ins folder.
MStatus loadPlugin(const std::string& nameOrPath, std::string* error = nullptr);

// Loads a plug-in whose entry points are linked into this program.
MStatus loadLinkedPlugin(const std::string& name, MStatus (*initialize)(MObject),
                         MStatus (*uninitialize)(MObject), std::string* error = nullptr);

// Unloads a plug-in; refused while its node types are used in the scene.
MStatus unloadPlugin(const std::string& name, std::string* error = nullptr);

bool isPluginLoaded(const std::string& name);

// Runs one command statement, e.g. `createNode network -n "a"`.
CommandOutcome runCommand(const std::string& statement);

// Runs one command given as its name and already split words.
// quoted[i] marks words that were quoted in the script (never flags).
CommandOutcome runCommand(const std::string& name, const std::vector<std::string>& words,
                          const std::vector<bool>& quoted);

// Called for every displayError/displayWarning/displayInfo while no command
// runs (for instance during plug-in loading). Null restores the default,
// which writes "// Error: TEXT //" to standard error.
using MessageSink = void (*)(const char* kind, const std::string& text);
void setMessageSink(MessageSink sink);

}  // namespace dghost

#endif
