#ifndef DGHOST_FAULT_INJECTION_H
#define DGHOST_FAULT_INJECTION_H
// Fault injection: every host call a plug-in (or the host's own runtime)
// can see fail asks here first. <dghost/Fault.h> arms the failures.
//
// May include: <maya/MStatus.h> and the standard library only, so every
// other part of the host may include it.

#include <maya/MStatus.h>

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

// True when this call must fail; `status` gets the status to return.
bool faultHit(Op op, MStatus& status);

}  // namespace detail
}  // namespace dghost

#endif
