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
// The same; `written` tells whether both the name and the value arrived in
// the node, so a caller that must not lose a value needs no read-back.
MObject createAttributeNode(const MString& name, const MString& value, bool& written);
// Links the attribute node as the element's next attribute; runs doIt().
// Checks no kinds. A failing doIt, or no free link index, is an error line
// and the result; other failed steps are logged and the link goes on.
MStatus addAttribute(MObject element, MObject attributeNode, MDGModifier& modifier);
// `attributeNodes` / `names` are cleared first; in link order.
MStatus getAttributeNodes(MObject element, MObjectArray& attributeNodes);
MStatus getAttributeNames(MObject element, MStringArray& names);
MStatus getAttributeName(MObject attributeNode, MString& name);
MStatus getAttributeValue(MObject attributeNode, MString& value);
// The name and value of an attribute node, read as getAttributeName and
// getAttributeValue do (same error lines) with one type check, for a reader
// of every attribute (the export). The value is not read after a failed
// name read.
struct AttributeText {
    MString name;
    MString value;
    MStatus nameStatus;
    MStatus valueStatus;
};
AttributeText readAttributeText(const MObject& attributeNode);
MStatus hasAttributeNode(MObject element, MObject attributeNode, bool& result);
MStatus hasAttributeNodeNamed(MObject element, MString attributeNodeName, bool& result);
// Cut the links of the named attribute node (of every one); a cut whose
// doIt failed is an error line and makes the result fail.
MStatus disconnectAttribute(MObject element, MString attributeNodeName, MDGModifier& modifier);
MStatus removeAllAttributes(MObject element, MDGModifier& modifier);

#endif
