// MPlug: reading and writing values, array elements and connections.

#include "Internal.h"

#include <maya/MDGContext.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

using namespace dghost::detail;

OPENMAYA_MAJOR_NAMESPACE_OPEN

struct MPlugAccess {
    static MPlug make(const Endpoint& end)
    {
        MPlug plug;
        plug.fNode = objectOf(end.node);
        plug.fAttribute = end.node->type->attributeObjects[end.attribute];
        plug.fLogicalIndex = end.index;
        return plug;
    }
    static bool endpoint(const MPlug& plug, Endpoint& end)
    {
        Node* node = liveNode(plug.fNode);
        Attribute* attr = attributeOf(plug.fAttribute);
        if (!node || !attr || attr->owner != node->type) return false;
        end = Endpoint{node, attr->index, plug.fLogicalIndex};
        return true;
    }
};

namespace {

void setStatus(MStatus* out, MStatus status)
{
    if (out) *out = status;
}

// Resolves the plug, reporting kInvalidParameter when it does not stand for
// a live node's attribute.
bool resolve(const MPlug& plug, Endpoint& end, MStatus* out)
{
    bool ok = MPlugAccess::endpoint(plug, end);
    setStatus(out, ok ? MS::kSuccess : MS::kInvalidParameter);
    return ok;
}

const Attribute& attributeAt(const Endpoint& end)
{
    return *end.node->type->attributes[end.attribute];
}

bool isArrayPlug(const Endpoint& end) { return end.index < 0 && attributeAt(end).flag(kArray); }

bool injected(Op op, MStatus* out)
{
    MStatus status;
    if (!faultHit(op, status)) return false;
    setStatus(out, status);
    return true;
}

}  // namespace

MPlug::MPlug() : fLogicalIndex(-1) {}
MPlug::MPlug(const MPlug& other) = default;
MPlug::MPlug(const MObject& node, const MObject& attribute)
    : fNode(node), fAttribute(attribute), fLogicalIndex(-1)
{
}
MPlug::~MPlug() = default;
MPlug& MPlug::operator=(const MPlug& other) = default;

MObject MPlug::node(MStatus* ReturnStatus) const
{
    setStatus(ReturnStatus, fNode.isNull() ? MS::kFailure : MS::kSuccess);
    return fNode;
}

MObject MPlug::attribute(MStatus* ReturnStatus) const
{
    setStatus(ReturnStatus, fAttribute.isNull() ? MS::kFailure : MS::kSuccess);
    return fAttribute;
}

MString MPlug::name(MStatus* ReturnStatus) const
{
    return partialName(true, true, false, false, false, false, ReturnStatus);
}

MString MPlug::partialName(bool includeNodeName, bool, bool, bool, bool, bool useLongNames,
                           MStatus* ReturnStatus) const
{
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus)) return MString();
    const Attribute& attr = attributeAt(end);
    std::string text = includeNodeName ? end.node->name + "." : std::string();
    text += useLongNames ? attr.longName : attr.shortName;
    if (end.index >= 0) text += "[" + std::to_string(end.index) + "]";
    return MString(text.c_str());
}

bool MPlug::isNetworked(MStatus* ReturnStatus) const
{
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus)) return false;
    const AttributeState& state = end.node->attributes[end.attribute];
    if (end.index < 0) return state.whole.connected() || state.connectedElements > 0;
    long position = state.find(static_cast<unsigned int>(end.index));
    return position >= 0 && state.elements[static_cast<std::size_t>(position)].connected();
}

bool MPlug::isArray(MStatus* ReturnStatus) const
{
    Endpoint end;
    return resolve(*this, end, ReturnStatus) && isArrayPlug(end);
}

bool MPlug::isElement(MStatus* ReturnStatus) const
{
    setStatus(ReturnStatus, MS::kSuccess);
    return fLogicalIndex >= 0;
}

bool MPlug::isNull(MStatus* ReturnStatus) const
{
    setStatus(ReturnStatus, MS::kSuccess);
    return fNode.isNull() || fAttribute.isNull();
}

bool MPlug::isConnected(MStatus* ReturnStatus) const
{
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus)) return false;
    const PlugState* state = end.node->plug(end.attribute, end.index, false);
    return state && state->connected();
}

unsigned int MPlug::logicalIndex(MStatus* ReturnStatus) const
{
    setStatus(ReturnStatus, fLogicalIndex >= 0 ? MS::kSuccess : MS::kFailure);
    return fLogicalIndex >= 0 ? static_cast<unsigned int>(fLogicalIndex) : 0;
}

unsigned int MPlug::numElements(MStatus* ReturnStatus) const
{
    if (injected(Op::numElements, ReturnStatus)) return 0;
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus)) return 0;
    if (!isArrayPlug(end)) {
        setStatus(ReturnStatus, MS::kFailure);
        return 0;
    }
    return static_cast<unsigned int>(end.node->attributes[end.attribute].indices.size());
}

unsigned int MPlug::evaluateNumElements(MStatus* ReturnStatus) { return numElements(ReturnStatus); }

unsigned int MPlug::numConnectedElements(MStatus* ReturnStatus) const
{
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus) || !isArrayPlug(end)) return 0;
    return static_cast<unsigned int>(end.node->attributes[end.attribute].connected().size());
}

unsigned int MPlug::getExistingArrayAttributeIndices(MIntArray& indices, MStatus* ReturnStatus)
{
    indices.clear();
    if (injected(Op::getExistingArrayAttributeIndices, ReturnStatus)) return 0;
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus)) return 0;
    if (!isArrayPlug(end)) {
        setStatus(ReturnStatus, MS::kFailure);
        return 0;
    }
    // Filled directly: the host's own work is not an injectable append.
    const AttributeState& state = end.node->attributes[end.attribute];
    indices.setLength(static_cast<unsigned int>(state.indices.size()));
    for (std::size_t i = 0; i < state.indices.size(); ++i)
        indices[static_cast<unsigned int>(i)] = static_cast<int>(state.indices[i]);
    return indices.length();
}

MPlug MPlug::elementByLogicalIndex(unsigned int logicalIndex, MStatus* ReturnStatus) const
{
    if (injected(Op::elementByLogicalIndex, ReturnStatus)) return MPlug();
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus)) return MPlug();
    if (!isArrayPlug(end) || logicalIndex > 0x7fffffffu) {
        setStatus(ReturnStatus, MS::kFailure);
        return MPlug();
    }
    end.node->attributes[end.attribute].findOrCreate(logicalIndex);
    end.index = static_cast<int>(logicalIndex);
    return MPlugAccess::make(end);
}

MPlug MPlug::elementByPhysicalIndex(unsigned int physicalIndex, MStatus* ReturnStatus) const
{
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus)) return MPlug();
    const AttributeState& state = end.node->attributes[end.attribute];
    if (!isArrayPlug(end) || physicalIndex >= state.indices.size()) {
        setStatus(ReturnStatus, MS::kFailure);
        return MPlug();
    }
    end.index = static_cast<int>(state.indices[physicalIndex]);
    return MPlugAccess::make(end);
}

MPlug MPlug::connectionByPhysicalIndex(unsigned int physicalIndex, MStatus* ReturnStatus) const
{
    if (injected(Op::connectionByPhysicalIndex, ReturnStatus)) return MPlug();
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus)) return MPlug();
    const AttributeState& state = end.node->attributes[end.attribute];
    const std::vector<unsigned int>& connected = state.connected();
    if (!isArrayPlug(end) || physicalIndex >= connected.size()) {
        // Past the connected elements: a plug with no connections.
        setStatus(ReturnStatus, MS::kFailure);
        return MPlug();
    }
    end.index = static_cast<int>(state.indices[connected[physicalIndex]]);
    return MPlugAccess::make(end);
}

MPlug MPlug::array(MStatus* ReturnStatus) const
{
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus) || end.index < 0) {
        setStatus(ReturnStatus, MS::kFailure);
        return MPlug();
    }
    end.index = -1;
    return MPlugAccess::make(end);
}

bool MPlug::connectedTo(MPlugArray& array, bool asDst, bool asSrc, MStatus* ReturnStatus) const
{
    array.clear();
    if (injected(Op::connectedTo, ReturnStatus)) return false;
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus)) return false;
    const PlugState* state = end.node->plug(end.attribute, end.index, false);
    if (!state) return false;
    std::vector<MPlug> found;
    if (asDst && state->hasSource) found.push_back(MPlugAccess::make(state->source));
    if (asSrc)
        for (const Endpoint& d : state->destinations) found.push_back(MPlugAccess::make(d));
    array.setLength(static_cast<unsigned int>(found.size()));
    for (std::size_t i = 0; i < found.size(); ++i) array[static_cast<unsigned int>(i)] = found[i];
    return !found.empty();
}

MPlug MPlug::source(MStatus* ReturnStatus) const
{
    MPlugArray sources;
    connectedTo(sources, true, false, ReturnStatus);
    return sources.length() ? sources[0] : MPlug();
}

bool MPlug::destinations(MPlugArray& theDestinations, MStatus* ReturnStatus) const
{
    return connectedTo(theDestinations, false, true, ReturnStatus);
}

MStatus MPlug::getValue(MString& value) const
{
    MStatus status;
    if (faultHit(Op::getValue, status)) return status;
    Endpoint end;
    if (!resolve(*this, end, &status)) return status;
    if (!attributeAt(end).isString || isArrayPlug(end)) return MS::kInvalidParameter;
    const PlugState* state = end.node->plug(end.attribute, end.index, false);
    value = state ? state->value.c_str() : "";
    return MS::kSuccess;
}

MStatus MPlug::getValue(MString& value, MDGContext&) const { return getValue(value); }

MString MPlug::asString(MStatus* ReturnStatus) const
{
    MString value;
    MStatus status = getValue(value);
    setStatus(ReturnStatus, status);
    return value;
}

MString MPlug::asString(const MDGContext&, MStatus* ReturnStatus) const
{
    return asString(ReturnStatus);
}

MStatus MPlug::setValue(const MString& value)
{
    MStatus status;
    if (faultHit(Op::setValue, status)) return status;
    Endpoint end;
    if (!resolve(*this, end, &status)) return status;
    if (!attributeAt(end).isString || isArrayPlug(end)) return MS::kInvalidParameter;
    PlugState* state = end.node->plug(end.attribute, end.index, true);
    if (state->hasSource) return failure(MS::kFailure, "the plug is the destination of a connection");
    state->value = value.asChar();
    state->hasValue = true;
    end.node->scene->modified = true;
    return MS::kSuccess;
}

MStatus MPlug::setValue(const char* value) { return setValue(MString(value)); }
MStatus MPlug::setString(const MString& value) { return setValue(value); }

MPlug MPlug::operator[](unsigned int physicalIndex) const
{
    return elementByPhysicalIndex(physicalIndex);
}

bool MPlug::operator==(const MPlug& other) const
{
    return fNode == other.fNode && fAttribute == other.fAttribute &&
           fLogicalIndex == other.fLogicalIndex;
}
bool MPlug::operator==(const MObject& other) const { return fAttribute == other; }
bool MPlug::operator!=(const MPlug& other) const { return !(*this == other); }
bool MPlug::operator!=(const MObject& other) const { return !(*this == other); }
MPlug::operator MObject() const { return fAttribute; }
bool MPlug::operator!() const { return isNull(); }
bool MPlug::isExactlyEqual(const MPlug& other) const { return *this == other; }

OPENMAYA_NAMESPACE_CLOSE

using OPENMAYA_MAJOR_NAMESPACE_SCHEMA::MPlugAccess;


namespace dghost {
namespace detail {

MPlug makePlug(const Endpoint& end) { return MPlugAccess::make(end); }
bool endpointOf(const MPlug& plug, Endpoint& end) { return MPlugAccess::endpoint(plug, end); }

}  // namespace detail
}  // namespace dghost
