#ifndef DENDRINE_TREE_NODE_SET_H
#define DENDRINE_TREE_NODE_SET_H
// Scene nodes held once each, for walks that must visit a node only once and
// for removals that must not delete one twice.

#include "tree/NameTable.h"

#include <maya/MObject.h>
#include <maya/MObjectArray.h>

#include <string>

// The key a node is told apart by: its scene name, which the host keeps
// unique (handles have no order or hash). Empty when the name cannot be read.
std::string nodeKey(const MObject& node);

// Nodes in insertion order, each once. Not for nodes that may be renamed
// while the set is in use.
class NodeSet
{
public:
    // False when the node is held already or has no readable name.
    bool insert(const MObject& node);
    bool contains(const MObject& node) const;
    const MObjectArray& nodes() const { return members; }

private:
    MObjectArray members;
    NameTable keys;
};

#endif
