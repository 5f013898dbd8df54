#ifndef _MTypeId
#define _MTypeId
// Unique id of a node or data type. No ordering, as in the SDK.

#include <maya/MTypes.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MTypeId
{
public:
    MTypeId();
    MTypeId(unsigned int id);
    MTypeId(unsigned int prefix, unsigned int id);
    MTypeId(const MTypeId& other);
    ~MTypeId();

    MTypeId& operator=(const MTypeId& other);
    bool operator==(const MTypeId& other) const;
    bool operator!=(const MTypeId& other) const;
    unsigned int id(MStatus* ReturnStatus = NULL) const;

private:
    union {
        unsigned int fId;
        unsigned char fBytes[4];
    };
};

OPENMAYA_NAMESPACE_CLOSE

#endif
