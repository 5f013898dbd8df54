#ifndef _MFnTypedAttribute
#define _MFnTypedAttribute
// Creates attributes whose value is a string or a user-defined data type.
// Portable form of a string attribute:
//   create("long", "short", MFnData::kString, MObject::kNullObj, &status)

#include <maya/MTypes.h>
#include <maya/MFnAttribute.h>
#include <maya/MFnData.h>
#include <maya/MTypeId.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFnTypedAttribute : public MFnAttribute
{
public:
    MFnTypedAttribute();
    MFnTypedAttribute(MObject& object, MStatus* ReturnStatus = NULL);
    MFnTypedAttribute(const MObject& object, MStatus* ReturnStatus = NULL);
    ~MFnTypedAttribute() override;
    MFn::Type type() const override;

    MObject create(const MString& fullName, const MString& briefName, const MTypeId& id,
                   MObject defaultData = MObject::kNullObj, MStatus* ReturnStatus = NULL);
    MObject create(const MString& fullName, const MString& briefName, MFnData::Type type,
                   MObject defaultData = MObject::kNullObj, MStatus* ReturnStatus = NULL);
BEGIN_NO_SCRIPT_SUPPORT:
    OPENMAYA_DEPRECATED(2019, "Use the create() overload that takes a default value instead.")
    MObject create(const MString& fullName, const MString& briefName, MFnData::Type type,
                   MStatus* ReturnStatus);

    MFnData::Type attrType(MStatus* ReturnStatus = NULL) const;

private:
    MObject createAttribute(const MString& fullName, const MString& briefName, int dataKind,
                            unsigned int dataId, MStatus* ReturnStatus);
    MFnTypedAttribute(const MFnTypedAttribute&);
    MFnTypedAttribute& operator=(const MFnTypedAttribute&);
    MFnTypedAttribute* operator&() const;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
