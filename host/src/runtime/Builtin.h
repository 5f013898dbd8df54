#ifndef DGHOST_RUNTIME_BUILTIN_H
#define DGHOST_RUNTIME_BUILTIN_H
// What the host's own commands share: a base that parses the arguments
// first, and small helpers for flags, objects, results and errors.

#include "Api.h"

#include <maya/MArgDatabase.h>
#include <maya/MPxCommand.h>
#include <maya/MStringArray.h>
#include <maya/MSyntax.h>

#include <string>
#include <vector>

namespace dghost {
namespace detail {

inline MStatus fail(const std::string& text, MStatus status = MS::kFailure)
{
    MPxCommand::displayError(MString(text.c_str()));
    return status;
}

inline std::vector<std::string> objectsOf(const MArgDatabase& args)
{
    MStringArray words;
    args.getObjects(words);
    std::vector<std::string> out;
    for (unsigned int i = 0; i < words.length(); ++i) out.push_back(words[i].asChar());
    return out;
}

inline std::string flagText(const MArgDatabase& args, const char* flag)
{
    MString value;
    args.getFlagArgument(flag, 0, value);
    return value.asChar();
}

inline bool flagBool(const MArgDatabase& args, const char* flag, bool fallback)
{
    if (!args.isFlagSet(flag)) return fallback;
    bool value = fallback;
    args.getFlagArgument(flag, 0, value);
    return value;
}

inline void setStrings(const std::vector<std::string>& values)
{
    MStringArray result;
    for (const std::string& v : values) put(result, MString(v.c_str()));
    MPxCommand::setResult(result);
}

// Base of the built-in commands: parses the arguments against the syntax
// and hands them to run().
class Builtin : public MPxCommand {
public:
    MStatus doIt(const MArgList& list) override
    {
        MStatus status;
        MArgDatabase args(syntax(), list, &status);
        if (!status) return fail("invalid arguments", status);
        return run(args);
    }
    virtual MStatus run(const MArgDatabase& args) = 0;
};

template <typename T>
void* create()
{
    return new T();
}

inline MSyntax objectsSyntax(unsigned int minimum, unsigned int maximum = ~0u)
{
    MSyntax syntax;
    syntax.setObjectType(MSyntax::kStringObjects, minimum, maximum);
    return syntax;
}

}  // namespace detail
}  // namespace dghost

#endif
