// MDGModifier: a queue of graph edits carried out by doIt().

#include "Api.h"

#include <maya/MDGModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>

using namespace dghost::detail;

namespace {

struct Edit {
    enum Kind { kConnect, kDisconnect, kDelete, kRename } kind;
    MPlug source;
    MPlug destination;
    MObject node;
    std::string newName;

    // Made in place in the queue: the host's handles have no moves, so a
    // temporary edit would copy (and count) each of them twice.
    Edit(Kind k, const MPlug& from, const MPlug& to) : kind(k), source(from), destination(to) {}
    Edit(Kind k, const MObject& target, std::string name = std::string())
        : kind(k), node(target), newName(std::move(name))
    {
    }
};

using Queue = std::vector<Edit>;

MStatus runEdit(const Edit& edit)
{
    if (edit.kind == Edit::kDelete) {
        Node* node = liveNode(edit.node);
        if (!node) return failure(MS::kInvalidParameter, "the node to delete does not exist");
        deleteNode(node);
        return MS::kSuccess;
    }
    if (edit.kind == Edit::kRename) {
        Node* node = liveNode(edit.node);
        if (!node) return failure(MS::kInvalidParameter, "the node to rename does not exist");
        node->scene->rename(node, edit.newName);
        return MS::kSuccess;
    }
    Endpoint source, destination;
    if (!endpointOf(edit.source, source) || !endpointOf(edit.destination, destination))
        return failure(MS::kInvalidParameter, "a plug of the connection does not exist");
    std::string why;
    MStatus status = edit.kind == Edit::kConnect ? connectPlugs(source, destination, &why)
                                                 : disconnectPlugs(source, destination, &why);
    return status ? status : failure(status.statusCode(), why);
}

MStatus queuePlugs(void* data, Op op, Edit::Kind kind, const MPlug& source, const MPlug& destination)
{
    MStatus status;
    if (faultHit(op, status)) return status;
    if (source.isNull() || destination.isNull()) return MS::kInvalidParameter;
    static_cast<Queue*>(data)->emplace_back(kind, source, destination);
    return MS::kSuccess;
}

}  // namespace

OPENMAYA_MAJOR_NAMESPACE_OPEN

MDGModifier::MDGModifier() : fData(new Queue()) {}
MDGModifier::~MDGModifier() { delete static_cast<Queue*>(fData); }

MObject MDGModifier::createNode(const MTypeId& typeId, MStatus* ReturnStatus)
{
    // Created at once: the node exists before doIt, as a handle must.
    MFnDependencyNode fn;
    return fn.create(typeId, ReturnStatus);
}

MObject MDGModifier::createNode(const MString& type, MStatus* ReturnStatus)
{
    MFnDependencyNode fn;
    return fn.create(type, ReturnStatus);
}

MStatus MDGModifier::deleteNode(const MObject& node)
{
    MStatus status;
    if (faultHit(Op::deleteNode, status)) return status;
    if (!liveNode(node)) return MS::kInvalidParameter;
    static_cast<Queue*>(fData)->emplace_back(Edit::kDelete, node);
    return MS::kSuccess;
}

MStatus MDGModifier::renameNode(const MObject& node, const MString& newName)
{
    if (!liveNode(node)) return MS::kInvalidParameter;
    static_cast<Queue*>(fData)->emplace_back(Edit::kRename, node, std::string(newName.asChar()));
    return MS::kSuccess;
}

MStatus MDGModifier::connect(const MPlug& source, const MPlug& dest)
{
    return queuePlugs(fData, Op::connect, Edit::kConnect, source, dest);
}

MStatus MDGModifier::disconnect(const MPlug& source, const MPlug& dest)
{
    return queuePlugs(fData, Op::disconnect, Edit::kDisconnect, source, dest);
}

MStatus MDGModifier::connect(const MObject& sourceNode, const MObject& sourceAttr,
                             const MObject& destNode, const MObject& destAttr)
{
    return connect(MPlug(sourceNode, sourceAttr), MPlug(destNode, destAttr));
}

MStatus MDGModifier::disconnect(const MObject& sourceNode, const MObject& sourceAttr,
                                const MObject& destNode, const MObject& destAttr)
{
    return disconnect(MPlug(sourceNode, sourceAttr), MPlug(destNode, destAttr));
}

MStatus MDGModifier::newPlugValueString(const MPlug& plug, const MString& value)
{
    MPlug target(plug);
    return target.setValue(value);
}

// Carries out every queued edit in order and empties the queue; the result
// is the first failure, if any. An injected failure drops the queue, so no
// half-made edit survives into a later doIt.
MStatus MDGModifier::doIt()
{
    Queue& queued = *static_cast<Queue*>(fData);
    Queue edits;
    edits.swap(queued);
    MStatus status;
    MStatus result;
    if (faultHit(Op::doIt, status)) {
        result = status;
    } else {
        for (const Edit& edit : edits) {
            MStatus one = runEdit(edit);
            if (!one && result) result = one;
        }
    }
    // The queue keeps its storage for the next edits (a modifier is often
    // used for one connection at a time); edits queued meanwhile stay.
    if (queued.empty()) {
        edits.clear();
        edits.swap(queued);
    }
    return result;
}

MStatus MDGModifier::undoIt() { return MS::kNotImplemented; }

MDGModifier::MDGModifier(const MDGModifier&) : fData(new Queue()) {}
MDGModifier& MDGModifier::operator=(const MDGModifier&) { return *this; }

OPENMAYA_NAMESPACE_CLOSE
