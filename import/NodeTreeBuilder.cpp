#include "import/NodeTreeBuilder.h"

#include "import/ImportPlan.h"
#include "tree/Attributes.h"
#include "tree/Children.h"
#include "tree/Document.h"
#include "log/Log.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>

#include <vector>

MString hostString(const char* utf8)
{
    MString text;
    text.setUTF8(utf8);
    return text;
}

MString hostString(const std::string& utf8)
{
    return hostString(utf8.c_str());
}

NodeTreeBuilder::NodeTreeBuilder(MDGModifier& modifier)
    : fModifier(modifier)
{
}

void NodeTreeBuilder::reserveFor(const ImportPlan& plan)
{
    fCreated.reserve(fCreated.size() + 1 + plan.visits.size() + plan.attributes.size());
}

void NodeTreeBuilder::remember(const MObject& node)
{
    if (!node.isNull())
        fCreated.push_back(node);
}

MObject NodeTreeBuilder::remembered(const MObject& node)
{
    remember(node);
    return node;
}

bool NodeTreeBuilder::deleteCreated() noexcept
{
    bool allDeleted = true;
    try
    {
        MDGModifier modifier;
        for (const MObject& node : fCreated)
            allDeleted = modifier.deleteNode(node) == MS::kSuccess && allDeleted;
        allDeleted = modifier.doIt() == MS::kSuccess && allDeleted;
        fCreated.clear();
    }
    catch (...)
    {
        allDeleted = false;
    }
    return allDeleted;
}

MStatus NodeTreeBuilder::recreateTree(const ImportPlan& plan, MObject document)
{
    // path[d] is the node of the open element at depth d on the way down.
    std::vector<MObject> path;
    std::string text;  // one buffer for every element's text
    for (size_t i = 0; i < plan.visits.size(); ++i)
    {
        const PlannedVisit& visit = plan.visits[i];
        if (i > 0)
            logLine("Recreate Called");
        logLine("Recreate Document Called ");
        if (!visit.isElement)
            continue;

        const bool underDocument = visit.depth == 0;
        MObject parent = underDocument ? document : path[visit.depth - 1];
        MObject element = addXmlChild(parent, hostString(plan.tagName(visit)), underDocument);
        for (size_t a = 0; a < visit.attributeCount; ++a)
        {
            const PlannedAttribute& attribute = plan.attributes[visit.firstAttribute + a];
            addXmlAttribute(element, hostString(plan.name(attribute)), hostString(plan.value(attribute)));
        }
        plan.elementText(visit, text);
        MStatus status = setElementValue(element, hostString(text.c_str()));
        if (logError("Error Set XML Value", status))
            ++fLostValues;

        path.resize(visit.depth);
        path.push_back(element);
    }
    return MS::kSuccess;
}

MObject NodeTreeBuilder::addXmlChild(MObject parent, MString tagName, bool parentIsDocument)
{
    MObject element = remembered(createElementNode(tagName, "", ""));
    MStatus status = setElementName(element, tagName);
    if (logError("Error Set XML Name", status))
        ++fLostValues;
    if (parentIsDocument)
    {
        status = addElementToDocument(parent, element, fModifier);
        logError("Error Adding Child to Document Node", status);
    }
    else
    {
        logLine("Add Xml Child Called");
        status = addChild(parent, element, fModifier);
        logError("Error Adding Child to XML Node", status);
    }
    // An unlinked element is a structure the scene does not hold.
    if (status != MS::kSuccess)
        ++fLostLinks;
    return element;
}

MStatus NodeTreeBuilder::addXmlAttribute(MObject element, MString name, MString value)
{
    // The creation logs its own failures and says whether the name and the
    // value arrived.
    bool written = false;
    MObject attribute = remembered(createAttributeNode(name, value, written));
    if (!written)
        ++fLostValues;
    // addAttribute logs its own failures.
    if (addAttribute(element, attribute, fModifier) != MS::kSuccess)
        ++fLostLinks;
    return MS::kSuccess;
}
