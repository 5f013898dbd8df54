#ifndef DENDRINE_IMPORT_IMPORT_PLAN_H
#define DENDRINE_IMPORT_IMPORT_PLAN_H
// What an import will build, taken from the parsed document before the
// scene is touched: the nodes the build walk visits, in visiting order,
// with every string already in UTF-8. Building from a plan needs no XML
// library call, so nothing the library throws can leave a partial tree.

#include <xercesc/util/XercesDefs.hpp>
#include <string>
#include <vector>

XERCES_CPP_NAMESPACE_BEGIN
class DOMElement;
XERCES_CPP_NAMESPACE_END

// The deepest element nesting an import accepts (the root is level 1).
const unsigned kMaxImportDepth = 10000;

// Where an attribute's name and value start in ImportPlan::strings.
struct PlannedAttribute
{
    std::size_t name = 0;
    std::size_t value = 0;
};

// One visited node: the root element, or a child of a visited element
// (elements, text, CDATA, comments, processing instructions, entity
// references alike). Children of anything but an element are not visited.
struct PlannedVisit
{
    unsigned depth = 0;           // 0 for the root element
    bool isElement = false;
    size_t tagName = 0;           // into ImportPlan::strings (elements only)
    size_t firstAttribute = 0;    // into ImportPlan::attributes
    size_t attributeCount = 0;
    size_t textBegin = 0;         // the element's text: ImportPlan::text
    size_t textEnd = 0;           // from textBegin up to textEnd
};

struct ImportPlan
{
    std::vector<PlannedVisit> visits;        // pre-order, document order
    std::vector<PlannedAttribute> attributes;
    // Every text and CDATA below the root in document order, entity
    // references expanded, comments and processing instructions left out.
    // An element's text is one contiguous range of it.
    std::string text;
    // Tag names, attribute names and values, each ended by a zero byte:
    // one block instead of a string (and often an allocation) apiece.
    std::string strings;

    void clear();
    // Room for a document of this many nodes and about this many bytes of
    // names and text, so that planning it copies nothing while it grows.
    void reserve(std::size_t elements, std::size_t attributeCount, std::size_t texts,
                 std::size_t bytes);
    const char* tagName(const PlannedVisit& visit) const { return strings.c_str() + visit.tagName; }
    const char* name(const PlannedAttribute& a) const { return strings.c_str() + a.name; }
    const char* value(const PlannedAttribute& a) const { return strings.c_str() + a.value; }
    std::string elementText(const PlannedVisit& visit) const;
    // The same text, written into `out` (which keeps its buffer).
    void elementText(const PlannedVisit& visit, std::string& out) const;
};

enum class PlanOutcome
{
    Planned,
    TooDeep
};

// Walks the tree below `root` without recursion and fills `plan`; stops
// with TooDeep as soon as elements nest deeper than `maxDepth`. Element
// texts equal DOMNode::getTextContent byte for byte once in UTF-8, without
// its per-call allocations in the document. May throw bad_alloc.
PlanOutcome planFromDom(const xercesc::DOMElement* root, unsigned maxDepth, ImportPlan& plan);

#endif
