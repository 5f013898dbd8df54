#include "commands/XmlFindCmd.h"

#include "log/Log.h"
#include "tree/Children.h"
#include "tree/Lookup.h"
#include "tree/Search.h"

#include <maya/MArgDatabase.h>
#include <maya/MFn.h>
#include <maya/MGlobal.h>
#include <maya/MItSelectionList.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

namespace {

const char* const kHelpFlag = "-h";
const char* const kHelpFlagLong = "-help";
const char* const kNameFlag = "-n";
const char* const kNameFlagLong = "-name";
const char* const kValueFlag = "-v";
const char* const kValueFlagLong = "-value";
const char* const kChildrenFlag = "-c";
const char* const kChildrenFlagLong = "-childs";
const char* const kSelectedFlag = "-s";
const char* const kSelectedFlagLong = "-selected";
const char* const kAttributeNameFlag = "-an";
const char* const kAttributeNameFlagLong = "-attributename";
const char* const kAttributeValueFlag = "-av";
const char* const kAttributeValueFlagLong = "-attributevalue";

const char* const kHelpText =
    "XmlFind a Part of Dendrine"
    "\n"
    "Use this Command to find special Nodes in the XML Data structures in the actual Maya Scene \n"
    "Flags:\n"
    "\t -h / -help \t: displays this text \n"
    "\t -n / -name \t: find a XML Element with provided Node Name\n"
    " \t -v / -value\t: find a XML Element with provided Node Value\n"
    " \t -c / -children \t: Use this Flag to search in the Children of the actual selected Node\n"
    "\t -an / -attributeName \t: finds a Attribute with provided Name (unused)\n"
    "\t -av / -attributeValue \t: finds a Attribute with provided Value (unused)";

void appendAll(const MObjectArray& nodes, MObjectArray& to)
{
    for (unsigned int i = 0; i < nodes.length(); ++i) {
        to.append(nodes[i]);
    }
}

} // namespace

void* XmlFindCmd::creator()
{
    return new XmlFindCmd;
}

MSyntax XmlFindCmd::newSyntax()
{
    MSyntax syntax;
    syntax.addFlag(kHelpFlag, kHelpFlagLong);
    syntax.addFlag(kNameFlag, kNameFlagLong, MSyntax::kString);
    syntax.addFlag(kValueFlag, kValueFlagLong, MSyntax::kString);
    syntax.addFlag(kChildrenFlag, kChildrenFlagLong);
    syntax.addFlag(kSelectedFlag, kSelectedFlagLong);
    syntax.addFlag(kAttributeNameFlag, kAttributeNameFlagLong, MSyntax::kString);
    syntax.addFlag(kAttributeValueFlag, kAttributeValueFlagLong, MSyntax::kString);
    return syntax;
}

MStatus XmlFindCmd::doIt(const MArgList& argList)
{
    MArgDatabase args(syntax(), argList);
    searchName = searchValue = attributeName = attributeValue = "";
    candidates.clear();
    if (args.isFlagSet(kHelpFlag)) {
        setResult(kHelpText);
        return MS::kSuccess;
    }
    collectSelection();
    if (args.isFlagSet(kChildrenFlag)) {
        logLine("inChilds Flag Raised");
        MStatus walked = searchInChildren();
        if (walked != MS::kSuccess) {
            displayError(walkProblem);
            return walked;
        }
    } else if (args.isFlagSet(kSelectedFlag)) {
        logLine("in Selected Flag Raised");
        searchInSelected();
    } else {
        logLine("in All Flag Raised");
        searchInAll();
    }
    if (candidates.length() == 0) {
        displayError("Please select node(s) to Search in ");
        return MS::kInvalidParameter;
    }
    // Each filter clears the matches and reads all candidates, so with both
    // flags the value alone decides.
    MObjectArray matches;
    if (args.isFlagSet(kNameFlag)) {
        args.getFlagArgument(kNameFlag, 0, searchName);
        filterByElementName(candidates, searchName, matches);
    }
    if (args.isFlagSet(kValueFlag)) {
        args.getFlagArgument(kValueFlag, 0, searchValue);
        filterByElementValue(candidates, searchValue, matches);
    }
    MStringArray names;
    getNodeNames(matches, names);
    if (names.length() != 0) {
        setResult(names);
    } else {
        setResult(false);
    }
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

MStatus XmlFindCmd::collectSelection()
{
    selectedNodes.clear();
    MSelectionList selection;
    MGlobal::getActiveSelectionList(selection);
    for (MItSelectionList it(selection, MFn::kDependencyNode); !it.isDone(); it.next()) {
        MObject node;
        if (it.getDependNode(node) != MS::kSuccess) {
            continue;
        }
        if (isElementNode(node) || isDocumentNode(node)) {
            selectedNodes.append(node);
        }
    }
    return MS::kSuccess;
}

MStatus XmlFindCmd::searchInChildren()
{
    candidates.clear();
    walkProblem.clear();
    for (unsigned int i = 0; i < selectedNodes.length(); ++i) {
        MObjectArray below;
        MStatus status = isElementNode(selectedNodes[i])
                             ? getAllDescendants(selectedNodes[i], below, walkProblem)
                             : getAllDocumentDescendants(selectedNodes[i], below, walkProblem);
        if (walkProblem.length() != 0)
            return status;
        appendAll(below, candidates);
    }
    return MS::kSuccess;
}

MStatus XmlFindCmd::searchInSelected()
{
    candidates.clear();
    for (unsigned int i = 0; i < selectedNodes.length(); ++i) {
        if (isElementNode(selectedNodes[i])) {
            candidates.append(selectedNodes[i]);
        }
    }
    return MS::kSuccess;
}

MStatus XmlFindCmd::searchInAll()
{
    candidates.clear();
    return listAllElementNodes(candidates);
}
