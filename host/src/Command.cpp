// Running commands: MPxCommand, results and messages of the running
// command, MGlobal::executeCommand and the host's runCommand.

#include "Api.h"
#include "Syntax.h"
#include "runtime/ScriptText.h"

#include <dghost/Host.h>
#include <dghost/Script.h>

#include <maya/MArgList.h>
#include <maya/MGlobal.h>
#include <maya/MIntArray.h>
#include <maya/MPxCommand.h>
#include <maya/MStringArray.h>

#include <iostream>
#include <optional>

using namespace dghost::detail;
using dghost::CommandOutcome;

namespace dghost {
namespace detail {
namespace {

// Outcomes of the commands running now, innermost last.
std::vector<CommandOutcome*>& frames()
{
    static auto* stack = new std::vector<CommandOutcome*>();
    return *stack;
}

MessageSink& sink()
{
    static MessageSink current = nullptr;
    return current;
}

CommandOutcome* currentFrame() { return frames().empty() ? nullptr : frames().back(); }

}  // namespace

void reportMessage(const char* kind, const std::string& text)
{
    if (CommandOutcome* frame = currentFrame()) {
        std::string k(kind);
        (k == "error" ? frame->errors : k == "warning" ? frame->warnings : frame->infos).push_back(text);
        return;
    }
    if (sink()) {
        sink()(kind, text);
        return;
    }
    std::string k(kind);
    const char* lead = k == "error" ? "// Error: " : k == "warning" ? "// Warning: " : "// ";
    std::cerr << lead << plainText(text) << " //" << std::endl;
}

}  // namespace detail

void setMessageSink(MessageSink messageSink) { detail::sink() = messageSink; }

namespace {

struct CommandContext {
    MSyntax syntax;
    MString commandString;
};

// Runs one command object: parses against its syntax first, so doIt only
// ever sees arguments that fit it.
void invoke(const CommandEntry& entry, const MArgList& args, CommandOutcome& out)
{
    MSyntax syntax = entry.syntax ? entry.syntax() : MSyntax();
    if (entry.syntax) {
        ParsedArgs parsed;
        if (!parseArguments(syntaxData(syntax), args, parsed)) {
            reportMessage("error", entry.name + ": " + parsed.error);
            out.status = MS::kInvalidParameter;
            return;
        }
    }
    MPxCommand* command = static_cast<MPxCommand*>(entry.creator ? entry.creator() : nullptr);
    if (!command) {
        reportMessage("error", entry.name + ": the command could not be created");
        out.status = MS::kFailure;
        return;
    }
    setCommandContext(*command, syntax, entry.name);
    try {
        out.status = command->doIt(args);
    } catch (...) {
        reportMessage("error", entry.name + ": the command ended with an unexpected exception");
        out.status = MS::kFailure;
    }
    delete command;
}

}  // namespace

CommandOutcome runCommand(const std::string& name, const std::vector<std::string>& words,
                          const std::vector<bool>& quoted)
{
    CommandOutcome out;
    out.command = name;
    auto& commands = registry().commands;
    auto it = commands.find(name);
    // Popped on every way out, a thrown allocation failure included, so no
    // later message is written through a dead outcome.
    struct Frame {
        explicit Frame(CommandOutcome* outcome) { frames().push_back(outcome); }
        ~Frame() { frames().pop_back(); }
        Frame(const Frame&) = delete;
        Frame& operator=(const Frame&) = delete;
    };
    std::optional<Frame> frame(std::in_place, &out);
    if (it == commands.end()) {
        reportMessage("error", "Cannot find procedure \"" + name + "\".");
        out.status = MS::kFailure;
    } else {
        MArgList args;
        for (std::size_t i = 0; i < words.size(); ++i)
            addWord(args, words[i], i < quoted.size() && quoted[i]);
        CommandEntry entry = it->second;  // the command may unregister itself
        invoke(entry, args, out);
    }
    frame.reset();
    // Messages of a nested command reach the user through the outer one.
    if (CommandOutcome* outer = currentFrame()) {
        outer->errors.insert(outer->errors.end(), out.errors.begin(), out.errors.end());
        outer->warnings.insert(outer->warnings.end(), out.warnings.begin(), out.warnings.end());
    }
    return out;
}

CommandOutcome runCommand(const std::string& statement)
{
    std::vector<Statement> statements;
    std::string error;
    CommandOutcome out;
    if (!parseScript(statement, statements, &error)) {
        out.status = MS::kInvalidParameter;
        out.errors.push_back(error);
        return out;
    }
    for (const Statement& s : statements) {
        out = runCommand(s.name, s.words, s.quoted);
        out.command = s.text;
        if (!out.status) break;
    }
    return out;
}

}  // namespace dghost

// ---------------------------------------------------------------- MPxCommand

OPENMAYA_MAJOR_NAMESPACE_OPEN

using dghost::CommandContext;

struct MPxCommandAccess {
    static CommandContext*& context(MPxCommand& c) { return reinterpret_cast<CommandContext*&>(c.fData); }
    static const CommandContext* context(const MPxCommand& c)
    {
        return static_cast<const CommandContext*>(c.fData);
    }
};

MPxCommand::MPxCommand() : fData(nullptr) {}
MPxCommand::~MPxCommand() { delete static_cast<CommandContext*>(fData); }
MStatus MPxCommand::doIt(const MArgList&) { return MS::kSuccess; }
MStatus MPxCommand::undoIt() { return MS::kSuccess; }
MStatus MPxCommand::redoIt() { return MS::kSuccess; }
bool MPxCommand::isUndoable() const { return false; }
bool MPxCommand::hasSyntax() const { return true; }

MSyntax MPxCommand::syntax() const
{
    const CommandContext* context = MPxCommandAccess::context(*this);
    return context ? context->syntax : MSyntax();
}

MString MPxCommand::commandString() const
{
    const CommandContext* context = MPxCommandAccess::context(*this);
    return context ? context->commandString : MString();
}

MStatus MPxCommand::setCommandString(const MString& text)
{
    CommandContext*& context = MPxCommandAccess::context(*this);
    if (!context) context = new CommandContext();
    context->commandString = text;
    return MS::kSuccess;
}

bool MPxCommand::isHistoryOn() const { return false; }
MStatus MPxCommand::setHistoryOn(bool) { return MS::kSuccess; }

void MPxCommand::displayInfo(const MString& theInfo) { reportMessage("info", theInfo.asChar()); }
void MPxCommand::displayWarning(const MString& theWarning, bool)
{
    reportMessage("warning", theWarning.asChar());
}
void MPxCommand::displayError(const MString& theError, bool) { reportMessage("error", theError.asChar()); }

namespace {

CommandOutcome* resultFrame()
{
    static CommandOutcome scratch;  // results set outside any command go nowhere
    CommandOutcome* frame = dghost::detail::frames().empty() ? nullptr : dghost::detail::frames().back();
    if (!frame) {
        scratch = CommandOutcome();
        return &scratch;
    }
    return frame;
}

void setText(const char* text)
{
    CommandOutcome* f = resultFrame();
    f->kind = CommandOutcome::Kind::String;
    f->text = text ? text : "";
}

// Turns the current result into an array before appending to it.
CommandOutcome* arrayFrame()
{
    CommandOutcome* f = resultFrame();
    if (f->kind == CommandOutcome::Kind::String) {
        f->strings.assign(1, f->text);
    } else if (f->kind != CommandOutcome::Kind::StringArray) {
        f->strings.clear();
    }
    f->kind = CommandOutcome::Kind::StringArray;
    return f;
}

}  // namespace

void MPxCommand::clearResult()
{
    CommandOutcome* f = resultFrame();
    f->kind = CommandOutcome::Kind::None;
    f->text.clear();
    f->strings.clear();
    f->ints.clear();
}

void MPxCommand::setResult(unsigned int val) { setResult(static_cast<int>(val)); }
void MPxCommand::setResult(int val)
{
    CommandOutcome* f = resultFrame();
    f->kind = CommandOutcome::Kind::Int;
    f->intValue = val;
}
void MPxCommand::setResult(double val)
{
    CommandOutcome* f = resultFrame();
    f->kind = CommandOutcome::Kind::Double;
    f->doubleValue = val;
}
void MPxCommand::setResult(bool val)
{
    CommandOutcome* f = resultFrame();
    f->kind = CommandOutcome::Kind::Bool;
    f->boolValue = val;
}
void MPxCommand::setResult(const char* val) { setText(val); }
void MPxCommand::setResult(const MString& val) { setText(val.asChar()); }
void MPxCommand::setResult(const MIntArray& val)
{
    CommandOutcome* f = resultFrame();
    f->kind = CommandOutcome::Kind::IntArray;
    f->ints.clear();
    for (unsigned int i = 0; i < val.length(); ++i) f->ints.push_back(val[i]);
}
void MPxCommand::setResult(const MStringArray& val)
{
    CommandOutcome* f = resultFrame();
    f->kind = CommandOutcome::Kind::StringArray;
    f->strings.clear();
    for (unsigned int i = 0; i < val.length(); ++i) f->strings.push_back(val[i].asChar());
}

void MPxCommand::appendToResult(int val) { arrayFrame()->strings.push_back(std::to_string(val)); }
void MPxCommand::appendToResult(double val) { arrayFrame()->strings.push_back(std::to_string(val)); }
void MPxCommand::appendToResult(bool val) { arrayFrame()->strings.push_back(val ? "1" : "0"); }
void MPxCommand::appendToResult(const char* val) { arrayFrame()->strings.push_back(val ? val : ""); }
void MPxCommand::appendToResult(const MString& val) { arrayFrame()->strings.push_back(val.asChar()); }
void MPxCommand::appendToResult(const MStringArray& val)
{
    CommandOutcome* f = arrayFrame();
    for (unsigned int i = 0; i < val.length(); ++i) f->strings.push_back(val[i].asChar());
}

MStatus MPxCommand::getCurrentResult(int& val)
{
    CommandOutcome* f = resultFrame();
    if (f->kind != CommandOutcome::Kind::Int && f->kind != CommandOutcome::Kind::Bool) return MS::kFailure;
    val = f->kind == CommandOutcome::Kind::Int ? static_cast<int>(f->intValue) : f->boolValue;
    return MS::kSuccess;
}

MStatus MPxCommand::getCurrentResult(MString& val)
{
    CommandOutcome* f = resultFrame();
    if (f->kind != CommandOutcome::Kind::String) return MS::kFailure;
    val = f->text.c_str();
    return MS::kSuccess;
}

MStatus MPxCommand::getCurrentResult(MStringArray& val)
{
    CommandOutcome* f = resultFrame();
    if (f->kind != CommandOutcome::Kind::StringArray) return MS::kFailure;
    val.clear();
    for (const std::string& s : f->strings) put(val, MString(s.c_str()));
    return MS::kSuccess;
}

// --------------------------------------------------------- MGlobal commands

namespace {

MStatus execute(const MString& command, CommandOutcome& out)
{
    MStatus status;
    if (faultHit(Op::executeCommand, status)) return status;
    out = dghost::runCommand(command.asChar());
    return out.status;
}

std::string resultText(const CommandOutcome& out)
{
    switch (out.kind) {
    case CommandOutcome::Kind::String: return out.text;
    case CommandOutcome::Kind::Bool: return out.boolValue ? "1" : "0";
    case CommandOutcome::Kind::Int: return std::to_string(out.intValue);
    case CommandOutcome::Kind::Double: return std::to_string(out.doubleValue);
    default: break;
    }
    std::string joined;
    for (const std::string& s : out.strings) joined += (joined.empty() ? "" : " ") + s;
    return joined;
}

}  // namespace

MStatus MGlobal::executeCommand(const MString& command, bool, bool)
{
    CommandOutcome out;
    return execute(command, out);
}

MStatus MGlobal::executeCommand(const MString& command, int& result, bool, bool)
{
    CommandOutcome out;
    MStatus status = execute(command, out);
    if (out.kind == CommandOutcome::Kind::Int) result = static_cast<int>(out.intValue);
    if (out.kind == CommandOutcome::Kind::Bool) result = out.boolValue;
    return status;
}

MStatus MGlobal::executeCommand(const MString& command, MIntArray& result, bool, bool)
{
    CommandOutcome out;
    MStatus status = execute(command, out);
    result.clear();
    for (long long v : out.ints) put(result, static_cast<int>(v));
    return status;
}

MStatus MGlobal::executeCommand(const MString& command, MStringArray& result, bool, bool)
{
    CommandOutcome out;
    MStatus status = execute(command, out);
    result.clear();
    if (out.kind == CommandOutcome::Kind::StringArray)
        for (const std::string& s : out.strings) put(result, MString(s.c_str()));
    else if (out.kind != CommandOutcome::Kind::None)
        put(result, MString(resultText(out).c_str()));
    return status;
}

MStatus MGlobal::executeCommand(const MString& command, MString& result, bool, bool)
{
    CommandOutcome out;
    MStatus status = execute(command, out);
    result = resultText(out).c_str();
    return status;
}

MString MGlobal::executeCommandStringResult(const MString& command, bool, bool, MStatus* ResultStatus)
{
    MString result;
    MStatus status = executeCommand(command, result);
    if (ResultStatus) *ResultStatus = status;
    return result;
}

void MGlobal::displayInfo(const MString& theMessage) { reportMessage("info", theMessage.asChar()); }
void MGlobal::displayWarning(const MString& theWarning) { reportMessage("warning", theWarning.asChar()); }
void MGlobal::displayError(const MString& theError) { reportMessage("error", theError.asChar()); }

OPENMAYA_NAMESPACE_CLOSE

namespace dghost {
namespace detail {

void setCommandContext(MPxCommand& command, const MSyntax& syntax, const std::string& name)
{
    CommandContext*& context = OPENMAYA_MAJOR_NAMESPACE_SCHEMA::MPxCommandAccess::context(command);
    if (!context) context = new CommandContext();
    context->syntax = syntax;
    context->commandString = name.c_str();
}

}  // namespace detail
}  // namespace dghost
