#include "tree/Links.h"

#include "log/Log.h"

#include <maya/MDGModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MIntArray.h>
#include <maya/MPlugArray.h>

MStatus nextLinkIndex(MPlug& array, unsigned int& index)
{
    // The elements are counted in ascending logical order, so the last one
    // by physical index holds the highest logical index. Asking for it costs
    // the same whatever the size of the array, where listing every index
    // would make linking n children cost n squared.
    index = 0;
    MStatus status;
    const unsigned int count = array.numElements(&status);
    if (count == 0 || status != MS::kSuccess)
        return MS::kSuccess;
    MPlug last = array.elementByPhysicalIndex(count - 1, &status);
    if (status != MS::kSuccess) {
        index = count;
        return MS::kSuccess;
    }
    const unsigned int highest = last.logicalIndex(&status);
    if (status != MS::kSuccess) {
        index = count;
        return MS::kSuccess;
    }
    if (highest >= kHighestLinkIndex) {
        const MStatus full(MS::kFailure);
        const MString text = "Error no Link Index left after 2147483647 on " + array.partialName(true);
        logError(text.asChar(), full);
        return full;
    }
    index = highest + 1;
    return MS::kSuccess;
}

void appendLinkedSources(MPlug& array, MObjectArray& nodes, bool logPlugNames)
{
    MIntArray indices;
    array.getExistingArrayAttributeIndices(indices);
    MPlugArray sources;  // one buffer for every element's sources
    for (unsigned int k = 0; k < indices.length(); ++k) {
        MPlug element = array.elementByLogicalIndex(static_cast<unsigned int>(indices[k]));
        if (logPlugNames)
            logLine(element.partialName(true, true));
        // connectedTo answers false for an element without a source.
        if (element.connectedTo(sources, true, false)) {
            for (unsigned int s = 0; s < sources.length(); ++s)
                nodes.append(sources[s].node());
        }
    }
}

MPlug plugOf(const MObject& node, const MObject& attribute)
{
    return MPlug(node, attribute);
}

MStatus refuseSecondParent(const MPlug& toParent)
{
    if (!toParent.isConnected())
        return MS::kSuccess;
    const MStatus refused(MS::kFailure);
    logError("Node has already a connection to Parent", refused);
    return refused;
}

MStatus linkOutcome(const MStatus& connect, const MStatus& doIt)
{
    if (failed(doIt))
        return doIt;
    if (failed(connect))
        return connect;
    return MS::kSuccess;
}

void discardCreatedNode(const MObject& node) noexcept
{
    try {
        MDGModifier modifier;
        if (modifier.deleteNode(node) == MS::kSuccess)
            modifier.doIt();
    } catch (...) {
        // Out of memory again: the node stays, unlinked.
    }
}
