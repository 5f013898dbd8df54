#ifndef DENDRINE_XMLELEMENTNODE_H
#define DENDRINE_XMLELEMENTNODE_H
// The XmlElement node: one XML element with its tag name and text. It links
// up through "ToParent" (to a document or a parent element) and receives its
// children on "FromChildren" and its attribute nodes on "XmlAttributes".

#include <maya/MPxNode.h>
#include <maya/MObject.h>

class XMLElementNode : public MPxNode
{
public:
    static void* creator();
    // Adds the attributes, writing one line per failed step to standard
    // output; always succeeds.
    static MStatus initialize();

    // The node computes nothing and ignores new links: both only succeed.
    MStatus compute(const MPlug& plug, MDataBlock& dataBlock) override;
    MStatus connectionMade(const MPlug& plug, const MPlug& otherPlug, bool asSrc) override;

    static MObject xmlName;
    static MObject xmlValue;
    static MObject xmlAttributes;
    static MObject toParent;
    static MObject fromChildren;
};

#endif
