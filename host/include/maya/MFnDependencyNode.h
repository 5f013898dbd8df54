#ifndef _MFnDependencyNode
#define _MFnDependencyNode
// Function set for dependency nodes: create a node, name it, find its plugs.
// Prefer findPlug(name, false, &status): the two-argument form is deprecated.

#include <maya/MTypes.h>
#include <maya/MFnBase.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>
#include <maya/MPlug.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MPxNode;
class MPlugArray;

class OPENMAYA_EXPORT MFnDependencyNode : public MFnBase
{
public:
    MFnDependencyNode();
    MFnDependencyNode(MObject& object, MStatus* ReturnStatus = nullptr);
    MFnDependencyNode(const MObject& object, MStatus* ReturnStatus = nullptr);
    ~MFnDependencyNode() override;
    MFn::Type type() const override;
    static const char* className();

    MObject create(const MTypeId& typeId, MStatus* ReturnStatus = NULL);
    MObject create(const MTypeId& typeId, const MString& name, MStatus* ReturnStatus = NULL);
    MObject create(const MString& type, MStatus* ReturnStatus = NULL);
    MObject create(const MString& type, const MString& name, MStatus* ReturnStatus = NULL);

    MTypeId typeId(MStatus* ReturnStatus = NULL) const;
    MString typeName(MStatus* ReturnStatus = NULL) const;
    MString name(MStatus* ReturnStatus = NULL) const;
    MString absoluteName(MStatus* ReturnStatus = NULL) const;
    MString setName(const MString& name, bool createNamespace = false, MStatus* ReturnStatus = NULL);
    OPENMAYA_DEPRECATED(2019, "Use setName(name, createNamespace, ReturnStatus) instead.")
    MString setName(const MString& name, MStatus* ReturnStatus);

    MPlug findPlug(const MObject& attr, bool wantNetworkedPlug, MStatus* ReturnStatus = NULL) const;
    MPlug findPlug(const MString& attrName, bool wantNetworkedPlug, MStatus* ReturnStatus = NULL) const;
    OPENMAYA_DEPRECATED(2019, "Use findPlug(attr, wantNetworkedPlug, ReturnStatus) instead.")
    MPlug findPlug(const MObject& attr, MStatus* ReturnStatus = NULL) const;
    OPENMAYA_DEPRECATED(2019, "Use findPlug(attrName, wantNetworkedPlug, ReturnStatus) instead.")
    MPlug findPlug(const MString& attrName, MStatus* ReturnStatus = NULL) const;

    unsigned int attributeCount(MStatus* ReturnStatus = NULL) const;
    MObject attribute(unsigned int index, MStatus* ReturnStatus = NULL) const;
    MObject attribute(const MString& attrName, MStatus* ReturnStatus = NULL) const;
    bool hasAttribute(const MString& name, MStatus* ReturnStatus = NULL) const;
    MStatus getConnections(MPlugArray& array) const;
    MPxNode* userNode(MStatus* ReturnStatus = NULL) const;

private:
    MFnDependencyNode(const MFnDependencyNode&);
    MFnDependencyNode& operator=(const MFnDependencyNode&);
    MFnDependencyNode* operator&() const;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
