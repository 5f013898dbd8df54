#ifndef DENDRINE_XMLELEMENTATTRIBUTENODE_H
#define DENDRINE_XMLELEMENTATTRIBUTENODE_H
// The XmlElementAttribute node: one XML attribute (name and value). Its whole
// "Parent" plug is the source of the link to an element's "XmlAttributes".

#include <maya/MPxNode.h>
#include <maya/MObject.h>

class XMLElementAttributeNode : public MPxNode
{
public:
    static void* creator();
    // Adds the attributes; checks and reports nothing.
    static MStatus initialize();

    // The node computes nothing: it only carries its plugs.
    MStatus compute(const MPlug& plug, MDataBlock& dataBlock) override;

    static MObject attributeName;
    static MObject attributeValue;
    static MObject attributeParent;
};

#endif
