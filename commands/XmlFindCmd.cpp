#include "commands/XmlFindCmd.h"

void* XmlFindCmd::creator()
{
    return new XmlFindCmd;
}

MSyntax XmlFindCmd::newSyntax()
{
    return MSyntax();
}

MStatus XmlFindCmd::doIt(const MArgList&)
{
    return MS::kSuccess;
}

MStatus XmlFindCmd::undoIt()
{
    return MS::kSuccess;
}

MStatus XmlFindCmd::redoIt()
{
    return MS::kSuccess;
}
