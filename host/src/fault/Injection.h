#ifndef DGHOST_FAULT_INJECTION_H
#define DGHOST_FAULT_INJECTION_H
// Fault injection: every host call a plug-in (or the host's own runtime)
// can see fail asks here first. <dghost/Fault.h> arms the failures.
//
// May include: <maya/MStatus.h> and the standard library only, so every
// other part of the host may include it.

#include <maya/MStatus.h>

#include <cstddef>

namespace dghost {
namespace detail {

// The calls that can be made to fail, named as in <dghost/Fault.h>.
enum class Op {
    createAttribute, setReadable, setWritable, setConnectable, setStorable, setCached, setArray,
    setIndexMatters, setKeyable, setHidden, addAttribute, attributeAffects, registerData,
    registerNode, registerCommand, deregisterCommand, deregisterNode, deregisterData, createNode,
    attachFunctionSet, findPlug, getValue, setValue, numElements, elementByLogicalIndex,
    connectionByPhysicalIndex, getExistingArrayAttributeIndices, connectedTo, connect,
    disconnect, deleteNode, doIt, executeCommand, selectByName, getActiveSelectionList,
    setActiveSelectionList, clearSelectionList, getDependNode, arrayAppend, getFlagArgument,
    typeId, name, writeScene, renameScene, syncScene, count
};

// How often each operation was called, and how many failures are armed.
// Plain data, so it is ready before any constructor runs.
struct CallCounts {
    unsigned long long calls[static_cast<int>(Op::count)];
    std::size_t armedRules;
};
extern CallCounts gCallCounts;

// Whether an armed rule fails call number `call` of `op`; `status` then
// gets the status to return.
bool ruleHit(Op op, unsigned long long call, MStatus& status);

// Counts one call of `op` and returns its number.
inline unsigned long long countCall(Op op) { return ++gCallCounts.calls[static_cast<int>(op)]; }

// Counts the call; true when it must fail, `status` then holding the status
// to return. Inline: nearly every host call asks, and nearly always nothing
// is armed.
inline bool faultHit(Op op, MStatus& status)
{
    const unsigned long long call = countCall(op);
    return gCallCounts.armedRules != 0 && ruleHit(op, call, status);
}

// The same for a call that reports through an optional status pointer: the
// status is made only when a failure is armed.
inline bool injected(Op op, MStatus* out)
{
    const unsigned long long call = countCall(op);
    if (gCallCounts.armedRules == 0) return false;
    MStatus status;
    if (!ruleHit(op, call, status)) return false;
    if (out) *out = status;
    return true;
}

}  // namespace detail
}  // namespace dghost

#endif
