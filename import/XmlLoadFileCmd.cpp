#include "import/XmlLoadFileCmd.h"

#include "import/ImportErrorHandler.h"
#include "import/ImportPlan.h"
#include "import/NodeTreeBuilder.h"
#include "import/ImportParser.h"
#include "import/SourceFile.h"
#include "tree/Document.h"
#include "log/Log.h"
#include "xml/Utf8.h"
#include "xml/XmlErrors.h"
#include "xml/XmlSession.h"

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

// "N name(s) or value(s) ... and M link(s) ...", either part alone when
// the other count is 0.
std::string lossesText(unsigned lostValues, unsigned lostLinks, const std::string& path)
{
    std::string text = "XML file \"" + path + "\" imported incompletely: ";
    if (lostValues > 0)
        text += std::to_string(lostValues) +
                (lostValues == 1 ? " name or value was" : " names or values were") +
                " not written into the scene";
    if (lostValues > 0 && lostLinks > 0)
        text += " and ";
    if (lostLinks > 0)
        text += std::to_string(lostLinks) +
                (lostLinks == 1 ? " link between nodes was" : " links between nodes were") +
                " not made";
    return text + " (see the error lines)";
}

std::string amplificationText()
{
    return "its entities expand to more than " + std::to_string(kAmplificationFactor) +
           " times the file's size (a guard against documents built to exhaust memory)";
}

// Parses the file's bytes and plans its tree. Returns why the file cannot
// be imported, or "" when `plan` holds its tree. Needs a live session; the
// parser and its document are gone when this returns.
std::string planParsedFile(const std::string& bytes, const std::string& path, ImportPlan& plan)
{
    ImportErrorHandler handler;
    ImportParser parser(handler);
    const DOMDocument* document = parser.parse(bytes, fromUtf8(path));
    if (parser.amplified())
        return amplificationText();
    if (handler.fatalErrorCount() > 0)
        return fatalErrorText(handler.firstFatalError());
    const DOMElement* root = document != nullptr ? document->getDocumentElement() : nullptr;
    if (root == nullptr)
        return "the file has no root element";
    if (const AmplificationGuard* produced = parser.produced())
        plan.reserve(produced->elements(), produced->attributes(), produced->texts(), bytes.size());
    if (planFromDom(root, kMaxImportDepth, plan) == PlanOutcome::TooDeep)
        return "elements are nested deeper than " + std::to_string(kMaxImportDepth) + " levels";
    return std::string();
}

// Reads and plans the file under a session of its own; "" when `plan`
// holds its tree, else what went wrong. Throws nothing the caller must not
// catch as a library failure.
std::string planFile(const std::string& path, ImportPlan& plan)
{
    std::string bytes;
    std::string reason;
    if (!readFileBytes(path, bytes, reason))
        return "Cannot read XML file \"" + path + "\": " + reason;
    XmlSession session(XmlSession::Network::Off);
    if (!session.started())
        return "Cannot import XML file \"" + path + "\": the XML library could not be initialised (" +
               session.failure() + ")";
    std::string problem;
    // Named while the library is still up: its messages need it.
    if (runCatchingXmlErrors([&] { problem = planParsedFile(bytes, path, plan); }, reason))
        return problem.empty() ? problem : "Cannot import XML file \"" + path + "\": " + problem;
    return "Cannot import XML file \"" + path + "\": " + reason;
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
    // Nothing an allocation throws may reach the host, and an import that
    // threw takes away every node it made.
    NodeTreeBuilder builder(fModifier);
    try
    {
        return run(args, builder);
    }
    catch (...)
    {
        reportException(builder.deleteCreated());
    }
    return MS::kFailure;
}

MStatus XmlLoadFileCmd::run(const MArgList& args, NodeTreeBuilder& builder)
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
    buildTree(plan, builder);
    if (builder.lostValues() > 0 || builder.lostLinks() > 0)
    {
        // The tree stays (each loss has its error line), but it is not
        // the file: no success.
        displayError(hostString(lossesText(builder.lostValues(), builder.lostLinks(), fFilePath.asUTF8())));
        return MS::kFailure;
    }
    setResult("Read Succesfull");
    return MS::kSuccess;
}

void XmlLoadFileCmd::reportException(bool sceneRestored) noexcept
{
    const std::string reason = describeCurrentException();
    try
    {
        const std::string path = fFilePath.asUTF8();
        std::string text = path.empty() ? "Cannot import the XML file: " + reason
                                        : "Cannot import XML file \"" + path + "\": " + reason;
        if (!sceneRestored)
            text += " (some of the nodes it made could not be removed)";
        displayError(hostString(text));
    }
    catch (...)
    {
        try
        {
            displayError(MString("Cannot import the XML file: ") + reason.c_str());
        }
        catch (...)
        {
            // Not even the error can be shown; the status still fails.
        }
    }
}

MStatus XmlLoadFileCmd::parseXmlFile(ImportPlan& plan, MString& failure)
{
    const std::string problem = planFile(fFilePath.asUTF8(), plan);
    if (problem.empty())
        return MS::kSuccess;
    plan.clear();
    failure = hostString(problem);
    return MS::kFailure;
}

void XmlLoadFileCmd::buildTree(const ImportPlan& plan, NodeTreeBuilder& builder)
{
    builder.reserveFor(plan);
    fDocumentNode = createDocumentNode(fFilePath, fDocumentName);
    builder.remember(fDocumentNode);
    logLine("creating Doc Node start load File");
    builder.recreateTree(plan, fDocumentNode);
}

MStatus XmlLoadFileCmd::undoIt()
{
    return MS::kSuccess;
}

MStatus XmlLoadFileCmd::redoIt()
{
    return MS::kSuccess;
}
