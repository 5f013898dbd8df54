#ifndef DENDRINE_TREE_WALK_H
#define DENDRINE_TREE_WALK_H
// The walk below elements that every descendant listing of the node-tree
// library shares (not part of its public interface). It visits each element
// once, whatever the graph holds: an element reached twice (linked under two
// parents by hand or by an older scene) is listed once, and a loop stops the
// walk with an error line that names a node on it, instead of running on
// forever. The depth of the tree lives in the walk's own frames, never in
// the call stack.

#include "tree/NameTable.h"

#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <cstddef>
#include <string>
#include <vector>

// How the walk lists an element's children (getChildNodes logs; internal
// checks list quietly).
using ChildLister = MStatus (*)(MObject element, MObjectArray& children);

class DescendantWalk
{
public:
    explicit DescendantWalk(ChildLister list) : fList(list) {}

    // Appends every element below `start` that this walk has not listed
    // yet, each after its own descendants (post-order), siblings in link
    // order; `start` itself is not appended. A child that is no element is
    // left out with everything below it. On a loop, or on an element whose
    // name cannot be read, writes an error line, returns kFailure and keeps
    // what it appended so far; problem() then says what stopped it.
    MStatus appendBelow(const MObject& start, MObjectArray& descendants);

    // Marks `node` as listed; false when it was already, or when its name
    // cannot be read (problem() then says so).
    bool markListed(const MObject& node);

    // Why the last walk failed, for the user; empty after a clean walk.
    const MString& problem() const { return fProblem; }

private:
    MStatus stop(const char* what, const MObject& node);
    void reserveFor(const MObjectArray& children);
    std::size_t list(const std::string& key, bool& inserted);

    ChildLister fList;
    // Every element listed so far, numbered; by those numbers, whether the
    // element is on the way down from the start of the current walk.
    NameTable fListed;
    std::vector<bool> fOnPath;
    MString fProblem;
};

#endif
