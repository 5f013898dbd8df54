#include "tree/Attributes.h"
#include "tree/Links.h"
#include "tree/Log.h"
#include "tree/Lookup.h"
#include "nodes/XmlTypeIds.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

namespace {

MPlug attributesPlug(const MObject& element)
{
    MFnDependencyNode fn(element);
    return fn.findPlug("XAttr", false);
}

// Reads one string plug of an attribute node; a failed read is logged
// with `errorText` and its status returned.
MStatus readAttributeString(const MObject& attributeNode, const char* plugName,
                            const char* errorText, MString& text)
{
    if (!isAttributeNode(attributeNode))
        return MS::kInvalidParameter;
    MFnDependencyNode fn(attributeNode);
    MPlug plug = fn.findPlug(plugName, false);
    MStatus status = plug.getValue(text);
    logError(errorText, status);
    return status;
}

// Queues and carries out, one doIt each, the cut of every link from
// `attributeNode` into the element plug `slot`.
void cutAttributeLinks(const MPlug& slot, const MObject& attributeNode, MDGModifier& modifier)
{
    MPlugArray sources;
    if (!slot.connectedTo(sources, true, false) || sources.length() == 0)
        return;
    for (unsigned int s = 0; s < sources.length(); ++s) {
        if (sources[s].node() != attributeNode)
            continue;
        logError("Error Disconnecting Attribute Node", modifier.disconnect(sources[s], slot));
        modifier.doIt();
    }
}

}  // namespace

MObject createAttributeNode(MString name, MString value)
{
    MStatus status;
    MFnDependencyNode fn;
    MObject node = fn.create(kXmlElementAttributeId, name, &status);
    logError("Error Creating AttributeNode", status);
    MPlug namePlug = fn.findPlug("Name", false, &status);
    logError("Error Attribute Node get NamePlug", status);
    logError("Error Attribute Node Set Name", namePlug.setValue(name));
    MPlug valuePlug = fn.findPlug("Value", false, &status);
    logError("Error Attribute Node get ValuePlug", status);
    logError("Error Attribute Node Set Value", valuePlug.setValue(value));
    return node;
}

MStatus addAttribute(MObject element, MObject attributeNode, MDGModifier& modifier)
{
    MStatus status;
    MFnDependencyNode elementFn(element);
    MPlug attributes = elementFn.findPlug("XAttr", false, &status);
    logError("Error get Element Attribute Plug", status);
    MPlug slot = attributes.elementByLogicalIndex(nextLinkIndex(attributes), &status);
    logError("Error get Element Attribute Plug ArrayElement", status);
    MFnDependencyNode attributeFn(attributeNode);
    MPlug owner = attributeFn.findPlug("Parent", false, &status);
    logError("Error get Attribute Owner Plug", status);
    logError("Error connecting Attribute", modifier.connect(owner, slot));
    modifier.doIt();
    logLine("Added Attribute");
    return MS::kSuccess;
}

MStatus getAttributeNodes(MObject element, MObjectArray& attributeNodes)
{
    if (!isElementNode(element))
        return MS::kInvalidParameter;
    attributeNodes.clear();
    MPlug attributes = attributesPlug(element);
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
        logErrorBlank("Error get Attributes", status);
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
    return readAttributeString(attributeNode, "Name", "Error Plug, get value", name);
}

MStatus getAttributeValue(MObject attributeNode, MString& value)
{
    return readAttributeString(attributeNode, "Value", "Error Plug, get Value", value);
}

MStatus hasAttributeNode(MObject element, MObject attributeNode, bool& result)
{
    result = false;
    if (!isElementNode(element) || !isAttributeNode(attributeNode))
        return MS::kInvalidParameter;
    MObjectArray nodes;
    MStatus status = getAttributeNodes(element, nodes);
    if (status != MS::kSuccess) {
        logErrorBlank("Error Get AttributeNodes", status);
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
        logErrorBlank("Error checking Valid Attribute", status);
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
    for (unsigned int k = 0; k < indices.length(); ++k) {
        MPlug slot = attributes.elementByLogicalIndex(static_cast<unsigned int>(indices[k]), &status);
        logError("Error Get Physical connection", status);
        logLine(slot.partialName(true, true));
        cutAttributeLinks(slot, attributeNode, modifier);
    }
    return MS::kSuccess;
}

MStatus removeAllAttributes(MObject element, MDGModifier& modifier)
{
    if (!isElementNode(element))
        return MS::kInvalidParameter;
    MStringArray names;
    MStatus status = getAttributeNames(element, names);
    if (status != MS::kSuccess) {
        logErrorBlank("Error GetXML all Attributes", status);
        return status;
    }
    if (names.length() == 0)
        return MS::kInvalidParameter;
    for (unsigned int i = 0; i < names.length(); ++i)
        logError("Error Remove XML Attribute", disconnectAttribute(element, names[i], modifier));
    return MS::kSuccess;
}
