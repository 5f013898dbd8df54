#include "commands/XmlAttributeCmd.h"

namespace {

const char* const kHelpFlag = "-h";
const char* const kHelpFlagLong = "-help";
const char* const kNameFlag = "-n";
const char* const kNameFlagLong = "-name";
const char* const kXmlNameFlag = "-xn";
const char* const kXmlNameFlagLong = "-xmlname";
const char* const kXmlValueFlag = "-xv";
const char* const kXmlValueFlagLong = "-xmlvalue";

} // namespace

void* XmlAttributeCmd::creator()
{
    return new XmlAttributeCmd;
}

MSyntax XmlAttributeCmd::newSyntax()
{
    MSyntax syntax;
    syntax.addFlag(kHelpFlag, kHelpFlagLong);
    syntax.addFlag(kNameFlag, kNameFlagLong, MSyntax::kString);
    syntax.addFlag(kXmlNameFlag, kXmlNameFlagLong, MSyntax::kString);
    syntax.addFlag(kXmlValueFlag, kXmlValueFlagLong, MSyntax::kString);
    syntax.enableEdit(true);
    syntax.enableQuery(true);
    return syntax;
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
