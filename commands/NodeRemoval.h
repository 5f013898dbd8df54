#ifndef DENDRINE_COMMANDS_NODE_REMOVAL_H
#define DENDRINE_COMMANDS_NODE_REMOVAL_H
// Deleting unlinked parts of an XML tree from the scene, for the removal
// flags of the XmlElement command. The node-tree library itself never
// deletes a node; only these helpers do, and only through the caller's
// modifier.

#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MDGModifier.h>
#include <maya/MStatus.h>

#include <set>
#include <string>

// Scene nodes, each held once, in insertion order. Handles have no order or
// hash, so nodes are told apart by their scene names, which are unique.
// Not for nodes that may be renamed while the set is in use.
class NodeSet
{
public:
    // False when the node is held already or has no dependency-node name.
    bool insert(MObject node);
    bool contains(MObject node) const;
    const MObjectArray& nodes() const { return members; }

private:
    static std::string keyOf(MObject node);

    MObjectArray members;
    std::set<std::string> keys;
};

// Adds `root` and every XmlElement below it, parents before children. Walks
// with a work list, so deep trees cannot exhaust the stack, and skips nodes
// held already, so hand-made cycles and shared children end the walk.
MStatus collectSubtree(MObject root, NodeSet& elements);

// True when an XmlElement outside `ignored` still links the attribute node.
// When the links cannot be read the answer is true, so the node is kept.
bool isLinkedByOtherElement(MObject attributeNode, const NodeSet& ignored);

// Adds each attribute node of `elements` that no element outside `elements`
// links.
MStatus collectOrphanedAttributes(const NodeSet& elements, NodeSet& attributeNodes);

// Deletes the element subtrees below `roots`, with their orphaned attribute
// nodes; returns the deletion's status.
MStatus deleteSubtrees(const MObjectArray& roots, MDGModifier& modifier);

// Queues deleteNode for each node, then runs doIt (not when there is none).
// Returns doIt's status when it failed, else the first failed queue call's.
MStatus deleteNodes(const MObjectArray& nodes, MDGModifier& modifier);

#endif
