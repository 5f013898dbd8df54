#include "tree/Document.h"
#include "log/Log.h"
#include "nodes/XMLDocNode.h"
#include "nodes/XMLElementNode.h"
#include "nodes/XmlTypeIds.h"
#include "tree/Links.h"
#include "tree/Lookup.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

namespace {

// Writes `text` into the named string plug of an element, after checking
// by type id that it is one; the write's status when the host refused it.
MStatus setElementString(const MObject& element, const MObject& attribute, const MString& text)
{
    MFnDependencyNode fn(element);
    if (!isElementFn(fn))
        return MS::kInvalidParameter;
    MPlug plug = fn.findPlug(attribute, false);
    // A write the host refused did not happen: its status says so.
    MStatus status = plug.setValue(text);
    return failed(status) ? status : MStatus(MS::kSuccess);
}

// Reads the named string plug of an element into `text`; a read the host
// refused leaves `text` empty and answers the read's status, so that an
// unreadable value is never taken for an empty one.
MStatus getElementString(const MObject& element, const MObject& attribute, MString& text)
{
    MFnDependencyNode fn(element);
    if (!isElementFn(fn))
        return MS::kInvalidParameter;
    MPlug plug = fn.findPlug(attribute, false);
    const MStatus status = plug.getValue(text);
    if (!failed(status))
        return MS::kSuccess;
    text.clear();
    return status;
}

}  // namespace

MObject createDocumentNode(MString documentName, MString nodeName)
{
    MFnDependencyNode fn;
    MObject document;
    if (nodeName.length() != 0) {
        document = fn.create(kXmlDocumentId, nodeName);
        logLine("Creating XML DocNode Name");
    } else {
        document = fn.create(kXmlDocumentId);
        logLine("Creating XML DocNode w/o Name");
    }
    try {
        logError("Error XMLDocNode set Doc Name", setDocumentName(document, documentName));
    } catch (...) {
        discardCreatedNode(document);
        throw;
    }
    return document;
}

MStatus setDocumentName(MObject document, MString name)
{
    logLine("Setting DocNodeName");
    MStatus status;
    MFnDependencyNode fn(document, &status);
    logError("Error Get DependencyNode", status);
    MPlug plug = fn.findPlug(XMLDocNode::documentName, false, &status);
    logError("Error find Plug", status);
    status = plug.setValue(name);
    logError("Error XMLDocNode Set Name Plug", status);
    return status;
}

MStatus getDocumentName(MObject document, MString& name)
{
    if (!isDocumentNode(document))
        return MS::kInvalidParameter;
    MFnDependencyNode fn(document);
    MPlug plug = fn.findPlug(XMLDocNode::documentName, false);
    plug.getValue(name);
    return MS::kSuccess;
}

MStatus addElementToDocument(MObject document, MObject element, MDGModifier& modifier)
{
    if (!isDocumentNode(document) || !isElementNode(element)) {
        logLine("Error on Parent & Child Checking Node");
        return MS::kInvalidParameter;
    }
    MStatus status;
    MFnDependencyNode documentFn(document, &status);
    logError("Error getting DependecyNode from Document Object", status);
    MFnDependencyNode elementFn(element, &status);
    logError("Error getting DependecyNode from child Object", status);
    MPlug toParent = elementFn.findPlug(XMLElementNode::toParent, false, &status);
    logError("Error getting XmlElement toParent Connector", status);
    MPlug documentElements = documentFn.findPlug(XMLDocNode::documentElements, false, &status);
    logError("Error getting XMLDocNode docElement Connector", status);
    status = refuseSecondParent(toParent);
    if (status != MS::kSuccess)
        return status;

    unsigned int index = 0;
    status = nextLinkIndex(documentElements, index);
    if (status != MS::kSuccess)
        return status;
    MPlug slot = documentElements.elementByLogicalIndex(index, &status);
    logLine("Connecting to Docnode on ElementCount");
    logNumber(index);
    logError("Error getting XMLDocNode docElement ArrayConnector", status);

    const MStatus connected = modifier.connect(toParent, slot);
    logError("Error Connecting XML->Doc Node", connected);
    status = modifier.doIt();
    logError("Error MDGModifier DoIt", status);
    return linkOutcome(connected, status);
}

MStatus getDocumentElements(MObject document, MObjectArray& elements)
{
    if (!isDocumentNode(document))
        return MS::kInvalidParameter;
    MFnDependencyNode fn(document);
    MPlug documentElements = fn.findPlug(XMLDocNode::documentElements, false);
    if (!documentElements.isNetworked())
        return MS::kSuccess;
    logLine("Doc is Networked");
    logLine("Doc is Array");

    MIntArray indices;
    documentElements.getExistingArrayAttributeIndices(indices);
    logNumber(indices.length());
    for (unsigned int k = 0; k < indices.length(); ++k) {
        MPlug slot = documentElements.elementByLogicalIndex(static_cast<unsigned int>(indices[k]));
        MPlugArray sources;
        MStatus status;
        slot.connectedTo(sources, true, false, &status);
        logError("Error Getting Childs", status);
        for (unsigned int s = 0; s < sources.length(); ++s)
            elements.append(sources[s].node());
    }
    return MS::kSuccess;
}

MStatus getDocumentRootElement(MObject document, MObject& element)
{
    if (!isDocumentNode(document))
        return MS::kInvalidParameter;
    MObjectArray elements;
    getDocumentElements(document, elements);
    if (elements.length() != 1)
        return MS::kInvalidParameter;
    element = elements[0];
    return MS::kSuccess;
}

MObject createElementNode(MString nodeName, MString xmlName, MString xmlValue)
{
    MFnDependencyNode fn;
    MObject element = fn.create(kXmlElementId, nodeName);
    try {
        if (xmlName.length() != 0)
            setElementName(element, xmlName);
        if (xmlValue.length() != 0)
            setElementValue(element, xmlValue);
    } catch (...) {
        discardCreatedNode(element);
        throw;
    }
    return element;
}

MStatus setElementName(MObject element, MString name)
{
    return setElementString(element, XMLElementNode::xmlName, name);
}

MStatus setElementValue(MObject element, MString value)
{
    return setElementString(element, XMLElementNode::xmlValue, value);
}

MStatus getElementName(MObject element, MString& name)
{
    return getElementString(element, XMLElementNode::xmlName, name);
}

MStatus getElementValue(MObject element, MString& value)
{
    return getElementString(element, XMLElementNode::xmlValue, value);
}
