#ifndef DGHOST_PYTHON_COMMAND_CALL_H
#define DGHOST_PYTHON_COMMAND_CALL_H
// A command called from Python: positional objects and keyword flags,
// checked against the command's syntax and turned into the words the host
// parses. Raises TypeError before anything runs when they do not fit.

#include <pybind11/pybind11.h>

#include <string>
#include <vector>

namespace dghost {
namespace python {

struct CommandWords {
    std::vector<std::string> words;
    std::vector<bool> quoted;   // values and objects are quoted: never read as flags
};

// Builds the words of `name` called with `objects` and `flags`.
CommandWords commandWords(const std::string& name, const pybind11::tuple& objects,
                          const pybind11::dict& flags);

// Runs `name` and returns (status name, status text, result, errors,
// warnings, infos, command); the result typed as str, list, bool, int,
// float or None; the command as invoked (for MEL text, the statement that
// ran last).
pybind11::tuple runCommand(const std::string& name, const pybind11::tuple& objects,
                           const pybind11::dict& flags);

// Runs MEL text, one or more statements; the outcome of the last one run.
pybind11::tuple runMel(const std::string& text);

}  // namespace python
}  // namespace dghost

#endif
