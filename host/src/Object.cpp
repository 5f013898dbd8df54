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
    return fPtr && dghost::detail::hasFnOf(*static_cast<Handle*>(fPtr), fs);
}
bool MObject::isNull() const { return fPtr == nullptr; }
MFn::Type MObject::apiType() const
{
    return fPtr ? dghost::detail::apiTypeOf(*static_cast<Handle*>(fPtr)) : MFn::kInvalid;
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

namespace dghost {
namespace detail {

MFn::Type apiTypeOf(const Handle& handle)
{
    switch (handle.kind) {
    case Handle::Kind::Node: return static_cast<const Node&>(handle).apiType();
    case Handle::Kind::Attribute: return static_cast<const Attribute&>(handle).apiType();
    case Handle::Kind::Plugin: return static_cast<const Plugin&>(handle).apiType();
    }
    return MFn::kInvalid;
}

bool hasFnOf(const Handle& handle, MFn::Type type)
{
    switch (handle.kind) {
    case Handle::Kind::Node: return static_cast<const Node&>(handle).hasFn(type);
    case Handle::Kind::Attribute: return static_cast<const Attribute&>(handle).hasFn(type);
    case Handle::Kind::Plugin: return static_cast<const Plugin&>(handle).hasFn(type);
    }
    return false;
}

void destroy(Handle* handle)
{
    switch (handle->kind) {
    case Handle::Kind::Node: delete static_cast<Node*>(handle); return;
    case Handle::Kind::Attribute: delete static_cast<Attribute*>(handle); return;
    case Handle::Kind::Plugin: delete static_cast<Plugin*>(handle); return;
    }
}

}  // namespace detail
}  // namespace dghost
