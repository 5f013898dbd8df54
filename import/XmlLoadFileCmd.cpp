#include "import/XmlLoadFileCmd.h"

#include "import/ImportErrorHandler.h"
#include "import/ImportPlan.h"
#include "import/NodeTreeBuilder.h"
#include "import/SafeDomParser.h"
#include "import/Utf8Codec.h"
#include "import/XmlExceptionText.h"
#include "tree/Document.h"
#include "log/Log.h"

#include <maya/MArgDatabase.h>

#include <xercesc/dom/DOM.hpp>

#include <string>

using namespace xercesc;

namespace {

const char* const kHelpText =
    " XmlLoadFile a Part of Dendrine"
    "\nUse this command to read an XML File and create a XML-Base NodeStructure in Maya "
    "\nFlags : "
    "\n\t -h / -help \t: displays this text "
    "\n\t -f / -file \t: Filename from XML File that should be loaded "
    "\n \t -n / -name \t: Name of the Document (Root)-Node "
    "\n \t -t / -xmltype \t: XML-Type of the Document (unused) "
    "\n \t -ee / -exceptelement \t: Except specified Element(s) during creation (unused)"
    "\n\t -fae / -firstappearanceelement \t: Create Node structure from first appearance of this "
    "XmlElement (unused)"
    "\n\t -fav / -firstappearancevalue \t: Create Node structure from first appearance of this "
    "Value (unused)\n";

std::string fatalErrorText(const ParserReport& report)
{
    return "fatal error at line " + std::to_string(report.line) + ", column " +
           std::to_string(report.column) + ": " + report.message;
}

// Parses the file's bytes and plans its tree. Returns why the file cannot
// be imported, or "" when `plan` holds its tree. Needs a live session; the
// parser and its document are gone when this returns.
std::string planParsedFile(const std::string& bytes, const std::string& path, ImportPlan& plan)
{
    ImportErrorHandler handler;
    Utf8Codec codec;
    ImportParser parser(handler);
    const DOMDocument* document = parser.parse(bytes, codec.fromUtf8(path));
    if (handler.fatalErrorCount() > 0)
        return fatalErrorText(handler.firstFatalError());
    const DOMElement* root = document != nullptr ? document->getDocumentElement() : nullptr;
    if (root == nullptr)
        return "the file has no root element";
    if (planFromDom(root, codec, kMaxImportDepth, plan) == PlanOutcome::TooDeep)
        return "elements are nested deeper than " + std::to_string(kMaxImportDepth) + " levels";
    return std::string();
}

}  // namespace

void* XmlLoadFileCmd::creator()
{
    return new XmlLoadFileCmd;
}

MSyntax XmlLoadFileCmd::newSyntax()
{
    MSyntax syntax;
    syntax.addFlag("-h", "-help");
    syntax.addFlag("-f", "-file", MSyntax::kString);
    syntax.addFlag("-n", "-name", MSyntax::kString);
    syntax.addFlag("-t", "-xmltype", MSyntax::kString);
    syntax.addFlag("-ee", "-exceptelement", MSyntax::kString);
    syntax.addFlag("-fae", "-firstappearanceelement", MSyntax::kString);
    syntax.addFlag("-fav", "-firstappearancevalue", MSyntax::kString);
    return syntax;
}

MStatus XmlLoadFileCmd::doIt(const MArgList& args)
{
    fDocumentNode = MObject::kNullObj;
    MArgDatabase flags(syntax(), args);
    fDocumentName = "";
    fFilePath = "";
    if (flags.isFlagSet("-h"))
    {
        setResult(kHelpText);
        return MS::kSuccess;
    }
    if (!flags.isFlagSet("-f"))
    {
        displayError("Please Provide XML Filename");
        return MS::kSuccess;
    }
    flags.getFlagArgument("-f", 0, fFilePath);
    if (flags.isFlagSet("-n"))
        flags.getFlagArgument("-n", 0, fDocumentName);

    ImportPlan plan;
    MString failure;
    if (parseXmlFile(plan, failure) != MS::kSuccess)
    {
        displayError(failure);
        return MS::kFailure;
    }
    fDocumentNode = createDocumentNode(fFilePath, fDocumentName);
    logLine("creating Doc Node start load File");
    NodeTreeBuilder(fModifier).recreateTree(plan, fDocumentNode);
    setResult("Read Succesfull");
    return MS::kSuccess;
}

MStatus XmlLoadFileCmd::parseXmlFile(ImportPlan& plan, MString& failure)
{
    const std::string path = fFilePath.asUTF8();
    std::string bytes;
    std::string reason;
    if (!readFileBytes(path, bytes, reason))
    {
        failure = hostString("Cannot read XML file \"" + path + "\": " + reason);
        return MS::kFailure;
    }
    std::string problem;
    try
    {
        XercesSession session;
        try
        {
            problem = planParsedFile(bytes, path, plan);
        }
        catch (...)
        {
            // Named while the library is still up: its messages need it.
            problem = "the XML library failed: " + describeCurrentException();
        }
    }
    catch (...)
    {
        problem = "the XML library could not be initialised";
    }
    if (problem.empty())
        return MS::kSuccess;
    plan.clear();
    failure = hostString("Cannot import XML file \"" + path + "\": " + problem);
    return MS::kFailure;
}

MStatus XmlLoadFileCmd::undoIt()
{
    return MS::kSuccess;
}

MStatus XmlLoadFileCmd::redoIt()
{
    return MS::kSuccess;
}
