#ifndef DENDRINE_COMMANDS_NODE_REMOVAL_H
#define DENDRINE_COMMANDS_NODE_REMOVAL_H
// What the removal flags of the XmlElement command delete, and the deletion
// itself. The node-tree library never deletes a node; only these helpers
// do, and only through the caller's modifier.
//
// The policy: a removal deletes the unlinked elements with everything below
// them, except what is still linked from outside the removed part (an
// element with a second parent elsewhere stays, with its own subtree), and
// the attribute nodes that no element left in the scene links. A part that
// holds a loop is refused before anything changes.

#include "tree/NodeSet.h"

#include <maya/MDGModifier.h>
#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

// Adds every root and every XmlElement below it to `elements`, parents
// before children. Call it before unlinking anything: on a loop (or an
// unreadable node) it returns kFailure with `problem` saying where, and the
// caller changes nothing.
MStatus collectSubtrees(const MObjectArray& roots, NodeSet& elements, MString& problem);

// Once the roots are unlinked: deletes the elements of `elements` that no
// node outside the removed part links any more, with the attribute nodes
// only they held. Returns the deletion's status.
MStatus deleteUnlinkedSubtrees(const NodeSet& elements, MDGModifier& modifier);

// True when an XmlElement outside `ignored` still links the attribute node.
// When the links cannot be read the answer is true, so the node is kept.
bool isLinkedByOtherElement(MObject attributeNode, const NodeSet& ignored);

// Queues deleteNode for each node, then runs doIt (not when there is none).
// Returns doIt's status when it failed, else the first failed queue call's.
MStatus deleteNodes(const MObjectArray& nodes, MDGModifier& modifier);

#endif
