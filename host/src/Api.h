#ifndef DGHOST_API_H
#define DGHOST_API_H
// The SDK-facing files (host/src/*.cpp): the classes behind <maya/...>,
// each a thin layer over the graph. What they share with each other and
// with the runtime is declared here. Nothing here is visible to plug-ins.
//
// May include: graph/, fault/, runtime/ headers (node types and plug-ins are
// looked up by MFnDependencyNode and MFnPlugin; commands run through the
// runtime's registry), <maya/...>, <dghost/...> and the standard library.

#include "fault/Injection.h"
#include "graph/Graph.h"
#include "runtime/Registry.h"

#include <maya/MSelectionList.h>

#include <string>
#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN
class MPxCommand;
class MSyntax;

// The host's way into a string's bytes: a value filled in place, with no
// temporary string and no second copy.
struct MStringAccess {
    static std::string& text(MString& s) { return s.fText; }
};
OPENMAYA_NAMESPACE_CLOSE

namespace dghost {
namespace detail {

// Reports a status through an optional status pointer. A code is made into
// a status only when someone asks for it: most calls pass no pointer.
inline void setStatus(MStatus* out, const MStatus& status)
{
    if (out) *out = status;
}
inline void setStatus(MStatus* out, MStatus::MStatusCode code)
{
    if (out) *out = MStatus(code);
}

// False for a null plug or one whose node is gone.
bool endpointOf(const MPlug& plug, Endpoint& end);

// Links a plug-in node object to the host node it belongs to.
void setNodeInstance(MPxNode* user, Node* node);

// Appends to an API array without going through fault injection: the
// host's own bookkeeping is not a call a plug-in made.
template <typename Array, typename Value>
void put(Array& array, const Value& value)
{
    unsigned int n = array.length();
    array.setLength(n + 1);
    array[n] = value;
}

// Status texts.
const char* statusCodeName(MStatus::MStatusCode code);
MStatus failure(MStatus::MStatusCode code, const std::string& text);

// Name patterns with * and ?, and the active selection.
bool isPattern(const std::string& text);
bool matchPattern(const std::string& pattern, const std::string& text);
std::vector<Node*> matchNodes(const std::string& pattern);
MSelectionList& activeSelection();

// Gives a command object its syntax and name before doIt.
void setCommandContext(MPxCommand& command, const MSyntax& syntax, const std::string& name);

// Messages of the running command (or of the host when none runs).
void reportMessage(const char* kind, const std::string& text);

}  // namespace detail
}  // namespace dghost

#endif
