#ifndef DENDRINE_XMLFINDCMD_H
#define DENDRINE_XMLFINDCMD_H
// The XmlFind command: finds XmlElement nodes whose XML name or XML value
// equals a string, among all elements of the scene, the selected elements,
// or everything below the selected elements and documents. Returns their
// host node names; never changes the scene.

#include <maya/MPxCommand.h>
#include <maya/MSyntax.h>
#include <maya/MArgList.h>
#include <maya/MObjectArray.h>
#include <maya/MString.h>
#include <maya/MStatus.h>

class XmlFindCmd : public MPxCommand
{
public:
    static void* creator();
    static MSyntax newSyntax();

    MStatus doIt(const MArgList& args) override;
    // Not undoable: the command changes nothing.
    MStatus undoIt() override;
    MStatus redoIt() override;

    // The selected XmlElement and XmlDocument nodes, in selection order.
    MStatus collectSelection();
    // Candidates: the elements below each selected node; an element below
    // two selected nodes is a candidate twice. On a loop below a selected
    // node: kFailure, with `walkProblem` naming a node on it.
    MStatus searchInChildren();
    // Candidates: the selected elements (selected documents are left out).
    MStatus searchInSelected();
    // Candidates: every element of the scene.
    MStatus searchInAll();

private:
    MString searchName;
    MString searchValue;
    // Arguments of -an and -av: accepted, never read.
    MString attributeName;
    MString attributeValue;
    MObjectArray candidates;
    MObjectArray selectedNodes;
    MString walkProblem;
};

#endif
