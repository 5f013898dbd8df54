#include "nodes/XMLElementAttributeNode.h"

#include "nodes/AttributeRecipe.h"
#include "nodes/XmlTypeIds.h"

MObject XMLElementAttributeNode::attributeName;
MObject XMLElementAttributeNode::attributeValue;
MObject XMLElementAttributeNode::attributeParent;

const MString XMLElementAttributeNode::attributeNameLong("Name");
const MString XMLElementAttributeNode::attributeNameShort("AttrName");
const MString XMLElementAttributeNode::attributeValueLong("Value");
const MString XMLElementAttributeNode::attributeValueShort("AttrValue");
const MString XMLElementAttributeNode::attributeParentLong("Parent");
const MString XMLElementAttributeNode::attributeParentShort("AttrParent");

void* XMLElementAttributeNode::creator()
{
    return new XMLElementAttributeNode;
}

MStatus XMLElementAttributeNode::initialize()
{
    attributeName = buildAttribute(storedTextRecipe(attributeNameLong, attributeNameShort));
    attributeValue = buildAttribute(storedTextRecipe(attributeValueLong, attributeValueShort));
    attributeParent = buildAttribute(
        {attributeParentLong, attributeParentShort, &kXmlConnectionAttrElmId, nullptr,
         CreateReport::LineWithError,
         {{&MFnAttribute::setConnectable, false, nullptr},
          {&MFnAttribute::setKeyable, false, nullptr},
          {&MFnAttribute::setArray, true, nullptr},
          {&MFnAttribute::setReadable, true, nullptr},
          {&MFnAttribute::setWritable, false, nullptr},
          {&MFnAttribute::setStorable, false, nullptr}},
         nullptr});
    return MS::kSuccess;
}

MStatus XMLElementAttributeNode::compute(const MPlug&, MDataBlock&)
{
    return MS::kSuccess;
}
