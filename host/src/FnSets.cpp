// Function sets: MFnBase, MFnDependencyNode, MFnAttribute,
// MFnTypedAttribute and MFnData.

#include "Api.h"

#include <maya/MFnAttribute.h>
#include <maya/MFnData.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPlugArray.h>

using namespace dghost::detail;

OPENMAYA_MAJOR_NAMESPACE_OPEN

// ------------------------------------------------------------------ MFnBase

MFnBase::MFnBase() = default;
MFnBase::~MFnBase() = default;
MFn::Type MFnBase::type() const { return MFn::kBase; }
bool MFnBase::hasObj(MFn::Type fnType) const { return fObject.hasFn(fnType); }
bool MFnBase::hasObj(const MObject& object) const { return object.hasFn(type()); }
MObject MFnBase::object(MStatus* ReturnStatus) const
{
    setStatus(ReturnStatus, fObject.isNull() ? MS::kFailure : MS::kSuccess);
    return fObject;
}
MStatus MFnBase::setObject(MObject& object) { return setObject(static_cast<const MObject&>(object)); }
MStatus MFnBase::setObject(const MObject& object)
{
    if (!object.hasFn(type())) {
        fObject = MObject();
        return MS::kInvalidParameter;
    }
    fObject = object;
    return MS::kSuccess;
}
const char* MFnBase::className() { return "MFnBase"; }

// -------------------------------------------------------- MFnDependencyNode

namespace {

// Attaches a dependency-node function set; a handle to a deleted node does
// not attach.
MStatus attachNode(MFnDependencyNode& fn, const MObject& object, MStatus* out)
{
    if (out && injected(Op::attachFunctionSet, out)) return *out;
    MStatus status = fn.setObject(object);
    if (status && !liveNode(object)) status = MS::kInvalidParameter;
    setStatus(out, status);
    return status;
}

Node* nodeOf(const MObject& object, MStatus* out)
{
    Node* node = liveNode(object);
    setStatus(out, node ? MS::kSuccess : MS::kInvalidParameter);
    return node;
}

}  // namespace

MFnDependencyNode::MFnDependencyNode() = default;
MFnDependencyNode::MFnDependencyNode(MObject& object, MStatus* ReturnStatus)
{
    attachNode(*this, object, ReturnStatus);
}
MFnDependencyNode::MFnDependencyNode(const MObject& object, MStatus* ReturnStatus)
{
    attachNode(*this, object, ReturnStatus);
}
MFnDependencyNode::~MFnDependencyNode() = default;
MFn::Type MFnDependencyNode::type() const { return MFn::kDependencyNode; }
const char* MFnDependencyNode::className() { return "MFnDependencyNode"; }

MObject MFnDependencyNode::create(const MTypeId& typeId, MStatus* ReturnStatus)
{
    return create(typeId, MString(), ReturnStatus);
}

namespace {

MObject createNodeOfType(NodeType* type, const MString& name, MStatus* out)
{
    if (!type) {
        setStatus(out, failure(MS::kInvalidParameter, "unknown node type"));
        return MObject();
    }
    Node* node = scene().create(type, name.asChar(), out);
    try {
        if (type->creator) {
            node->user = static_cast<MPxNode*>(type->creator());
            if (node->user) {
                setNodeInstance(node->user, node);
                node->user->postConstructor();
            }
        }
        return objectOf(node);
    } catch (...) {
        // A node nobody was handed never stays in the scene.
        deleteNode(node);
        throw;
    }
}

}  // namespace

MObject MFnDependencyNode::create(const MTypeId& typeId, const MString& name, MStatus* ReturnStatus)
{
    if (injected(Op::createNode, ReturnStatus)) return MObject();
    MObject node = createNodeOfType(registry().findType(typeId.id()), name, ReturnStatus);
    if (!node.isNull()) fObject = node;
    return node;
}

MObject MFnDependencyNode::create(const MString& typeName, MStatus* ReturnStatus)
{
    return create(typeName, MString(), ReturnStatus);
}

MObject MFnDependencyNode::create(const MString& typeName, const MString& name, MStatus* ReturnStatus)
{
    if (injected(Op::createNode, ReturnStatus)) return MObject();
    MObject node = createNodeOfType(registry().findType(typeName.asChar()), name, ReturnStatus);
    if (!node.isNull()) fObject = node;
    return node;
}

MTypeId MFnDependencyNode::typeId(MStatus* ReturnStatus) const
{
    if (ReturnStatus && injected(Op::typeId, ReturnStatus)) return MTypeId();
    Node* node = nodeOf(fObject, ReturnStatus);
    return node ? MTypeId(node->type->id) : MTypeId();
}

MString MFnDependencyNode::typeName(MStatus* ReturnStatus) const
{
    Node* node = nodeOf(fObject, ReturnStatus);
    return node ? MString(node->type->name.c_str()) : MString();
}

MString MFnDependencyNode::name(MStatus* ReturnStatus) const
{
    if (ReturnStatus && injected(Op::name, ReturnStatus)) return MString();
    Node* node = nodeOf(fObject, ReturnStatus);
    return node ? MString(node->name.c_str(), static_cast<int>(node->name.size())) : MString();
}

MString MFnDependencyNode::absoluteName(MStatus* ReturnStatus) const
{
    return MString(":") + name(ReturnStatus);
}

MString MFnDependencyNode::setName(const MString& newName, bool, MStatus* ReturnStatus)
{
    Node* node = nodeOf(fObject, ReturnStatus);
    return node ? MString(node->scene->rename(node, newName.asChar()).c_str()) : MString();
}

MString MFnDependencyNode::setName(const MString& newName, MStatus* ReturnStatus)
{
    return setName(newName, false, ReturnStatus);
}

MPlug MFnDependencyNode::findPlug(const MObject& attr, bool, MStatus* ReturnStatus) const
{
    if (injected(Op::findPlug, ReturnStatus)) return MPlug();
    Node* node = nodeOf(fObject, ReturnStatus);
    Attribute* attribute = attributeOf(attr);
    if (!node) return MPlug();
    if (!attribute || attribute->owner != node->type) {
        setStatus(ReturnStatus, MS::kInvalidParameter);
        return MPlug();
    }
    return MPlug(fObject, attr);
}

MPlug MFnDependencyNode::findPlug(const MString& attrName, bool, MStatus* ReturnStatus) const
{
    if (injected(Op::findPlug, ReturnStatus)) return MPlug();
    Node* node = nodeOf(fObject, ReturnStatus);
    if (!node) return MPlug();
    int index = node->type->findAttribute(attrName.asChar(), attrName.length());
    if (index < 0) {
        setStatus(ReturnStatus, MS::kInvalidParameter);
        return MPlug();
    }
    return MPlug(fObject, node->type->attributeObjects[index]);
}

MPlug MFnDependencyNode::findPlug(const MObject& attr, MStatus* ReturnStatus) const
{
    return findPlug(attr, false, ReturnStatus);
}

MPlug MFnDependencyNode::findPlug(const MString& attrName, MStatus* ReturnStatus) const
{
    return findPlug(attrName, false, ReturnStatus);
}

unsigned int MFnDependencyNode::attributeCount(MStatus* ReturnStatus) const
{
    Node* node = nodeOf(fObject, ReturnStatus);
    return node ? static_cast<unsigned int>(node->type->attributes.size()) : 0;
}

MObject MFnDependencyNode::attribute(unsigned int index, MStatus* ReturnStatus) const
{
    Node* node = nodeOf(fObject, ReturnStatus);
    if (!node || index >= node->type->attributeObjects.size()) {
        setStatus(ReturnStatus, MS::kInvalidParameter);
        return MObject();
    }
    return node->type->attributeObjects[index];
}

MObject MFnDependencyNode::attribute(const MString& attrName, MStatus* ReturnStatus) const
{
    Node* node = nodeOf(fObject, ReturnStatus);
    int index = node ? node->type->findAttribute(attrName.asChar(), attrName.length()) : -1;
    if (index < 0) {
        setStatus(ReturnStatus, MS::kInvalidParameter);
        return MObject();
    }
    return node->type->attributeObjects[index];
}

bool MFnDependencyNode::hasAttribute(const MString& attrName, MStatus* ReturnStatus) const
{
    Node* node = nodeOf(fObject, ReturnStatus);
    return node && node->type->findAttribute(attrName.asChar(), attrName.length()) >= 0;
}

MStatus MFnDependencyNode::getConnections(MPlugArray& array) const
{
    array.clear();
    MStatus status;
    Node* node = nodeOf(fObject, &status);
    if (!node) return status;
    for (int a = 0; a < node->slotCount; ++a) {
        const AttributeSlot& slot = node->slot(a);
        if (slot.links() && slot.links()->connected()) put(array, makePlug(Endpoint{node, a, -1}));
        const ArrayState* elements = slot.array();
        if (!elements) continue;
        for (const ElementState& e : elements->ordered())
            if (elements->connected(e)) put(array, makePlug(Endpoint{node, a, static_cast<int>(e.index)}));
    }
    return MS::kSuccess;
}

MPxNode* MFnDependencyNode::userNode(MStatus* ReturnStatus) const
{
    Node* node = nodeOf(fObject, ReturnStatus);
    return node ? node->user : nullptr;
}

// ------------------------------------------------------------- MFnAttribute

namespace {

const Op kSetterOps[kFlagCount] = {Op::setReadable,    Op::setWritable, Op::setConnectable,
                                   Op::setStorable,    Op::setCached,   Op::setArray,
                                   Op::setIndexMatters, Op::setKeyable, Op::setHidden};

}  // namespace

MFnAttribute::MFnAttribute() = default;
MFnAttribute::MFnAttribute(MObject& object, MStatus* ReturnStatus)
{
    setStatus(ReturnStatus, setObject(object));
}
MFnAttribute::MFnAttribute(const MObject& object, MStatus* ReturnStatus)
{
    setStatus(ReturnStatus, setObject(object));
}
MFnAttribute::~MFnAttribute() = default;
MFn::Type MFnAttribute::type() const { return MFn::kAttribute; }

MStatus MFnAttribute::setFlag(int flag, bool state, const char*)
{
    MStatus status;
    if (faultHit(kSetterOps[flag], status)) return status;
    Attribute* attr = attributeOf(fObject);
    if (!attr) return MS::kInvalidParameter;
    attr->flags[flag] = state;
    return MS::kSuccess;
}

bool MFnAttribute::getFlag(int flag, MStatus* ReturnStatus) const
{
    Attribute* attr = attributeOf(fObject);
    setStatus(ReturnStatus, attr ? MS::kSuccess : MS::kInvalidParameter);
    return attr && attr->flags[flag];
}

bool MFnAttribute::isReadable(MStatus* s) const { return getFlag(kReadable, s); }
bool MFnAttribute::isWritable(MStatus* s) const { return getFlag(kWritable, s); }
bool MFnAttribute::isConnectable(MStatus* s) const { return getFlag(kConnectable, s); }
bool MFnAttribute::isStorable(MStatus* s) const { return getFlag(kStorable, s); }
bool MFnAttribute::isCached(MStatus* s) const { return getFlag(kCached, s); }
bool MFnAttribute::isArray(MStatus* s) const { return getFlag(kArray, s); }
bool MFnAttribute::indexMatters(MStatus* s) const { return getFlag(kIndexMatters, s); }
bool MFnAttribute::isKeyable(MStatus* s) const { return getFlag(kKeyable, s); }
bool MFnAttribute::isHidden(MStatus* s) const { return getFlag(kHidden, s); }

MStatus MFnAttribute::setReadable(bool state) { return setFlag(kReadable, state, "setReadable"); }
MStatus MFnAttribute::setWritable(bool state) { return setFlag(kWritable, state, "setWritable"); }
MStatus MFnAttribute::setConnectable(bool state) { return setFlag(kConnectable, state, "setConnectable"); }
MStatus MFnAttribute::setStorable(bool state) { return setFlag(kStorable, state, "setStorable"); }
MStatus MFnAttribute::setCached(bool state) { return setFlag(kCached, state, "setCached"); }
MStatus MFnAttribute::setArray(bool state) { return setFlag(kArray, state, "setArray"); }
MStatus MFnAttribute::setIndexMatters(bool state) { return setFlag(kIndexMatters, state, "setIndexMatters"); }
MStatus MFnAttribute::setKeyable(bool state) { return setFlag(kKeyable, state, "setKeyable"); }
MStatus MFnAttribute::setHidden(bool state) { return setFlag(kHidden, state, "setHidden"); }

MString MFnAttribute::name(MStatus* ReturnStatus) const
{
    Attribute* attr = attributeOf(fObject);
    setStatus(ReturnStatus, attr ? MS::kSuccess : MS::kInvalidParameter);
    return attr ? MString(attr->longName.c_str()) : MString();
}

MString MFnAttribute::shortName(MStatus* ReturnStatus) const
{
    Attribute* attr = attributeOf(fObject);
    setStatus(ReturnStatus, attr ? MS::kSuccess : MS::kInvalidParameter);
    return attr ? MString(attr->shortName.c_str()) : MString();
}

// -------------------------------------------------------- MFnTypedAttribute

MFnTypedAttribute::MFnTypedAttribute() = default;
MFnTypedAttribute::MFnTypedAttribute(MObject& object, MStatus* ReturnStatus)
{
    setStatus(ReturnStatus, setObject(object));
}
MFnTypedAttribute::MFnTypedAttribute(const MObject& object, MStatus* ReturnStatus)
{
    setStatus(ReturnStatus, setObject(object));
}
MFnTypedAttribute::~MFnTypedAttribute() = default;
MFn::Type MFnTypedAttribute::type() const { return MFn::kTypedAttribute; }

MObject MFnTypedAttribute::createAttribute(const MString& fullName, const MString& briefName,
                                           int dataKind, unsigned int dataId, MStatus* ReturnStatus)
{
    if (injected(Op::createAttribute, ReturnStatus)) return MObject();
    if (fullName.length() == 0 || briefName.length() == 0) {
        setStatus(ReturnStatus, failure(MS::kInvalidParameter, "an attribute needs a long and a short name"));
        return MObject();
    }
    auto* attr = new Attribute();
    attr->longName = fullName.asChar();
    attr->shortName = briefName.asChar();
    attr->isString = dataKind == MFnData::kString;
    attr->dataId = dataId;
    fObject = objectOf(attr);
    setStatus(ReturnStatus, MS::kSuccess);
    return fObject;
}

MObject MFnTypedAttribute::create(const MString& fullName, const MString& briefName, const MTypeId& id,
                                  MObject, MStatus* ReturnStatus)
{
    return createAttribute(fullName, briefName, MFnData::kPlugin, id.id(), ReturnStatus);
}

MObject MFnTypedAttribute::create(const MString& fullName, const MString& briefName,
                                  MFnData::Type dataType, MObject, MStatus* ReturnStatus)
{
    return createAttribute(fullName, briefName, dataType, 0, ReturnStatus);
}

MObject MFnTypedAttribute::create(const MString& fullName, const MString& briefName,
                                  MFnData::Type dataType, MStatus* ReturnStatus)
{
    return createAttribute(fullName, briefName, dataType, 0, ReturnStatus);
}

MFnData::Type MFnTypedAttribute::attrType(MStatus* ReturnStatus) const
{
    Attribute* attr = attributeOf(fObject);
    setStatus(ReturnStatus, attr ? MS::kSuccess : MS::kInvalidParameter);
    if (!attr) return MFnData::kInvalid;
    return attr->isString ? MFnData::kString : MFnData::kPlugin;
}

// ------------------------------------------------------------------ MFnData

MFnData::MFnData() = default;
MFnData::~MFnData() = default;
MFn::Type MFnData::type() const { return MFn::kData; }

OPENMAYA_NAMESPACE_CLOSE
