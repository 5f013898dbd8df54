#include "tree/Children.h"

#include "log/Log.h"
#include "nodes/XMLElementNode.h"
#include "tree/Document.h"
#include "tree/Links.h"
#include "tree/Lookup.h"
#include "tree/Walk.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

namespace {

const char* const kCycleText = "Parent is the Node itself or one of its descendants";

// The children of an element without a line of log or a findPlug call: for
// the checks that addChild makes before it links.
MStatus listChildrenQuietly(MObject element, MObjectArray& children)
{
    children.clear();
    MPlug fromChild = plugOf(element, XMLElementNode::fromChildren);
    if (fromChild.isNetworked())
        appendLinkedSources(fromChild, children, false);
    return MS::kSuccess;
}

// Walks below `child`: kFailure with an error line when it holds a loop, or
// when `parent` lies there (or is the child), so that the link would close
// one.
MStatus refuseLoop(const MObject& parent, const MObject& child)
{
    bool closesLoop = parent == child;
    // A child without links below it (every element an import links) has
    // nothing to walk: only linking it under itself closes a loop.
    if (!closesLoop && !plugOf(child, XMLElementNode::fromChildren).isNetworked())
        return MS::kSuccess;
    DescendantWalk walk(listChildrenQuietly);
    MObjectArray below;
    MStatus status = walk.appendBelow(child, below);
    if (status != MS::kSuccess)
        return status;
    for (unsigned int i = 0; i < below.length() && !closesLoop; ++i)
        closesLoop = below[i] == parent;
    if (!closesLoop)
        return MS::kSuccess;
    const MStatus refused(MS::kFailure);
    logError(kCycleText, refused);
    return refused;
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

// Walks below every root in turn, each element listed once over all of them.
MStatus appendDescendantsOfRoots(const MObjectArray& roots, MObjectArray& descendants,
                                 MString& problem)
{
    DescendantWalk walk(getChildNodes);
    for (unsigned int i = 0; i < roots.length(); ++i) {
        if (!isElementNode(roots[i]))
            continue;
        if (!walk.markListed(roots[i])) {
            problem = walk.problem();
            if (problem.length() != 0)
                return MS::kFailure;
            continue;  // a root listed below an earlier root
        }
        MStatus status = walk.appendBelow(roots[i], descendants);
        if (status != MS::kSuccess) {
            problem = walk.problem();
            return status;
        }
        descendants.append(roots[i]);
    }
    return MS::kSuccess;
}

}  // namespace

MStatus addChild(MObject parent, MObject child, MDGModifier& modifier)
{
    MFnDependencyNode parentFn(parent);
    MFnDependencyNode childFn(child);
    if (!isElementFn(parentFn) || !isElementFn(childFn))
        return MS::kInvalidParameter;
    MPlug toParent = childFn.findPlug(XMLElementNode::toParent, false);
    MStatus status = refuseSecondParent(toParent);
    if (status != MS::kSuccess)
        return status;
    status = refuseLoop(parent, child);
    if (status != MS::kSuccess)
        return status;

    MPlug fromChild = parentFn.findPlug(XMLElementNode::fromChildren, false, &status);
    logError("Error getting XMLElementNode toChildren Connector", status);
    unsigned int index = 0;
    status = nextLinkIndex(fromChild, index);
    if (status != MS::kSuccess)
        return status;
    MPlug slot = fromChild.elementByLogicalIndex(index, &status);
    logError("Error getting XMLElementNode toChildren Connector ArrayElement", status);
    const MStatus connected = modifier.connect(toParent, slot);
    logError("Error Connect Nodes", connected);
    status = modifier.doIt();
    logError("Error doIt Connect Nodes", status);
    return linkOutcome(connected, status);
}

MStatus checkNoLoopBelow(MObject element, MString& problem)
{
    DescendantWalk walk(listChildrenQuietly);
    MObjectArray below;
    const MStatus status = walk.appendBelow(element, below);
    problem = walk.problem();
    return status;
}

MStatus checkChildLinkable(MObject child, MObject ancestor)
{
    if (!isElementNode(child))
        return MS::kInvalidParameter;
    MStatus status = refuseSecondParent(plugOf(child, XMLElementNode::toParent));
    if (status != MS::kSuccess)
        return status;
    return refuseLoop(ancestor, child);
}

MStatus getChildNodes(MObject element, MObjectArray& children)
{
    children.clear();
    MFnDependencyNode fn(element);
    if (!isElementFn(fn))
        return MS::kInvalidParameter;
    logLine("geting the DependencyNode");
    logLine("GEtting the PLug");
    MPlug fromChild = fn.findPlug(XMLElementNode::fromChildren, false);
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
    MPlug fromChild = fn.findPlug(XMLElementNode::fromChildren, false);
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
    MStatus status = modifier.doIt();
    if (logError("Error doIt Disconnect Nodes", status))
        return status;
    return MS::kSuccess;
}

MStatus removeAllChildren(MObject parent, MDGModifier& modifier)
{
    if (!isElementNode(parent))
        return MS::kInvalidParameter;
    MStringArray names;
    MStatus status = getChildNames(parent, names);
    if (status != MS::kSuccess) {
        logError("ERROR Get Children", status, ErrorLine::BlankLineAfter);
        return status;
    }
    // kInvalidParameter only says a name led nowhere; any other failure is a
    // cut the host refused, and the removal then reports it (the other cuts
    // still go on).
    MStatus hostFailure = MS::kSuccess;
    for (unsigned int i = 0; i < names.length(); ++i) {
        status = removeChild(parent, modifier, names[i]);
        logError("Error Removing Child", status);
        if (failed(status) && status != MS::kInvalidParameter && !failed(hostFailure))
            hostFailure = status;
    }
    return failed(hostFailure) ? hostFailure : status;
}

MStatus getAllDescendants(MObject element, MObjectArray& descendants)
{
    MString problem;
    return getAllDescendants(element, descendants, problem);
}

MStatus getAllDescendants(MObject element, MObjectArray& descendants, MString& problem)
{
    problem.clear();
    if (!isElementNode(element))
        return MS::kInvalidParameter;
    DescendantWalk walk(getChildNodes);
    MStatus status = walk.appendBelow(element, descendants);
    problem = walk.problem();
    return status;
}

MStatus getAllDocumentDescendants(MObject document, MObjectArray& descendants)
{
    MString problem;
    return getAllDocumentDescendants(document, descendants, problem);
}

MStatus getAllDocumentDescendants(MObject document, MObjectArray& descendants, MString& problem)
{
    problem.clear();
    if (!isDocumentNode(document))
        return MS::kInvalidParameter;
    MObjectArray roots;
    getDocumentElements(document, roots);
    return appendDescendantsOfRoots(roots, descendants, problem);
}
