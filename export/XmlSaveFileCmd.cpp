#include "export/XmlSaveFileCmd.h"

void* XmlSaveFileCmd::creator()
{
    return new XmlSaveFileCmd;
}

MSyntax XmlSaveFileCmd::newSyntax()
{
    return MSyntax();
}

MStatus XmlSaveFileCmd::doIt(const MArgList&)
{
    return MS::kSuccess;
}

MStatus XmlSaveFileCmd::undoIt()
{
    return MS::kSuccess;
}

MStatus XmlSaveFileCmd::redoIt()
{
    return MS::kSuccess;
}
