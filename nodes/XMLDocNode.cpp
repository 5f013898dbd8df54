#include "nodes/XMLDocNode.h"

#include "nodes/AttributeRecipe.h"
#include "nodes/XmlTypeIds.h"

MObject XMLDocNode::documentName;
MObject XMLDocNode::documentType;
MObject XMLDocNode::documentInfo;
MObject XMLDocNode::documentElements;

const MString XMLDocNode::documentNameLong("DocumentName");
const MString XMLDocNode::documentNameShort("DocName");
const MString XMLDocNode::documentTypeLong("DocumenType");
const MString XMLDocNode::documentTypeShort("DocType");
const MString XMLDocNode::documentInfoLong("DocumentInfo");
const MString XMLDocNode::documentInfoShort("DocInfo");
const MString XMLDocNode::documentElementsLong("DocumentElements");
const MString XMLDocNode::documentElementsShort("DocElements");

void* XMLDocNode::creator()
{
    return new XMLDocNode;
}

MStatus XMLDocNode::initialize()
{
    documentName = buildAttribute(storedTextRecipe(documentNameLong, documentNameShort));
    documentType = buildAttribute(storedTextRecipe(documentTypeLong, documentTypeShort));
    documentInfo = buildAttribute(storedTextRecipe(documentInfoLong, documentInfoShort));
    documentElements = buildAttribute(
        {documentElementsLong, documentElementsShort, &kXmlConnectionElementId, nullptr,
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
