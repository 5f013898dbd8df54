#ifndef DGHOST_GRAPH_HANDLE_H
#define DGHOST_GRAPH_HANDLE_H
// What an MObject points to: a reference-counted handle that tells its kind
// (node, attribute, plug-in) without a dynamic_cast. Everything the graph
// keeps behind a handle derives from Handle.

#include <maya/MFn.h>
#include <maya/MObject.h>

namespace dghost {
namespace detail {

// Base of everything an MObject can point to. The handle count keeps the
// memory alive after the object left the scene, so a stale handle is safe.
// The kind tells an MObject's target without a dynamic_cast, which the
// host would otherwise pay on nearly every API call, and without a virtual
// table pointer in every node: the functions below switch on it.
struct Handle {
    enum class Kind : unsigned char { Node, Attribute, Plugin };

    explicit Handle(Kind k) : kind(k) {}

    int refs = 0;
    const Kind kind;
};

// What the handle's object is, for MObject::apiType and hasFn.
MFn::Type apiTypeOf(const Handle& handle);
bool hasFnOf(const Handle& handle, MFn::Type type);
// Deletes the object as its own kind (the last handle went away).
void destroy(Handle* handle);

inline void retain(Handle* handle)
{
    if (handle) ++handle->refs;
}

inline void release(Handle* handle)
{
    if (handle && --handle->refs == 0) destroy(handle);
}

}  // namespace detail
}  // namespace dghost

OPENMAYA_MAJOR_NAMESPACE_OPEN
// The host's way into an MObject's handle.
struct MObjectAccess {
    static dghost::detail::Handle* get(const MObject& o) { return static_cast<dghost::detail::Handle*>(o.fPtr); }
    static MObject make(dghost::detail::Handle* h)
    {
        MObject o;
        o.fPtr = h;
        dghost::detail::retain(h);
        return o;
    }
    // Points `o` at `h` without a temporary handle.
    static void assign(MObject& o, dghost::detail::Handle* h)
    {
        dghost::detail::retain(h);
        dghost::detail::release(get(o));
        o.fPtr = h;
    }
};
OPENMAYA_NAMESPACE_CLOSE

namespace dghost {
namespace detail {

inline Handle* handleOf(const MObject& object) { return OPENMAYA_MAJOR_NAMESPACE_SCHEMA::MObjectAccess::get(object); }
inline MObject objectOf(Handle* handle) { return OPENMAYA_MAJOR_NAMESPACE_SCHEMA::MObjectAccess::make(handle); }

}  // namespace detail
}  // namespace dghost

#endif
