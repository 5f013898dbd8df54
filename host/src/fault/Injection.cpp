// Fault injection: counts every call of each named host operation and makes
// chosen calls fail.

#include "fault/Injection.h"

#include <dghost/Fault.h>

#include <array>

namespace dghost {
namespace detail {
namespace {

const char* const kOpNames[] = {
    "createAttribute", "setReadable", "setWritable", "setConnectable", "setStorable", "setCached",
    "setArray", "setIndexMatters", "setKeyable", "setHidden", "addAttribute", "attributeAffects",
    "registerData", "registerNode", "registerCommand", "deregisterCommand", "deregisterNode",
    "deregisterData", "createNode", "attachFunctionSet", "findPlug", "getValue", "setValue",
    "numElements", "elementByLogicalIndex", "connectionByPhysicalIndex",
    "getExistingArrayAttributeIndices", "connectedTo", "connect", "disconnect", "deleteNode",
    "doIt", "executeCommand", "selectByName", "getActiveSelectionList", "setActiveSelectionList",
    "clearSelectionList", "getDependNode", "arrayAppend", "getFlagArgument", "typeId", "name",
    "writeScene", "renameScene", "syncScene"};
static_assert(sizeof(kOpNames) / sizeof(kOpNames[0]) == static_cast<std::size_t>(Op::count),
              "every operation has a name");

struct Rule {
    Op op;
    unsigned long long first;  // call number (1-based) of the first failing call
    unsigned long long last;
    MStatus::MStatusCode code;
};

struct FaultState {
    std::array<unsigned long long, static_cast<std::size_t>(Op::count)> calls{};
    std::vector<Rule> rules;
};

FaultState& state()
{
    static auto* s = new FaultState();
    return *s;
}

int opIndex(const std::string& name)
{
    for (std::size_t i = 0; i < static_cast<std::size_t>(Op::count); ++i)
        if (name == kOpNames[i]) return static_cast<int>(i);
    return -1;
}

}  // namespace

bool faultHit(Op op, MStatus& status)
{
    FaultState& s = state();
    unsigned long long call = ++s.calls[static_cast<std::size_t>(op)];
    for (const Rule& rule : s.rules) {
        if (rule.op == op && call >= rule.first && call <= rule.last) {
            status = MStatus(rule.code);
            return true;
        }
    }
    return false;
}

}  // namespace detail

namespace fault {

bool failCall(const std::string& operation, unsigned nth, MStatus::MStatusCode code,
              unsigned times)
{
    int index = detail::opIndex(operation);
    if (index < 0 || nth == 0 || times == 0) return false;
    detail::FaultState& s = detail::state();
    unsigned long long first = s.calls[static_cast<std::size_t>(index)] + nth;
    s.rules.push_back({static_cast<detail::Op>(index), first, first + times - 1, code});
    return true;
}

void clear()
{
    detail::FaultState& s = detail::state();
    s.rules.clear();
    s.calls.fill(0);
}

unsigned calls(const std::string& operation)
{
    int index = detail::opIndex(operation);
    return index < 0 ? 0 : static_cast<unsigned>(detail::state().calls[static_cast<std::size_t>(index)]);
}

std::vector<std::string> operations()
{
    return std::vector<std::string>(std::begin(detail::kOpNames), std::end(detail::kOpNames));
}

}  // namespace fault
}  // namespace dghost
