#include "tree/Links.h"
#include "tree/Log.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MIntArray.h>
#include <maya/MPlugArray.h>

unsigned int nextLinkIndex(MPlug& array)
{
    // The elements are counted in ascending logical order, so the last one
    // by physical index holds the highest logical index. Asking for it costs
    // the same whatever the size of the array, where listing every index
    // would make linking n children cost n squared.
    MStatus status;
    const unsigned int count = array.numElements(&status);
    if (count == 0 || status != MS::kSuccess)
        return 0;
    MPlug last = array.elementByPhysicalIndex(count - 1, &status);
    if (status != MS::kSuccess)
        return count;
    const unsigned int highest = last.logicalIndex(&status);
    return status == MS::kSuccess ? highest + 1 : count;
}

void appendLinkedSources(MPlug& array, MObjectArray& nodes, bool logPlugNames)
{
    MIntArray indices;
    array.getExistingArrayAttributeIndices(indices);
    for (unsigned int k = 0; k < indices.length(); ++k) {
        MPlug element = array.elementByLogicalIndex(static_cast<unsigned int>(indices[k]));
        if (logPlugNames)
            logLine(element.partialName(true, true));
        MPlugArray sources;
        if (element.isNetworked() && element.connectedTo(sources, true, false)) {
            for (unsigned int s = 0; s < sources.length(); ++s)
                nodes.append(sources[s].node());
        }
    }
}

MPlug plugOf(const MObject& node, const char* attributeName)
{
    MFnDependencyNode fn(node);
    return MPlug(node, fn.attribute(attributeName));
}
