#ifndef DENDRINE_COMMANDS_QUERYVIEW_H
#define DENDRINE_COMMANDS_QUERYVIEW_H
// A read-only pugixml copy of XML trees of the scene, so that pugixml's XPath
// engine can answer path queries over them, and the way back from each copied
// node to the scene node it came from. One view document per scene tree: a
// document node becomes the view's root `/`, each XmlElement an element named
// by its XmlName, each linked XmlElementAttribute an attribute; an element's
// XmlValue becomes its text only where it has no child elements (the import
// keeps the whole text content in every element's value).
//
// The copy is made for one command and thrown away: do not keep it across
// commands, the scene may change in between. Walks never recurse and visit
// each element once, so any graph the user linked by hand ends: a loop of
// links or an element linked below two parents is refused with a message
// that names the element, rather than copied as a tree it is not.

#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <pugixml.hpp>

#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QueryView
{
public:
    QueryView();
    ~QueryView();
    QueryView(const QueryView&) = delete;
    QueryView& operator=(const QueryView&) = delete;

    // The top of the tree that `node` (a document or an element) belongs
    // to: a document, or the topmost element when the tree hangs below no
    // document. Fails, with failure() set, on a loop or a second parent.
    MStatus findTreeRoot(const MObject& node, MObject& root);

    // Copies the tree below `root` (a document, or a top element in no
    // document) as a new view document, unless it is copied already.
    // `viewRoot` receives that view document's root node.
    MStatus addTree(const MObject& root, pugi::xml_node& viewRoot);

    // The copy of a scene element or document, when copied; empty otherwise.
    pugi::xml_node viewOf(const MObject& node) const;

    // The scene node behind a view node or attribute. A null object for
    // text and for the root of a tree that hangs below no document. Fastest
    // for nodes asked for in document order, tree after tree in the order
    // they were added (as a sorted node set lists them); any order works.
    MObject sceneNodeOf(const pugi::xpath_node& node) const;

    // Why the last failed call failed, in words for the user.
    const std::string& failure() const { return failure_; }

private:
    struct Frame;
    // One copied scene node: its copy, and whether the walk is below it.
    struct Visit {
        pugi::xml_node copy;
        bool onPath = false;
    };

    MStatus copyElement(const MObject& element, pugi::xml_node parent, std::deque<Frame>& path);
    MStatus copyAttributes(const MObject& element, const std::string& name, pugi::xml_node copy);
    MStatus refuseRevisit(const std::string& name, const Visit& visit);
    MStatus fail(const std::string& text, MStatus::MStatusCode code = MStatus::kFailure);
    void remember(const void* viewNode, const MObject& sceneNode);

    std::vector<std::unique_ptr<pugi::xml_document>> documents_;
    // Scene node name -> its copy. Host node names are unique in the scene.
    std::unordered_map<std::string, Visit> visits_;
    // A view node or attribute (pugixml's internal object) and its scene node.
    struct Mapped {
        const void* view;
        MObject scene;
    };
    std::size_t findMapped(const void* view) const;

    // Every copied node and attribute in copy order, which is document
    // order, tree after tree: a lookup in that order continues where the
    // last one ended, with no table to build, probe or free. A deque: it
    // grows without copying the handles it holds.
    std::deque<Mapped> mapped_;
    mutable std::size_t nextMapped_ = 0;
    // Positions in mapped_ ordered by view, made on the first lookup that
    // is not in document order.
    mutable std::vector<std::size_t> byView_;
    std::string failure_;
};

#endif
