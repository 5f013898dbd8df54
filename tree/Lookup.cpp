#include "tree/Lookup.h"
#include "log/Log.h"
#include "nodes/XmlTypeIds.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MSelectionList.h>

#include <vector>

namespace {

// One saved selection per save not yet restored, innermost last, so that
// nested saves (a lookup inside a listing) each bring back their own.
std::vector<MSelectionList>& savedSelections()
{
    static std::vector<MSelectionList> saved;
    return saved;
}

bool hasTypeId(const MObject& node, const MTypeId& id)
{
    return MFnDependencyNode(node).typeId() == id;
}

using KindTest = bool (*)(MObject);
using Lookup = bool (*)(MString, MObject&);

// Selects `name` alone and answers whether exactly one node came out and
// has the kind; that node goes to `node` whatever its kind. A select that
// fails (no node has that name) answers false at once: the host leaves the
// selection as it was then, and it must never answer for the name.
bool findNodeByName(const MString& name, MObject& node, KindTest hasKind)
{
    saveActiveSelection();
    bool found = false;
    if (MGlobal::selectByName(name, MGlobal::kReplaceList) != MS::kSuccess) {
        restoreActiveSelection();
        return found;
    }
    MSelectionList selected;
    MGlobal::getActiveSelectionList(selected);
    if (selected.length() == 1) {
        MObject selectedNode;
        if (selected.getDependNode(0, selectedNode) == MS::kSuccess) {
            node = selectedNode;
            found = hasKind(node);
        }
    }
    restoreActiveSelection();
    return found;
}

// Every node of the scene that `lookup` accepts, in "ls -dep" order.
MStatus listAllNodesOfKind(MObjectArray& nodes, Lookup lookup)
{
    saveActiveSelection();
    MGlobal::clearSelectionList();
    MStringArray names;
    MStatus status = MGlobal::executeCommand("ls -dep", names, false, false);
    logError("Error Executing Command", status);
    logNames(names);
    nodes.clear();
    for (unsigned int i = 0; i < names.length(); ++i) {
        MObject node;
        if (lookup(names[i], node))
            nodes.append(node);
    }
    restoreActiveSelection();
    return MS::kSuccess;
}

}  // namespace

bool isElementNode(MObject node)
{
    return hasTypeId(node, kXmlElementId);
}

bool isDocumentNode(MObject node)
{
    return hasTypeId(node, kXmlDocumentId);
}

bool isAttributeNode(MObject node)
{
    return hasTypeId(node, kXmlElementAttributeId);
}

bool isElementFn(const MFnDependencyNode& fn)
{
    return fn.typeId() == kXmlElementId;
}

bool isAttributeFn(const MFnDependencyNode& fn)
{
    return fn.typeId() == kXmlElementAttributeId;
}

bool findElementNodeByName(MString name, MObject& node)
{
    return findNodeByName(name, node, isElementNode);
}

bool findDocumentNodeByName(MString name, MObject& node)
{
    return findNodeByName(name, node, isDocumentNode);
}

bool findAttributeNodeByName(MString name, MObject& node)
{
    return findNodeByName(name, node, isAttributeNode);
}

MStatus saveActiveSelection()
{
    savedSelections().emplace_back();
    MGlobal::getActiveSelectionList(savedSelections().back());
    return MS::kSuccess;
}

MStatus restoreActiveSelection()
{
    std::vector<MSelectionList>& saved = savedSelections();
    if (saved.empty())
        return MS::kSuccess;  // nothing saved: leave the selection alone
    MGlobal::setActiveSelectionList(saved.back(), MGlobal::kReplaceList);
    saved.pop_back();
    return MS::kSuccess;
}

MStatus listAllElementNodes(MObjectArray& nodes)
{
    return listAllNodesOfKind(nodes, findElementNodeByName);
}

MStatus listAllDocumentNodes(MObjectArray& nodes)
{
    return listAllNodesOfKind(nodes, findDocumentNodeByName);
}

MStatus getNodeNames(MObjectArray nodes, MStringArray& names)
{
    for (unsigned int i = 0; i < nodes.length(); ++i) {
        MStatus status;
        MFnDependencyNode fn(nodes[i], &status);
        if (status == MS::kSuccess)
            names.append(fn.name());
    }
    return MS::kSuccess;
}
