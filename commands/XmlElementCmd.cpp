#include "commands/XmlElementCmd.h"

#include "commands/NodeRemoval.h"
#include "nodes/XmlTypeIds.h"
#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Document.h"
#include "tree/Log.h"
#include "tree/Lookup.h"
#include "tree/Parents.h"

#include <maya/MFn.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MItSelectionList.h>
#include <maya/MPlug.h>
#include <maya/MSelectionList.h>

namespace {

const char* const kHelpFlag = "-h";
const char* const kHelpFlagLong = "-help";
const char* const kNameFlag = "-n";
const char* const kNameFlagLong = "-name";
const char* const kXmlNameFlag = "-xn";
const char* const kXmlNameFlagLong = "-xname";
const char* const kXmlValueFlag = "-xv";
const char* const kXmlValueFlagLong = "-xvalue";
const char* const kChildFlag = "-ch";
const char* const kChildFlagLong = "-child";
const char* const kDisconnectChildFlag = "-dc";
const char* const kDisconnectChildFlagLong = "-disconnectchild";
const char* const kDisconnectAllChildFlag = "-dac";
const char* const kDisconnectAllChildFlagLong = "-disconnectallchild";
const char* const kRemoveChildFlag = "-rc";
const char* const kRemoveChildFlagLong = "-removechild";
const char* const kRemoveAllChildFlag = "-rac";
const char* const kRemoveAllChildFlagLong = "-removeallchild";
const char* const kParentFlag = "-p";
const char* const kParentFlagLong = "-parent";
const char* const kDisconnectParentFlag = "-dp";
const char* const kDisconnectParentFlagLong = "-disconnectparent";
const char* const kAttributeFlag = "-at";
const char* const kAttributeFlagLong = "-attribute";
const char* const kDisconnectAttributeFlag = "-da";
const char* const kDisconnectAttributeFlagLong = "-disconnectattribute";
const char* const kDisconnectAllAttributeFlag = "-daa";
const char* const kDisconnectAllAttributeFlagLong = "-disconnectallattribute";
const char* const kRemoveAttributeFlag = "-ra";
const char* const kRemoveAttributeFlagLong = "-removeattribute";
const char* const kRemoveAllAttributeFlag = "-raa";
const char* const kRemoveAllAttributeFlagLong = "-removeallattribute";

// The flags that act on the selected element in every mode.
const char* const kSelectionFlags[] = {
    kDisconnectParentFlag, kDisconnectChildFlag, kDisconnectAllChildFlag,
    kDisconnectAttributeFlag, kDisconnectAllAttributeFlag, kRemoveChildFlag,
    kRemoveAllChildFlag, kRemoveAttributeFlag, kRemoveAllAttributeFlag,
};

const char* const kHelpText =
    " XmlElement -\n"
    "Use this command to create/modify/query XML Element Nodes in Maya\n"
    "Commands :\n"
    "\t -h/-help\t: displays this text\n"
    "\t -n/-name\t: Name of the Xml Node\n"
    "\t -xn/-xname\t: Xml Element Name  (XML-Tag Name)\n"
    "\t -xv/-xvalue\t: Xml Element Value XML \n"
    "\t -ch/-child\t: Adds / Querys the children of the actual selected node \n"
    "\t -dch/-disconnectchild\t: disconnects the specified child of the actual seleced node \n"
    "\t -dach/-disconnectallchild\t: disconnects all children of the actual seleced node \n"
    "\t -rc/-removechild\t: disconnects & removes the specified child of the actual seleced node\t\n"
    "\t -rac/-removeallchild\t: disconnects & removes all children of the actual seleced node\n"
    "\t -p/-parent\t: Query's / Edits the Parent of the actual selected node \n"
    "\t -rp/-rparent\t: disconnects the  actual selected node from its parent (you may provide the parents name)\n"
    "\t -at/-attribute\t: Adds / Querys the attributes of the actual selected node\n"
    "\t -da/-disconnectattribute\t: disconnects the specified attribute from the actual selected node\n"
    "\t -daa/-disconnectallattribute\t: disconnects all attribute from the actual selected node\n";

const char* const kRemovalFailedMessage = "Error removing the disconnected Nodes from the Scene";

bool needsSelectedElement(const MArgDatabase& args)
{
    if (args.isEdit() || args.isQuery()) {
        return true;
    }
    for (const char* flag : kSelectionFlags) {
        if (args.isFlagSet(flag)) {
            return true;
        }
    }
    return false;
}

// The element's "XmlName" or "XmlValue" string; empty when unreadable.
MString readElementPlug(MObject element, const char* plugName)
{
    MString value;
    MStatus status;
    MFnDependencyNode fn(element, &status);
    MPlug plug = fn.findPlug(plugName, false, &status);
    if (!failed(status)) {
        plug.getValue(value);
    }
    return value;
}

// Writes the element's "XmlName" or "XmlValue"; the first failing status.
MStatus writeElementPlug(MObject element, const char* plugName, const MString& value)
{
    MStatus status;
    MFnDependencyNode fn(element, &status);
    if (failed(status)) {
        return status;
    }
    MPlug plug = fn.findPlug(plugName, false, &status);
    if (failed(status)) {
        return status;
    }
    return plug.setValue(value);
}

// The nodes of `before` that `after` no longer holds, each once.
MObjectArray nodesGone(const MObjectArray& before, const MObjectArray& after)
{
    NodeSet remaining;
    for (unsigned int i = 0; i < after.length(); ++i) {
        remaining.insert(after[i]);
    }
    NodeSet gone;
    for (unsigned int i = 0; i < before.length(); ++i) {
        if (!remaining.contains(before[i])) {
            gone.insert(before[i]);
        }
    }
    return gone.nodes();
}

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

} // namespace

void* XmlElementCmd::creator()
{
    return new XmlElementCmd;
}

MSyntax XmlElementCmd::newSyntax()
{
    MSyntax syntax;
    syntax.enableEdit(true);
    syntax.enableQuery(true);
    syntax.addFlag(kHelpFlag, kHelpFlagLong);
    syntax.addFlag(kNameFlag, kNameFlagLong, MSyntax::kString);
    syntax.addFlag(kXmlNameFlag, kXmlNameFlagLong, MSyntax::kString);
    syntax.addFlag(kXmlValueFlag, kXmlValueFlagLong, MSyntax::kString);
    syntax.addFlag(kChildFlag, kChildFlagLong, MSyntax::kString);
    syntax.addFlag(kDisconnectChildFlag, kDisconnectChildFlagLong, MSyntax::kString);
    syntax.addFlag(kDisconnectAllChildFlag, kDisconnectAllChildFlagLong);
    syntax.addFlag(kRemoveChildFlag, kRemoveChildFlagLong, MSyntax::kString);
    syntax.addFlag(kRemoveAllChildFlag, kRemoveAllChildFlagLong);
    syntax.addFlag(kParentFlag, kParentFlagLong, MSyntax::kString);
    syntax.addFlag(kDisconnectParentFlag, kDisconnectParentFlagLong, MSyntax::kString);
    syntax.addFlag(kAttributeFlag, kAttributeFlagLong, MSyntax::kString);
    syntax.addFlag(kDisconnectAttributeFlag, kDisconnectAttributeFlagLong, MSyntax::kString);
    syntax.addFlag(kDisconnectAllAttributeFlag, kDisconnectAllAttributeFlagLong);
    syntax.addFlag(kRemoveAttributeFlag, kRemoveAttributeFlagLong, MSyntax::kString);
    syntax.addFlag(kRemoveAllAttributeFlag, kRemoveAllAttributeFlagLong);
    return syntax;
}

MStatus XmlElementCmd::doIt(const MArgList& argList)
{
    // The parse status is not looked at: whatever flags were understood act.
    MArgDatabase args(syntax(), argList);
    nodeName = xmlName = xmlValue = "";
    childName = parentName = attributeName = "";

    // The order decides what several flags given together do.
    static const Step steps[] = {
        &XmlElementCmd::helpStep,
        &XmlElementCmd::selectionStep,
        &XmlElementCmd::nodeNameStep,
        &XmlElementCmd::xmlNameStep,
        &XmlElementCmd::xmlValueStep,
        &XmlElementCmd::childStep,
        &XmlElementCmd::parentStep,
        &XmlElementCmd::attributeStep,
        &XmlElementCmd::disconnectParentStep,
        &XmlElementCmd::disconnectChildStep,
        &XmlElementCmd::disconnectAllChildrenStep,
        &XmlElementCmd::disconnectAttributeStep,
        &XmlElementCmd::disconnectAllAttributesStep,
        &XmlElementCmd::removeChildStep,
        &XmlElementCmd::removeAllChildrenStep,
        &XmlElementCmd::removeAttributeStep,
        &XmlElementCmd::removeAllAttributesStep,
        &XmlElementCmd::editOrQueryStep,
        &XmlElementCmd::createStep,
    };
    MStatus status = MS::kSuccess;
    for (Step step : steps) {
        if ((this->*step)(args, status)) {
            return status;
        }
    }
    return status;
}

MStatus XmlElementCmd::undoIt()
{
    return MS::kSuccess;
}

MStatus XmlElementCmd::redoIt()
{
    return MS::kSuccess;
}

MStatus XmlElementCmd::getSelectedElement(bool& found)
{
    element = MObject();
    found = false;
    MSelectionList selection;
    MGlobal::getActiveSelectionList(selection);
    for (MItSelectionList it(selection, MFn::kDependencyNode); !it.isDone(); it.next()) {
        MObject item;
        if (it.getDependNode(item) != MS::kSuccess) {
            continue;
        }
        logLine(item.apiTypeStr());
        MStatus attached;
        MFnDependencyNode fn(item, &attached);
        if (attached == MS::kSuccess && fn.typeId() == kXmlElementId) {
            element = item;
            found = true;
        }
    }
    return MS::kSuccess;
}

MString XmlElementCmd::formatNameList(MStringArray names)
{
    MString text("[ ");
    for (unsigned int i = 0; i < names.length(); ++i) {
        text += names[i];
        text += ", ";
    }
    text += " ]";
    return text;
}

bool XmlElementCmd::helpStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kHelpFlag)) {
        return false;
    }
    setResult(kHelpText);
    status = MS::kSuccess;
    return true;
}

bool XmlElementCmd::selectionStep(const MArgDatabase& args, MStatus& status)
{
    if (!needsSelectedElement(args)) {
        return false;
    }
    bool found = false;
    getSelectedElement(found);
    if (found && isElementNode(element)) {
        return false;
    }
    displayError("No Element selected thats able to be edited or queryed");
    status = MS::kSuccess;
    return true;
}

bool XmlElementCmd::nodeNameStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kNameFlag)) {
        return false;
    }
    if (args.isQuery() || args.isEdit()) {
        displayError(args.isQuery() ? "Node Name is not Queryable" : "Node Name is not Editable");
        status = MS::kSuccess;
        return true;
    }
    args.getFlagArgument(kNameFlag, 0, nodeName);
    return false;
}

bool XmlElementCmd::xmlNameStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kXmlNameFlag)) {
        return false;
    }
    if (args.isEdit()) {
        args.getFlagArgument(kXmlNameFlag, 0, xmlName);
        logLine(xmlName);
        logError("Error SetValue XmlNodeName", writeElementPlug(element, "XmlName", xmlName));
        setResult("Set XmlName successfull");
    } else if (args.isQuery()) {
        setResult(readElementPlug(element, "XmlName"));
    } else {
        args.getFlagArgument(kXmlNameFlag, 0, xmlName);
        return false;
    }
    status = MS::kSuccess;
    return true;
}

bool XmlElementCmd::xmlValueStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kXmlValueFlag)) {
        return false;
    }
    if (args.isEdit()) {
        args.getFlagArgument(kXmlValueFlag, 0, xmlValue);
        writeElementPlug(element, "XmlValue", xmlValue);
        setResult("Set XmlValue successfull");
    } else if (args.isQuery()) {
        setResult(readElementPlug(element, "XmlValue"));
    } else {
        args.getFlagArgument(kXmlValueFlag, 0, xmlValue);
        return false;
    }
    status = MS::kSuccess;
    return true;
}

bool XmlElementCmd::childStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kChildFlag)) {
        return false;
    }
    logLine("Child Flag Raised");
    if (args.isQuery()) {
        logLine("is queried");
        MStringArray names;
        status = getChildNames(element, names);
        if (!failed(status)) {
            setResult(names);
            status = MS::kSuccess;
        }
        return true;
    }
    args.getFlagArgument(kChildFlag, 0, childName);
    if (!args.isEdit()) {
        return false;
    }
    status = editChild();
    return true;
}

MStatus XmlElementCmd::editChild()
{
    MObject child;
    if (!findElementNodeByName(childName, child)) {
        return MS::kInvalidParameter;
    }
    MStatus linked = addChild(element, child, modifier);
    if (logError("Error Adding Child to XML Node", linked)) {
        displayError("Error Adding Child to XML Node");
        return MS::kFailure;
    }
    setResult(true);
    return MS::kSuccess;
}

bool XmlElementCmd::parentStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kParentFlag)) {
        return false;
    }
    if (args.isQuery()) {
        MStringArray names;
        status = getParentNames(element, names);
        if (logError("Error get Parent Node", status)) {
            displayError("Error get Parent Names");
            return true;
        }
        logLine(formatNameList(names));
        setResult(names);
        status = MS::kSuccess;
        return true;
    }
    args.getFlagArgument(kParentFlag, 0, parentName);
    if (!args.isEdit()) {
        return false;
    }
    // A successful link goes on with the later flags.
    bool linked = false;
    status = editParent(linked);
    return !linked;
}

MStatus XmlElementCmd::editParent(bool& linked)
{
    MObject parent;
    MStatus status;
    const char* refusal = nullptr;
    if (findElementNodeByName(parentName, parent)) {
        status = addChild(parent, element, modifier);
        refusal = "Error adding Element as child to given Xml Element";
    } else if (findDocumentNodeByName(parentName, parent)) {
        status = addElementToDocument(parent, element, modifier);
        refusal = "Error adding Element as Child to Given Doc Element";
    } else {
        displayError("Error the given Element couldnt be an ParentNode");
        return MS::kInvalidParameter;
    }
    if (failed(status)) {
        displayError(status.errorString());
        displayError(refusal);
        return status;
    }
    linked = true;
    return status;
}

bool XmlElementCmd::attributeStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kAttributeFlag)) {
        return false;
    }
    if (args.isQuery()) {
        MStringArray names;
        status = getAttributeNames(element, names);
        if (logError("Error get XML Node", status)) {
            displayError("Error get Attribute Names");
            return true;
        }
        setResult(names);
        status = MS::kSuccess;
        return true;
    }
    args.getFlagArgument(kAttributeFlag, 0, attributeName);
    if (!args.isEdit()) {
        return false;
    }
    status = editAttribute();
    return true;
}

MStatus XmlElementCmd::editAttribute()
{
    MObject attributeNode;
    if (!findAttributeNodeByName(attributeName, attributeNode)) {
        displayError("The given AttributeName doesnt leads to an Vallid Attribute Node");
        return MS::kInvalidParameter;
    }
    MStatus linked = addAttribute(element, attributeNode, modifier);
    if (logError("Error adding Attribute to XML Node", linked)) {
        displayError("Error adding Attribute to XML Node");
        return MS::kFailure;
    }
    setResult("Added Attribute to Node");
    return MS::kSuccess;
}

bool XmlElementCmd::disconnectParentStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kDisconnectParentFlag)) {
        return false;
    }
    logLine("Remove Parent Flag Raised");
    MString name;
    MStatus read = args.getFlagArgument(kDisconnectParentFlag, 0, name);
    logLine("provided Name");
    logLine(name);
    logLine("provided Name end");
    if (read == MS::kSuccess) {
        logLine("with Called");
        status = removeParent(element, modifier, name);
    } else {
        // No name (query mode reads none): any parent is cut.
        logLine("without Called");
        status = removeParent(element, modifier, parentName);
    }
    if (status == MS::kSuccess) {
        setResult("Disconnected from parent");
    } else if (status == MS::kInvalidParameter) {
        displayError("Node has no Parent, or provided Name is not Parent");
    }
    return true;
}

bool XmlElementCmd::unlinkNamedChild(const MArgDatabase& args, const char* flag, MString& name,
                                     MStatus& status)
{
    logLine(" Remove Child Flag is Raised");
    args.getFlagArgument(flag, 0, name);
    if (name.length() == 0) {
        displayError("No ChildName given please provide Name of childNode or use RemoveAllChildren Flag");
        status = MS::kSuccess;
        return false;
    }
    status = removeChild(element, modifier, name);
    if (status == MS::kInvalidParameter) {
        displayError("Problem occured, Node has no Childs or provided Name is wrong");
    }
    return status == MS::kSuccess;
}

bool XmlElementCmd::disconnectChildStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kDisconnectChildFlag)) {
        return false;
    }
    MString name;
    if (unlinkNamedChild(args, kDisconnectChildFlag, name, status)) {
        setResult(true);
    }
    return true;
}

bool XmlElementCmd::unlinkAllChildren(MStringArray& names, MStatus& status)
{
    logLine("REmoveAllChildFlag Raised");
    getChildNames(element, names);
    status = removeAllChildren(element, modifier);
    if (status == MS::kInvalidParameter) {
        displayError("selected node has no children");
    }
    return status == MS::kSuccess;
}

bool XmlElementCmd::disconnectAllChildrenStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kDisconnectAllChildFlag)) {
        return false;
    }
    MStringArray names;
    if (unlinkAllChildren(names, status)) {
        setResult(names);
    }
    return true;
}

bool XmlElementCmd::unlinkNamedAttribute(const MArgDatabase& args, const char* flag, MString& name,
                                         MStatus& status)
{
    args.getFlagArgument(flag, 0, name);
    if (name.length() == 0) {
        displayError("No attribute nodename given ");
        status = MS::kSuccess;
        return false;
    }
    logLine("Call Remove Attribute");
    status = disconnectAttribute(element, name, modifier);
    if (status == MS::kInvalidParameter) {
        displayError("given node has no Attributes or invalid Attribute Name");
    }
    return status == MS::kSuccess;
}

bool XmlElementCmd::disconnectAttributeStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kDisconnectAttributeFlag)) {
        return false;
    }
    MString name;
    if (unlinkNamedAttribute(args, kDisconnectAttributeFlag, name, status)) {
        setResult(true);
    }
    return true;
}

bool XmlElementCmd::unlinkAllAttributes(MStringArray& names, MStatus& status)
{
    MStatus listed = getAttributeNames(element, names);
    if (failed(listed) || names.length() == 0) {
        displayError("Given Node has No Attributes");
        status = MS::kSuccess;
        return false;
    }
    status = removeAllAttributes(element, modifier);
    if (status == MS::kInvalidParameter) {
        displayError("Given Node has No Attributes");
    }
    return status == MS::kSuccess;
}

bool XmlElementCmd::disconnectAllAttributesStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kDisconnectAllAttributeFlag)) {
        return false;
    }
    MStringArray names;
    if (unlinkAllAttributes(names, status)) {
        setResult(names);
    }
    return true;
}

bool XmlElementCmd::removeChildStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kRemoveChildFlag)) {
        return false;
    }
    MString name;
    if (!unlinkNamedChild(args, kRemoveChildFlag, name, status)) {
        return true;
    }
    // Unlinking leaves the node in the scene, so its name still leads to it.
    MObject child;
    MObjectArray roots;
    if (findElementNodeByName(name, child)) {
        roots.append(child);
    }
    status = deleteSubtrees(roots, modifier);
    if (failed(status)) {
        displayError(kRemovalFailedMessage);
    } else {
        setResult(true);
    }
    return true;
}

bool XmlElementCmd::removeAllChildrenStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kRemoveAllChildFlag)) {
        return false;
    }
    MObjectArray before;
    getChildNodes(element, before);
    MStringArray names;
    if (!unlinkAllChildren(names, status)) {
        return true;
    }
    // A child whose unlink failed is still linked and stays.
    MObjectArray after;
    getChildNodes(element, after);
    status = deleteSubtrees(nodesGone(before, after), modifier);
    if (failed(status)) {
        displayError(kRemovalFailedMessage);
    } else {
        setResult(names);
    }
    return true;
}

bool XmlElementCmd::removeAttributeStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kRemoveAttributeFlag)) {
        return false;
    }
    MString name;
    if (!unlinkNamedAttribute(args, kRemoveAttributeFlag, name, status)) {
        return true;
    }
    MObject attributeNode;
    MObjectArray candidates;
    if (findAttributeNodeByName(name, attributeNode)) {
        candidates.append(attributeNode);
    }
    status = deleteNodes(unlinkedAttributeNodes(candidates), modifier);
    if (failed(status)) {
        displayError(kRemovalFailedMessage);
    } else {
        setResult(true);
    }
    return true;
}

bool XmlElementCmd::removeAllAttributesStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isFlagSet(kRemoveAllAttributeFlag)) {
        return false;
    }
    MObjectArray before;
    getAttributeNodes(element, before);
    MStringArray names;
    if (!unlinkAllAttributes(names, status)) {
        return true;
    }
    status = deleteNodes(unlinkedAttributeNodes(before), modifier);
    if (failed(status)) {
        displayError(kRemovalFailedMessage);
    } else {
        setResult(names);
    }
    return true;
}

bool XmlElementCmd::editOrQueryStep(const MArgDatabase& args, MStatus& status)
{
    if (!args.isEdit() && !args.isQuery()) {
        return false;
    }
    status = MS::kSuccess;
    return true;
}

bool XmlElementCmd::createStep(const MArgDatabase&, MStatus& status)
{
    MStatus created;
    MFnDependencyNode fn;
    element = nodeName.length() != 0 ? fn.create(kXmlElementId, nodeName, &created)
                                     : fn.create(kXmlElementId, &created);
    if (failed(created)) {
        displayError("Error creating XML Node");
        status = MS::kSuccess;
        return true;
    }
    bool ended = false;
    status = fillNewElement(ended);
    if (!ended) {
        // The host may have changed the requested name.
        setResult(MFnDependencyNode(element).name());
        status = MS::kSuccess;
    }
    return true;
}

MStatus XmlElementCmd::fillNewElement(bool& ended)
{
    ended = true;
    MStatus status;
    if (xmlName.length() != 0) {
        logLine("Set XML Node Name");
        status = setElementName(element, xmlName);
        if (logErrorBlank("Error Set XML Name", status)) {
            return status;
        }
    }
    if (xmlValue.length() != 0) {
        status = setElementValue(element, xmlValue);
        if (logErrorBlank("Error Set XML Value", status)) {
            return status;
        }
    }
    if (childName.length() != 0) {
        MObject child;
        if (!findElementNodeByName(childName, child)) {
            displayError(" Given Node is not an XML Node");
            return MS::kSuccess;
        }
        status = addChild(element, child, modifier);
        if (logError("Error Add ChildNode to new Node", status)) {
            return status;
        }
    }
    if (parentName.length() != 0) {
        status = linkNewElementToParent();
        if (failed(status)) {
            return status;
        }
    }
    if (attributeName.length() != 0) {
        MObject attributeNode;
        if (!findAttributeNodeByName(attributeName, attributeNode)) {
            displayError("Providede Attribute Node is Invaluid");
            return MS::kInvalidParameter;
        }
        logError("Error adding XML Attribute", addAttribute(element, attributeNode, modifier));
    }
    ended = false;
    return MS::kSuccess;
}

MStatus XmlElementCmd::linkNewElementToParent()
{
    MObject parent;
    if (findElementNodeByName(parentName, parent)) {
        MStatus status = addChild(parent, element, modifier);
        logError("Error Adding Child to XML Node", status);
        return status;
    }
    if (findDocumentNodeByName(parentName, parent)) {
        // A failed document link is reported and the command goes on.
        logError("Error Adding Child to Document Node", addElementToDocument(parent, element, modifier));
        return MS::kSuccess;
    }
    displayError(" Provided Parent Node is Invalid");
    return MS::kInvalidParameter;
}
