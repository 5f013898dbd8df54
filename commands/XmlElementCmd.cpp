#include "commands/XmlElementCmd.h"

void* XmlElementCmd::creator()
{
    return new XmlElementCmd;
}

MSyntax XmlElementCmd::newSyntax()
{
    return MSyntax();
}

MStatus XmlElementCmd::doIt(const MArgList&)
{
    return MS::kSuccess;
}

MStatus XmlElementCmd::undoIt()
{
    return MS::kSuccess;
}

MStatus XmlElementCmd::redoIt()
{
    return MS::kSuccess;
}
