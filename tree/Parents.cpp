#include "tree/Parents.h"
#include "log/Log.h"
#include "nodes/XMLElementNode.h"
#include "tree/Lookup.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

namespace {

MPlug toParentPlug(const MObject& element)
{
    MFnDependencyNode fn(element);
    return fn.findPlug(XMLElementNode::toParent, false);
}

// Appends the node of every plug the element's parent link feeds; the last
// append's status is the result.
MStatus appendParentsOf(const MPlugArray& destinations, MObjectArray& parents)
{
    MStatus status = MS::kSuccess;
    for (unsigned int i = 0; i < destinations.length(); ++i) {
        logLine("Iterating ParentPlugs");
        logLine(destinations[i].partialName(true, true));
        MObject parent = destinations[i].node();
        if (!isElementNode(parent))
            logLine("Element ist not an XML Node");
        status = parents.append(parent);
        logError("Error Append", status);
    }
    return status;
}

// Whether a non-empty `parentName` names one of the element's parents;
// the status says whether that could be told.
MStatus checkParentGuard(const MObject& element, const MString& parentName, bool& allowed)
{
    allowed = true;
    if (parentName.length() == 0) {
        logLine("ParentName String is Empty");
        return MS::kSuccess;
    }
    logLine("the Length is != 0");
    MStatus status = isParentNamed(element, parentName, allowed);
    if (status != MS::kSuccess) {
        logError("Error on Is XML Parent", status,
                 ErrorLine::EvenNotFound | ErrorLine::BlankLineAfter);
        allowed = false;
    }
    return status;
}

}  // namespace

MStatus getParentNodes(MObject element, MObjectArray& parents)
{
    MStatus status = MS::kSuccess;
    parents.clear();
    if (!isElementNode(element))
        return MS::kInvalidParameter;
    MPlug toParent = toParentPlug(element);
    if (!toParent.isNetworked()) {
        logLine("there are No Parents");
    } else {
        MPlugArray destinations;
        if (!toParent.connectedTo(destinations, false, true, &status)) {
            logLine("is Not Connected");
        } else {
            logLine("is Connected");
            if (status != MS::kSuccess) {
                logError("Error get Connected Nodes", status, ErrorLine::BlankLineAfter);
                return status;
            }
            status = appendParentsOf(destinations, parents);
        }
    }
    logLine(" # Element in ParentArray");
    logNumber(parents.length());
    return status;
}

MStatus getParentNames(MObject element, MStringArray& names)
{
    MObjectArray parents;
    MStatus status = getParentNodes(element, parents);
    if (status != MS::kSuccess) {
        logError("Error Get Parent", status);
        return status;
    }
    logLine("Parent Array Size is");
    logNumber(parents.length());
    for (unsigned int i = 0; i < parents.length(); ++i) {
        MFnDependencyNode fn(parents[i]);
        names.append(fn.name());
    }
    return MS::kSuccess;
}

MStatus isParentNamed(MObject element, MString parentName, bool& found)
{
    found = false;
    if (!isElementNode(element))
        return MS::kInvalidParameter;
    MStringArray names;
    MStatus status = getParentNames(element, names);
    if (status != MS::kSuccess) {
        logError("Error Get ParentNames", status,
                 ErrorLine::EvenNotFound | ErrorLine::BlankLineAfter);
        return status;
    }
    for (unsigned int i = 0; i < names.length(); ++i) {
        if (names[i] == parentName)
            found = true;
    }
    return MS::kSuccess;
}

MStatus removeParent(MObject element, MDGModifier& modifier, MString parentName)
{
    logLine("remove Parent Start");
    if (!isElementNode(element)) {
        logLine("is Not a valid Node");
        return MS::kInvalidParameter;
    }
    bool allowed = false;
    MStatus status = checkParentGuard(element, parentName, allowed);
    if (status != MS::kSuccess)
        return status;
    if (!allowed)
        return MS::kInvalidParameter;

    MPlug toParent = toParentPlug(element);
    if (!toParent.isNetworked())
        return MS::kInvalidParameter;
    MPlugArray destinations;
    if (toParent.connectedTo(destinations, false, true, &status)) {
        logError("Error get Connectors", status);
        for (unsigned int i = 0; i < destinations.length(); ++i)
            logError("Error Disconnecting Nodes", modifier.disconnect(toParent, destinations[i]));
    }
    return modifier.doIt();
}
