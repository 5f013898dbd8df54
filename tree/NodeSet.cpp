#include "tree/NodeSet.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MString.h>

std::string nodeKey(const MObject& node)
{
    MStatus status;
    MFnDependencyNode fn(node, &status);
    if (status != MS::kSuccess)
        return std::string();
    MString name = fn.name(&status);
    if (status != MS::kSuccess)
        return std::string();
    return name.asChar();
}

bool NodeSet::insert(const MObject& node)
{
    std::string key = nodeKey(node);
    if (key.empty() || !keys.insert(key).second)
        return false;
    members.append(node);
    return true;
}

bool NodeSet::contains(const MObject& node) const
{
    std::string key = nodeKey(node);
    return !key.empty() && keys.find(key) != NameTable::npos;
}
