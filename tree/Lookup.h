#ifndef DENDRINE_TREE_LOOKUP_H
#define DENDRINE_TREE_LOOKUP_H
// Telling XML nodes apart, finding them by host node name, and listing them.
// Lookups borrow the host's active selection and always give it back.

#include <maya/MFnDependencyNode.h>
#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MStatus.h>

// Kind tests: by type id only.
bool isElementNode(MObject node);
bool isDocumentNode(MObject node);
bool isAttributeNode(MObject node);
// The same tests on a function set the caller goes on to use: one
// attachment instead of two.
bool isElementFn(const MFnDependencyNode& fn);
bool isAttributeFn(const MFnDependencyNode& fn);

// True when `name` selects exactly one node and it has the kind. With
// exactly one match of another kind, `node` still receives that node: test
// the result, never `node` alone. A name that selects nothing answers false
// and leaves `node` alone, whatever was selected before.
bool findElementNodeByName(MString name, MObject& node);
bool findDocumentNodeByName(MString name, MObject& node);
bool findAttributeNodeByName(MString name, MObject& node);

// Selection guard. Saves nest: each restore brings back its own save.
MStatus saveActiveSelection();
MStatus restoreActiveSelection();

// Every element (document) node of the scene, in "ls -dep" order; `nodes`
// is cleared first. Costs one lookup per scene node: not for inner loops.
MStatus listAllElementNodes(MObjectArray& nodes);
MStatus listAllDocumentNodes(MObjectArray& nodes);

// Appends the host names of `nodes` to `names`.
MStatus getNodeNames(MObjectArray nodes, MStringArray& names);

#endif
