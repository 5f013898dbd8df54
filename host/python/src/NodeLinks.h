#ifndef DGHOST_PYTHON_NODE_LINKS_H
#define DGHOST_PYTHON_NODE_LINKS_H
// One node as the node editor shows it: its type, its string values, and
// what is connected into each element of its array plugs, in index order.

#include <pybind11/pybind11.h>

#include <string>

namespace dghost {
namespace python {

// None when there is no node of that name; else (type name, {attribute long
// name: text}, [(array attribute long name, logical index, source node,
// source attribute long name), ...]).
pybind11::object describeNode(const std::string& name);

}  // namespace python
}  // namespace dghost

#endif
