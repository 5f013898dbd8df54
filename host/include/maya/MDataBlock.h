#ifndef _MDataBlock
#define _MDataBlock
// Storage of a node's values during compute. This host evaluates nothing,
// so the block carries no data.

#include <maya/MTypes.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MDataBlock
{
public:
    MDataBlock(const MDataBlock& other);
    MDataBlock& operator=(const MDataBlock& other);
    ~MDataBlock();
    bool isClean(const class MPlug& plug, MStatus* ReturnStatus = NULL);
    MStatus setClean(const class MPlug& plug);

private:
    friend struct MDataBlockAccess;
    MDataBlock();
    void* fData;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
