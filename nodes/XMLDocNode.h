#ifndef DENDRINE_XMLDOCNODE_H
#define DENDRINE_XMLDOCNODE_H
// The XmlDocument node: one per XML document in the scene. Its top-level
// elements link to elements of "DocumentElements" through their "ToParent".

#include <maya/MPxNode.h>
#include <maya/MObject.h>
#include <maya/MString.h>

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

    static const MString documentNameLong;      // "DocumentName"
    static const MString documentNameShort;     // "DocName"
    static const MString documentTypeLong;      // "DocumenType" (sic)
    static const MString documentTypeShort;     // "DocType"
    static const MString documentInfoLong;      // "DocumentInfo"
    static const MString documentInfoShort;     // "DocInfo"
    static const MString documentElementsLong;  // "DocumentElements"
    static const MString documentElementsShort; // "DocElements"
};

#endif
