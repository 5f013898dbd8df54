#ifndef _MSelectionList
#define _MSelectionList
// Ordered list of selected nodes, each node at most once.

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MObject.h>
#include <maya/MString.h>
#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MPlug;
class MStringArray;

class OPENMAYA_EXPORT MSelectionList
{
public:
    enum MergeStrategy
    {
        kMergeNormal = 0,
        kXORWithList,
        kRemoveFromList
    };

    MSelectionList();
    MSelectionList(const MSelectionList& src);
    virtual ~MSelectionList();
    MSelectionList& operator=(const MSelectionList& other);

    MStatus clear();
    bool isEmpty(MStatus* ReturnStatus = NULL) const;
    unsigned int length(MStatus* ReturnStatus = NULL) const;

    MStatus getDependNode(unsigned int index, MObject& depNode) const;
    MStatus add(const MObject& object, const bool mergeWithExisting = false);
    // Adds every node whose name matches; * and ? are wildcards.
    MStatus add(const MString& matchString, const bool searchChildNamespacesToo = false);
    MStatus remove(unsigned int index);
    MStatus replace(unsigned int index, const MObject& item);
    bool hasItem(const MObject& item, MStatus* ReturnStatus = NULL) const;
    MStatus merge(const MSelectionList& other, const MergeStrategy strategy = kMergeNormal);
    MStatus getSelectionStrings(MStringArray& array) const;

private:
    friend struct MSelectionListAccess;
    std::vector<MObject> fItems;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
