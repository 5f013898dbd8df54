#ifndef _MDGModifier
#define _MDGModifier
// Queue of graph edits. Nothing changes until doIt(), which carries out
// what is queued, in order, and empties the queue. Not copyable.

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MObject.h>
#include <maya/MTypeId.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MPlug;

class OPENMAYA_EXPORT MDGModifier
{
public:
    MDGModifier();
    virtual ~MDGModifier();

    MObject createNode(const MTypeId& typeId, MStatus* ReturnStatus = NULL);
    MObject createNode(const MString& type, MStatus* ReturnStatus = NULL);
    MStatus deleteNode(const MObject& node);
    MStatus renameNode(const MObject& node, const MString& newName);
    MStatus connect(const MPlug& source, const MPlug& dest);
    MStatus disconnect(const MPlug& source, const MPlug& dest);
    MStatus connect(const MObject& sourceNode, const MObject& sourceAttr,
                    const MObject& destNode, const MObject& destAttr);
    MStatus disconnect(const MObject& sourceNode, const MObject& sourceAttr,
                       const MObject& destNode, const MObject& destAttr);
    MStatus newPlugValueString(const MPlug& plug, const MString& value);
    MStatus doIt();
    MStatus undoIt();

protected:
    MDGModifier(const MDGModifier& other);
    MDGModifier& operator=(const MDGModifier& other);

private:
    void* fData;
};

OPENMAYA_NAMESPACE_CLOSE

#endif
