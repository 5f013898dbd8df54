#ifndef DGHOST_FAULT_H
#define DGHOST_FAULT_H
// Fault injection: make chosen host calls fail, so that every error path of
// a plug-in can be exercised. Operations are named by the host call, e.g.
// "setValue", "findPlug", "connect", "doIt", "createNode", "setKeyable".

#include <maya/MStatus.h>
#include <string>
#include <vector>

namespace dghost {
namespace fault {

// The nth call of `operation` from now on (1 = the next one) and the
// `times - 1` calls after it return `code` instead of doing their work.
// Returns false for an unknown operation name.
bool failCall(const std::string& operation, unsigned nth,
              MStatus::MStatusCode code = MStatus::kFailure, unsigned times = 1);

// Removes every armed failure and sets every call counter to zero.
void clear();

// Calls of `operation` since the last clear(), failed ones included.
unsigned calls(const std::string& operation);

// Every operation name that failCall() accepts.
std::vector<std::string> operations();

}  // namespace fault
}  // namespace dghost

#endif
