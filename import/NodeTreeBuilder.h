#ifndef DENDRINE_IMPORT_NODE_TREE_BUILDER_H
#define DENDRINE_IMPORT_NODE_TREE_BUILDER_H
// Turns an import plan into XmlElement and XmlElementAttribute nodes under
// a document node. Each element is created and linked, then gets its
// attribute nodes, then its value, then its children in document order.
// The walk is a loop over the plan, so deep files cost no stack.
//
// Every node the builder creates is remembered, so that an import that
// throws half-way (out of memory) can take all of them away again.

#include <maya/MDGModifier.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <string>
#include <vector>

struct ImportPlan;

class NodeTreeBuilder
{
public:
    // Every link is made through `modifier` (the command's).
    explicit NodeTreeBuilder(MDGModifier& modifier);

    // Makes room to remember every node of `plan` and its document, so
    // that remembering a node never allocates. Call before creating any.
    void reserveFor(const ImportPlan& plan);

    // Remembers a node created for this import (the document node).
    void remember(const MObject& node);

    // Builds the planned tree under `document`. Failing node-tree steps
    // are logged, counted and the walk goes on; always returns kSuccess.
    // May throw bad_alloc, leaving what it made so far to deleteCreated.
    MStatus recreateTree(const ImportPlan& plan, MObject document);

    // Creates one element node named and tagged `tagName` and links it
    // under `parent`; returns it whether or not the steps succeeded.
    MObject addXmlChild(MObject parent, MString tagName, bool parentIsDocument);

    // Creates one attribute node and links it to `element`; always kSuccess.
    MStatus addXmlAttribute(MObject element, MString name, MString value);

    // Names and values that could not be written so far (each one logged).
    unsigned lostValues() const { return fLostValues; }
    // Links between nodes that could not be made so far (each one logged).
    unsigned lostLinks() const { return fLostLinks; }

    // Deletes every node remembered, linked or not, with its links; best
    // effort and never throws. True when every deletion was carried out.
    bool deleteCreated() noexcept;

private:
    MObject remembered(const MObject& node);

    MDGModifier& fModifier;
    std::vector<MObject> fCreated;
    unsigned fLostValues = 0;
    unsigned fLostLinks = 0;
};

// A host string holding the given UTF-8 bytes unchanged.
MString hostString(const char* utf8);
MString hostString(const std::string& utf8);

#endif
