#ifndef DENDRINE_XMLELEMENTCMD_H
#define DENDRINE_XMLELEMENTCMD_H
// The XmlElement command: creates XmlElement nodes, and edits or queries the
// one XmlElement that is selected (XML name and value, children, parents,
// attribute nodes). Links are made and cut through the node-tree library;
// the removal flags also delete what they unlink.

#include <maya/MPxCommand.h>
#include <maya/MSyntax.h>
#include <maya/MArgList.h>
#include <maya/MArgDatabase.h>
#include <maya/MDGModifier.h>
#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MStatus.h>

class XmlElementCmd : public MPxCommand
{
public:
    static void* creator();
    static MSyntax newSyntax();

    MStatus doIt(const MArgList& args) override;
    // Not undoable: every link operation has already run its doIt.
    MStatus undoIt() override;
    MStatus redoIt() override;

    // Sets `element` to the last selected XmlElement (null when none) and
    // `found` accordingly; prints each selected item's API type name.
    MStatus getSelectedElement(bool& found);

    // "[ a, b,  ]": for log lines only.
    static MString formatNameList(MStringArray names);

private:
    // One step of doIt. Returns true when the command ends with `status`.
    using Step = bool (XmlElementCmd::*)(const MArgDatabase&, MStatus&);

    bool helpStep(const MArgDatabase& args, MStatus& status);
    bool selectionStep(const MArgDatabase& args, MStatus& status);
    bool nodeNameStep(const MArgDatabase& args, MStatus& status);
    bool xmlNameStep(const MArgDatabase& args, MStatus& status);
    bool xmlValueStep(const MArgDatabase& args, MStatus& status);
    bool childStep(const MArgDatabase& args, MStatus& status);
    bool parentStep(const MArgDatabase& args, MStatus& status);
    bool attributeStep(const MArgDatabase& args, MStatus& status);
    bool disconnectParentStep(const MArgDatabase& args, MStatus& status);
    bool disconnectChildStep(const MArgDatabase& args, MStatus& status);
    bool disconnectAllChildrenStep(const MArgDatabase& args, MStatus& status);
    bool disconnectAttributeStep(const MArgDatabase& args, MStatus& status);
    bool disconnectAllAttributesStep(const MArgDatabase& args, MStatus& status);
    bool removeChildStep(const MArgDatabase& args, MStatus& status);
    bool removeAllChildrenStep(const MArgDatabase& args, MStatus& status);
    bool removeAttributeStep(const MArgDatabase& args, MStatus& status);
    bool removeAllAttributesStep(const MArgDatabase& args, MStatus& status);
    bool editOrQueryStep(const MArgDatabase& args, MStatus& status);
    bool createStep(const MArgDatabase& args, MStatus& status);

    // Edit and query halves of the steps that differ by mode.
    MStatus editChild();
    MStatus editParent(bool& linked);
    MStatus editAttribute();

    // Create mode, after the node exists: name, value and the three links.
    MStatus fillNewElement(bool& ended);
    MStatus linkNewElementToParent();

    // Shared by a -d... flag and its -r... twin: the refusals and messages
    // of the -d... flag. Each returns true when the unlink succeeded;
    // otherwise `status` ends the command. `name` is the flag's argument.
    bool unlinkNamedChild(const MArgDatabase& args, const char* flag, MString& name,
                          MStatus& status);
    bool unlinkAllChildren(MStringArray& names, MStatus& status);
    bool unlinkNamedAttribute(const MArgDatabase& args, const char* flag, MString& name,
                              MStatus& status);
    bool unlinkAllAttributes(MStringArray& names, MStatus& status);

    MDGModifier modifier;
    MString nodeName;
    MString xmlName;
    MString xmlValue;
    MString childName;
    MString parentName;
    MString attributeName;
    MObject element;
};

#endif
