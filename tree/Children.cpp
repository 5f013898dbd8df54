#include "tree/Children.h"
#include "tree/Document.h"
#include "tree/Links.h"
#include "tree/Log.h"
#include "tree/Lookup.h"
#include "tree/StatusShim.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

#include <deque>
#include <vector>

namespace {

const char* const kAlreadyLinkedText = "Node has already a connection to Parent";
const char* const kCycleText = "Parent is the Node itself or one of its descendants";

// Whether `target` is `root` or lies anywhere below it. Walks with a
// stack of its own, so a deep tree cannot exhaust the call stack, and
// logs nothing.
bool isInSubtree(const MObject& root, const MObject& target)
{
    if (root == target)
        return true;
    std::vector<MObject> pending(1, root);
    while (!pending.empty()) {
        MObject node = pending.back();
        pending.pop_back();
        MPlug fromChild = plugOf(node, "FromChild");
        if (!fromChild.isNetworked())
            continue;
        MObjectArray children;
        appendLinkedSources(fromChild, children, false);
        for (unsigned int i = 0; i < children.length(); ++i) {
            if (children[i] == target)
                return true;
            if (isElementNode(children[i]))
                pending.push_back(children[i]);
        }
    }
    return false;
}

// One element of the descendant walk: its children and the next to visit.
struct WalkFrame {
    MObjectArray children;
    unsigned int next = 0;
};

// Appends every element below `element`, each after all of its own
// descendants, siblings in link order; a child that is no element is left
// out with everything below it. The same order as recursing child by child,
// but the depth of the tree lives in `frames`, not in the call stack.
void appendDescendantsPostOrder(const MObject& element, MObjectArray& descendants)
{
    std::deque<WalkFrame> frames(1);
    getChildNodes(element, frames.back().children);
    while (!frames.empty()) {
        WalkFrame& top = frames.back();
        if (top.next == top.children.length()) {
            frames.pop_back();
            if (!frames.empty()) {
                WalkFrame& up = frames.back();
                descendants.append(up.children[up.next]);
                ++up.next;
            }
            continue;
        }
        const MObject child = top.children[top.next];
        if (!isElementNode(child)) {
            ++top.next;
            continue;
        }
        frames.emplace_back();
        getChildNodes(child, frames.back().children);
    }
}

// Queues the cut of every link from `child` into the elements of
// `fromChild`, logging each element and source visited. True when
// anything was queued.
bool queueChildDisconnects(MPlug& fromChild, const MObject& child, MDGModifier& modifier)
{
    bool queued = false;
    MIntArray indices;
    fromChild.getExistingArrayAttributeIndices(indices);
    for (unsigned int k = 0; k < indices.length(); ++k) {
        MStatus status;
        MPlug slot = fromChild.elementByLogicalIndex(static_cast<unsigned int>(indices[k]), &status);
        logError("Error Get Connection by Phys IDX", status);
        logLine(slot.partialName(true, true));
        MPlugArray sources;
        if (!slot.connectedTo(sources, true, false) || sources.length() == 0)
            continue;
        for (unsigned int s = 0; s < sources.length(); ++s) {
            logLine(sources[s].partialName(true));
            if (sources[s].node() == child) {
                modifier.disconnect(sources[s], slot);
                queued = true;
            }
        }
    }
    return queued;
}

}  // namespace

MStatus addChild(MObject parent, MObject child, MDGModifier& modifier)
{
    if (!isElementNode(parent) || !isElementNode(child))
        return MS::kInvalidParameter;
    MFnDependencyNode parentFn(parent);
    MFnDependencyNode childFn(child);
    MPlug toParent = childFn.findPlug("2Parent", false);
    if (toParent.isConnected())
        return statusWithDescription(MS::kFailure, kAlreadyLinkedText);
    if (isInSubtree(child, parent))
        return statusWithDescription(MS::kFailure, kCycleText);

    MStatus status;
    MPlug fromChild = parentFn.findPlug("FromChild", false, &status);
    logError("Error getting XMLElementNode toChildren Connector", status);
    MPlug slot = fromChild.elementByLogicalIndex(nextLinkIndex(fromChild), &status);
    logError("Error getting XMLElementNode toChildren Connector ArrayElement", status);
    status = modifier.connect(toParent, slot);
    logError("Error Connect Nodes", status);
    status = modifier.doIt();
    logError("Error doIt Connect Nodes", status);
    return status;
}

MStatus getChildNodes(MObject element, MObjectArray& children)
{
    children.clear();
    if (!isElementNode(element))
        return MS::kInvalidParameter;
    logLine("geting the DependencyNode");
    MFnDependencyNode fn(element);
    logLine("GEtting the PLug");
    MPlug fromChild = fn.findPlug("FromChild", false);
    if (!fromChild.isNetworked())
        return MS::kSuccess;
    logLine("it is networked");
    if (fromChild.isArray()) {
        logLine("is Array");
        logNumber(fromChild.numElements());
        appendLinkedSources(fromChild, children, true);
    }
    return MS::kSuccess;
}

MStatus getChildNames(MObject element, MStringArray& names)
{
    names.clear();
    if (!isElementNode(element)) {
        logLine("Is no Valid Node");
        return MS::kInvalidParameter;
    }
    logLine("getting Childs");
    MObjectArray children;
    MStatus status = getChildNodes(element, children);
    logError("Error get XML Children", status);
    logLine("Done getting Childs");
    if (status != MS::kSuccess)
        return status;
    for (unsigned int i = 0; i < children.length(); ++i) {
        logLine("Checking Child");
        MFnDependencyNode fn(children[i]);
        names.append(fn.name());
    }
    return status;
}

MStatus isChildNamed(MObject element, MString childName, bool& isChild)
{
    isChild = false;
    MObject named;
    if (!isElementNode(element) || !findElementNodeByName(childName, named))
        return MS::kInvalidParameter;
    MObjectArray children;
    logError("Error getting Childs", getChildNodes(element, children));
    for (unsigned int i = 0; i < children.length(); ++i) {
        if (children[i] == named)
            isChild = true;
    }
    return MS::kSuccess;
}

MStatus removeChild(MObject parent, MDGModifier& modifier, MString childName)
{
    if (!isElementNode(parent)) {
        logLine("Is Not a valid Node");
        return MS::kInvalidParameter;
    }
    MObject child;
    if (!findElementNodeByName(childName, child)) {
        logLine("Is Not a valid NodeName");
        return MS::kInvalidParameter;
    }
    MFnDependencyNode fn(parent);
    MPlug fromChild = fn.findPlug("FromChild", false);
    if (!fromChild.isNetworked()) {
        logLine("Name is not Networked");
        return MS::kInvalidParameter;
    }
    bool queued = false;
    if (fromChild.isArray()) {
        logLine("plug is Array");
        queued = queueChildDisconnects(fromChild, child, modifier);
    }
    if (!queued)
        return MS::kInvalidParameter;
    modifier.doIt();
    return MS::kSuccess;
}

MStatus removeAllChildren(MObject parent, MDGModifier& modifier)
{
    if (!isElementNode(parent))
        return MS::kInvalidParameter;
    MStringArray names;
    MStatus status = getChildNames(parent, names);
    if (status != MS::kSuccess) {
        logErrorBlank("ERROR Get Children", status);
        return status;
    }
    for (unsigned int i = 0; i < names.length(); ++i) {
        status = removeChild(parent, modifier, names[i]);
        logError("Error Removing Child", status);
    }
    return status;
}

MStatus getAllDescendants(MObject element, MObjectArray& descendants)
{
    if (!isElementNode(element))
        return MS::kInvalidParameter;
    appendDescendantsPostOrder(element, descendants);
    return MS::kSuccess;
}

MStatus getAllDocumentDescendants(MObject document, MObjectArray& descendants)
{
    if (!isDocumentNode(document))
        return MS::kInvalidParameter;
    MObjectArray roots;
    getDocumentElements(document, roots);
    for (unsigned int i = 0; i < roots.length(); ++i) {
        if (getAllDescendants(roots[i], descendants) == MS::kSuccess)
            descendants.append(roots[i]);
    }
    return MS::kSuccess;
}
