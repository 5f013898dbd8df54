#ifndef DENDRINE_TREE_LINKS_H
#define DENDRINE_TREE_LINKS_H
// Helpers shared by the link operations of the node-tree library (not part
// of its public interface). A link is a connection from a single plug of the
// lower node into one element of an array plug of the upper node.

#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>

// The highest logical index a link may take: the highest that the host's
// index listings (getExistingArrayAttributeIndices fills an MIntArray of
// signed ints) and its scene files can hold.
const unsigned int kHighestLinkIndex = 2147483647u;

// The logical index a new link goes to: one past the highest existing
// element, 0 when there is none. Unlike numElements(), this never lands on
// an occupied element once the indices have a gap (a cut link whose element
// was dropped when the scene was saved and opened again). When the highest
// element already sits at kHighestLinkIndex there is no index left: writes
// an error line and returns kFailure instead of wrapping around to 0.
MStatus nextLinkIndex(MPlug& array, unsigned int& index);

// Appends the source node of every connection into the elements of `array`,
// element by element in ascending logical order. Each element is fetched by
// its logical index, so elements past a gap are not skipped. With
// `logPlugNames` every element's partial name is written as it is visited.
void appendLinkedSources(MPlug& array, MObjectArray& nodes, bool logPlugNames);

// The plug of `node` for `attribute`, without a findPlug call: for
// internal walks whose host calls should not show up among those of the
// operation that runs them.
MPlug plugOf(const MObject& node, const MObject& attribute);

// kSuccess when the parent link plug `toParent` feeds nothing yet. An
// element has one parent, be it a document or an element: otherwise writes
// the error line "Node has already a connection to Parent" and returns
// kFailure.
MStatus refuseSecondParent(const MPlug& toParent);

// What a link operation answers once its connect was queued and its doIt
// run (each already logged): doIt's failure when it failed, else the
// connect's, so a link the host never queued (no slot, no plug) is not
// reported as made just because an empty doIt succeeded.
MStatus linkOutcome(const MStatus& connect, const MStatus& doIt);

// Deletes a node that a creation function made but cannot hand back (a
// later step of the creation threw): best effort, never throws, so that a
// creation either returns its node or leaves nothing behind.
void discardCreatedNode(const MObject& node) noexcept;

#endif
