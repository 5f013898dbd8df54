// Reads a node through the SDK's own function sets and plugs, the way a
// plug-in would, so the picture shows what a plug-in sees.

#include "NodeLinks.h"

#include <maya/MFnAttribute.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MIntArray.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MSelectionList.h>

#include <pybind11/stl.h>

namespace py = pybind11;

namespace dghost {
namespace python {
namespace {

// What is connected into each existing element of an array plug.
void addInputs(MPlug plug, const std::string& attribute, py::list& links)
{
    MIntArray indices;
    plug.getExistingArrayAttributeIndices(indices);
    for (unsigned int i = 0; i < indices.length(); ++i) {
        MPlugArray sources;
        plug.elementByLogicalIndex(static_cast<unsigned int>(indices[i])).connectedTo(sources, true, false);
        for (unsigned int s = 0; s < sources.length(); ++s) {
            std::string node = MFnDependencyNode(sources[s].node()).name().asChar();
            std::string source = sources[s].partialName(false, false, false, false, false, true).asChar();
            links.append(py::make_tuple(attribute, indices[i], node, source));
        }
    }
}

}  // namespace

py::object describeNode(const std::string& name)
{
    MSelectionList list;
    MObject object;
    if (!list.add(MString(name.c_str())) || !list.getDependNode(0, object)) return py::none();
    MFnDependencyNode node(object);
    py::dict values;
    py::list links;
    for (unsigned int a = 0; a < node.attributeCount(); ++a) {
        MObject attribute = node.attribute(a);
        MFnAttribute fn(attribute);
        std::string attributeName = fn.name().asChar();
        MPlug plug = node.findPlug(attribute, false);
        if (fn.isArray()) {
            addInputs(plug, attributeName, links);
            continue;
        }
        MString text;
        if (plug.getValue(text)) values[py::str(attributeName)] = std::string(text.asChar());
    }
    return py::make_tuple(std::string(node.typeName().asChar()), values, links);
}

}  // namespace python
}  // namespace dghost
