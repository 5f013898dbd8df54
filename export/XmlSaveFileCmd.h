#ifndef DENDRINE_XMLSAVEFILECMD_H
#define DENDRINE_XMLSAVEFILECMD_H
// XmlSaveFile: writes scene trees of XML nodes to XML files. Exports one
// named node (-node), every document of the scene (-alldoc) or the
// selected document and element nodes. With -file exactly one node is
// exported, to that file; without it each document goes to the file named
// by its document name. Not undoable.

#include <maya/MArgDatabase.h>
#include <maya/MArgList.h>
#include <maya/MObjectArray.h>
#include <maya/MPxCommand.h>
#include <maya/MString.h>
#include <maya/MSyntax.h>

#include <string>

class XmlSaveFileCmd : public MPxCommand
{
public:
    static void* creator();
    static MSyntax newSyntax();

    MStatus doIt(const MArgList& args) override;
    MStatus undoIt() override;
    MStatus redoIt() override;
    bool isUndoable() const override;
    bool hasSyntax() const override;

private:
    // Reads the flags and runs the export inside an XML library session;
    // may throw (std::bad_alloc), which doIt reports.
    MStatus runInSession(const MArgList& argList);
    // Takes back the result and shows "XmlSaveFile stopped: " and
    // `reason`; never throws.
    void reportStopped(const std::string& reason) noexcept;
    // doIt's work once the XML library is up; may throw.
    MStatus run(const MArgDatabase& args);
    // Steps of doIt; each refusal shows its message and returns
    // kInvalidParameter.
    MStatus collectNodes(const MArgDatabase& args);
    MStatus readFileFlag(const MArgDatabase& args);
    MStatus readNodeFlag(const MArgDatabase& args);
    MStatus readAllDocFlag(const MArgDatabase& args);
    MStatus readSelection();
    MStatus checkNodesAgainstFileName();
    MStatus exportCollected();

    // Sorts the active selection into docNodes and xmlNodes (appending).
    void getSelectedNodes();
    // Every XmlDocument of the scene into docNodes; kFailure when none.
    MStatus getDocNodes();
    // Exports xmlNodes, then docNodes; kFailure when any node failed.
    MStatus doExport();
    MStatus exportList(const MObjectArray& nodes);

    MString fileName;
    MObjectArray docNodes;
    MObjectArray xmlNodes;
    bool selectionMode = true;
};

#endif
