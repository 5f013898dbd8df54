#ifndef DENDRINE_TREE_DOCUMENT_H
#define DENDRINE_TREE_DOCUMENT_H
// Document nodes, their top-level elements, and element names and values.

#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MString.h>
#include <maya/MStatus.h>
#include <maya/MDGModifier.h>

// Creates a document node; throws (bad_alloc) with nothing left behind.
MObject createDocumentNode(MString documentName, MString nodeName);
MStatus setDocumentName(MObject document, MString name);
MStatus getDocumentName(MObject document, MString& name);
// Links `element` as the next top-level element; runs modifier.doIt().
// Refuses (kFailure, an error line, nothing changed) an element that has a
// parent already and a document without a free link index.
MStatus addElementToDocument(MObject document, MObject element, MDGModifier& modifier);
// Appends the top-level elements in link order.
MStatus getDocumentElements(MObject document, MObjectArray& elements);
// The one top-level element; kInvalidParameter when there are none or several.
MStatus getDocumentRootElement(MObject document, MObject& element);

// Creates an element node, with its XML name and value when they are not
// empty. Throws (bad_alloc) with nothing left behind.
MObject createElementNode(MString nodeName, MString xmlName, MString xmlValue);
MStatus setElementName(MObject element, MString name);
MStatus setElementValue(MObject element, MString value);
MStatus getElementName(MObject element, MString& name);
MStatus getElementValue(MObject element, MString& value);

#endif
