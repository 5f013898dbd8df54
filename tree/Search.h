#ifndef DENDRINE_TREE_SEARCH_H
#define DENDRINE_TREE_SEARCH_H
// Narrowing a node set to the elements whose XML name or value equals a
// string exactly (case, blanks and all). `matches` is cleared first.

#include <maya/MObjectArray.h>
#include <maya/MString.h>
#include <maya/MStatus.h>

MStatus filterByElementName(MObjectArray nodes, MString name, MObjectArray& matches);
MStatus filterByElementValue(MObjectArray nodes, MString value, MObjectArray& matches);

#endif
