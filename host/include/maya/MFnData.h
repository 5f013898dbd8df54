#ifndef _MFnData
#define _MFnData
// Data kinds of typed attributes.

#include <maya/MTypes.h>
#include <maya/MFnBase.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFnData : public MFnBase
{
public:
    enum Type
    {
        kInvalid,
        kNumeric,
        kPlugin,
        kPluginGeometry,
        kString,
        kMatrix,
        kStringArray,
        kDoubleArray,
        kFloatArray,
        kIntArray,
        kPointArray,
        kVectorArray,
        kMatrixArray,
        kComponentList,
        kMesh,
        kLattice,
        kNurbsCurve,
        kNurbsSurface,
        kSphere,
        kDynArrayAttrs,
        kDynSweptGeometry,
        kSubdSurface,
        kNObject,
        kNId,
        kAny,
        kFalloffFunction,
        kLast
    };

    MFnData();
    ~MFnData() override;
    MFn::Type type() const override;

private:
    MFnData(const MFnData&);
    MFnData& operator=(const MFnData&);
    MFnData* operator&() const;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
