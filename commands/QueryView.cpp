#include "commands/QueryView.h"

#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Document.h"
#include "tree/Lookup.h"
#include "tree/Parents.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MObjectArray.h>
#include <maya/MString.h>

#include <algorithm>
#include <functional>
#include <unordered_set>
#include <utility>

namespace {

const char* const kOutOfMemory = "Not enough memory to copy the scene's XML trees";

// The host name of `node`; false when no function set attaches to it.
bool nameOf(const MObject& node, std::string& name)
{
    MStatus status;
    MFnDependencyNode fn(node, &status);
    const MString text = status == MS::kSuccess ? fn.name(&status) : MString();
    name = text.asChar();
    return status == MS::kSuccess;
}

std::string quoted(const std::string& name)
{
    return "'" + name + "'";
}

std::string readFailure(const char* what, const std::string& name, const MStatus& status)
{
    return std::string("Could not read ") + what + " of " + quoted(name) + ": " +
           status.errorString().asChar();
}

bool isTreeNode(const MObject& node, bool documentsToo)
{
    return isElementNode(node) || (documentsToo && isDocumentNode(node));
}

// The nodes of `nodes` that are elements, or elements and documents.
MObjectArray treeNodesOf(const MObjectArray& nodes, bool documentsToo)
{
    MObjectArray kept;
    for (unsigned int i = 0; i < nodes.length(); ++i) {
        if (isTreeNode(nodes[i], documentsToo))
            kept.append(nodes[i]);
    }
    return kept;
}

// Leaves only the elements (and documents) in `nodes`, copying the array
// only when something has to go: each handle copied is counted on its node,
// and an element may have a million children.
void keepTreeNodes(MObjectArray& nodes, bool documentsToo)
{
    for (unsigned int i = 0; i < nodes.length(); ++i) {
        if (!isTreeNode(nodes[i], documentsToo)) {
            nodes = treeNodesOf(nodes, documentsToo);
            return;
        }
    }
}

}  // namespace

// One element whose children the walk is copying.
struct QueryView::Frame {
    Visit* visit = nullptr;
    MObjectArray children;
    unsigned int next = 0;
};

QueryView::QueryView() = default;
QueryView::~QueryView() = default;

MStatus QueryView::findTreeRoot(const MObject& node, MObject& root)
{
    if (isDocumentNode(node)) {
        root = node;
        return MS::kSuccess;
    }
    if (!isElementNode(node))
        return fail("Only XML documents and elements can be searched", MS::kInvalidParameter);
    std::unordered_set<std::string> climbed;
    MObject current = node;
    for (;;) {
        std::string name;
        if (!nameOf(current, name))
            return fail("Could not name a node of the scene's XML trees");
        if (!climbed.insert(name).second)
            return fail("Element " + quoted(name) + " is linked below itself (a loop of links)");
        MObjectArray linked;
        MStatus status = getParentNodes(current, linked);
        if (status != MS::kSuccess)
            return fail(readFailure("the parents", name, status));
        const MObjectArray parents = treeNodesOf(linked, true);
        if (parents.length() > 1)
            return fail("Element " + quoted(name) + " is linked in more than one place");
        if (parents.length() == 0 || isDocumentNode(parents[0])) {
            root = parents.length() == 0 ? current : parents[0];
            return MS::kSuccess;
        }
        current = parents[0];
    }
}

MStatus QueryView::addTree(const MObject& root, pugi::xml_node& viewRoot)
{
    std::string rootName;
    if (!nameOf(root, rootName))
        return fail("Could not name a node of the scene's XML trees");
    auto copied = visits_.find(rootName);
    if (copied != visits_.end()) {
        viewRoot = copied->second.copy.root();
        return MS::kSuccess;
    }
    documents_.push_back(std::make_unique<pugi::xml_document>());
    pugi::xml_document& document = *documents_.back();
    viewRoot = document;
    std::deque<Frame> path;
    if (!isDocumentNode(root))
        return copyElement(root, document, path);

    visits_[rootName].copy = document;
    remember(document.internal_object(), root);
    MObjectArray linked;
    MStatus status = getDocumentElements(root, linked);
    if (status != MS::kSuccess)
        return fail(readFailure("the elements", rootName, status));
    const MObjectArray tops = treeNodesOf(linked, false);
    for (unsigned int i = 0; i < tops.length() && status == MS::kSuccess; ++i)
        status = copyElement(tops[i], document, path);
    return status;
}

// Copies `element` and everything below it under `parent`, depth first in
// link order, with the walk's path in `path` rather than on the call stack.
MStatus QueryView::copyElement(const MObject& element, pugi::xml_node parent,
                               std::deque<Frame>& path)
{
    MObject next = element;
    for (;;) {
        std::string name;
        if (!nameOf(next, name))
            return fail("Could not name a node of the scene's XML trees");
        auto placed = visits_.try_emplace(name);
        if (!placed.second)
            return refuseRevisit(name, placed.first->second);
        Visit& visit = placed.first->second;

        MString xmlName;
        MStatus status = getElementName(next, xmlName);
        if (status != MS::kSuccess)
            return fail(readFailure("the XML name", name, status));
        visit.copy = parent.append_child(pugi::node_element);
        if (!visit.copy || !visit.copy.set_name(xmlName.asChar()))
            return fail(kOutOfMemory);
        visit.onPath = true;
        remember(visit.copy.internal_object(), next);
        status = copyAttributes(next, name, visit.copy);
        if (status != MS::kSuccess)
            return status;

        // Made in place: handle arrays have no moves, so a frame pushed or
        // moved copies its children (a deque never moves the frames below).
        path.emplace_back();
        Frame& frame = path.back();
        frame.visit = &visit;  // stays valid: the map's nodes never move
        status = getChildNodes(next, frame.children);
        if (status != MS::kSuccess)
            return fail(readFailure("the children", name, status));
        keepTreeNodes(frame.children, false);
        if (frame.children.length() == 0) {
            MString value;
            status = getElementValue(next, value);
            if (status != MS::kSuccess)
                return fail(readFailure("the XML value", name, status));
            if (value.length() != 0 &&
                !visit.copy.append_child(pugi::node_pcdata).set_value(value.asChar()))
                return fail(kOutOfMemory);
        }

        // Climb to the nearest element with a child left to copy.
        while (!path.empty() && path.back().next == path.back().children.length()) {
            path.back().visit->onPath = false;
            path.pop_back();
        }
        if (path.empty())
            return MS::kSuccess;
        Frame& top = path.back();
        next = top.children[top.next++];
        parent = top.visit->copy;
    }
}

MStatus QueryView::copyAttributes(const MObject& element, const std::string& name,
                                  pugi::xml_node copy)
{
    MObjectArray linked;
    MStatus status = getAttributeNodes(element, linked);
    if (status != MS::kSuccess)
        return fail(readFailure("the attributes", name, status));
    for (unsigned int i = 0; i < linked.length(); ++i) {
        if (!isAttributeNode(linked[i]))
            continue;
        MString xmlName;
        MString value;
        status = getAttributeName(linked[i], xmlName);
        if (status == MS::kSuccess)
            status = getAttributeValue(linked[i], value);
        if (status != MS::kSuccess) {
            std::string nodeName;
            nameOf(linked[i], nodeName);
            return fail(readFailure("the name and value", nodeName, status));
        }
        pugi::xml_attribute attribute = copy.append_attribute(xmlName.asChar());
        if (!attribute || !attribute.set_value(value.asChar()))
            return fail(kOutOfMemory);
        remember(attribute.internal_object(), linked[i]);
    }
    return MS::kSuccess;
}

MStatus QueryView::refuseRevisit(const std::string& name, const Visit& visit)
{
    if (visit.onPath)
        return fail("Element " + quoted(name) + " is linked below itself (a loop of links)");
    return fail("Element " + quoted(name) + " is linked in more than one place");
}

pugi::xml_node QueryView::viewOf(const MObject& node) const
{
    std::string name;
    if (!nameOf(node, name))
        return pugi::xml_node();
    auto found = visits_.find(name);
    return found == visits_.end() ? pugi::xml_node() : found->second.copy;
}

MObject QueryView::sceneNodeOf(const pugi::xpath_node& node) const
{
    const void* view = node.attribute() ? static_cast<const void*>(node.attribute().internal_object())
                                        : static_cast<const void*>(node.node().internal_object());
    const std::size_t at = findMapped(view);
    if (at == mapped_.size())
        return MObject();
    nextMapped_ = at + 1;
    return mapped_[at].scene;
}

// Scans on from the last node found while lookups keep to document order
// (all scans of one such pass together read the list once); from the first
// lookup out of that order on, searches an index by view instead.
std::size_t QueryView::findMapped(const void* view) const
{
    std::size_t at = nextMapped_;
    if (byView_.empty()) {
        while (at < mapped_.size() && mapped_[at].view != view)
            ++at;
        if (at < mapped_.size())
            return at;
        byView_.resize(mapped_.size());
        for (std::size_t i = 0; i < byView_.size(); ++i)
            byView_[i] = i;
        std::sort(byView_.begin(), byView_.end(), [this](std::size_t a, std::size_t b) {
            return std::less<const void*>()(mapped_[a].view, mapped_[b].view);
        });
    } else if (at < mapped_.size() && mapped_[at].view == view) {
        return at;
    }
    auto found = std::lower_bound(byView_.begin(), byView_.end(), view,
                                  [this](std::size_t a, const void* v) {
                                      return std::less<const void*>()(mapped_[a].view, v);
                                  });
    return found != byView_.end() && mapped_[*found].view == view ? *found : mapped_.size();
}

MStatus QueryView::fail(const std::string& text, MStatus::MStatusCode code)
{
    failure_ = text;
    return MStatus(code);
}

void QueryView::remember(const void* viewNode, const MObject& sceneNode)
{
    mapped_.push_back(Mapped{viewNode, sceneNode});
}
