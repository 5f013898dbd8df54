#ifndef DENDRINE_XMLATTRIBUTECMD_H
#define DENDRINE_XMLATTRIBUTECMD_H
// The XmlAttribute command: its syntax describes editing and querying an
// attribute node, but it does no work and always succeeds. Attribute nodes
// are linked and unlinked through the XmlElement command instead.

#include <maya/MPxCommand.h>
#include <maya/MSyntax.h>
#include <maya/MArgList.h>
#include <maya/MObject.h>
#include <maya/MString.h>

class XmlAttributeCmd : public MPxCommand
{
public:
    static void* creator();
    static MSyntax newSyntax();

    // Reads no argument, sets no result, prints nothing.
    MStatus doIt(const MArgList& args) override;
    MStatus undoIt() override;
    MStatus redoIt() override;

private:
    // Held for the flags' meaning; nothing reads or writes them.
    MString nodeName;
    MString xmlName;
    MString xmlValue;
    MObject attributeNode;
};

#endif
