#include "tree/Walk.h"

#include "log/Log.h"
#include "tree/Lookup.h"
#include "tree/NodeSet.h"

#include <maya/MFnDependencyNode.h>

#include <deque>
#include <string>

namespace {

// One element of the walk: its children, the next to visit, its number in
// the walk's name table.
struct Frame {
    MObjectArray children;
    unsigned int next = 0;
    std::size_t number = 0;
};

}  // namespace

MStatus DescendantWalk::stop(const char* what, const MObject& node)
{
    fProblem = what;
    MStatus named;
    MFnDependencyNode fn(node, &named);
    if (named == MS::kSuccess)
        fProblem += fn.name();
    const MStatus status(MS::kFailure);
    logError(fProblem.asChar(), status);
    return status;
}

// Children just listed are mostly elements met once: make room for all of
// them at once, so a wide element's million children do not grow the table
// step by step.
void DescendantWalk::reserveFor(const MObjectArray& children)
{
    fListed.reserve(fListed.size() + children.length());
}

// The number of `key` in the walk's name table, listing it when new
// (`inserted` then says so), with room for its on-the-way-down mark.
std::size_t DescendantWalk::list(const std::string& key, bool& inserted)
{
    const auto listed = fListed.insert(key);
    inserted = listed.second;
    if (fOnPath.size() < fListed.size())
        fOnPath.resize(fListed.size(), false);
    return listed.first;
}

bool DescendantWalk::markListed(const MObject& node)
{
    const std::string key = nodeKey(node);
    if (key.empty()) {
        stop("Error reading the name of a node of the XML tree ", node);
        return false;
    }
    return fListed.insert(key).second;
}

MStatus DescendantWalk::appendBelow(const MObject& start, MObjectArray& descendants)
{
    fProblem.clear();
    const std::string startKey = nodeKey(start);
    if (startKey.empty())
        return stop("Error reading the name of a node of the XML tree ", start);
    std::deque<Frame> frames(1);
    bool inserted = false;
    frames.back().number = list(startKey, inserted);
    fOnPath[frames.back().number] = true;
    // A walk that stops leaves no element marked as on the way down.
    auto stopWalk = [&](const char* what, const MObject& node) {
        for (const Frame& frame : frames)
            fOnPath[frame.number] = false;
        return stop(what, node);
    };
    fList(start, frames.back().children);
    reserveFor(frames.back().children);
    while (!frames.empty()) {
        Frame& top = frames.back();
        if (top.next == top.children.length()) {
            fOnPath[top.number] = false;
            frames.pop_back();
            if (!frames.empty()) {
                Frame& up = frames.back();
                descendants.append(up.children[up.next]);
                ++up.next;
            }
            continue;
        }
        const MObject& child = top.children[top.next];  // frames below the top never move
        if (!isElementNode(child)) {
            ++top.next;
            continue;
        }
        const std::string key = nodeKey(child);
        if (key.empty())
            return stopWalk("Error reading the name of a node of the XML tree ", child);
        const std::size_t number = list(key, inserted);
        if (fOnPath[number])
            return stopWalk("Error the XML tree holds a loop through the node ", child);
        if (!inserted) {
            ++top.next;  // listed already, through another parent
            continue;
        }
        fOnPath[number] = true;
        frames.emplace_back();
        frames.back().number = number;
        fList(child, frames.back().children);
        reserveFor(frames.back().children);
    }
    return MS::kSuccess;
}
