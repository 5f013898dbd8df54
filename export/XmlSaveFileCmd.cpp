#include "export/XmlSaveFileCmd.h"

#include "export/NodeTreeSerializer.h"
#include "log/Log.h"
#include "tree/Lookup.h"
#include "xml/XmlErrors.h"
#include "xml/XmlSession.h"

#include <maya/MFn.h>
#include <maya/MGlobal.h>
#include <maya/MItSelectionList.h>
#include <maya/MSelectionList.h>

namespace {

const char* const kHelpText =
    "XmlSaveFile a Part of Dendrine\n"
    "Use this Command to Export selected Document or Xml nodes and their underlying tree to an "
    "Xml File \n"
    "Flags:\n"
    "\t -h / -help \t: displays this text \n"
    "\t -f / -file \t: filename the selected node should be saved to\n"
    " \t -sel / -selectedNodes \t: export the selected nodes\n"
    " \t -all\t/ -alldoc \t:exports all Documentnodes in the actual File\n"
    "\t -n / -node \t:exports the node from the given nodename\n";

const char* const kHelpFlag = "-h";
const char* const kFileFlag = "-f";
const char* const kAllDocFlag = "-all";
const char* const kNodeFlag = "-n";

MStatus refuse(const char* message)
{
    MPxCommand::displayError(message);
    return MS::kInvalidParameter;
}

}  // namespace

void* XmlSaveFileCmd::creator()
{
    return new XmlSaveFileCmd;
}

MSyntax XmlSaveFileCmd::newSyntax()
{
    MSyntax syntax;
    syntax.addFlag(kHelpFlag, "-help");
    syntax.addFlag(kFileFlag, "-file", MSyntax::kString);
    syntax.addFlag(kAllDocFlag, "-alldoc");
    syntax.addFlag(kNodeFlag, "-node", MSyntax::kString);
    return syntax;
}

MStatus XmlSaveFileCmd::doIt(const MArgList& argList)
{
    // Nothing the library or an allocation throws may reach the host.
    try {
        return runInSession(argList);
    } catch (...) {
        reportStopped(describeCurrentException());
    }
    return MS::kFailure;
}

MStatus XmlSaveFileCmd::runInSession(const MArgList& argList)
{
    MArgDatabase args(syntax(), argList);
    XmlSession xml;
    if (!xml.started()) {
        displayError(MString("Cannot start the XML library: ") + xml.failure().c_str());
        return MS::kFailure;
    }
    std::string reason;
    MStatus status = MS::kFailure;
    if (runCatchingXmlErrors([&] { status = run(args); }, reason))
        return status;
    // Named while the library is still up: its messages need it.
    reportStopped(reason);
    return MS::kFailure;
}

void XmlSaveFileCmd::reportStopped(const std::string& reason) noexcept
{
    clearResult();
    try {
        displayError(MString("XmlSaveFile stopped: ") + reason.c_str());
    } catch (...) {
        try {
            displayError("XmlSaveFile stopped: out of memory");
        } catch (...) {
            // Not even the error can be shown; the status still fails.
        }
    }
}

MStatus XmlSaveFileCmd::run(const MArgDatabase& args)
{
    selectionMode = true;
    fileName.clear();
    docNodes.clear();
    xmlNodes.clear();
    if (args.isFlagSet(kHelpFlag)) {
        setResult(kHelpText);
        return MS::kSuccess;
    }
    MStatus status = collectNodes(args);
    return status ? exportCollected() : status;
}

MStatus XmlSaveFileCmd::collectNodes(const MArgDatabase& args)
{
    MStatus status = readFileFlag(args);
    if (status)
        status = readNodeFlag(args);
    if (status)
        status = readAllDocFlag(args);
    if (status)
        status = readSelection();
    return status ? checkNodesAgainstFileName() : status;
}

MStatus XmlSaveFileCmd::readFileFlag(const MArgDatabase& args)
{
    if (!args.isFlagSet(kFileFlag))
        return MS::kSuccess;
    logLine("FileName Raised");
    args.getFlagArgument(kFileFlag, 0, fileName);
    if (fileName.length() == 0)
        return refuse("Please provide Filename");
    return MS::kSuccess;
}

MStatus XmlSaveFileCmd::readNodeFlag(const MArgDatabase& args)
{
    if (!args.isFlagSet(kNodeFlag))
        return MS::kSuccess;
    selectionMode = false;
    logLine("Export Node Raised");
    MString name;
    args.getFlagArgument(kNodeFlag, 0, name);
    MObject node;
    if (findDocumentNodeByName(name, node)) {
        docNodes.append(node);
        if (fileName.length() == 0)
            return refuse(
                "Cannot Export an XML Node Structure without and DocumentNode or an XML FileName");
    } else if (findElementNodeByName(name, node)) {
        xmlNodes.append(node);
    } else {
        return refuse("Given Name doesnt lead to an Document or XML Node");
    }
    return MS::kSuccess;
}

MStatus XmlSaveFileCmd::readAllDocFlag(const MArgDatabase& args)
{
    if (!args.isFlagSet(kAllDocFlag))
        return MS::kSuccess;
    selectionMode = false;
    logLine("Export All Raised");
    if (args.isFlagSet(kFileFlag))
        return refuse("Cant Export All DocumentNodes with One Filename");
    if (failed(getDocNodes()))
        return refuse("Error getting All Document Nodes, maybe there is none of them in this file");
    return MS::kSuccess;
}

MStatus XmlSaveFileCmd::readSelection()
{
    if (!selectionMode)
        return MS::kSuccess;
    logLine("Export Selected Raised");
    getSelectedNodes();
    if (docNodes.length() == 0 && xmlNodes.length() == 0)
        return refuse("Please Select Nodes to Export");
    return MS::kSuccess;
}

// With a file name exactly one node, document or element, is exported;
// without one only documents, each to its own document name.
MStatus XmlSaveFileCmd::checkNodesAgainstFileName()
{
    const bool named = fileName.length() > 0;
    const unsigned nodeCount = docNodes.length() + xmlNodes.length();
    if ((!named && xmlNodes.length() > 0) || (named && nodeCount >= 2))
        return refuse("Cannot Export Multiple Xml/Doc Nodes with only one FileName");
    if (docNodes.length() == 0 && !named)
        return refuse("Cannot Export Xml File, No Nodes to Export is selected");
    return MS::kSuccess;
}

MStatus XmlSaveFileCmd::exportCollected()
{
    logLine("Do Export Called");
    // Set before any file changes, so that no failure to report the success
    // can follow a written file; taken back when the export fails.
    setResult("Export Succesfull");
    MStatus status = doExport();
    logLine("Do Export Finished");
    if (!status)
        clearResult();
    return status;
}

void XmlSaveFileCmd::getSelectedNodes()
{
    MSelectionList selection;
    MGlobal::getActiveSelectionList(selection);
    logNumber(selection.length());
    MItSelectionList it(selection, MFn::kDependencyNode);
    for (; !it.isDone(); it.next()) {
        MObject node;
        it.getDependNode(node);
        if (isDocumentNode(node)) {
            logLine("docNode");
            docNodes.append(node);
        } else if (isElementNode(node)) {
            logLine("XmlNode");
            xmlNodes.append(node);
        } else {
            logLine("not in List");
        }
    }
}

MStatus XmlSaveFileCmd::getDocNodes()
{
    logLine("getDocNodes");
    xmlNodes.clear();
    MStatus status = listAllDocumentNodes(docNodes);
    logError("Error Get DocNodes", status);
    if (docNodes.length() == 0)
        return MS::kFailure;
    return status;
}

MStatus XmlSaveFileCmd::doExport()
{
    MStatus elements = exportList(xmlNodes);
    MStatus documents = exportList(docNodes);
    return (elements && documents) ? MS::kSuccess : MS::kFailure;
}

// Every node is tried, also after one failed.
MStatus XmlSaveFileCmd::exportList(const MObjectArray& nodes)
{
    if (nodes.length() == 0)
        return MS::kSuccess;
    logLine("Exporting DocNodes #");
    logNumber(nodes.length());
    bool allWritten = true;
    for (unsigned i = 0; i < nodes.length(); ++i)
        allWritten = exportNodeToFile(nodes[i], fileName) && allWritten;
    return allWritten ? MS::kSuccess : MS::kFailure;
}

MStatus XmlSaveFileCmd::undoIt()
{
    return MS::kSuccess;
}

MStatus XmlSaveFileCmd::redoIt()
{
    return MS::kSuccess;
}

bool XmlSaveFileCmd::isUndoable() const
{
    return false;
}

bool XmlSaveFileCmd::hasSyntax() const
{
    return true;
}
