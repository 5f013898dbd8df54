#ifndef DENDRINE_IMPORT_SOURCE_FILE_H
#define DENDRINE_IMPORT_SOURCE_FILE_H
// Reading the file an import names, whole, before the XML library sees it:
// the library is given bytes, never a path or URI.

#include <string>

// Reads a whole local file (the path as raw bytes, never a URI). Anything
// that is not a regular file (a folder, a FIFO, a device, a socket) is
// refused before a byte is read, so nothing can block the read forever or
// feed it without end. On failure returns false with the reason ("it is a
// folder, not a file", or the system's reason). May throw bad_alloc.
bool readFileBytes(const std::string& path, std::string& bytes, std::string& reason);

#endif
