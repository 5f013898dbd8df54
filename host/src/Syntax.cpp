// Command syntax and argument parsing: MSyntax, MArgList, MArgParser and
// MArgDatabase.

#include "Api.h"
#include "Syntax.h"

#include <maya/MArgDatabase.h>
#include <maya/MArgList.h>
#include <maya/MArgParser.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>
#include <maya/MSyntax.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

using namespace dghost::detail;

OPENMAYA_MAJOR_NAMESPACE_OPEN

struct MSyntaxAccess {
    static SyntaxData& data(const MSyntax& s) { return *static_cast<SyntaxData*>(s.fData); }
};

struct MArgListAccess {
    static void add(MArgList& list, const std::string& text, bool quoted)
    {
        list.fWords.push_back(MArgList::Word{MString(text.c_str()), quoted});
    }
    static bool quoted(const MArgList& list, unsigned int index) { return list.fWords[index].quoted; }
};

struct MArgParserAccess {
    static ParsedArgs& data(const MArgParser& p) { return *static_cast<ParsedArgs*>(p.fData); }
};

// ------------------------------------------------------------------ MSyntax

MSyntax::MSyntax() : fData(new SyntaxData()) {}
MSyntax::MSyntax(const MSyntax& other) : fData(new SyntaxData(MSyntaxAccess::data(other))) {}
MSyntax::~MSyntax() { delete static_cast<SyntaxData*>(fData); }
MSyntax& MSyntax::operator=(const MSyntax& other)
{
    if (this != &other) MSyntaxAccess::data(*this) = MSyntaxAccess::data(other);
    return *this;
}

MStatus MSyntax::addFlag(const char* shortName, const char* longName, MArgType a1, MArgType a2,
                         MArgType a3, MArgType a4, MArgType a5, MArgType a6)
{
    if (!shortName || !longName || shortName[0] != '-' || longName[0] != '-')
        return MS::kInvalidParameter;
    SyntaxData& data = MSyntaxAccess::data(*this);
    if (data.findFlag(shortName) >= 0 || data.findFlag(longName) >= 0) return MS::kInvalidParameter;
    SyntaxData::Flag flag{shortName, longName, {}, false};
    for (MArgType type : {a1, a2, a3, a4, a5, a6})
        if (type != kNoArg && type != kInvalidArgType) flag.arguments.push_back(type);
    data.flags.push_back(flag);
    return MS::kSuccess;
}

MStatus MSyntax::makeFlagMultiUse(const char* flag)
{
    SyntaxData& data = MSyntaxAccess::data(*this);
    int index = data.findFlag(flag);
    if (index < 0) return MS::kInvalidParameter;
    data.flags[index].multiUse = true;
    return MS::kSuccess;
}

MStatus MSyntax::addArg(MArgType arg)
{
    MSyntaxAccess::data(*this).commandArguments.push_back(arg);
    return MS::kSuccess;
}

MStatus MSyntax::setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects)
{
    return setObjectType(objectFormat, minimumObjects, ~0u);
}

MStatus MSyntax::setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects,
                               unsigned int maximumObjects)
{
    SyntaxData& data = MSyntaxAccess::data(*this);
    data.objectFormat = objectFormat;
    data.minimumObjects = minimumObjects;
    data.maximumObjects = maximumObjects;
    return MS::kSuccess;
}

void MSyntax::useSelectionAsDefault(bool useSelection) { MSyntaxAccess::data(*this).useSelection = useSelection; }
void MSyntax::enableQuery(bool supportsQuery) { MSyntaxAccess::data(*this).query = supportsQuery; }
void MSyntax::enableEdit(bool supportsEdit) { MSyntaxAccess::data(*this).edit = supportsEdit; }
bool MSyntax::canQuery() const { return MSyntaxAccess::data(*this).query; }
bool MSyntax::canEdit() const { return MSyntaxAccess::data(*this).edit; }

// ----------------------------------------------------------------- MArgList

const unsigned int MArgList::kInvalidArgIndex = ~0u;

MArgList::MArgList() = default;
MArgList::MArgList(const MArgList& other) = default;
MArgList::~MArgList() = default;
MArgList& MArgList::operator=(const MArgList& other) = default;

unsigned int MArgList::length(MStatus* ReturnStatus) const
{
    if (ReturnStatus) *ReturnStatus = MS::kSuccess;
    return static_cast<unsigned int>(fWords.size());
}

MString MArgList::asString(unsigned int index, MStatus* ReturnStatus) const
{
    bool ok = index < fWords.size();
    if (ReturnStatus) *ReturnStatus = ok ? MS::kSuccess : MS::kInvalidParameter;
    return ok ? fWords[index].text : MString();
}

bool MArgList::asBool(unsigned int index, MStatus* ReturnStatus) const
{
    bool value = false;
    MStatus status = parseBool(asString(index, ReturnStatus).asChar(), value);
    if (ReturnStatus && (*ReturnStatus)) *ReturnStatus = status;
    return value;
}

int MArgList::asInt(unsigned int index, MStatus* ReturnStatus) const
{
    long value = 0;
    MStatus status = parseInt(asString(index, ReturnStatus).asChar(), value);
    if (ReturnStatus && (*ReturnStatus)) *ReturnStatus = status;
    return static_cast<int>(value);
}

double MArgList::asDouble(unsigned int index, MStatus* ReturnStatus) const
{
    double value = 0;
    MStatus status = parseDouble(asString(index, ReturnStatus).asChar(), value);
    if (ReturnStatus && (*ReturnStatus)) *ReturnStatus = status;
    return value;
}

unsigned int MArgList::flagIndex(const char* shortFlag, const char* longFlag) const
{
    for (std::size_t i = 0; i < fWords.size(); ++i) {
        if (fWords[i].quoted) continue;
        if ((shortFlag && fWords[i].text == shortFlag) || (longFlag && fWords[i].text == longFlag))
            return static_cast<unsigned int>(i);
    }
    return kInvalidArgIndex;
}

MStatus MArgList::get(unsigned int index, MString& result) const
{
    MStatus status;
    result = asString(index, &status);
    return status;
}

MStatus MArgList::addArg(const MString& arg)
{
    fWords.push_back(Word{arg, false});
    return MS::kSuccess;
}
MStatus MArgList::addArg(bool arg) { return addArg(MString(arg ? "true" : "false")); }
MStatus MArgList::addArg(int arg)
{
    MString text;
    text += arg;
    return addArg(text);
}
MStatus MArgList::addArg(double arg)
{
    MString text;
    text += arg;
    return addArg(text);
}

// --------------------------------------------------------------- MArgParser

MArgParser::MArgParser() : fData(new ParsedArgs()) {}
MArgParser::MArgParser(const MSyntax& syntax, const MArgList& argList, MStatus* ReturnStatus)
    : fData(new ParsedArgs())
{
    MStatus status = parseArguments(MSyntaxAccess::data(syntax), argList, MArgParserAccess::data(*this));
    if (ReturnStatus) *ReturnStatus = status;
}
MArgParser::MArgParser(const MArgParser& other) : fData(new ParsedArgs(MArgParserAccess::data(other))) {}
MArgParser& MArgParser::operator=(const MArgParser& other)
{
    if (this != &other) MArgParserAccess::data(*this) = MArgParserAccess::data(other);
    return *this;
}
MArgParser::~MArgParser() { delete static_cast<ParsedArgs*>(fData); }

bool MArgParser::isFlagSet(const char* flag, MStatus* ReturnStatus) const
{
    const ParsedArgs& data = MArgParserAccess::data(*this);
    int index = data.syntax.findFlag(flag);
    if (ReturnStatus) *ReturnStatus = index >= 0 ? MS::kSuccess : MS::kInvalidParameter;
    return index >= 0 && !data.uses[static_cast<std::size_t>(index)].empty();
}

bool MArgParser::isEdit(MStatus* ReturnStatus) const
{
    if (ReturnStatus) *ReturnStatus = MS::kSuccess;
    return MArgParserAccess::data(*this).edit;
}

bool MArgParser::isQuery(MStatus* ReturnStatus) const
{
    if (ReturnStatus) *ReturnStatus = MS::kSuccess;
    return MArgParserAccess::data(*this).query;
}

unsigned int MArgParser::numberOfFlagsUsed() const
{
    const ParsedArgs& data = MArgParserAccess::data(*this);
    unsigned int count = (data.edit ? 1 : 0) + (data.query ? 1 : 0);
    for (const auto& uses : data.uses)
        if (!uses.empty()) ++count;
    return count;
}

unsigned int MArgParser::numberOfFlagUses(const char* flag) const
{
    const ParsedArgs& data = MArgParserAccess::data(*this);
    int index = data.syntax.findFlag(flag);
    return index < 0 ? 0 : static_cast<unsigned int>(data.uses[static_cast<std::size_t>(index)].size());
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, MString& result) const
{
    return flagWord(MArgParserAccess::data(*this), flag, index, result);
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, bool& result) const
{
    MString word;
    MStatus status = flagWord(MArgParserAccess::data(*this), flag, index, word);
    return status ? parseBool(word.asChar(), result) : status;
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, int& result) const
{
    MString word;
    MStatus status = flagWord(MArgParserAccess::data(*this), flag, index, word);
    long value = 0;
    if (status) status = parseInt(word.asChar(), value);
    if (status) result = static_cast<int>(value);
    return status;
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, unsigned int& result) const
{
    int value = 0;
    MStatus status = getFlagArgument(flag, index, value);
    if (status && value < 0) status = MS::kInvalidParameter;
    if (status) result = static_cast<unsigned int>(value);
    return status;
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, double& result) const
{
    MString word;
    MStatus status = flagWord(MArgParserAccess::data(*this), flag, index, word);
    return status ? parseDouble(word.asChar(), result) : status;
}

MString MArgParser::flagArgumentString(const char* flag, unsigned int index, MStatus* ReturnStatus) const
{
    MString word;
    MStatus status = getFlagArgument(flag, index, word);
    if (ReturnStatus) *ReturnStatus = status;
    return word;
}

MStatus MArgParser::getCommandArgument(unsigned int index, MString& result) const
{
    const ParsedArgs& data = MArgParserAccess::data(*this);
    if (index >= data.objects.size()) return MS::kInvalidParameter;
    result = data.objects[index];
    return MS::kSuccess;
}

MStatus MArgParser::getCommandArgument(unsigned int index, int& result) const
{
    MString word;
    long value = 0;
    MStatus status = getCommandArgument(index, word);
    if (status) status = parseInt(word.asChar(), value);
    if (status) result = static_cast<int>(value);
    return status;
}

MStatus MArgParser::getCommandArgument(unsigned int index, double& result) const
{
    MString word;
    MStatus status = getCommandArgument(index, word);
    return status ? parseDouble(word.asChar(), result) : status;
}

MString MArgParser::commandArgumentString(unsigned int index, MStatus* ReturnStatus) const
{
    MString word;
    MStatus status = getCommandArgument(index, word);
    if (ReturnStatus) *ReturnStatus = status;
    return word;
}

MStatus MArgParser::getObjects(MStringArray& result) const
{
    result.clear();
    for (const MString& object : MArgParserAccess::data(*this).objects) put(result, object);
    return MS::kSuccess;
}

// ------------------------------------------------------------- MArgDatabase

MArgDatabase::MArgDatabase() = default;
MArgDatabase::MArgDatabase(const MSyntax& syntax, const MArgList& argList, MStatus* ReturnStatus)
    : MArgParser(syntax, argList, ReturnStatus)
{
}
MArgDatabase::MArgDatabase(const MArgDatabase& other) = default;
MArgDatabase& MArgDatabase::operator=(const MArgDatabase& other) = default;
MArgDatabase::~MArgDatabase() = default;

MStatus MArgDatabase::getFlagArgument(const char* f, unsigned int i, bool& r) const
{
    return MArgParser::getFlagArgument(f, i, r);
}
MStatus MArgDatabase::getFlagArgument(const char* f, unsigned int i, int& r) const
{
    return MArgParser::getFlagArgument(f, i, r);
}
MStatus MArgDatabase::getFlagArgument(const char* f, unsigned int i, double& r) const
{
    return MArgParser::getFlagArgument(f, i, r);
}
MStatus MArgDatabase::getFlagArgument(const char* f, unsigned int i, unsigned int& r) const
{
    return MArgParser::getFlagArgument(f, i, r);
}
MStatus MArgDatabase::getFlagArgument(const char* f, unsigned int i, MString& r) const
{
    return MArgParser::getFlagArgument(f, i, r);
}
MStatus MArgDatabase::getFlagArgument(const char* f, unsigned int i, MSelectionList& r) const
{
    MString word;
    MStatus status = MArgParser::getFlagArgument(f, i, word);
    if (!status) return status;
    r.clear();
    return r.add(word);
}

MStatus MArgDatabase::getCommandArgument(unsigned int i, int& r) const
{
    return MArgParser::getCommandArgument(i, r);
}
MStatus MArgDatabase::getCommandArgument(unsigned int i, double& r) const
{
    return MArgParser::getCommandArgument(i, r);
}
MStatus MArgDatabase::getCommandArgument(unsigned int i, MString& r) const
{
    return MArgParser::getCommandArgument(i, r);
}
MStatus MArgDatabase::getCommandArgument(unsigned int i, MSelectionList& r) const
{
    MString word;
    MStatus status = MArgParser::getCommandArgument(i, word);
    if (!status) return status;
    r.clear();
    return r.add(word);
}

MStatus MArgDatabase::getObjects(MSelectionList& result) const
{
    result.clear();
    MStringArray names;
    MArgParser::getObjects(names);
    for (unsigned int i = 0; i < names.length(); ++i) {
        MStatus status = result.add(names[i]);
        if (!status) return status;
    }
    return MS::kSuccess;
}

MStatus MArgDatabase::getObjects(MStringArray& result) const { return MArgParser::getObjects(result); }

OPENMAYA_NAMESPACE_CLOSE

using OPENMAYA_MAJOR_NAMESPACE_SCHEMA::MSyntaxAccess;
using OPENMAYA_MAJOR_NAMESPACE_SCHEMA::MArgListAccess;
using OPENMAYA_MAJOR_NAMESPACE_SCHEMA::MArgParserAccess;


// ------------------------------------------------------------------ parsing

namespace dghost {
namespace detail {

int SyntaxData::findFlag(const char* name) const
{
    if (!name) return -1;
    std::string wanted = name[0] == '-' ? name : std::string("-") + name;
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i].shortName == wanted || flags[i].longName == wanted) return static_cast<int>(i);
    return -1;
}

MStatus parseBool(const char* text, bool& value)
{
    static const char* const yes[] = {"1", "true", "on", "yes"};
    static const char* const no[] = {"0", "false", "off", "no"};
    for (const char* word : yes)
        if (std::strcmp(text, word) == 0) return value = true, MStatus(MS::kSuccess);
    for (const char* word : no)
        if (std::strcmp(text, word) == 0) return value = false, MStatus(MS::kSuccess);
    return MS::kInvalidParameter;
}

MStatus parseInt(const char* text, long& value)
{
    char* end = nullptr;
    errno = 0;
    long parsed = std::strtol(text, &end, 10);
    if (!*text || *end || errno) return MS::kInvalidParameter;
    value = parsed;
    return MS::kSuccess;
}

MStatus parseDouble(const char* text, double& value)
{
    char* end = nullptr;
    double parsed = std::strtod(text, &end);
    if (!*text || *end) return MS::kInvalidParameter;
    value = parsed;
    return MS::kSuccess;
}

namespace {

bool looksLikeFlag(const MArgList& list, unsigned int i)
{
    if (MArgListAccess::quoted(list, i)) return false;
    MString word = list.asString(i);
    const char* text = word.asChar();
    if (text[0] != '-' || text[1] == '\0') return false;
    double number;
    return !parseDouble(text, number);  // "-5" is a number, not a flag
}

bool validArgument(MSyntax::MArgType type, const char* text)
{
    bool b;
    long l;
    double d;
    switch (type) {
    case MSyntax::kBoolean: return parseBool(text, b);
    case MSyntax::kLong:
    case MSyntax::kUnsigned: return parseInt(text, l);
    case MSyntax::kDouble:
    case MSyntax::kDistance:
    case MSyntax::kAngle:
    case MSyntax::kTime: return parseDouble(text, d);
    default: return true;
    }
}

MStatus refuse(ParsedArgs& out, const std::string& text)
{
    out.error = text;
    return MS::kInvalidParameter;
}

}  // namespace

MStatus parseArguments(const SyntaxData& syntax, const MArgList& list, ParsedArgs& out)
{
    out = ParsedArgs();
    out.syntax = syntax;
    out.uses.assign(syntax.flags.size(), {});
    unsigned int count = list.length();
    // Query mode is known before any flag takes its arguments.
    for (unsigned int i = 0; i < count && syntax.query; ++i)
        if (looksLikeFlag(list, i) && (list.asString(i) == "-q" || list.asString(i) == "-query"))
            out.query = true;
    for (unsigned int i = 0; i < count; ++i) {
        MString word = list.asString(i);
        if (!looksLikeFlag(list, i)) {
            out.objects.push_back(word);
            continue;
        }
        if (syntax.query && (word == "-q" || word == "-query")) continue;
        if (syntax.edit && (word == "-e" || word == "-edit")) {
            out.edit = true;
            continue;
        }
        int flag = syntax.findFlag(word.asChar());
        if (flag < 0) return refuse(out, std::string("Invalid flag '") + word.asChar() + "'");
        const SyntaxData::Flag& f = syntax.flags[static_cast<std::size_t>(flag)];
        std::vector<MString> arguments;
        std::size_t wanted = out.query ? 0 : f.arguments.size();
        for (std::size_t a = 0; a < wanted; ++a) {
            if (++i >= count)
                return refuse(out, std::string("Flag '") + word.asChar() + "' needs an argument");
            MString value = list.asString(i);
            if (!validArgument(f.arguments[a], value.asChar()))
                return refuse(out, std::string("Invalid argument for flag '") + word.asChar() +
                                       "': " + value.asChar());
            arguments.push_back(value);
        }
        auto& uses = out.uses[static_cast<std::size_t>(flag)];
        if (!f.multiUse) uses.clear();
        uses.push_back(arguments);
    }
    if (out.edit && out.query) return refuse(out, "Edit and query modes cannot be used together");
    if (syntax.objectFormat == MSyntax::kNone && !out.objects.empty())
        return refuse(out, std::string("Unexpected argument: ") + out.objects.front().asChar());
    if (out.objects.size() < syntax.minimumObjects) return refuse(out, "Too few arguments");
    if (out.objects.size() > syntax.maximumObjects) return refuse(out, "Too many arguments");
    return MS::kSuccess;
}

MStatus flagWord(const ParsedArgs& data, const char* flag, unsigned int index, MString& result)
{
    MStatus status;
    if (faultHit(Op::getFlagArgument, status)) return status;
    int f = data.syntax.findFlag(flag);
    if (f < 0) return MS::kInvalidParameter;
    const auto& uses = data.uses[static_cast<std::size_t>(f)];
    if (uses.empty() || index >= uses.back().size()) return MS::kFailure;
    result = uses.back()[index];
    return MS::kSuccess;
}

void addWord(MArgList& list, const std::string& text, bool quoted)
{
    MArgListAccess::add(list, text, quoted);
}

const SyntaxData& syntaxData(const MSyntax& syntax) { return MSyntaxAccess::data(syntax); }

}  // namespace detail
}  // namespace dghost
