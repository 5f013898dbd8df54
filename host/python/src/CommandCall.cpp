// Python calls to host commands: keyword flags to flag words, Python values
// to argument words of the type the syntax asks for, outcomes to Python.

#include "CommandCall.h"

#include <dghost/CommandTable.h>
#include <dghost/Host.h>

#include <maya/MString.h>

#include <pybind11/stl.h>

#include <cmath>
#include <sstream>

namespace py = pybind11;

namespace dghost {
namespace python {
namespace {

[[noreturn]] void typeError(const std::string& text) { throw py::type_error(text); }

const FlagInfo* findFlag(const CommandInfo& info, const std::string& name)
{
    for (const FlagInfo& flag : info.flags)
        if (flag.shortName == name || flag.longName == name) return &flag;
    return nullptr;
}

const char* typeName(MSyntax::MArgType type)
{
    switch (type) {
    case MSyntax::kBoolean: return "bool";
    case MSyntax::kLong: return "int";
    case MSyntax::kUnsigned: return "non-negative int";
    case MSyntax::kDouble:
    case MSyntax::kDistance:
    case MSyntax::kAngle:
    case MSyntax::kTime: return "float";
    default: return "str";
    }
}

std::string reprText(const py::handle& value) { return py::repr(value).cast<std::string>(); }

// A str, or a path object (pathlib.Path...) as its text; false for others.
bool textOf(const py::handle& value, std::string& text)
{
    if (py::isinstance<py::str>(value)) return text = value.cast<std::string>(), true;
    if (!py::hasattr(value, "__fspath__")) return false;
    py::object path = py::reinterpret_steal<py::object>(PyOS_FSPath(value.ptr()));
    if (!path) throw py::error_already_set();
    if (!py::isinstance<py::str>(path)) return false;
    return text = path.cast<std::string>(), true;
}

std::string doubleText(double value)
{
    std::ostringstream out;
    out.precision(17);
    out << value;
    return out.str();
}

// One Python value as the text of an argument of `type`, or TypeError.
std::string argumentText(const std::string& flag, MSyntax::MArgType type, const py::handle& value)
{
    bool isBool = py::isinstance<py::bool_>(value);
    bool isInt = py::isinstance<py::int_>(value);  // bool included
    switch (type) {
    case MSyntax::kBoolean:
        if (isInt) return value.cast<long long>() ? "1" : "0";
        break;
    case MSyntax::kLong:
    case MSyntax::kUnsigned:
        if (isInt && !isBool) {
            long long number = value.cast<long long>();
            if (type == MSyntax::kUnsigned && number < 0) break;
            return std::to_string(number);
        }
        break;
    case MSyntax::kDouble:
    case MSyntax::kDistance:
    case MSyntax::kAngle:
    case MSyntax::kTime:
        if ((isInt && !isBool) || py::isinstance<py::float_>(value)) {
            double number = value.cast<double>();
            if (std::isfinite(number)) return doubleText(number);
        }
        break;
    default: {
        std::string text;
        if (textOf(value, text)) return text;
        break;
    }
    }
    typeError("Invalid argument for flag '" + flag + "': " + reprText(value) + " (expected " + typeName(type) + ")");
}

// The argument words of one use of a flag: a single value, or a tuple with
// one value per argument.
void addUse(CommandWords& out, const FlagInfo& flag, const std::string& given, const py::handle& value)
{
    std::vector<py::handle> values;
    if (py::isinstance<py::tuple>(value)) {
        for (const py::handle& item : value) values.push_back(item);
    } else {
        values.push_back(value);
    }
    if (values.size() != flag.arguments.size())
        typeError("Flag '" + given + "' takes " + std::to_string(flag.arguments.size()) + " argument(s), got " +
                  reprText(value));
    out.words.push_back("-" + flag.shortName);
    out.quoted.push_back(false);
    for (std::size_t i = 0; i < values.size(); ++i) {
        out.words.push_back(argumentText(given, flag.arguments[i], values[i]));
        out.quoted.push_back(true);
    }
}

// True/False for an on/off flag (or any flag in query mode): whether to
// give it at all.
bool switchedOn(const std::string& given, const py::handle& value)
{
    if (!py::isinstance<py::int_>(value))
        typeError("Flag '" + given + "' is on or off: give True or False, not " + reprText(value));
    return value.cast<long long>() != 0;
}

void addFlag(CommandWords& out, const FlagInfo& flag, const std::string& given, const py::handle& value,
             bool query)
{
    if (query || flag.arguments.empty()) {
        if (switchedOn(given, value)) {
            out.words.push_back("-" + flag.shortName);
            out.quoted.push_back(false);
        }
        return;
    }
    if (py::isinstance<py::list>(value)) {
        if (!flag.multiUse) typeError("Flag '" + given + "' can be given once only, not a list");
        for (const py::handle& use : value) addUse(out, flag, given, use);
        return;
    }
    addUse(out, flag, given, value);
}

void addObjects(CommandWords& out, const py::tuple& objects)
{
    for (const py::handle& object : objects) {
        if (py::isinstance<py::list>(object) || py::isinstance<py::tuple>(object)) {
            addObjects(out, py::tuple(py::reinterpret_borrow<py::object>(object)));
            continue;
        }
        std::string text;
        if (!textOf(object, text)) typeError("Invalid object " + reprText(object) + ": give a str");
        out.words.push_back(text);
        out.quoted.push_back(true);
    }
}

// The words of a command without a syntax: flags by the name given, values
// as their text.
CommandWords freeWords(const py::tuple& objects, const py::dict& flags)
{
    CommandWords out;
    for (const auto& item : flags) {
        std::string given = item.first.cast<std::string>();
        if (py::isinstance<py::bool_>(item.second)) {
            if (!item.second.cast<bool>()) continue;
            out.words.push_back("-" + given);
            out.quoted.push_back(false);
            continue;
        }
        out.words.push_back("-" + given);
        out.quoted.push_back(false);
        out.words.push_back(py::str(item.second).cast<std::string>());
        out.quoted.push_back(true);
    }
    addObjects(out, objects);
    return out;
}

py::object resultOf(const CommandOutcome& outcome)
{
    using Kind = CommandOutcome::Kind;
    switch (outcome.kind) {
    case Kind::Bool: return py::bool_(outcome.boolValue);
    case Kind::Int: return py::int_(outcome.intValue);
    case Kind::Double: return py::float_(outcome.doubleValue);
    case Kind::String: return py::str(outcome.text);
    case Kind::StringArray: return py::cast(outcome.strings);
    case Kind::IntArray: return py::cast(outcome.ints);
    default: return py::none();
    }
}

// "(kFailure): text" gives "kFailure".
std::string statusName(const MStatus& status)
{
    std::string text = status.errorString().asChar();
    std::size_t close = text.find(')');
    return text.size() > 1 && text[0] == '(' && close != std::string::npos ? text.substr(1, close - 1) : text;
}

py::tuple outcomeTuple(const CommandOutcome& outcome)
{
    return py::make_tuple(statusName(outcome.status), std::string(outcome.status.errorString().asChar()),
                          resultOf(outcome), outcome.errors, outcome.warnings, outcome.infos, outcome.command);
}

}  // namespace

CommandWords commandWords(const std::string& name, const py::tuple& objects, const py::dict& flags)
{
    const CommandInfo* found = findCommandInfo(name);
    if (!found || !found->hasSyntax) return freeWords(objects, flags);
    const CommandInfo& info = *found;
    CommandWords out;
    bool query = false;
    for (const auto& item : flags) {
        std::string given = item.first.cast<std::string>();
        bool isQuery = given == "q" || given == "query", isEdit = given == "e" || given == "edit";
        if ((isQuery && !info.query) || (isEdit && !info.edit) || (!isQuery && !isEdit && !findFlag(info, given)))
            typeError("Invalid flag '" + given + "'");
        if ((isQuery || isEdit) && switchedOn(given, item.second)) {
            out.words.push_back(isQuery ? "-q" : "-e");
            out.quoted.push_back(false);
            query = query || isQuery;
        }
    }
    for (const auto& item : flags) {
        std::string given = item.first.cast<std::string>();
        if (const FlagInfo* flag = findFlag(info, given)) addFlag(out, *flag, given, item.second, query);
    }
    addObjects(out, objects);
    return out;
}

py::tuple runCommand(const std::string& name, const py::tuple& objects, const py::dict& flags)
{
    CommandWords words = commandWords(name, objects, flags);
    return outcomeTuple(dghost::runCommand(name, words.words, words.quoted));
}

py::tuple runMel(const std::string& text) { return outcomeTuple(dghost::runCommand(text)); }

}  // namespace python
}  // namespace dghost
