#ifndef DENDRINE_XMLSAVEFILECMD_H
#define DENDRINE_XMLSAVEFILECMD_H

#include <maya/MPxCommand.h>
#include <maya/MSyntax.h>
#include <maya/MArgList.h>

// Registered now; its work lands with its own layer.
class XmlSaveFileCmd : public MPxCommand
{
public:
    static void* creator();
    static MSyntax newSyntax();

    MStatus doIt(const MArgList& args) override;
    MStatus undoIt() override;
    MStatus redoIt() override;
};

#endif
