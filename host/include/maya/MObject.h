#ifndef _MObject
#define _MObject
// Handle to a host object (node, attribute, plug-in). Copies alias the same
// object and == is identity. A handle keeps its object's memory alive, so a
// handle to a deleted node is safe to hold: function sets refuse to attach.

#include <maya/MTypes.h>
#include <maya/MFn.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class FND_EXPORT MObject
{
public:
    MObject();
    MObject(const MObject& other);
    ~MObject();
    MObject& operator=(const MObject& other);

    bool hasFn(MFn::Type fs) const;
    bool isNull() const;
    MFn::Type apiType() const;
    const char* apiTypeStr() const;

    bool operator==(const MObject& other) const;
    bool operator!=(const MObject& other) const;

    static MObject kNullObj;

private:
    friend struct MObjectAccess;
    void* fPtr;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
