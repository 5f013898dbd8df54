#ifndef DENDRINE_IMPORT_NODE_TREE_BUILDER_H
#define DENDRINE_IMPORT_NODE_TREE_BUILDER_H
// Turns an import plan into XmlElement and XmlElementAttribute nodes under
// a document node. Each element is created and linked, then gets its
// attribute nodes, then its value, then its children in document order.
// The walk is a loop over the plan, so deep files cost no stack.

#include <maya/MDGModifier.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <string>

struct ImportPlan;

class NodeTreeBuilder
{
public:
    // Every link is made through `modifier` (the command's).
    explicit NodeTreeBuilder(MDGModifier& modifier);

    // Builds the planned tree under `document`. Failing node-tree steps
    // are logged and the walk goes on; always returns kSuccess.
    MStatus recreateTree(const ImportPlan& plan, MObject document);

    // Creates one element node named and tagged `tagName` and links it
    // under `parent`; returns it whether or not the steps succeeded.
    MObject addXmlChild(MObject parent, MString tagName, bool parentIsDocument);

    // Creates one attribute node and links it to `element`; always kSuccess.
    MStatus addXmlAttribute(MObject element, MString name, MString value);

    // Names and values that could not be written so far (each one logged).
    unsigned lostValues() const { return fLostValues; }

private:
    MDGModifier& fModifier;
    unsigned fLostValues = 0;
};

// A host string holding the given UTF-8 bytes unchanged.
MString hostString(const std::string& utf8);

#endif
