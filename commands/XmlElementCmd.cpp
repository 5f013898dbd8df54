#include "commands/XmlElementCmd.h"

#include "log/Log.h"
#include "nodes/PlugNames.h"
#include "nodes/XmlTypeIds.h"
#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Document.h"
#include "tree/Lookup.h"
#include "tree/Parents.h"

#include <maya/MArgDatabase.h>
#include <maya/MFn.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MItSelectionList.h>
#include <maya/MPlug.h>
#include <maya/MSelectionList.h>

namespace {

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

const char* const kNoSuchAttributeMessage =
    "The given AttributeName doesnt leads to an Vallid Attribute Node";
const char* const kNoSuchParentMessage = "Error the given Element couldnt be an ParentNode";

// The element's XML name or value plug as a string; empty when unreadable.
MString readElementPlug(const MObject& element, const PlugName& plugName)
{
    MString value;
    MStatus status;
    MFnDependencyNode fn(element, &status);
    MPlug plug = fn.findPlug(plugName.longName, false, &status);
    if (!failed(status))
        plug.getValue(value);
    return value;
}

// Writes the element's XML name or value plug; the first failing status.
MStatus writeElementPlug(const MObject& element, const PlugName& plugName, const MString& value)
{
    MStatus status;
    MFnDependencyNode fn(element, &status);
    if (failed(status))
        return status;
    MPlug plug = fn.findPlug(plugName.longName, false, &status);
    if (failed(status))
        return status;
    return plug.setValue(value);
}

bool given(const FlagValue& flag)
{
    return flag.set && flag.text.length() != 0;
}

}  // namespace

void* XmlElementCmd::creator()
{
    return new XmlElementCmd;
}

MSyntax XmlElementCmd::newSyntax()
{
    return xmlElementSyntax();
}

MStatus XmlElementCmd::doIt(const MArgList& argList)
{
    // The parse status is not looked at: whatever flags were understood act.
    request = parseXmlElementRequest(MArgDatabase(syntax(), argList));
    childNode = parentNode = attributeNode = MObject();

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
    for (Step step : steps) {
        if (StepResult ended = (this->*step)())
            return *ended;
    }
    return MS::kSuccess;
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
        if (it.getDependNode(item) != MS::kSuccess)
            continue;
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
    return namesLine(names);
}

// ---- checks -----------------------------------------------------------

XmlElementCmd::StepResult XmlElementCmd::checkCreateRequest()
{
    if (given(request.child) && !findElementNodeByName(request.child.text, childNode)) {
        displayError(" Given Node is not an XML Node");
        return MStatus(MS::kSuccess);
    }
    const bool parentIsElement =
        given(request.parent) && findElementNodeByName(request.parent.text, parentNode);
    const bool parentIsDocument = given(request.parent) && !parentIsElement
                                  && findDocumentNodeByName(request.parent.text, parentNode);
    if (given(request.child)) {
        // The new node will sit between the parent and the child: the
        // child must be free, and the parent must not lie below it.
        MStatus status = checkChildLinkable(childNode, parentIsElement ? parentNode : MObject());
        if (logError("Error Add ChildNode to new Node", status)) {
            displayError("Error Add ChildNode to new Node: " + request.child.text);
            return status;
        }
    }
    if (given(request.parent) && !parentIsElement && !parentIsDocument) {
        displayError(" Provided Parent Node is Invalid");
        return MStatus(MS::kInvalidParameter);
    }
    if (given(request.attribute)
        && !findAttributeNodeByName(request.attribute.text, attributeNode)) {
        displayError("Providede Attribute Node is Invaluid");
        return MStatus(MS::kInvalidParameter);
    }
    return std::nullopt;
}

// Edit mode links the parent and goes on with -at: both names are checked
// before the link, so a wrong attribute name changes nothing.
XmlElementCmd::StepResult XmlElementCmd::checkEditParent()
{
    if (!findElementNodeByName(request.parent.text, parentNode)
        && !findDocumentNodeByName(request.parent.text, parentNode)) {
        displayError(kNoSuchParentMessage);
        return MStatus(MS::kInvalidParameter);
    }
    if (request.attribute.set && !findAttributeNodeByName(request.attribute.text, attributeNode)) {
        displayError(kNoSuchAttributeMessage);
        return MStatus(MS::kInvalidParameter);
    }
    return std::nullopt;
}

// ---- steps ------------------------------------------------------------

XmlElementCmd::StepResult XmlElementCmd::helpStep()
{
    if (!request.help)
        return std::nullopt;
    setResult(kHelpText);
    return MStatus(MS::kSuccess);
}

XmlElementCmd::StepResult XmlElementCmd::selectionStep()
{
    if (!request.needsSelectedElement())
        return std::nullopt;
    bool found = false;
    getSelectedElement(found);
    if (found && isElementNode(element))
        return std::nullopt;
    displayError("No Element selected thats able to be edited or queryed");
    return MStatus(MS::kSuccess);
}

XmlElementCmd::StepResult XmlElementCmd::nodeNameStep()
{
    if (!request.nodeName.set || request.isCreate())
        return std::nullopt;
    displayError(request.isQuery() ? "Node Name is not Queryable" : "Node Name is not Editable");
    return MStatus(MS::kSuccess);
}

XmlElementCmd::StepResult XmlElementCmd::xmlNameStep()
{
    if (!request.xmlName.set || request.isCreate())
        return std::nullopt;
    if (request.isQuery()) {
        setResult(readElementPlug(element, kXmlNamePlug));
        return MStatus(MS::kSuccess);
    }
    logLine(request.xmlName.text);
    MStatus status = writeElementPlug(element, kXmlNamePlug, request.xmlName.text);
    if (logError("Error SetValue XmlNodeName", status))
        return status;
    setResult("Set XmlName successfull");
    return MStatus(MS::kSuccess);
}

XmlElementCmd::StepResult XmlElementCmd::xmlValueStep()
{
    if (!request.xmlValue.set || request.isCreate())
        return std::nullopt;
    if (request.isQuery()) {
        setResult(readElementPlug(element, kXmlValuePlug));
        return MStatus(MS::kSuccess);
    }
    MStatus status = writeElementPlug(element, kXmlValuePlug, request.xmlValue.text);
    if (logError("Error SetValue XmlNodeValue", status))
        return status;
    setResult("Set XmlValue successfull");
    return MStatus(MS::kSuccess);
}

XmlElementCmd::StepResult XmlElementCmd::childStep()
{
    if (!request.child.set)
        return std::nullopt;
    logLine("Child Flag Raised");
    if (request.isQuery()) {
        logLine("is queried");
        MStringArray names;
        MStatus status = getChildNames(element, names);
        if (failed(status))
            return status;
        setResult(names);
        return MStatus(MS::kSuccess);
    }
    if (request.isCreate())
        return std::nullopt;
    if (!findElementNodeByName(request.child.text, childNode))
        return MStatus(MS::kInvalidParameter);
    MStatus linked = addChild(element, childNode, modifier);
    if (logError("Error Adding Child to XML Node", linked)) {
        displayError("Error Adding Child to XML Node");
        return MStatus(MS::kFailure);
    }
    setResult(true);
    return MStatus(MS::kSuccess);
}

XmlElementCmd::StepResult XmlElementCmd::parentStep()
{
    if (!request.parent.set || request.isCreate())
        return std::nullopt;
    MStringArray names;
    if (request.isQuery()) {
        MStatus status = getParentNames(element, names);
        if (logError("Error get Parent Node", status)) {
            displayError("Error get Parent Names");
            return status;
        }
        logNames(names);
        setResult(names);
        return MStatus(MS::kSuccess);
    }
    if (StepResult refused = checkEditParent())
        return refused;
    const bool underElement = isElementNode(parentNode);
    MStatus status = underElement ? addChild(parentNode, element, modifier)
                                  : addElementToDocument(parentNode, element, modifier);
    if (failed(status)) {
        displayError(status.errorString());
        displayError(underElement ? "Error adding Element as child to given Xml Element"
                                  : "Error adding Element as Child to Given Doc Element");
        return status;
    }
    return std::nullopt;  // a successful link goes on with the later flags
}

XmlElementCmd::StepResult XmlElementCmd::attributeStep()
{
    if (!request.attribute.set || request.isCreate())
        return std::nullopt;
    if (request.isQuery()) {
        MStringArray names;
        MStatus status = getAttributeNames(element, names);
        if (logError("Error get XML Node", status)) {
            displayError("Error get Attribute Names");
            return status;
        }
        setResult(names);
        return MStatus(MS::kSuccess);
    }
    if (!findAttributeNodeByName(request.attribute.text, attributeNode)) {
        displayError(kNoSuchAttributeMessage);
        return MStatus(MS::kInvalidParameter);
    }
    MStatus linked = addAttribute(element, attributeNode, modifier);
    if (logError("Error adding Attribute to XML Node", linked)) {
        displayError("Error adding Attribute to XML Node");
        return MStatus(MS::kFailure);
    }
    setResult("Added Attribute to Node");
    return MStatus(MS::kSuccess);
}

XmlElementCmd::StepResult XmlElementCmd::editOrQueryStep()
{
    if (request.isCreate())
        return std::nullopt;
    return MStatus(MS::kSuccess);
}

XmlElementCmd::StepResult XmlElementCmd::createStep()
{
    if (StepResult refused = checkCreateRequest())
        return refused;
    return createElement();
}

XmlElementCmd::StepResult XmlElementCmd::createElement()
{
    MStatus created;
    MFnDependencyNode fn;
    const MString& nodeName = request.nodeName.text;
    element = nodeName.length() != 0 ? fn.create(kXmlElementId, nodeName, &created)
                                     : fn.create(kXmlElementId, &created);
    if (failed(created)) {
        displayError("Error creating XML Node");
        return MStatus(MS::kSuccess);
    }
    MStatus status;
    if (given(request.xmlName)) {
        logLine("Set XML Node Name");
        status = setElementName(element, request.xmlName.text);
        if (logError("Error Set XML Name", status, ErrorLine::BlankLineAfter))
            return status;
    }
    if (given(request.xmlValue)) {
        status = setElementValue(element, request.xmlValue.text);
        if (logError("Error Set XML Value", status, ErrorLine::BlankLineAfter))
            return status;
    }
    status = linkNewElement();
    if (failed(status))
        return status;
    // The host may have changed the requested name.
    setResult(MFnDependencyNode(element).name());
    return MStatus(MS::kSuccess);
}

MStatus XmlElementCmd::linkNewElement()
{
    MStatus status;
    if (given(request.child)) {
        status = addChild(element, childNode, modifier);
        if (logError("Error Add ChildNode to new Node", status))
            return status;
    }
    if (given(request.parent) && isElementNode(parentNode)) {
        status = addChild(parentNode, element, modifier);
        if (logError("Error Adding Child to XML Node", status))
            return status;
    } else if (given(request.parent)) {
        // A failed document link is reported and the command goes on.
        logError("Error Adding Child to Document Node",
                 addElementToDocument(parentNode, element, modifier));
    }
    if (given(request.attribute))
        logError("Error adding XML Attribute", addAttribute(element, attributeNode, modifier));
    return MS::kSuccess;
}
