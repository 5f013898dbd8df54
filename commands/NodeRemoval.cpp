#include "commands/NodeRemoval.h"

#include "log/Log.h"
#include "nodes/PlugNames.h"
#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Lookup.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

#include <set>
#include <string>

namespace {

using Keys = std::set<std::string>;

// The nodes a plug of `node` feeds (as source). False, after the error line
// `errorText`, when the host could not tell.
bool destinationNodes(const MObject& node, const char* plugName, const char* errorText,
                      MObjectArray& nodes)
{
    MStatus status;
    MFnDependencyNode fn(node, &status);
    MPlug plug = fn.findPlug(plugName, false, &status);
    MPlugArray destinations;
    if (!failed(status))
        plug.connectedTo(destinations, false, true, &status);
    if (logError(errorText, status))
        return false;
    for (unsigned int i = 0; i < destinations.length(); ++i)
        nodes.append(destinations[i].node());
    return true;
}

// Whether the element has a parent whose key is not in `doomed`; an
// element whose links cannot be read counts as linked, so it is kept.
bool hasParentOutside(const MObject& element, const Keys& doomed)
{
    MObjectArray parents;
    if (!destinationNodes(element, kToParentPlug.shortName, "Error Reading Element Links", parents))
        return true;
    for (unsigned int i = 0; i < parents.length(); ++i) {
        if (doomed.count(nodeKey(parents[i])) == 0)
            return true;
    }
    return false;
}

// The elements of `elements` that nothing outside the removed part links:
// an element with a parent outside stays, and so, in the next rounds, does
// everything below it.
NodeSet unlinkedElements(const NodeSet& elements)
{
    const MObjectArray& all = elements.nodes();
    Keys doomed;
    for (unsigned int i = 0; i < all.length(); ++i)
        doomed.insert(nodeKey(all[i]));
    for (bool kept = true; kept;) {
        kept = false;
        for (unsigned int i = 0; i < all.length(); ++i) {
            const std::string key = nodeKey(all[i]);
            if (doomed.count(key) != 0 && hasParentOutside(all[i], doomed)) {
                doomed.erase(key);
                kept = true;
            }
        }
    }
    NodeSet unlinked;
    for (unsigned int i = 0; i < all.length(); ++i) {
        if (doomed.count(nodeKey(all[i])) != 0)
            unlinked.insert(all[i]);
    }
    return unlinked;
}

// Adds each attribute node of `elements` that no element outside
// `elements` links.
void collectOrphanedAttributes(const NodeSet& elements, NodeSet& attributeNodes)
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
}

}  // namespace

MStatus collectSubtrees(const MObjectArray& roots, NodeSet& elements, MString& problem)
{
    for (unsigned int r = 0; r < roots.length(); ++r) {
        if (!isElementNode(roots[r]))
            continue;
        MObjectArray below;
        MStatus status = getAllDescendants(roots[r], below, problem);
        if (status != MS::kSuccess)
            return status;
        elements.insert(roots[r]);
        // Post-order backwards: every parent before its children.
        for (unsigned int i = below.length(); i-- > 0;)
            elements.insert(below[i]);
    }
    return MS::kSuccess;
}

MStatus deleteUnlinkedSubtrees(const NodeSet& elements, MDGModifier& modifier)
{
    NodeSet doomed = unlinkedElements(elements);
    NodeSet attributeNodes;
    collectOrphanedAttributes(doomed, attributeNodes);
    MObjectArray nodes(doomed.nodes());
    for (unsigned int i = 0; i < attributeNodes.nodes().length(); ++i)
        nodes.append(attributeNodes.nodes()[i]);
    return deleteNodes(nodes, modifier);
}

bool isLinkedByOtherElement(MObject attributeNode, const NodeSet& ignored)
{
    MObjectArray owners;
    if (!destinationNodes(attributeNode, kAttributeParentPlug.longName,
                          "Error Reading Attribute Links", owners))
        return true;
    for (unsigned int i = 0; i < owners.length(); ++i) {
        if (isElementNode(owners[i]) && !ignored.contains(owners[i]))
            return true;
    }
    return false;
}

MStatus deleteNodes(const MObjectArray& nodes, MDGModifier& modifier)
{
    if (nodes.length() == 0)
        return MS::kSuccess;
    MStatus firstFailure = MS::kSuccess;
    for (unsigned int i = 0; i < nodes.length(); ++i) {
        MStatus queued = modifier.deleteNode(nodes[i]);
        if (logError("Error Queueing Node Deletion", queued) && !failed(firstFailure))
            firstFailure = queued;
    }
    MStatus done = modifier.doIt();
    logError("Error Deleting Nodes", done);
    return failed(done) ? done : firstFailure;
}
