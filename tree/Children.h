#ifndef DENDRINE_TREE_CHILDREN_H
#define DENDRINE_TREE_CHILDREN_H
// Child links between elements, and the walks below an element or document.

#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MStatus.h>
#include <maya/MDGModifier.h>

// Links `child` as the next child of `parent`; refuses a child that has a
// parent already and a link that would make a cycle. Runs modifier.doIt().
MStatus addChild(MObject parent, MObject child, MDGModifier& modifier);
// `children` / `names` are cleared first; children in link order.
MStatus getChildNodes(MObject element, MObjectArray& children);
MStatus getChildNames(MObject element, MStringArray& names);
MStatus isChildNamed(MObject element, MString childName, bool& isChild);
MStatus removeChild(MObject parent, MDGModifier& modifier, MString childName);
MStatus removeAllChildren(MObject parent, MDGModifier& modifier);
// Append every element below, post-order (children before their parent).
MStatus getAllDescendants(MObject element, MObjectArray& descendants);
MStatus getAllDocumentDescendants(MObject document, MObjectArray& descendants);

#endif
