#ifndef DENDRINE_TREE_PARENTS_H
#define DENDRINE_TREE_PARENTS_H
// An element's parent links, read upwards and cut.

#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MStatus.h>
#include <maya/MDGModifier.h>

// `parents` is cleared first.
MStatus getParentNodes(MObject element, MObjectArray& parents);
// Appends to `names`.
MStatus getParentNames(MObject element, MStringArray& names);
MStatus isParentNamed(MObject element, MString parentName, bool& found);
// Cuts every parent link; a non-empty `parentName` only guards the cut.
MStatus removeParent(MObject element, MDGModifier& modifier, MString parentName);

#endif
