#include "commands/XmlQueryCmd.h"

#include "commands/QueryView.h"
#include "nodes/XmlTypeIds.h"
#include "tree/Lookup.h"

#include <maya/MArgDatabase.h>
#include <maya/MFn.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MItSelectionList.h>
#include <maya/MSelectionList.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <memory>
#include <new>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

const char* const kHelpFlag = "-h";
const char* const kHelpFlagLong = "-help";
const char* const kPathFlag = "-p";
const char* const kPathFlagLong = "-path";
const char* const kSelectedFlag = "-s";
const char* const kSelectedFlagLong = "-selected";

const char* const kHelpText =
    "XmlQuery a Part of Dendrine\n"
    "Use this Command to search the XML Data structures in the actual Maya Scene with an XPath 1.0 "
    "path\n"
    "Flags:\n"
    "\t -h / -help \t: displays this text\n"
    "\t -p / -path \t: the XPath 1.0 expression; each XML document is the root / of its own tree\n"
    "\t -s / -selected \t: the selected documents and elements are the context nodes\n"
    "Result: the node names of the selected elements and attributes, in document order, or the "
    "number, string or boolean the path computes";

const char* const kOutOfMemory = "Not enough memory to answer the path";

// The context nodes of one copied tree; its answers are put in document
// order together.
struct Tree {
    pugi::xml_node root;
    std::vector<pugi::xpath_node> contexts;
};

// What one run of the command gathers before it answers.
struct Search {
    QueryView view;
    std::vector<Tree> trees;
    std::string failure;

    std::size_t contextCount() const
    {
        std::size_t count = 0;
        for (const Tree& tree : trees)
            count += tree.contexts.size();
        return count;
    }

    void addContext(pugi::xml_node root, pugi::xml_node context)
    {
        for (Tree& tree : trees) {
            if (tree.root == root) {
                tree.contexts.emplace_back(context);
                return;
            }
        }
        trees.push_back(Tree{root, {pugi::xpath_node(context)}});
    }
};

// The name of the function called just before `end`, where pugixml stops on
// a call it does not know; empty when there is none.
std::string calledFunction(const std::string& path, std::size_t end)
{
    std::size_t open = path.rfind('(', end == 0 ? 0 : end - 1);
    if (open == std::string::npos)
        return std::string();
    std::size_t start = open;
    while (start > 0 && (std::isalnum(static_cast<unsigned char>(path[start - 1])) ||
                         path[start - 1] == '-' || path[start - 1] == '_' || path[start - 1] == ':'))
        --start;
    return path.substr(start, open - start);
}

bool continuesUtf8(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// How many characters (not bytes) of UTF-8 text come before `offset`.
std::size_t charactersBefore(const std::string& text, std::size_t offset)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.begin() + offset,
                                                  [](char byte) { return !continuesUtf8(byte); }));
}

std::string malformedText(const std::string& path, const pugi::xpath_parse_result& result)
{
    const std::size_t offset =
        std::min(path.size(), static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, result.offset)));
    // A short excerpt from the offset on, not cut inside a UTF-8 sequence.
    std::size_t excerptEnd = std::min(path.size(), offset + 20);
    while (excerptEnd < path.size() && continuesUtf8(path[excerptEnd]))
        ++excerptEnd;
    const std::string character = "character " + std::to_string(charactersBefore(path, offset) + 1);
    const std::string where =
        offset < path.size() ? "at " + character + " (\"" + path.substr(offset, excerptEnd - offset) + "\")"
                             : "at its end (" + character + ")";
    std::string reason = result.description();
    const std::string function = calledFunction(path, offset);
    if (reason == "Unrecognized function or wrong parameter count" && !function.empty())
        reason = "unknown function " + function + "(), or wrong number of arguments for it";
    return "Malformed path \"" + path + "\" " + where + ": " + reason;
}

// Compiles the path; on a malformed one `failure` names the position.
// pugixml reports a malformed path by throwing: caught here (running out
// of memory is left to the command's own guard).
std::unique_ptr<pugi::xpath_query> compilePath(const std::string& path, std::string& failure)
{
    try {
        return std::make_unique<pugi::xpath_query>(path.c_str());
    } catch (const pugi::xpath_exception& error) {
        failure = malformedText(path, error.result());
    }
    return nullptr;
}

// Every document of the scene, each the root of its own tree.
MStatus gatherDocuments(Search& search)
{
    MStringArray names;
    MStatus status = MGlobal::executeCommand("ls -type " + kXmlDocumentTypeName, names, false, false);
    if (status != MS::kSuccess) {
        search.failure = std::string("Cannot list the scene's XML documents: ") +
                         status.errorString().asChar();
        return status;
    }
    for (unsigned int i = 0; i < names.length(); ++i) {
        MObject document;
        if (!findDocumentNodeByName(names[i], document))
            continue;
        pugi::xml_node root;
        status = search.view.addTree(document, root);
        if (status != MS::kSuccess)
            return status;
        search.addContext(root, root);
    }
    if (search.trees.empty()) {
        search.failure = "The scene holds no XML documents to search";
        return MS::kInvalidParameter;
    }
    return MS::kSuccess;
}

// One selected document or element as a context node, with its whole tree.
MStatus gatherSelected(Search& search, const MObject& node)
{
    MObject top;
    MStatus status = search.view.findTreeRoot(node, top);
    pugi::xml_node root;
    if (status == MS::kSuccess)
        status = search.view.addTree(top, root);
    if (status != MS::kSuccess)
        return status;
    pugi::xml_node context = search.view.viewOf(node);
    if (!context) {
        search.failure = std::string("Selected node '") + MFnDependencyNode(node).name().asChar() +
                         "' is not linked as a child of its parent";
        return MS::kInvalidParameter;
    }
    search.addContext(root, context);
    return MS::kSuccess;
}

// The selected documents and elements, in selection order.
MStatus gatherSelection(Search& search)
{
    MSelectionList selection;
    MGlobal::getActiveSelectionList(selection);
    for (MItSelectionList it(selection, MFn::kDependencyNode); !it.isDone(); it.next()) {
        MObject node;
        if (it.getDependNode(node) != MS::kSuccess)
            continue;
        if (!isElementNode(node) && !isDocumentNode(node))
            continue;
        MStatus status = gatherSelected(search, node);
        if (status != MS::kSuccess)
            return status;
    }
    if (search.trees.empty()) {
        search.failure = "Please select the XML documents or elements to search from";
        return MS::kInvalidParameter;
    }
    return MS::kSuccess;
}

// Why a selected view node has no scene node.
std::string unmappedText(const pugi::xpath_node& node)
{
    if (node.node().type() == pugi::node_pcdata)
        return "The path selects text, which is no scene node: select its element, or ask for "
               "the text with string()";
    return "The path selects the root of a tree that hangs below no document, which is no scene "
           "node";
}

// The host names of the nodes the path selects from every context, in
// document order tree by tree, each once. An element is copied once, so an
// element selected twice (from two contexts) is one view node, which the
// sort puts next to itself. An attribute node linked to two elements is
// copied twice: attributes are told apart by name.
MStatus selectNodes(const pugi::xpath_query& query, const Search& search, MStringArray& names,
                    std::string& failure)
{
    std::unordered_set<std::string> namedAttributes;
    for (const Tree& tree : search.trees) {
        std::vector<pugi::xpath_node> found;
        for (const pugi::xpath_node& context : tree.contexts) {
            const pugi::xpath_node_set selected = query.evaluate_node_set(context);
            found.insert(found.end(), selected.begin(), selected.end());
        }
        pugi::xpath_node_set ordered(found.data(), found.data() + found.size());
        ordered.sort();
        for (std::size_t i = 0; i < ordered.size(); ++i) {
            const pugi::xpath_node& node = ordered[i];
            if (i > 0 && node == ordered[i - 1])
                continue;
            MObject sceneNode = search.view.sceneNodeOf(node);
            if (sceneNode.isNull()) {
                failure = unmappedText(node);
                return MS::kInvalidParameter;
            }
            MStatus status;
            const MString name = MFnDependencyNode(sceneNode).name(&status);
            if (status != MS::kSuccess) {
                failure = std::string("Cannot name a selected node: ") + status.errorString().asChar();
                return status;
            }
            if (!node.attribute() || namedAttributes.insert(name.asChar()).second)
                names.append(name);
        }
    }
    return MS::kSuccess;
}

// Sets the command's result: the selected nodes' names, or the value the path
// computes (from one context node only).
MStatus answer(const pugi::xpath_query& query, Search& search)
{
    if (query.return_type() == pugi::xpath_type_node_set) {
        MStringArray names;
        MStatus status = selectNodes(query, search, names, search.failure);
        if (status == MS::kSuccess)
            MPxCommand::setResult(names);
        return status;
    }
    if (search.contextCount() != 1) {
        search.failure = "The path gives one value per context node and there are " +
                         std::to_string(search.contextCount()) +
                         ": select one document or element and use -s";
        return MS::kInvalidParameter;
    }
    const pugi::xpath_node& context = search.trees.front().contexts.front();
    switch (query.return_type()) {
    case pugi::xpath_type_number:
        MPxCommand::setResult(query.evaluate_number(context));
        break;
    case pugi::xpath_type_boolean:
        MPxCommand::setResult(query.evaluate_boolean(context));
        break;
    default:
        MPxCommand::setResult(MString(query.evaluate_string(context).c_str()));
        break;
    }
    return MS::kSuccess;
}

}  // namespace

void* XmlQueryCmd::creator()
{
    return new XmlQueryCmd;
}

MSyntax XmlQueryCmd::newSyntax()
{
    MSyntax syntax;
    syntax.addFlag(kHelpFlag, kHelpFlagLong);
    syntax.addFlag(kPathFlag, kPathFlagLong, MSyntax::kString);
    syntax.addFlag(kSelectedFlag, kSelectedFlagLong);
    return syntax;
}

MStatus XmlQueryCmd::doIt(const MArgList& argList)
{
    // Nothing an allocation throws may reach the host.
    try {
        return run(argList);
    } catch (const std::bad_alloc&) {
        try {
            displayError(kOutOfMemory);
        } catch (...) {
            // Not even the error can be shown; the status still fails.
        }
    }
    return MS::kFailure;
}

MStatus XmlQueryCmd::run(const MArgList& argList)
{
    MStatus parsed;
    MArgDatabase args(syntax(), argList, &parsed);
    if (parsed != MS::kSuccess) {
        displayError("Cannot read the flags: XmlQuery -p PATH [-s], or XmlQuery -h");
        return MS::kInvalidParameter;
    }
    if (args.isFlagSet(kHelpFlag)) {
        setResult(kHelpText);
        return MS::kSuccess;
    }
    MString pathText;
    if (!args.isFlagSet(kPathFlag) || args.getFlagArgument(kPathFlag, 0, pathText) != MS::kSuccess ||
        pathText.length() == 0) {
        displayError("Please give the XPath to search for with -p");
        return MS::kInvalidParameter;
    }
    Search search;
    const std::unique_ptr<pugi::xpath_query> query = compilePath(pathText.asChar(), search.failure);
    if (!query) {
        displayError(search.failure.c_str());
        return MS::kInvalidParameter;
    }
    // Copying the trees and evaluating allocate as much as the scene holds;
    // running out is doIt's to report.
    MStatus status = args.isFlagSet(kSelectedFlag) ? gatherSelection(search) : gatherDocuments(search);
    if (status == MS::kSuccess)
        status = answer(*query, search);
    if (status != MS::kSuccess)
        displayError((search.failure.empty() ? search.view.failure() : search.failure).c_str());
    return status;
}

MStatus XmlQueryCmd::undoIt()
{
    return MS::kSuccess;
}

MStatus XmlQueryCmd::redoIt()
{
    return MS::kSuccess;
}
