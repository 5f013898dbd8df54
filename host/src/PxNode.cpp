// MPxNode, MPxData and MDataBlock: the bases of user-defined types.

#include "Api.h"

#include <maya/MDataBlock.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MPxData.h>
#include <maya/MPxNode.h>

using namespace dghost::detail;

OPENMAYA_MAJOR_NAMESPACE_OPEN

struct MPxNodeAccess {
    static Node* node(const MPxNode& n) { return static_cast<Node*>(n.fInstance); }
    static void set(MPxNode& n, Node* node) { n.fInstance = node; }
};

MObject MPxNode::message;
MObject MPxNode::isHistoricallyInteresting;
MObject MPxNode::caching;
MObject MPxNode::state;
MObject MPxNode::frozen;

MPxNode::MPxNode() : fInstance(nullptr) {}
MPxNode::~MPxNode() = default;
void MPxNode::postConstructor() {}
MStatus MPxNode::compute(const MPlug&, MDataBlock&) { return MS::kUnknownParameter; }
MStatus MPxNode::legalConnection(const MPlug&, const MPlug&, bool, bool&) const
{
    return MS::kUnknownParameter;
}
MStatus MPxNode::legalDisconnection(const MPlug&, const MPlug&, bool, bool&) const
{
    return MS::kUnknownParameter;
}
MStatus MPxNode::setDependentsDirty(const MPlug&, MPlugArray&) { return MS::kSuccess; }
MStatus MPxNode::connectionMade(const MPlug&, const MPlug&, bool) { return MS::kUnknownParameter; }
MStatus MPxNode::connectionBroken(const MPlug&, const MPlug&, bool) { return MS::kUnknownParameter; }
bool MPxNode::shouldSave(const MPlug&, bool&) { return false; }
MPxNode::Type MPxNode::type() const { return kDependNode; }
bool MPxNode::isAbstractClass() const { return false; }

MTypeId MPxNode::typeId() const
{
    Node* node = MPxNodeAccess::node(*this);
    return node ? MTypeId(node->type->id) : MTypeId();
}

MString MPxNode::typeName() const
{
    Node* node = MPxNodeAccess::node(*this);
    return node ? MString(node->type->name.c_str()) : MString();
}

MString MPxNode::name() const
{
    Node* node = MPxNodeAccess::node(*this);
    return node ? MString(node->name.c_str(), static_cast<int>(node->name.size())) : MString();
}

MObject MPxNode::thisMObject() const
{
    Node* node = MPxNodeAccess::node(*this);
    return node ? objectOf(node) : MObject();
}

MStatus MPxNode::addAttribute(const MObject& attr)
{
    MStatus status;
    if (faultHit(Op::addAttribute, status)) return status;
    NodeType* type = registry().initializing;
    Attribute* attribute = attributeOf(attr);
    if (!type) return failure(MS::kFailure, "attributes can be added only while a node type registers");
    if (!attribute) return MS::kInvalidParameter;
    if (attribute->owner) return failure(MS::kFailure, "the attribute belongs to a node type already");
    if (type->findAttribute(attribute->longName) >= 0 || type->findAttribute(attribute->shortName) >= 0)
        return failure(MS::kFailure, "the node type has an attribute of that name already");
    attribute->owner = type;
    attribute->index = static_cast<int>(type->attributes.size());
    type->attributes.push_back(attribute);
    type->attributeObjects.push_back(attr);
    type->attributeByName.emplace(attribute->longName, attribute->index);
    type->attributeByName.emplace(attribute->shortName, attribute->index);
    return MS::kSuccess;
}

MStatus MPxNode::attributeAffects(const MObject& whenChanges, const MObject& isAffected)
{
    MStatus status;
    if (faultHit(Op::attributeAffects, status)) return status;
    // This host evaluates nothing, so dependencies only need to be valid.
    Attribute* from = attributeOf(whenChanges);
    Attribute* to = attributeOf(isAffected);
    if (!from || !to) return MS::kInvalidParameter;
    if (!registry().initializing || from->owner != registry().initializing ||
        to->owner != registry().initializing)
        return failure(MS::kFailure, "attributeAffects needs two attributes of the registering type");
    return MS::kSuccess;
}

MStatus MPxNode::attributeAffects(const MObject& whenChanges, const MObject& isAffected, bool)
{
    return attributeAffects(whenChanges, isAffected);
}

MStatus MPxNode::inheritAttributesFrom(const MString&) { return MS::kNotImplemented; }

MPxData::MPxData() = default;
MPxData::~MPxData() = default;
MStatus MPxData::readASCII(const MArgList&, unsigned int&) { return MS::kNotImplemented; }
MStatus MPxData::readBinary(std::istream&, unsigned int) { return MS::kNotImplemented; }
MStatus MPxData::writeASCII(std::ostream&) { return MS::kNotImplemented; }
MStatus MPxData::writeBinary(std::ostream&) { return MS::kNotImplemented; }

MDataBlock::MDataBlock() : fData(nullptr) {}
MDataBlock::MDataBlock(const MDataBlock& other) = default;
MDataBlock& MDataBlock::operator=(const MDataBlock& other) = default;
MDataBlock::~MDataBlock() = default;
bool MDataBlock::isClean(const MPlug&, MStatus* ReturnStatus)
{
    if (ReturnStatus) *ReturnStatus = MS::kSuccess;
    return true;
}
MStatus MDataBlock::setClean(const MPlug&) { return MS::kSuccess; }

OPENMAYA_NAMESPACE_CLOSE

using OPENMAYA_MAJOR_NAMESPACE_SCHEMA::MPxNodeAccess;


namespace dghost {
namespace detail {

void setNodeInstance(MPxNode* user, Node* node) { MPxNodeAccess::set(*user, node); }

}  // namespace detail
}  // namespace dghost
