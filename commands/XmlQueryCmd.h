#ifndef DENDRINE_XMLQUERYCMD_H
#define DENDRINE_XMLQUERYCMD_H
// The XmlQuery command: answers an XPath 1.0 path over the scene's XML trees,
// each document being the root `/` of its own tree (with -s: the selected
// documents and elements are the context nodes). Gives the host node names
// of the selected elements and attribute nodes in document order, or the
// number, string or boolean the path computes. Never changes the scene or
// the selection.
//
// The XPath language is pugixml's: the command copies the searched trees into
// a pugixml view (QueryView) and maps the answer back. For an exact tag or
// text over many elements XmlFind needs no copy.

#include <maya/MArgList.h>
#include <maya/MPxCommand.h>
#include <maya/MStatus.h>
#include <maya/MSyntax.h>

class XmlQueryCmd : public MPxCommand
{
public:
    static void* creator();
    static MSyntax newSyntax();

    MStatus doIt(const MArgList& args) override;
    // Not undoable: the command changes nothing.
    MStatus undoIt() override;
    MStatus redoIt() override;

private:
    // doIt's work; may throw std::bad_alloc, which doIt reports.
    MStatus run(const MArgList& args);
};

#endif
