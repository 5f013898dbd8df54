#ifndef DENDRINE_XMLDOCNODE_H
#define DENDRINE_XMLDOCNODE_H
// The XmlDocument node: one per XML document in the scene. Its top-level
// elements link to elements of "DocumentElements" through their "ToParent".

#include <maya/MPxNode.h>
#include <maya/MObject.h>

class XMLDocNode : public MPxNode
{
public:
    static void* creator();
    // Adds the attributes; checks and reports nothing.
    static MStatus initialize();

    // The node computes nothing: it only carries its plugs.
    MStatus compute(const MPlug& plug, MDataBlock& dataBlock) override;

    static MObject documentName;
    static MObject documentType;   // declared, never read or written
    static MObject documentInfo;   // declared, never read or written
    static MObject documentElements;
};

#endif
