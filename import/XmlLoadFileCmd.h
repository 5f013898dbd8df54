#ifndef DENDRINE_XMLLOADFILECMD_H
#define DENDRINE_XMLLOADFILECMD_H

#include <maya/MPxCommand.h>
#include <maya/MSyntax.h>
#include <maya/MArgList.h>

// Registered now; its work lands with its own layer.
class XmlLoadFileCmd : public MPxCommand
{
public:
    static void* creator();
    static MSyntax newSyntax();

    MStatus doIt(const MArgList& args) override;
    MStatus undoIt() override;
    MStatus redoIt() override;
};

#endif
