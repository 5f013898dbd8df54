#ifndef DGHOST_PYTHON_OUTPUT_CAPTURE_H
#define DGHOST_PYTHON_OUTPUT_CAPTURE_H
// Collects what plug-ins write to standard output (std::cout) as lines of a
// Python list, instead of letting it reach the process's standard output.
// Captures nest; each ends in the reverse order it began.

#include <pybind11/pybind11.h>

namespace dghost {
namespace python {

// From now on every complete line written to std::cout is appended to `lines`.
void beginCapture(pybind11::list lines);

// Appends the unfinished last line, if any, and gives std::cout back to the
// capture (or the stream) that had it before. False when none is active.
bool endCapture();

}  // namespace python
}  // namespace dghost

#endif
