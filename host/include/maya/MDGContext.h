#ifndef _MDGContext
#define _MDGContext
// Evaluation context. This host evaluates only in the normal context.

#include <maya/MTypes.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MDGContext
{
public:
    MDGContext();
    MDGContext(const MDGContext& other);
    ~MDGContext();
    MDGContext& operator=(const MDGContext& other);

    bool isNormal(MStatus* ReturnStatus = NULL) const;
    static const MDGContext current();

    static MDGContext fsNormal;

private:
    bool fNormal;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
