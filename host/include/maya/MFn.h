#ifndef _MFn
#define _MFn
// Function-set and object type tags. Only the first five values are stable
// between SDK versions: compare the enumerators, never their numbers.

#include <maya/MTypes.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFn
{
public:
    enum Type
    {
        kInvalid = 0,
        kBase,
        kNamedObject,
        kModel,
        kDependencyNode,
        kPluginDependNode = 459,
        kAttribute = 563,
        kTypedAttribute = 574,
        kData = 600,
        kPluginData = 602,
        kStringData = 606,
        kLast = 1206
    };
};

OPENMAYA_NAMESPACE_CLOSE

#endif
