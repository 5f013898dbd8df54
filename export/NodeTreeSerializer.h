#ifndef DENDRINE_EXPORT_NODETREESERIALIZER_H
#define DENDRINE_EXPORT_NODETREESERIALIZER_H
// Turns the scene tree of one XmlDocument or XmlElement node into a DOM
// document and writes it into an XML file. The tree is read only through
// the node-tree library; nothing in the scene changes.

#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

// Deepest element nesting that is exported. The library's writer recurses
// once per level; deeper trees (and cyclic links) are refused before any
// byte is written.
extern const unsigned kMaxExportDepth;

// Exports `node` and everything below it: every element with its attributes
// and, when it has no child elements, its text. With an empty `fileName` a
// document goes to the file named by its document name. A tree that cannot
// be written completely is not written at all: displayError names the node
// and the reason, the status is kFailure, and any file already there stays.
// The XML library must be initialised by the caller.
MStatus exportNodeToFile(MObject node, MString fileName);

#endif
