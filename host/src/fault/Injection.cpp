// Fault injection: counts every call of each named host operation and makes
// chosen calls fail.

#include "fault/Injection.h"

#include <dghost/Fault.h>

#include <string>
#include <vector>

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

std::vector<Rule>& rules()
{
    static auto* r = new std::vector<Rule>();
    return *r;
}

int opIndex(const std::string& name)
{
    for (std::size_t i = 0; i < static_cast<std::size_t>(Op::count); ++i)
        if (name == kOpNames[i]) return static_cast<int>(i);
    return -1;
}

}  // namespace

CallCounts gCallCounts;

bool ruleHit(Op op, unsigned long long call, MStatus& status)
{
    for (const Rule& rule : rules()) {
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
    unsigned long long first = detail::gCallCounts.calls[index] + nth;
    detail::rules().push_back({static_cast<detail::Op>(index), first, first + times - 1, code});
    detail::gCallCounts.armedRules = detail::rules().size();
    return true;
}

void clear()
{
    detail::rules().clear();
    detail::gCallCounts = detail::CallCounts{};
}

unsigned calls(const std::string& operation)
{
    int index = detail::opIndex(operation);
    return index < 0 ? 0 : static_cast<unsigned>(detail::gCallCounts.calls[index]);
}

std::vector<std::string> operations()
{
    return std::vector<std::string>(std::begin(detail::kOpNames), std::end(detail::kOpNames));
}

}  // namespace fault
}  // namespace dghost
