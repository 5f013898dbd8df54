#include "import/XmlLoadFileCmd.h"

void* XmlLoadFileCmd::creator()
{
    return new XmlLoadFileCmd;
}

MSyntax XmlLoadFileCmd::newSyntax()
{
    return MSyntax();
}

MStatus XmlLoadFileCmd::doIt(const MArgList&)
{
    return MS::kSuccess;
}

MStatus XmlLoadFileCmd::undoIt()
{
    return MS::kSuccess;
}

MStatus XmlLoadFileCmd::redoIt()
{
    return MS::kSuccess;
}
