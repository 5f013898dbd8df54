#include "nodes/XMLElementNode.h"

#include "nodes/AttributeRecipe.h"
#include "nodes/PlugNames.h"
#include "nodes/XmlTypeIds.h"

MObject XMLElementNode::xmlName;
MObject XMLElementNode::xmlValue;
MObject XMLElementNode::xmlAttributes;
MObject XMLElementNode::toParent;
MObject XMLElementNode::fromChildren;

namespace {

// Tag name and text are stored, so an element keeps them across a scene
// save and open.
AttributeRecipe xmlNameRecipe()
{
    return {kXmlNamePlug, nullptr,
            "Error Creating ElementName Plug", CreateReport::LineWithError,
            {{&MFnAttribute::setConnectable, false, "Error ElementName setConnectable"},
             {&MFnAttribute::setKeyable, false, "Error ElementName setKeyable"},
             {&MFnAttribute::setReadable, true, "Error ElementName setReadable"},
             {&MFnAttribute::setWritable, true, "Error ElementName setWritable"},
             {&MFnAttribute::setStorable, true, "Error ElementName setStorable"}},
            "Error Adding ElementName Plug"};
}

AttributeRecipe xmlValueRecipe()
{
    return {kXmlValuePlug, nullptr,
            "Error Creating Value Plug", CreateReport::LineWithError,
            {{&MFnAttribute::setConnectable, false, "Error Value setConnectable"},
             {&MFnAttribute::setKeyable, false, "Error Value setKeyable"},
             {&MFnAttribute::setReadable, true, "Error Value setReadable"},
             {&MFnAttribute::setWritable, true, "Error Value setWritable"},
             {&MFnAttribute::setStorable, true, "Error Value setStorable"}},
            "Error Adding elementValue Plug"};
}

// Only the creation is checked here, and its report has no line end.
AttributeRecipe xmlAttributesRecipe()
{
    return {kXmlAttributesPlug,
            &kXmlConnectionAttrElmId, "error init attribute", CreateReport::BareText,
            {{&MFnAttribute::setConnectable, true, nullptr},
             {&MFnAttribute::setKeyable, false, nullptr},
             {&MFnAttribute::setArray, true, nullptr},
             {&MFnAttribute::setIndexMatters, true, nullptr},
             {&MFnAttribute::setReadable, false, nullptr},
             {&MFnAttribute::setWritable, true, nullptr},
             {&MFnAttribute::setStorable, false, nullptr}},
            nullptr};
}

AttributeRecipe toParentRecipe()
{
    return {kToParentPlug,
            &kXmlConnectionElementId, "error init parent", CreateReport::LineWithError,
            {{&MFnAttribute::setConnectable, true, "error Set Parent setConnectable"},
             {&MFnAttribute::setKeyable, false, "Error Set Parent setKeyable"},
             {&MFnAttribute::setArray, false, "Error Set Parent setArray"},
             {&MFnAttribute::setReadable, true, "Error Set Parent setReadable"},
             {&MFnAttribute::setWritable, false, "Error Set Parent setWritable"},
             {&MFnAttribute::setStorable, false, "Error Set Parent setStorable"}},
            "Error Adding Parent Attribute"};
}

AttributeRecipe fromChildrenRecipe()
{
    return {kFromChildrenPlug,
            &kXmlConnectionElementId, "error init children attribute",
            CreateReport::LineWithError,
            {{&MFnAttribute::setConnectable, true, "error children setConnectable"},
             {&MFnAttribute::setKeyable, false, "error children setKeyable"},
             {&MFnAttribute::setReadable, false, "error children setReadable"},
             {&MFnAttribute::setWritable, true, "error children setWritable"},
             {&MFnAttribute::setStorable, false, "error children setStorable"},
             {&MFnAttribute::setArray, true, "error children setArray"},
             {&MFnAttribute::setIndexMatters, true, "error children setIndexMatters"}},
            "Error Adding children attribute"};
}

}  // namespace

void* XMLElementNode::creator()
{
    return new XMLElementNode;
}

MStatus XMLElementNode::initialize()
{
    xmlName = buildAttribute(xmlNameRecipe());
    xmlValue = buildAttribute(xmlValueRecipe());
    xmlAttributes = buildAttribute(xmlAttributesRecipe());
    toParent = buildAttribute(toParentRecipe());
    fromChildren = buildAttribute(fromChildrenRecipe());
    // A change on either link plug dirties the other; not checked.
    attributeAffects(toParent, fromChildren);
    attributeAffects(fromChildren, toParent);
    return MS::kSuccess;
}

MStatus XMLElementNode::compute(const MPlug&, MDataBlock&)
{
    return MS::kSuccess;
}

MStatus XMLElementNode::connectionMade(const MPlug&, const MPlug&, bool)
{
    return MS::kSuccess;
}
