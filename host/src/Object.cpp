// MObject handles, MTypeId and MDGContext.

#include "Api.h"

#include <maya/MDGContext.h>
#include <maya/MTypeId.h>

using dghost::detail::Handle;

OPENMAYA_MAJOR_NAMESPACE_OPEN

MObject MObject::kNullObj;

MObject::MObject() : fPtr(nullptr) {}
MObject::MObject(const MObject& other) : fPtr(other.fPtr)
{
    dghost::detail::retain(static_cast<Handle*>(fPtr));
}
MObject::~MObject() { dghost::detail::release(static_cast<Handle*>(fPtr)); }

MObject& MObject::operator=(const MObject& other)
{
    if (fPtr != other.fPtr) {
        dghost::detail::retain(static_cast<Handle*>(other.fPtr));
        dghost::detail::release(static_cast<Handle*>(fPtr));
        fPtr = other.fPtr;
    }
    return *this;
}

bool MObject::hasFn(MFn::Type fs) const
{
    return fPtr && static_cast<Handle*>(fPtr)->hasFn(fs);
}
bool MObject::isNull() const { return fPtr == nullptr; }
MFn::Type MObject::apiType() const
{
    return fPtr ? static_cast<Handle*>(fPtr)->apiType() : MFn::kInvalid;
}

const char* MObject::apiTypeStr() const
{
    switch (apiType()) {
    case MFn::kInvalid: return "kInvalid";
    case MFn::kBase: return "kBase";
    case MFn::kNamedObject: return "kNamedObject";
    case MFn::kModel: return "kModel";
    case MFn::kDependencyNode: return "kDependencyNode";
    case MFn::kPluginDependNode: return "kPluginDependNode";
    case MFn::kAttribute: return "kAttribute";
    case MFn::kTypedAttribute: return "kTypedAttribute";
    case MFn::kData: return "kData";
    case MFn::kPluginData: return "kPluginData";
    case MFn::kStringData: return "kStringData";
    case MFn::kLast: return "kLast";
    }
    return "kInvalid";
}

bool MObject::operator==(const MObject& other) const { return fPtr == other.fPtr; }
bool MObject::operator!=(const MObject& other) const { return fPtr != other.fPtr; }

MTypeId::MTypeId() : fId(0) {}
MTypeId::MTypeId(unsigned int id) : fId(id) {}
MTypeId::MTypeId(unsigned int prefix, unsigned int id) : fId((prefix << 8) | (id & 0xff)) {}
MTypeId::MTypeId(const MTypeId& other) : fId(other.fId) {}
MTypeId::~MTypeId() = default;
MTypeId& MTypeId::operator=(const MTypeId& other)
{
    fId = other.fId;
    return *this;
}
bool MTypeId::operator==(const MTypeId& other) const { return fId == other.fId; }
bool MTypeId::operator!=(const MTypeId& other) const { return fId != other.fId; }
unsigned int MTypeId::id(MStatus* ReturnStatus) const
{
    if (ReturnStatus) *ReturnStatus = MS::kSuccess;
    return fId;
}

MDGContext MDGContext::fsNormal;
MDGContext::MDGContext() : fNormal(true) {}
MDGContext::MDGContext(const MDGContext& other) = default;
MDGContext::~MDGContext() = default;
MDGContext& MDGContext::operator=(const MDGContext& other) = default;
bool MDGContext::isNormal(MStatus* ReturnStatus) const
{
    if (ReturnStatus) *ReturnStatus = MS::kSuccess;
    return fNormal;
}
const MDGContext MDGContext::current() { return fsNormal; }

OPENMAYA_NAMESPACE_CLOSE
