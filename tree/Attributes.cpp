#include "tree/Attributes.h"
#include "log/Log.h"
#include "nodes/XMLElementAttributeNode.h"
#include "nodes/XMLElementNode.h"
#include "nodes/XmlTypeIds.h"
#include "tree/Links.h"
#include "tree/Lookup.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

namespace {

MPlug attributesPlug(const MObject& element)
{
    MFnDependencyNode fn(element);
    return fn.findPlug(XMLElementNode::xmlAttributes, false);
}

// Reads one string plug of an attribute node; a failed read is logged
// with `errorText` and its status returned.
MStatus readPlugString(const MFnDependencyNode& fn, const MObject& attribute, const char* errorText,
                       MString& text)
{
    MPlug plug = fn.findPlug(attribute, false);
    MStatus status = plug.getValue(text);
    logError(errorText, status);
    return status;
}

const char* const kNameReadError = "Error Plug, get value";
const char* const kValueReadError = "Error Plug, get Value";

MStatus readAttributeString(const MObject& attributeNode, const MObject& attribute,
                            const char* errorText, MString& text)
{
    const MFnDependencyNode fn(attributeNode);
    if (!isAttributeFn(fn))
        return MS::kInvalidParameter;
    return readPlugString(fn, attribute, errorText, text);
}

// Queues and carries out, one doIt each, the cut of every link from
// `attributeNode` into the element plug `slot`. The first failing doIt's
// status, after its error line; kSuccess when every cut was carried out.
MStatus cutAttributeLinks(const MPlug& slot, const MObject& attributeNode, MDGModifier& modifier)
{
    MStatus result = MS::kSuccess;
    MPlugArray sources;
    if (!slot.connectedTo(sources, true, false) || sources.length() == 0)
        return result;
    for (unsigned int s = 0; s < sources.length(); ++s) {
        if (sources[s].node() != attributeNode)
            continue;
        logError("Error Disconnecting Attribute Node", modifier.disconnect(sources[s], slot));
        MStatus done = modifier.doIt();
        if (logError("Error doIt Disconnecting Attribute Node", done) && !failed(result))
            result = done;
    }
    return result;
}

}  // namespace

MObject createAttributeNode(MString name, MString value)
{
    bool written = false;
    return createAttributeNode(name, value, written);
}

MObject createAttributeNode(const MString& name, const MString& value, bool& written)
{
    MStatus status;
    MFnDependencyNode fn;
    MObject node = fn.create(kXmlElementAttributeId, name, &status);
    logError("Error Creating AttributeNode", status);
    written = status == MS::kSuccess;
    try {
        MPlug namePlug = fn.findPlug(XMLElementAttributeNode::attributeName, false, &status);
        logError("Error Attribute Node get NamePlug", status);
        const MStatus nameSet = namePlug.setValue(name);
        logError("Error Attribute Node Set Name", nameSet);
        MPlug valuePlug = fn.findPlug(XMLElementAttributeNode::attributeValue, false, &status);
        logError("Error Attribute Node get ValuePlug", status);
        const MStatus valueSet = valuePlug.setValue(value);
        logError("Error Attribute Node Set Value", valueSet);
        written = written && nameSet == MS::kSuccess && valueSet == MS::kSuccess;
    } catch (...) {
        discardCreatedNode(node);
        throw;
    }
    return node;
}

MStatus addAttribute(MObject element, MObject attributeNode, MDGModifier& modifier)
{
    MStatus status;
    MFnDependencyNode elementFn(element);
    MPlug attributes = elementFn.findPlug(XMLElementNode::xmlAttributes, false, &status);
    logError("Error get Element Attribute Plug", status);
    unsigned int index = 0;
    status = nextLinkIndex(attributes, index);
    if (status != MS::kSuccess)
        return status;
    MPlug slot = attributes.elementByLogicalIndex(index, &status);
    logError("Error get Element Attribute Plug ArrayElement", status);
    MFnDependencyNode attributeFn(attributeNode);
    MPlug owner = attributeFn.findPlug(XMLElementAttributeNode::attributeParent, false, &status);
    logError("Error get Attribute Owner Plug", status);
    const MStatus connected = modifier.connect(owner, slot);
    logError("Error connecting Attribute", connected);
    status = modifier.doIt();
    logError("Error doIt connecting Attribute", status);
    status = linkOutcome(connected, status);
    if (status != MS::kSuccess)
        return status;
    logLine("Added Attribute");
    return MS::kSuccess;
}

MStatus getAttributeNodes(MObject element, MObjectArray& attributeNodes)
{
    MFnDependencyNode fn(element);
    if (!isElementFn(fn))
        return MS::kInvalidParameter;
    attributeNodes.clear();
    MPlug attributes = fn.findPlug(XMLElementNode::xmlAttributes, false);
    if (attributes.isNetworked() && attributes.isArray())
        appendLinkedSources(attributes, attributeNodes, true);
    return MS::kSuccess;
}

MStatus getAttributeNames(MObject element, MStringArray& names)
{
    if (!isElementNode(element))
        return MS::kInvalidParameter;
    names.clear();
    MObjectArray nodes;
    MStatus status = getAttributeNodes(element, nodes);
    if (status != MS::kSuccess) {
        logError("Error get Attributes", status, ErrorLine::BlankLineAfter);
        return status;
    }
    for (unsigned int i = 0; i < nodes.length(); ++i) {
        MFnDependencyNode fn(nodes[i]);
        names.append(fn.name());
    }
    return MS::kSuccess;
}

MStatus getAttributeName(MObject attributeNode, MString& name)
{
    return readAttributeString(attributeNode, XMLElementAttributeNode::attributeName, kNameReadError, name);
}

MStatus getAttributeValue(MObject attributeNode, MString& value)
{
    return readAttributeString(attributeNode, XMLElementAttributeNode::attributeValue, kValueReadError, value);
}

AttributeText readAttributeText(const MObject& attributeNode)
{
    AttributeText text;
    const MFnDependencyNode fn(attributeNode);
    if (!isAttributeFn(fn)) {
        text.nameStatus = MS::kInvalidParameter;
        return text;
    }
    text.nameStatus = readPlugString(fn, XMLElementAttributeNode::attributeName, kNameReadError, text.name);
    if (text.nameStatus == MS::kSuccess)
        text.valueStatus =
            readPlugString(fn, XMLElementAttributeNode::attributeValue, kValueReadError, text.value);
    return text;
}

MStatus hasAttributeNode(MObject element, MObject attributeNode, bool& result)
{
    result = false;
    if (!isElementNode(element) || !isAttributeNode(attributeNode))
        return MS::kInvalidParameter;
    MObjectArray nodes;
    MStatus status = getAttributeNodes(element, nodes);
    if (status != MS::kSuccess) {
        logError("Error Get AttributeNodes", status, ErrorLine::BlankLineAfter);
        return status;
    }
    for (unsigned int i = 0; i < nodes.length(); ++i) {
        if (nodes[i] == attributeNode)
            result = true;
    }
    return MS::kSuccess;
}

MStatus hasAttributeNodeNamed(MObject element, MString attributeNodeName, bool& result)
{
    MObject attributeNode;
    if (!isElementNode(element) || !findAttributeNodeByName(attributeNodeName, attributeNode))
        return MS::kInvalidParameter;
    return hasAttributeNode(element, attributeNode, result);
}

MStatus disconnectAttribute(MObject element, MString attributeNodeName, MDGModifier& modifier)
{
    MObject attributeNode;
    if (!isElementNode(element) || !findAttributeNodeByName(attributeNodeName, attributeNode))
        return MS::kInvalidParameter;
    bool linked = false;
    MStatus status = hasAttributeNodeNamed(element, attributeNodeName, linked);
    if (status != MS::kSuccess) {
        logError("Error checking Valid Attribute", status, ErrorLine::BlankLineAfter);
        return status;
    }
    if (!linked)
        return MS::kInvalidParameter;

    MPlug attributes = attributesPlug(element);
    if (!attributes.isNetworked() || !attributes.isArray())
        return MS::kSuccess;
    logLine("Attribute Plug Is Array");
    MIntArray indices;
    attributes.getExistingArrayAttributeIndices(indices, &status);
    logError("Error GetExisting Array Attributes", status);
    MStatus result = MS::kSuccess;
    for (unsigned int k = 0; k < indices.length(); ++k) {
        MPlug slot = attributes.elementByLogicalIndex(static_cast<unsigned int>(indices[k]), &status);
        logError("Error Get Physical connection", status);
        logLine(slot.partialName(true, true));
        MStatus cut = cutAttributeLinks(slot, attributeNode, modifier);
        if (failed(cut) && !failed(result))
            result = cut;
    }
    return result;
}

MStatus removeAllAttributes(MObject element, MDGModifier& modifier)
{
    if (!isElementNode(element))
        return MS::kInvalidParameter;
    MStringArray names;
    MStatus status = getAttributeNames(element, names);
    if (status != MS::kSuccess) {
        logError("Error GetXML all Attributes", status, ErrorLine::BlankLineAfter);
        return status;
    }
    if (names.length() == 0)
        return MS::kInvalidParameter;
    // kInvalidParameter only says a name led nowhere; any other failure is a
    // cut the host refused, and the removal then reports it (the other cuts
    // still go on).
    MStatus hostFailure = MS::kSuccess;
    for (unsigned int i = 0; i < names.length(); ++i) {
        status = disconnectAttribute(element, names[i], modifier);
        logError("Error Remove XML Attribute", status);
        if (failed(status) && status != MS::kInvalidParameter && !failed(hostFailure))
            hostFailure = status;
    }
    return hostFailure;
}
