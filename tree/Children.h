#ifndef DENDRINE_TREE_CHILDREN_H
#define DENDRINE_TREE_CHILDREN_H
// Child links between elements, and the walks below an element or document.

#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MStatus.h>
#include <maya/MDGModifier.h>

// Links `child` as the next child of `parent`; runs modifier.doIt(). Before
// anything changes, refuses with kFailure and an error line: a child that
// has a parent already (an element has one parent), a link that would close
// a loop, a child with a loop below it, a parent without a free link index.
MStatus addChild(MObject parent, MObject child, MDGModifier& modifier);
// The checks of addChild on the child alone (kinds, no parent yet, no loop
// below), and that `ancestor` (the node the new parent will hang under, or a
// null object) is neither the child nor below it: for callers that must
// check before they create the parent.
MStatus checkChildLinkable(MObject child, MObject ancestor);
// Walks below `element` without logging the listings: kSuccess when no loop
// is there, else kFailure, an error line and `problem` naming a node on the
// loop. For callers that walk the tree their own way and must tell a loop
// from a merely deep tree; the walks below already check as they go.
MStatus checkNoLoopBelow(MObject element, MString& problem);
// `children` / `names` are cleared first; children in link order.
MStatus getChildNodes(MObject element, MObjectArray& children);
MStatus getChildNames(MObject element, MStringArray& names);
MStatus isChildNamed(MObject element, MString childName, bool& isChild);
// Cuts the link of the named child; a failing doIt is an error line and the
// result.
MStatus removeChild(MObject parent, MDGModifier& modifier, MString childName);
// Cuts every child link; a host failure of any cut decides the result,
// otherwise the last removeChild's status does.
MStatus removeAllChildren(MObject parent, MDGModifier& modifier);
// Append every element below, post-order (children before their parent),
// each once. A loop ends the walk with kFailure and an error line naming a
// node on it; the forms with `problem` also hand that text to the caller.
MStatus getAllDescendants(MObject element, MObjectArray& descendants);
MStatus getAllDescendants(MObject element, MObjectArray& descendants, MString& problem);
MStatus getAllDocumentDescendants(MObject document, MObjectArray& descendants);
MStatus getAllDocumentDescendants(MObject document, MObjectArray& descendants, MString& problem);

#endif
