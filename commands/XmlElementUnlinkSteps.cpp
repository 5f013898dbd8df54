// The XmlElement steps that unlink (-dp, -dc, -dac, -da, -daa) and those
// that unlink and then delete (-rc, -rac, -ra, -raa). What a removal may
// delete is decided in commands/NodeRemoval.

#include "commands/XmlElementCmd.h"

#include "commands/NodeRemoval.h"
#include "log/Log.h"
#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Lookup.h"
#include "tree/Parents.h"

namespace {

const char* const kRemovalFailedMessage = "Error removing the disconnected Nodes from the Scene";

// The attribute nodes of `candidates` that no element links any more.
MObjectArray unlinkedAttributeNodes(const MObjectArray& candidates)
{
    const NodeSet noElements;
    NodeSet unlinked;
    for (unsigned int i = 0; i < candidates.length(); ++i) {
        MObject node = candidates[i];
        if (isAttributeNode(node) && !unlinked.contains(node)
            && !isLinkedByOtherElement(node, noElements)) {
            unlinked.insert(node);
        }
    }
    return unlinked.nodes();
}

}  // namespace

XmlElementCmd::StepResult XmlElementCmd::disconnectParentStep()
{
    const FlagValue& flag = request.disconnectParent;
    if (!flag.set)
        return std::nullopt;
    logLine("Remove Parent Flag Raised");
    logLine("provided Name");
    logLine(flag.read ? flag.text : MString());
    logLine("provided Name end");
    MStatus status;
    if (flag.read) {
        logLine("with Called");
        status = removeParent(element, modifier, flag.text);
    } else {
        // No name (query mode reads none): any parent is cut.
        logLine("without Called");
        const bool named = request.parent.set && !request.isQuery();
        status = removeParent(element, modifier, named ? request.parent.text : MString());
    }
    if (status == MS::kSuccess)
        setResult("Disconnected from parent");
    else if (status == MS::kInvalidParameter)
        displayError("Node has no Parent, or provided Name is not Parent");
    return status;
}

MStatus XmlElementCmd::unlinkNamedChild(const FlagValue& flag, bool& refused)
{
    logLine(" Remove Child Flag is Raised");
    refused = flag.text.length() == 0;
    if (refused) {
        displayError("No ChildName given please provide Name of childNode or use RemoveAllChildren Flag");
        return MS::kSuccess;
    }
    MStatus status = removeChild(element, modifier, flag.text);
    if (status == MS::kInvalidParameter)
        displayError("Problem occured, Node has no Childs or provided Name is wrong");
    return status;
}

XmlElementCmd::StepResult XmlElementCmd::disconnectChildStep()
{
    if (!request.disconnectChild.set)
        return std::nullopt;
    bool refused = false;
    MStatus status = unlinkNamedChild(request.disconnectChild, refused);
    if (status == MS::kSuccess && !refused)
        setResult(true);
    return status;
}

MStatus XmlElementCmd::unlinkAllChildren(MStringArray& names)
{
    logLine("REmoveAllChildFlag Raised");
    getChildNames(element, names);
    MStatus status = removeAllChildren(element, modifier);
    if (status == MS::kInvalidParameter)
        displayError("selected node has no children");
    return status;
}

XmlElementCmd::StepResult XmlElementCmd::disconnectAllChildrenStep()
{
    if (!request.disconnectAllChildren)
        return std::nullopt;
    MStringArray names;
    MStatus status = unlinkAllChildren(names);
    if (status == MS::kSuccess)
        setResult(names);
    return status;
}

MStatus XmlElementCmd::unlinkNamedAttribute(const FlagValue& flag, bool& refused)
{
    refused = flag.text.length() == 0;
    if (refused) {
        displayError("No attribute nodename given ");
        return MS::kSuccess;
    }
    logLine("Call Remove Attribute");
    MStatus status = disconnectAttribute(element, flag.text, modifier);
    if (status == MS::kInvalidParameter)
        displayError("given node has no Attributes or invalid Attribute Name");
    return status;
}

XmlElementCmd::StepResult XmlElementCmd::disconnectAttributeStep()
{
    if (!request.disconnectAttribute.set)
        return std::nullopt;
    bool refused = false;
    MStatus status = unlinkNamedAttribute(request.disconnectAttribute, refused);
    if (status == MS::kSuccess && !refused)
        setResult(true);
    return status;
}

MStatus XmlElementCmd::unlinkAllAttributes(MStringArray& names, bool& refused)
{
    MStatus listed = getAttributeNames(element, names);
    refused = failed(listed) || names.length() == 0;
    if (refused) {
        displayError("Given Node has No Attributes");
        return MS::kSuccess;
    }
    MStatus status = removeAllAttributes(element, modifier);
    if (status == MS::kInvalidParameter)
        displayError("Given Node has No Attributes");
    return status;
}

XmlElementCmd::StepResult XmlElementCmd::disconnectAllAttributesStep()
{
    if (!request.disconnectAllAttributes)
        return std::nullopt;
    MStringArray names;
    bool refused = false;
    MStatus status = unlinkAllAttributes(names, refused);
    if (status == MS::kSuccess && !refused)
        setResult(names);
    return status;
}

XmlElementCmd::StepResult XmlElementCmd::collectRemoval(const MObjectArray& roots,
                                                        NodeSet& elements)
{
    MString problem;
    MStatus status = collectSubtrees(roots, elements, problem);
    if (status == MS::kSuccess)
        return std::nullopt;
    displayError(problem.length() != 0 ? problem : MString(kRemovalFailedMessage));
    return status;
}

bool XmlElementCmd::deletionDone(const MStatus& deleted)
{
    if (!failed(deleted))
        return true;
    displayError(kRemovalFailedMessage);
    return false;
}

XmlElementCmd::StepResult XmlElementCmd::removeChildStep()
{
    const FlagValue& flag = request.removeChild;
    if (!flag.set)
        return std::nullopt;
    // Checked before the unlink: a loop below refuses the whole removal.
    NodeSet elements;
    MObject child;
    if (flag.text.length() != 0 && findElementNodeByName(flag.text, child)) {
        if (StepResult refused = collectRemoval(MObjectArray(1, child), elements))
            return refused;
    }
    bool refused = false;
    MStatus status = unlinkNamedChild(flag, refused);
    if (status != MS::kSuccess || refused)
        return status;
    status = deleteUnlinkedSubtrees(elements, modifier);
    if (deletionDone(status))
        setResult(true);
    return status;
}

XmlElementCmd::StepResult XmlElementCmd::removeAllChildrenStep()
{
    if (!request.removeAllChildren)
        return std::nullopt;
    MObjectArray children;
    getChildNodes(element, children);
    NodeSet elements;
    if (StepResult refused = collectRemoval(children, elements))
        return refused;
    MStringArray names;
    MStatus status = unlinkAllChildren(names);
    if (status != MS::kSuccess)
        return status;
    // A child whose unlink failed is still linked, so it stays.
    status = deleteUnlinkedSubtrees(elements, modifier);
    if (deletionDone(status))
        setResult(names);
    return status;
}

XmlElementCmd::StepResult XmlElementCmd::removeAttributeStep()
{
    const FlagValue& flag = request.removeAttribute;
    if (!flag.set)
        return std::nullopt;
    bool refused = false;
    MStatus status = unlinkNamedAttribute(flag, refused);
    if (status != MS::kSuccess || refused)
        return status;
    MObjectArray candidates;
    MObject node;
    if (findAttributeNodeByName(flag.text, node))
        candidates.append(node);
    status = deleteNodes(unlinkedAttributeNodes(candidates), modifier);
    if (deletionDone(status))
        setResult(true);
    return status;
}

XmlElementCmd::StepResult XmlElementCmd::removeAllAttributesStep()
{
    if (!request.removeAllAttributes)
        return std::nullopt;
    MObjectArray before;
    getAttributeNodes(element, before);
    MStringArray names;
    bool refused = false;
    MStatus status = unlinkAllAttributes(names, refused);
    if (status != MS::kSuccess || refused)
        return status;
    status = deleteNodes(unlinkedAttributeNodes(before), modifier);
    if (deletionDone(status))
        setResult(names);
    return status;
}
