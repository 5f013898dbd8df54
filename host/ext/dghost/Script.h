#ifndef DGHOST_SCRIPT_H
#define DGHOST_SCRIPT_H
// The script runner behind dghost: splits MEL command lines into statements
// and runs them, printing results and errors plain or as JSON lines.

#include <iosfwd>
#include <string>
#include <vector>

namespace dghost {

struct Statement {
    std::string name;
    std::vector<std::string> words;
    std::vector<bool> quoted;
    std::string text;   // the statement as written, for messages and JSON
    int line = 0;       // line of the script where it starts
};

// Splits script text into statements. On a syntax error returns false and
// sets *error to "line N: reason".
bool parseScript(const std::string& text, std::vector<Statement>& statements,
                 std::string* error);

// Reads a script file whole. Only a regular file is read: a FIFO, a device
// or a directory is refused before reading, and *error says what it is.
bool readScriptFile(const std::string& path, std::string& text, std::string* error);

struct ScriptOptions {
    bool json = false;        // one JSON object per command on `out`
    bool keepGoing = false;   // -k: go on after a failed command
};

// Runs statements; results go to `out`, errors to `err`. Returns false when
// a command failed.
bool runStatements(const std::vector<Statement>& statements, const ScriptOptions& options,
                   std::ostream& out, std::ostream& err);

}  // namespace dghost

#endif
