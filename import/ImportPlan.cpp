#include "import/ImportPlan.h"

#include "xml/Utf8.h"

#include <xercesc/dom/DOM.hpp>
#include <xercesc/util/XMLString.hpp>

using namespace xercesc;

void ImportPlan::clear()
{
    visits.clear();
    attributes.clear();
    text.clear();
    strings.clear();
}

void ImportPlan::reserve(std::size_t elements, std::size_t attributeCount, std::size_t texts,
                         std::size_t bytes)
{
    visits.reserve(elements + texts);
    attributes.reserve(attributeCount);
    // Address space only: pages no byte reaches are never touched.
    text.reserve(bytes);
    strings.reserve(bytes);
}

std::string ImportPlan::elementText(const PlannedVisit& visit) const
{
    return text.substr(visit.textBegin, visit.textEnd - visit.textBegin);
}

void ImportPlan::elementText(const PlannedVisit& visit, std::string& out) const
{
    out.assign(text, visit.textBegin, visit.textEnd - visit.textBegin);
}

namespace {

// DOMAttr::getValue, without the library's type casts for the usual value
// of one text node: asking the attribute for its children costs none.
const XMLCh* attributeValue(const DOMAttr* attribute)
{
    const DOMNode* first = attribute->getFirstChild();
    if (first != nullptr && first->getNodeType() == DOMNode::TEXT_NODE && first->getNextSibling() == nullptr)
        return first->getNodeValue();
    return attribute->getValue();
}

// The walk's state: which visits are still open, how deep elements nest,
// and how many entity references enclose the current node (their content
// counts as text but is not visited).
class PlanWalk
{
public:
    PlanWalk(unsigned maxDepth, ImportPlan& plan)
        : fMaxDepth(maxDepth), fPlan(plan)
    {
    }

    // Called when the walk reaches a node; false when it nests too deep.
    bool enter(const DOMNode* node)
    {
        const short type = node->getNodeType();
        if (type == DOMNode::TEXT_NODE || type == DOMNode::CDATA_SECTION_NODE)
            appendText(node);
        if (fEntityDepth == 0)
            recordVisit(node);
        if (type == DOMNode::ENTITY_REFERENCE_NODE)
            ++fEntityDepth;
        if (type == DOMNode::ELEMENT_NODE && ++fElementDepth > fMaxDepth)
            return false;
        return true;
    }

    // Called when the walk leaves a node for good (after its children).
    void leave(const DOMNode* node)
    {
        const short type = node->getNodeType();
        if (type == DOMNode::ENTITY_REFERENCE_NODE)
            --fEntityDepth;
        if (type != DOMNode::ELEMENT_NODE)
            return;
        --fElementDepth;
        if (fEntityDepth == 0 && !fOpenElements.empty())
        {
            fPlan.visits[fOpenElements.back()].textEnd = fPlan.text.size();
            fOpenElements.pop_back();
        }
    }

    // Text content descends into elements and entity references only.
    static bool hasTextBelow(const DOMNode* node)
    {
        const short type = node->getNodeType();
        return type == DOMNode::ELEMENT_NODE || type == DOMNode::ENTITY_REFERENCE_NODE;
    }

private:
    void appendText(const DOMNode* node)
    {
        const XMLCh* data = node->getNodeValue();
        if (data != nullptr)
            appendUtf8(data, XMLString::stringLen(data), fPlan.text);
    }

    // Adds `data` to the plan's strings; where it starts there.
    std::size_t appendString(const XMLCh* data)
    {
        const std::size_t start = fPlan.strings.size();
        if (data != nullptr)
            appendUtf8(data, XMLString::stringLen(data), fPlan.strings);
        fPlan.strings.push_back('\0');
        return start;
    }

    void recordVisit(const DOMNode* node)
    {
        PlannedVisit visit;
        visit.depth = static_cast<unsigned>(fOpenElements.size());
        visit.isElement = node->getNodeType() == DOMNode::ELEMENT_NODE;
        if (visit.isElement)
        {
            visit.tagName = appendString(node->getNodeName());
            recordAttributes(node, visit);
            visit.textBegin = fPlan.text.size();
            fOpenElements.push_back(fPlan.visits.size());
        }
        fPlan.visits.push_back(std::move(visit));
    }

    void recordAttributes(const DOMNode* node, PlannedVisit& visit)
    {
        visit.firstAttribute = fPlan.attributes.size();
        const DOMNamedNodeMap* map = node->hasAttributes() ? node->getAttributes() : nullptr;
        const XMLSize_t count = map != nullptr ? map->getLength() : 0;
        for (XMLSize_t i = 0; i < count; ++i)
        {
            const DOMAttr* attribute = static_cast<const DOMAttr*>(map->item(i));
            PlannedAttribute planned;
            planned.name = appendString(attribute->getName());
            planned.value = appendString(attributeValue(attribute));
            fPlan.attributes.push_back(planned);
        }
        visit.attributeCount = fPlan.attributes.size() - visit.firstAttribute;
    }

    const unsigned fMaxDepth;
    ImportPlan& fPlan;
    std::vector<size_t> fOpenElements;  // visit indices of the elements being walked
    unsigned fElementDepth = 0;
    unsigned fEntityDepth = 0;
};

}  // namespace

PlanOutcome planFromDom(const DOMElement* root, unsigned maxDepth, ImportPlan& plan)
{
    plan.clear();
    if (root == nullptr)
        return PlanOutcome::Planned;
    PlanWalk walk(maxDepth, plan);
    // The nodes the walk descended through, innermost last: climbing back
    // takes them from here rather than asking the library for each parent.
    std::vector<const DOMNode*> ancestors;
    const DOMNode* node = root;
    while (node != nullptr)
    {
        if (!walk.enter(node))
        {
            plan.clear();
            return PlanOutcome::TooDeep;
        }
        const DOMNode* firstChild = PlanWalk::hasTextBelow(node) ? node->getFirstChild() : nullptr;
        if (firstChild != nullptr)
        {
            ancestors.push_back(node);
            node = firstChild;
            continue;
        }
        // Leave the node, then every ancestor that has no next sibling.
        while (node != nullptr)
        {
            walk.leave(node);
            const DOMNode* next = node == root ? nullptr : node->getNextSibling();
            if (node == root)
                node = nullptr;
            else if (next != nullptr)
            {
                node = next;
                break;
            }
            else
            {
                node = ancestors.back();
                ancestors.pop_back();
            }
        }
    }
    return PlanOutcome::Planned;
}
