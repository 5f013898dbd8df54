#ifndef DENDRINE_IMPORT_XML_EXCEPTION_TEXT_H
#define DENDRINE_IMPORT_XML_EXCEPTION_TEXT_H
// Naming the exception an XML library call threw, so the command can report
// it instead of letting it cross into the host.

#include <string>

// Call only inside a catch block: rethrows the exception in flight, catches
// it by each type the XML library throws (out of memory, load/save, DOM,
// XML, SAX) or the standard library's, and returns a UTF-8 description.
// Never throws.
std::string describeCurrentException();

#endif
