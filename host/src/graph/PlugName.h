#ifndef DGHOST_GRAPH_PLUG_NAME_H
#define DGHOST_GRAPH_PLUG_NAME_H
// Plug names as scripts and scene files write them.

#include <string>

namespace dghost {
namespace detail {

// The highest logical index an array element may have: the graph keeps
// indices as non-negative ints. Scene files and commands accept all of them.
constexpr unsigned int kMaxLogicalIndex = 0x7fffffffu;

// A plug written as NODE.ATTR or NODE.ATTR[INDEX]; NODE may be empty (a
// scene file's ".ATTR" names the node created last). index is -1 without one.
struct PlugName {
    std::string node;
    std::string attribute;
    int index = -1;
};
enum class PlugNameError { kNone, kNotAPlug, kBadIndex };
// kBadIndex: the index is not plain decimal digits or exceeds kMaxLogicalIndex.
PlugNameError splitPlugName(const std::string& text, PlugName& name);

}  // namespace detail
}  // namespace dghost

#endif
