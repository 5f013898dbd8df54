// MPlug: reading and writing values, array elements and connections.

#include "Api.h"

#include <maya/MDGContext.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

#include <charconv>
#include <cstring>

using namespace dghost::detail;

OPENMAYA_MAJOR_NAMESPACE_OPEN

struct MPlugAccess {
    static MPlug make(const Endpoint& end)
    {
        MPlug plug;
        assign(plug, end);
        return plug;
    }
    // Points an existing plug at `end`, without a temporary plug.
    static void assign(MPlug& plug, const Endpoint& end)
    {
        MObjectAccess::assign(plug.fNode, end.node);
        MObjectAccess::assign(plug.fAttribute, handleOf(end.node->type->attributeObjects[end.attribute]));
        plug.fLogicalIndex = end.index;
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
    MString name;   // the one string returned, built in place
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus)) return name;
    const Attribute& attr = attributeAt(end);
    const std::string& attrName = useLongNames ? attr.longName : attr.shortName;
    char index[16];
    int indexLength = 0;
    if (end.index >= 0) {
        index[0] = '[';
        char* last = std::to_chars(index + 1, index + sizeof index - 1, end.index).ptr;
        *last++ = ']';
        indexLength = static_cast<int>(last - index);
    }
    std::string& text = MStringAccess::text(name);
    text.reserve((includeNodeName ? end.node->name.size() + 1 : 0) + attrName.size() +
                 static_cast<std::size_t>(indexLength));
    if (includeNodeName) text.append(end.node->name.c_str(), end.node->name.size()).append(1, '.');
    text.append(attrName).append(index, static_cast<std::size_t>(indexLength));
    return name;
}

bool MPlug::isNetworked(MStatus* ReturnStatus) const
{
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus)) return false;
    if (end.index >= 0) return end.node->read(end.attribute, end.index).connected();
    const AttributeSlot& slot = end.node->slot(end.attribute);
    return (slot.links() && slot.links()->connected()) || (slot.array() && slot.array()->numConnected() > 0);
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
    return end.node->read(end.attribute, end.index).connected();
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
    const ArrayState* array = end.node->slot(end.attribute).array();
    return array ? static_cast<unsigned int>(array->size()) : 0;
}

unsigned int MPlug::evaluateNumElements(MStatus* ReturnStatus) { return numElements(ReturnStatus); }

unsigned int MPlug::numConnectedElements(MStatus* ReturnStatus) const
{
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus) || !isArrayPlug(end)) return 0;
    const ArrayState* array = end.node->slot(end.attribute).array();
    return array ? static_cast<unsigned int>(array->numConnected()) : 0;
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
    const ArrayState* array = end.node->slot(end.attribute).array();
    if (!array) return 0;
    indices.setLength(static_cast<unsigned int>(array->size()));
    for (std::size_t i = 0; i < array->size(); ++i)
        indices[static_cast<unsigned int>(i)] = static_cast<int>(array->ordered()[i].index);
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
    end.node->touchElement(end.attribute, logicalIndex);
    end.index = static_cast<int>(logicalIndex);
    return MPlugAccess::make(end);
}

MPlug MPlug::elementByPhysicalIndex(unsigned int physicalIndex, MStatus* ReturnStatus) const
{
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus)) return MPlug();
    const ArrayState* array = end.node->slot(end.attribute).array();
    if (!isArrayPlug(end) || !array || physicalIndex >= array->size()) {
        setStatus(ReturnStatus, MS::kFailure);
        return MPlug();
    }
    end.index = static_cast<int>(array->ordered()[physicalIndex].index);
    return MPlugAccess::make(end);
}

MPlug MPlug::connectionByPhysicalIndex(unsigned int physicalIndex, MStatus* ReturnStatus) const
{
    if (injected(Op::connectionByPhysicalIndex, ReturnStatus)) return MPlug();
    Endpoint end;
    if (!resolve(*this, end, ReturnStatus)) return MPlug();
    const ArrayState* array = end.node->slot(end.attribute).array();
    std::size_t position = 0;
    if (!isArrayPlug(end) || !array || !array->connectedPosition(physicalIndex, position)) {
        // Past the connected elements: a plug with no connections.
        setStatus(ReturnStatus, MS::kFailure);
        return MPlug();
    }
    end.index = static_cast<int>(array->ordered()[position].index);
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
    Endpoint end;
    if (injected(Op::connectedTo, ReturnStatus) || !resolve(*this, end, ReturnStatus)) {
        array.clear();
        return false;
    }
    const PlugRead state = end.node->read(end.attribute, end.index);
    const bool fromSource = asDst && state.hasSource();
    const std::size_t toDestinations = asSrc && state.destinations ? state.destinations->size() : 0;
    // Filled directly: the host's own work is not an injectable append. The
    // plugs an array reused for every element already holds are pointed
    // anew rather than destroyed and made again.
    array.setLength(static_cast<unsigned int>(toDestinations + (fromSource ? 1 : 0)));
    unsigned int n = 0;
    if (fromSource) MPlugAccess::assign(array[n++], *state.source);
    if (toDestinations)
        for (const Endpoint& d : *state.destinations) MPlugAccess::assign(array[n++], d);
    return n > 0;
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
    const PlugText* text = end.node->read(end.attribute, end.index).value;
    // Into the string's own buffer: a value read again and again into one
    // string allocates nothing.
    if (text) MStringAccess::text(value).assign(text->c_str(), text->size());
    else value.clear();
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
    // An element exists once written to, even when the write is refused.
    if (end.index >= 0) end.node->touchElement(end.attribute, static_cast<unsigned int>(end.index));
    if (end.node->read(end.attribute, end.index).hasSource())
        return failure(MS::kFailure, "the plug is the destination of a connection");
    const char* text = value.asChar();
    end.node->writableValue(end.attribute, end.index)->assign(text, std::strlen(text));
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
