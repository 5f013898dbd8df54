#include "tree/Search.h"
#include "tree/Document.h"
#include "log/Log.h"
#include "tree/Lookup.h"

namespace {

using ElementReader = MStatus (*)(MObject, MString&);

// Keeps, in input order, the elements whose string read by `read` equals
// `wanted` exactly. A failed read is logged and compares as empty.
MStatus filterElements(const MObjectArray& nodes, const MString& wanted, ElementReader read,
                       const char* readErrorText, MObjectArray& matches)
{
    matches.clear();
    for (unsigned int i = 0; i < nodes.length(); ++i) {
        if (!isElementNode(nodes[i]))
            continue;
        MString text;
        logError(readErrorText, read(nodes[i], text));
        if (text == wanted)
            logError("Append Array", matches.append(nodes[i]));
    }
    return MS::kSuccess;
}

}  // namespace

MStatus filterByElementName(MObjectArray nodes, MString name, MObjectArray& matches)
{
    return filterElements(nodes, name, getElementName, "Error Get XML Name", matches);
}

MStatus filterByElementValue(MObjectArray nodes, MString value, MObjectArray& matches)
{
    return filterElements(nodes, value, getElementValue, "Error Get XML Value", matches);
}
