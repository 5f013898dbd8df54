#include "commands/XmlAttributeCmd.h"

void* XmlAttributeCmd::creator()
{
    return new XmlAttributeCmd;
}

MSyntax XmlAttributeCmd::newSyntax()
{
    return MSyntax();
}

MStatus XmlAttributeCmd::doIt(const MArgList&)
{
    return MS::kSuccess;
}

MStatus XmlAttributeCmd::undoIt()
{
    return MS::kSuccess;
}

MStatus XmlAttributeCmd::redoIt()
{
    return MS::kSuccess;
}
