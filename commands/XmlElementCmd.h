#ifndef DENDRINE_XMLELEMENTCMD_H
#define DENDRINE_XMLELEMENTCMD_H

#include <maya/MPxCommand.h>
#include <maya/MSyntax.h>
#include <maya/MArgList.h>

// Registered now; its work lands with its own layer.
class XmlElementCmd : public MPxCommand
{
public:
    static void* creator();
    static MSyntax newSyntax();

    MStatus doIt(const MArgList& args) override;
    MStatus undoIt() override;
    MStatus redoIt() override;
};

#endif
