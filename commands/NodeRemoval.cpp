#include "commands/NodeRemoval.h"

#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Log.h"
#include "tree/Lookup.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MString.h>

std::string NodeSet::keyOf(MObject node)
{
    MStatus status;
    MFnDependencyNode fn(node, &status);
    if (status != MS::kSuccess) {
        return std::string();
    }
    return fn.name().asChar();
}

bool NodeSet::insert(MObject node)
{
    std::string key = keyOf(node);
    if (key.empty() || !keys.insert(key).second) {
        return false;
    }
    members.append(node);
    return true;
}

bool NodeSet::contains(MObject node) const
{
    std::string key = keyOf(node);
    return !key.empty() && keys.count(key) != 0;
}

MStatus collectSubtree(MObject root, NodeSet& elements)
{
    if (!isElementNode(root)) {
        return MS::kInvalidParameter;
    }
    unsigned int next = elements.nodes().length();
    elements.insert(root);
    // Everything from `next` on is still to be expanded: the set's own
    // insertion order is the work list.
    for (; next < elements.nodes().length(); ++next) {
        MObjectArray children;
        getChildNodes(elements.nodes()[next], children);
        for (unsigned int i = 0; i < children.length(); ++i) {
            if (isElementNode(children[i])) {
                elements.insert(children[i]);
            }
        }
    }
    return MS::kSuccess;
}

bool isLinkedByOtherElement(MObject attributeNode, const NodeSet& ignored)
{
    MStatus status;
    MFnDependencyNode fn(attributeNode, &status);
    MPlug parentPlug = fn.findPlug("Parent", false, &status);
    MPlugArray destinations;
    if (!failed(status)) {
        parentPlug.connectedTo(destinations, false, true, &status);
    }
    if (logError("Error Reading Attribute Links", status)) {
        return true;
    }
    for (unsigned int i = 0; i < destinations.length(); ++i) {
        MObject owner = destinations[i].node();
        if (isElementNode(owner) && !ignored.contains(owner)) {
            return true;
        }
    }
    return false;
}

MStatus collectOrphanedAttributes(const NodeSet& elements, NodeSet& attributeNodes)
{
    const MObjectArray& owners = elements.nodes();
    for (unsigned int e = 0; e < owners.length(); ++e) {
        MObjectArray linked;
        getAttributeNodes(owners[e], linked);
        for (unsigned int i = 0; i < linked.length(); ++i) {
            MObject node = linked[i];
            if (isAttributeNode(node) && !attributeNodes.contains(node)
                && !isLinkedByOtherElement(node, elements)) {
                attributeNodes.insert(node);
            }
        }
    }
    return MS::kSuccess;
}

MStatus deleteSubtrees(const MObjectArray& roots, MDGModifier& modifier)
{
    NodeSet elements;
    for (unsigned int i = 0; i < roots.length(); ++i) {
        collectSubtree(roots[i], elements);
    }
    NodeSet attributeNodes;
    collectOrphanedAttributes(elements, attributeNodes);
    MObjectArray doomed(elements.nodes());
    for (unsigned int i = 0; i < attributeNodes.nodes().length(); ++i) {
        doomed.append(attributeNodes.nodes()[i]);
    }
    return deleteNodes(doomed, modifier);
}

MStatus deleteNodes(const MObjectArray& nodes, MDGModifier& modifier)
{
    if (nodes.length() == 0) {
        return MS::kSuccess;
    }
    MStatus firstFailure = MS::kSuccess;
    for (unsigned int i = 0; i < nodes.length(); ++i) {
        MStatus queued = modifier.deleteNode(nodes[i]);
        if (logError("Error Queueing Node Deletion", queued) && !failed(firstFailure)) {
            firstFailure = queued;
        }
    }
    MStatus done = modifier.doIt();
    logError("Error Deleting Nodes", done);
    return failed(done) ? done : firstFailure;
}
