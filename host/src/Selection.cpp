// The active selection: MSelectionList, MItSelectionList and MGlobal's
// selection calls, with * and ? name patterns.

#include "Api.h"

#include <maya/MGlobal.h>
#include <maya/MItSelectionList.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <algorithm>

using namespace dghost::detail;

OPENMAYA_MAJOR_NAMESPACE_OPEN
struct MSelectionListAccess {
    static void forget(MSelectionList& list, Handle* node)
    {
        auto& items = list.fItems;
        items.erase(std::remove_if(items.begin(), items.end(),
                                   [node](const MObject& o) { return handleOf(o) == node; }),
                    items.end());
    }
};
OPENMAYA_NAMESPACE_CLOSE

namespace dghost {
namespace detail {

bool isPattern(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

// Glob match with * (any run) and ? (one byte), iterative.
bool matchPattern(const std::string& pattern, const std::string& text)
{
    std::size_t p = 0, t = 0, star = std::string::npos, mark = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = t;
        } else if (star != std::string::npos) {
            p = star + 1;
            t = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

// Nodes whose name matches, in creation order (a plain name: at most one).
std::vector<Node*> matchNodes(const std::string& pattern)
{
    std::vector<Node*> found;
    if (!isPattern(pattern)) {
        if (Node* node = scene().find(pattern)) found.push_back(node);
        return found;
    }
    for (Node* node : scene().nodes())
        if (matchPattern(pattern, node->name.str())) found.push_back(node);
    return found;
}

MSelectionList& activeSelection()
{
    static auto* list = new MSelectionList();
    return *list;
}

void forgetSelected(Node* node)
{
    OPENMAYA_MAJOR_NAMESPACE_SCHEMA::MSelectionListAccess::forget(activeSelection(), node);
}

}  // namespace detail
}  // namespace dghost

OPENMAYA_MAJOR_NAMESPACE_OPEN

MSelectionList::MSelectionList() = default;
MSelectionList::MSelectionList(const MSelectionList& src) = default;
MSelectionList::~MSelectionList() = default;
MSelectionList& MSelectionList::operator=(const MSelectionList& other) = default;

MStatus MSelectionList::clear()
{
    fItems.clear();
    return MS::kSuccess;
}

bool MSelectionList::isEmpty(MStatus* ReturnStatus) const { return length(ReturnStatus) == 0; }

unsigned int MSelectionList::length(MStatus* ReturnStatus) const
{
    if (ReturnStatus) *ReturnStatus = MS::kSuccess;
    return static_cast<unsigned int>(fItems.size());
}

MStatus MSelectionList::getDependNode(unsigned int index, MObject& depNode) const
{
    MStatus status;
    if (faultHit(Op::getDependNode, status)) return status;
    if (index >= fItems.size()) return MS::kInvalidParameter;
    if (!liveNode(fItems[index])) return MS::kInvalidParameter;
    depNode = fItems[index];
    return MS::kSuccess;
}

MStatus MSelectionList::add(const MObject& object, const bool)
{
    if (!liveNode(object)) return MS::kInvalidParameter;
    if (std::find(fItems.begin(), fItems.end(), object) == fItems.end()) fItems.push_back(object);
    return MS::kSuccess;
}

MStatus MSelectionList::add(const MString& matchString, const bool)
{
    std::vector<Node*> found = matchNodes(matchString.asChar());
    if (found.empty()) return failure(MS::kInvalidParameter, "no object matches the name");
    for (Node* node : found) add(objectOf(node));
    return MS::kSuccess;
}

MStatus MSelectionList::remove(unsigned int index)
{
    if (index >= fItems.size()) return MS::kInvalidParameter;
    fItems.erase(fItems.begin() + index);
    return MS::kSuccess;
}

MStatus MSelectionList::replace(unsigned int index, const MObject& item)
{
    if (index >= fItems.size() || !liveNode(item)) return MS::kInvalidParameter;
    fItems[index] = item;
    return MS::kSuccess;
}

bool MSelectionList::hasItem(const MObject& item, MStatus* ReturnStatus) const
{
    if (ReturnStatus) *ReturnStatus = MS::kSuccess;
    return std::find(fItems.begin(), fItems.end(), item) != fItems.end();
}

MStatus MSelectionList::merge(const MSelectionList& other, const MergeStrategy strategy)
{
    for (const MObject& item : other.fItems) {
        auto it = std::find(fItems.begin(), fItems.end(), item);
        if (strategy == kRemoveFromList || (strategy == kXORWithList && it != fItems.end())) {
            if (it != fItems.end()) fItems.erase(it);
        } else if (it == fItems.end()) {
            fItems.push_back(item);
        }
    }
    return MS::kSuccess;
}

MStatus MSelectionList::getSelectionStrings(MStringArray& array) const
{
    array.clear();
    for (const MObject& item : fItems)
        if (Node* node = liveNode(item)) put(array, MString(node->name.c_str(), static_cast<int>(node->name.size())));
    return MS::kSuccess;
}

// ------------------------------------------------------------ iterator

MItSelectionList::MItSelectionList(const MSelectionList& list, MFn::Type filter, MStatus* ReturnStatus)
    : fList(list), fFilter(filter), fIndex(0)
{
    skipFiltered();
    if (ReturnStatus) *ReturnStatus = MS::kSuccess;
}

MItSelectionList::~MItSelectionList() = default;

void MItSelectionList::skipFiltered()
{
    MObject item;
    while (fIndex < fList.length()) {
        if (fList.getDependNode(fIndex, item) != MS::kSuccess) {
            // Unreadable items are left to getDependNode to report.
            if (fFilter == MFn::kInvalid) return;
            ++fIndex;
            continue;
        }
        if (fFilter == MFn::kInvalid || item.hasFn(fFilter)) return;
        ++fIndex;
    }
}

bool MItSelectionList::isDone(MStatus* ReturnStatus)
{
    if (ReturnStatus) *ReturnStatus = MS::kSuccess;
    return fIndex >= fList.length();
}

MStatus MItSelectionList::next()
{
    if (fIndex < fList.length()) ++fIndex;
    skipFiltered();
    return MS::kSuccess;
}

MStatus MItSelectionList::reset()
{
    fIndex = 0;
    skipFiltered();
    return MS::kSuccess;
}

MStatus MItSelectionList::getDependNode(MObject& depNode)
{
    if (fIndex >= fList.length()) return MS::kFailure;
    return fList.getDependNode(fIndex, depNode);
}

MStatus MItSelectionList::getStrings(MStringArray& array)
{
    array.clear();
    MObject item;
    MStatus status = getDependNode(item);
    if (!status) return status;
    put(array, MString(liveNode(item)->name.c_str(), static_cast<int>(liveNode(item)->name.size())));
    return MS::kSuccess;
}

MStatus MItSelectionList::setFilter(MFn::Type filter)
{
    fFilter = filter;
    return reset();
}

// ------------------------------------------------------- MGlobal selection

MStatus MGlobal::selectByName(const MString& name, ListAdjustment listAdjustment)
{
    MStatus status;
    if (faultHit(Op::selectByName, status)) return status;
    MSelectionList matched;
    MStatus found = matched.add(name);
    // As in the real host, a name that matches nothing fails with
    // kInvalidParameter and leaves the selection as it was, replace or not.
    if (!found) return found;
    if (listAdjustment == kReplaceList) {
        activeSelection() = matched;
        return found;
    }
    return setActiveSelectionList(matched, listAdjustment);
}

MStatus MGlobal::getActiveSelectionList(MSelectionList& dest, bool)
{
    MStatus status;
    if (faultHit(Op::getActiveSelectionList, status)) return status;
    dest = activeSelection();
    return MS::kSuccess;
}

MStatus MGlobal::setActiveSelectionList(const MSelectionList& src, ListAdjustment listAdjustment)
{
    MStatus status;
    if (faultHit(Op::setActiveSelectionList, status)) return status;
    MSelectionList& active = activeSelection();
    switch (listAdjustment) {
    case kReplaceList: active = src; break;
    case kXORWithList: active.merge(src, MSelectionList::kXORWithList); break;
    case kAddToList: active.merge(src, MSelectionList::kMergeNormal); break;
    case kRemoveFromList: active.merge(src, MSelectionList::kRemoveFromList); break;
    case kAddToHeadOfList: {
        MSelectionList head(src);
        head.merge(active, MSelectionList::kMergeNormal);
        active = head;
        break;
    }
    }
    return MS::kSuccess;
}

MStatus MGlobal::clearSelectionList()
{
    MStatus status;
    if (faultHit(Op::clearSelectionList, status)) return status;
    activeSelection().clear();
    return MS::kSuccess;
}

MStatus MGlobal::getSelectionListByName(const MString& name, MSelectionList& list)
{
    list.clear();
    return list.add(name);
}

OPENMAYA_NAMESPACE_CLOSE
