#ifndef DENDRINE_TREE_LOG_H
#define DENDRINE_TREE_LOG_H
// The log-and-go-on convention shared by every layer of the plug-in:
// progress and error lines go to standard output, one per line, flushed.

#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MIOStream.h>

// A host status counts as failed when it is neither kSuccess nor kNotFound.
inline bool failed(const MStatus& status)
{
    return status != MS::kSuccess && status != MS::kNotFound;
}

// Writes one progress line.
void logLine(const char* text);
void logLine(const MString& text);
void logNumber(unsigned int number);

// Writes `text` immediately followed by status.errorString(), when the
// status failed. Returns whether it wrote.
bool logError(const char* text, const MStatus& status);

// As logError, but whenever the status is not kSuccess (kNotFound too).
bool logErrorUnlessSuccess(const char* text, const MStatus& status);

// As logError, with one more "\n" before the line end, so an empty line
// follows. `strict` tests "not kSuccess" instead of failed().
bool logErrorBlank(const char* text, const MStatus& status, bool strict = false);

#endif
