#include "nodes/XMLDocNode.h"

#include "nodes/AttributeRecipe.h"
#include "nodes/PlugNames.h"
#include "nodes/XmlTypeIds.h"

MObject XMLDocNode::documentName;
MObject XMLDocNode::documentType;
MObject XMLDocNode::documentInfo;
MObject XMLDocNode::documentElements;

void* XMLDocNode::creator()
{
    return new XMLDocNode;
}

MStatus XMLDocNode::initialize()
{
    documentName = buildAttribute(storedTextRecipe(kDocumentNamePlug));
    documentType = buildAttribute(storedTextRecipe(kDocumentTypePlug));
    documentInfo = buildAttribute(storedTextRecipe(kDocumentInfoPlug));
    documentElements = buildAttribute(
        {kDocumentElementsPlug, &kXmlConnectionElementId, nullptr,
         CreateReport::LineWithError,
         {{&MFnAttribute::setConnectable, true, nullptr},
          {&MFnAttribute::setArray, true, nullptr},
          {&MFnAttribute::setIndexMatters, true, nullptr},
          {&MFnAttribute::setKeyable, false, nullptr},
          {&MFnAttribute::setReadable, false, nullptr},
          {&MFnAttribute::setWritable, true, nullptr},
          {&MFnAttribute::setStorable, true, nullptr}},
         nullptr});
    return MS::kSuccess;
}

MStatus XMLDocNode::compute(const MPlug&, MDataBlock&)
{
    return MS::kSuccess;
}
