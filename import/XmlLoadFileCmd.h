#ifndef DENDRINE_XMLLOADFILECMD_H
#define DENDRINE_XMLLOADFILECMD_H
// XmlLoadFile: imports an XML file as a new XmlDocument node with its
// element and attribute nodes. The file is read and parsed first; only a
// file that parsed without a fatal error, within the depth limit, creates
// any node, so a refused file leaves the scene as it was; an import that
// runs out of memory half-way removes the nodes it made.

#include <maya/MArgList.h>
#include <maya/MDGModifier.h>
#include <maya/MObject.h>
#include <maya/MPxCommand.h>
#include <maya/MString.h>
#include <maya/MSyntax.h>

class NodeTreeBuilder;
struct ImportPlan;

class XmlLoadFileCmd : public MPxCommand
{
public:
    static void* creator();
    // -h/-help, -f/-file, -n/-name, and four accepted but unused flags.
    static MSyntax newSyntax();

    MStatus doIt(const MArgList& args) override;
    MStatus undoIt() override;
    MStatus redoIt() override;

private:
    // doIt's work; may throw, leaving the nodes it made in `builder`.
    MStatus run(const MArgList& args, NodeTreeBuilder& builder);
    // Shows the one error of an import that threw; `sceneRestored` says
    // whether every node it made was removed again.
    void reportException(bool sceneRestored) noexcept;
    // Reads and parses the -file argument and plans its tree. On a file
    // that cannot be imported returns kFailure with the reason for the
    // user in `failure`. The XML library lives only inside this call and is
    // terminated on every path; none of its exceptions leaves it (running
    // out of memory does, for doIt to report).
    MStatus parseXmlFile(ImportPlan& plan, MString& failure);
    // Creates the document node and builds the planned tree under it,
    // every node remembered by `builder`, which counts what was lost. May
    // throw bad_alloc, which doIt reports after removing those nodes.
    void buildTree(const ImportPlan& plan, NodeTreeBuilder& builder);

    MString fFilePath;
    MString fDocumentName;
    [[maybe_unused]] MString fSpare;  // a spare string no operation uses
    MObject fDocumentNode;
    MDGModifier fModifier;
};

#endif
