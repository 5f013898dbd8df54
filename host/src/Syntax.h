#ifndef DGHOST_SYNTAX_H
#define DGHOST_SYNTAX_H
// What a syntax holds and what parsing an argument list against it yields.

#include <maya/MArgList.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MSyntax.h>

#include <string>
#include <vector>

namespace dghost {
namespace detail {

struct SyntaxData {
    struct Flag {
        std::string shortName;   // with the leading '-'
        std::string longName;
        std::vector<MSyntax::MArgType> arguments;
        bool multiUse;
    };
    std::vector<Flag> flags;
    bool query = false;
    bool edit = false;
    std::vector<MSyntax::MArgType> commandArguments;
    MSyntax::MObjectFormat objectFormat = MSyntax::kInvalidObjectFormat;
    unsigned int minimumObjects = 0;
    unsigned int maximumObjects = ~0u;
    bool useSelection = false;

    // Index of the flag named by its short or long name (with or without
    // the '-'), or -1.
    int findFlag(const char* name) const;
};

struct ParsedArgs {
    SyntaxData syntax;
    bool edit = false;
    bool query = false;
    std::vector<std::vector<std::vector<MString>>> uses;  // per flag, per use, its arguments
    std::vector<MString> objects;
    std::string error;   // why parsing failed
};

MStatus parseArguments(const SyntaxData& syntax, const MArgList& list, ParsedArgs& out);
MStatus flagWord(const ParsedArgs& data, const char* flag, unsigned int index, MString& result);
MStatus parseBool(const char* text, bool& value);
MStatus parseInt(const char* text, long& value);
MStatus parseDouble(const char* text, double& value);
void addWord(MArgList& list, const std::string& text, bool quoted);
const SyntaxData& syntaxData(const MSyntax& syntax);

}  // namespace detail
}  // namespace dghost

#endif
