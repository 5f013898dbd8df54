#include "nodes/XMLElementAttributeNode.h"

#include "nodes/AttributeRecipe.h"
#include "nodes/PlugNames.h"
#include "nodes/XmlTypeIds.h"

MObject XMLElementAttributeNode::attributeName;
MObject XMLElementAttributeNode::attributeValue;
MObject XMLElementAttributeNode::attributeParent;

void* XMLElementAttributeNode::creator()
{
    return new XMLElementAttributeNode;
}

MStatus XMLElementAttributeNode::initialize()
{
    attributeName = buildAttribute(storedTextRecipe(kAttributeNamePlug));
    attributeValue = buildAttribute(storedTextRecipe(kAttributeValuePlug));
    attributeParent = buildAttribute(
        {kAttributeParentPlug, &kXmlConnectionAttrElmId, nullptr,
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
