#ifndef _MPlug
#define _MPlug
// A plug: one attribute of one node, or one element of an array attribute.
// Array elements are addressed by logical index; the physical index counts
// existing elements in ascending logical order.

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MObject.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MPlugArray;
class MIntArray;
class MDGContext;

class OPENMAYA_EXPORT MPlug
{
public:
    MPlug();
    MPlug(const MPlug& other);
    MPlug(const MObject& node, const MObject& attribute);
    virtual ~MPlug();

    MPlug& operator=(const MPlug& other);

    MObject node(MStatus* ReturnStatus = nullptr) const;
    MObject attribute(MStatus* ReturnStatus = nullptr) const;
    MString name(MStatus* ReturnStatus = nullptr) const;
    MString partialName(bool includeNodeName = false,
                        bool includeNonMandatoryIndices = false,
                        bool includeInstancedIndices = false,
                        bool useAlias = false,
                        bool useFullAttributePath = false,
                        bool useLongNames = false,
                        MStatus* ReturnStatus = nullptr) const;

    bool isNetworked(MStatus* ReturnStatus = nullptr) const;
    bool isArray(MStatus* ReturnStatus = nullptr) const;
    bool isElement(MStatus* ReturnStatus = nullptr) const;
    bool isNull(MStatus* ReturnStatus = nullptr) const;
    bool isConnected(MStatus* ReturnStatus = nullptr) const;

    unsigned int logicalIndex(MStatus* ReturnStatus = nullptr) const;
    unsigned int numElements(MStatus* ReturnStatus = nullptr) const;
    unsigned int evaluateNumElements(MStatus* ReturnStatus = nullptr);
    unsigned int numConnectedElements(MStatus* ReturnStatus = nullptr) const;
    unsigned int getExistingArrayAttributeIndices(MIntArray& indices, MStatus* ReturnStatus = nullptr);
    MPlug elementByLogicalIndex(unsigned int logicalIndex, MStatus* ReturnStatus = nullptr) const;
    MPlug elementByPhysicalIndex(unsigned int physicalIndex, MStatus* ReturnStatus = nullptr) const;
    MPlug connectionByPhysicalIndex(unsigned int physicalIndex, MStatus* ReturnStatus = nullptr) const;
    MPlug array(MStatus* ReturnStatus = nullptr) const;

    bool connectedTo(MPlugArray& array, bool asDst, bool asSrc, MStatus* ReturnStatus = nullptr) const;
    MPlug source(MStatus* ReturnStatus = nullptr) const;
    bool destinations(MPlugArray& theDestinations, MStatus* ReturnStatus = nullptr) const;

    MStatus getValue(MString& value) const;
    OPENMAYA_DEPRECATED(2018, "Use getValue(MString&) instead.")
    MStatus getValue(MString& value, MDGContext& ctx) const;
    MString asString(MStatus* ReturnStatus = nullptr) const;
    OPENMAYA_DEPRECATED(2018, "Use asString(MStatus*) instead.")
    MString asString(const MDGContext& ctx, MStatus* ReturnStatus = nullptr) const;

    MStatus setValue(const MString& value);
    MStatus setValue(const char* value);
    MStatus setString(const MString& value);

    MPlug operator[](unsigned int physicalIndex) const;
    bool operator==(const MPlug& other) const;
    bool operator==(const MObject& other) const;
    bool operator!=(const MPlug& other) const;
    bool operator!=(const MObject& other) const;
    operator MObject() const;
    bool operator!() const;
    bool isExactlyEqual(const MPlug& other) const;

private:
    friend struct MPlugAccess;
    MObject fNode;
    MObject fAttribute;
    int fLogicalIndex;   // -1: the attribute itself, not an array element
};

OPENMAYA_NAMESPACE_CLOSE

#endif
