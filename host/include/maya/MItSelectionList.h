#ifndef _MItSelectionList
#define _MItSelectionList
// Iterator over a selection list, optionally filtered by function-set type.

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MObject.h>
#include <maya/MFn.h>
#include <maya/MSelectionList.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MStringArray;

class OPENMAYA_EXPORT MItSelectionList
{
public:
    MItSelectionList(const MSelectionList& list, MFn::Type filter = MFn::kInvalid,
                     MStatus* ReturnStatus = NULL);
    virtual ~MItSelectionList();

    bool isDone(MStatus* ReturnStatus = NULL);
    MStatus next();
    MStatus reset();
    MStatus getDependNode(MObject& depNode);
    MStatus getStrings(MStringArray& array);
    MStatus setFilter(MFn::Type filter);

private:
    void skipFiltered();
    MItSelectionList(const MItSelectionList&);
    MItSelectionList& operator=(const MItSelectionList&);

    MSelectionList fList;
    MFn::Type fFilter;
    unsigned int fIndex;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
