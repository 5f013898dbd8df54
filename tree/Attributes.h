#ifndef DENDRINE_TREE_ATTRIBUTES_H
#define DENDRINE_TREE_ATTRIBUTES_H
// Attribute nodes: one per XML attribute, linked to its element.

#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MStatus.h>
#include <maya/MDGModifier.h>

// Creates an attribute node holding `name` and `value`; failed steps are
// logged. Throws (bad_alloc) with nothing left behind.
MObject createAttributeNode(MString name, MString value);
// Links the attribute node as the element's next attribute; runs doIt().
// Checks no kinds. A failing doIt, or no free link index, is an error line
// and the result; other failed steps are logged and the link goes on.
MStatus addAttribute(MObject element, MObject attributeNode, MDGModifier& modifier);
// `attributeNodes` / `names` are cleared first; in link order.
MStatus getAttributeNodes(MObject element, MObjectArray& attributeNodes);
MStatus getAttributeNames(MObject element, MStringArray& names);
MStatus getAttributeName(MObject attributeNode, MString& name);
MStatus getAttributeValue(MObject attributeNode, MString& value);
MStatus hasAttributeNode(MObject element, MObject attributeNode, bool& result);
MStatus hasAttributeNodeNamed(MObject element, MString attributeNodeName, bool& result);
// Cut the links of the named attribute node (of every one); a cut whose
// doIt failed is an error line and makes the result fail.
MStatus disconnectAttribute(MObject element, MString attributeNodeName, MDGModifier& modifier);
MStatus removeAllAttributes(MObject element, MDGModifier& modifier);

#endif
