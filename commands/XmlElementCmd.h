#ifndef DENDRINE_XMLELEMENTCMD_H
#define DENDRINE_XMLELEMENTCMD_H
// The XmlElement command: creates XmlElement nodes, and edits or queries the
// one XmlElement that is selected (XML name and value, children, parents,
// attribute nodes). It reads every flag once into a request, checks the
// request against the scene, then runs its steps in a fixed order; the
// first step that ends the command decides its status. Links are made and
// cut through the node-tree library; what the removal flags delete is
// decided in commands/NodeRemoval.

#include "commands/XmlElementRequest.h"
#include "tree/NodeSet.h"

#include <maya/MArgList.h>
#include <maya/MDGModifier.h>
#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MPxCommand.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MSyntax.h>

#include <optional>

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
    // What a step decides: no value goes on with the next step, a status
    // ends the command with it.
    using StepResult = std::optional<MStatus>;
    using Step = StepResult (XmlElementCmd::*)();

    // Checks of the request against the scene, before anything changes;
    // they also resolve the named nodes for the steps that link them.
    StepResult checkCreateRequest();
    StepResult checkEditParent();

    StepResult helpStep();
    StepResult selectionStep();
    StepResult nodeNameStep();
    StepResult xmlNameStep();
    StepResult xmlValueStep();
    StepResult childStep();
    StepResult parentStep();
    StepResult attributeStep();
    StepResult disconnectParentStep();
    StepResult disconnectChildStep();
    StepResult disconnectAllChildrenStep();
    StepResult disconnectAttributeStep();
    StepResult disconnectAllAttributesStep();
    StepResult removeChildStep();
    StepResult removeAllChildrenStep();
    StepResult removeAttributeStep();
    StepResult removeAllAttributesStep();
    StepResult editOrQueryStep();
    StepResult createStep();

    // Shared by the -d... flags and their -r... twins: the refusals and
    // messages of the -d... flag; kSuccess when the unlink happened.
    MStatus unlinkNamedChild(const FlagValue& flag, bool& refused);
    MStatus unlinkAllChildren(MStringArray& names);
    MStatus unlinkNamedAttribute(const FlagValue& flag, bool& refused);
    MStatus unlinkAllAttributes(MStringArray& names, bool& refused);
    // Collects what a removal below `roots` may delete; refuses, before
    // anything changes, a part that holds a loop.
    StepResult collectRemoval(const MObjectArray& roots, NodeSet& elements);
    // Reports a failed deletion; true when it succeeded.
    bool deletionDone(const MStatus& deleted);

    // Create mode, once the checks passed: the node, then name, value, links.
    StepResult createElement();
    MStatus linkNewElement();

    MDGModifier modifier;
    XmlElementRequest request;
    MObject element;
    // Nodes the checks resolved, for the steps that act on them.
    MObject childNode;
    MObject parentNode;
    MObject attributeNode;
};

#endif
