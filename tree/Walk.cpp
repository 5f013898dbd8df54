#include "tree/Walk.h"

#include "log/Log.h"
#include "tree/Lookup.h"
#include "tree/NodeSet.h"

#include <maya/MFnDependencyNode.h>

#include <deque>
#include <string>
#include <unordered_set>

namespace {

// One element of the walk: its children, the next to visit, its key.
struct Frame {
    MObjectArray children;
    unsigned int next = 0;
    std::string key;
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
    fListed.insert(startKey);
    // The keys of the elements on the way down from `start`: meeting one
    // of them again closes a loop.
    std::unordered_set<std::string> onPath{startKey};
    std::deque<Frame> frames(1);
    frames.back().key = startKey;
    fList(start, frames.back().children);
    reserveFor(frames.back().children);
    while (!frames.empty()) {
        Frame& top = frames.back();
        if (top.next == top.children.length()) {
            onPath.erase(top.key);
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
        std::string key = nodeKey(child);
        if (key.empty())
            return stop("Error reading the name of a node of the XML tree ", child);
        if (onPath.count(key) != 0)
            return stop("Error the XML tree holds a loop through the node ", child);
        if (!fListed.insert(key).second) {
            ++top.next;  // listed already, through another parent
            continue;
        }
        onPath.insert(key);
        frames.emplace_back();
        frames.back().key = std::move(key);
        fList(child, frames.back().children);
        reserveFor(frames.back().children);
    }
    return MS::kSuccess;
}
