#ifndef DENDRINE_LOG_LOG_H
#define DENDRINE_LOG_LOG_H
// The plug-in's log: progress lines, error lines, numbers and the names line,
// all on standard output, one per line, each flushed. Every layer from
// nodes/ up writes through here, so the conventions live in one place.
//
// An error line is a message immediately followed (no separator) by the
// failing status's errorString(). Use logError for every one of them and
// pick the convention with ErrorLine options:
//   - ErrorLine::Standard: written when the status failed(), i.e. is
//     neither kSuccess nor kNotFound. The default for every host call whose
//     failure is logged and gone past.
//   - ErrorLine::EvenNotFound: written for every status other than
//     kSuccess. Only for the few checks that treat kNotFound as a failure
//     too (parent listings, the attribute creation checks of node types).
//   - ErrorLine::BlankLineAfter: one more "\n" before the line end, so an
//     empty line follows. Only where that empty line is part of the
//     message's known shape (listing failures, create-mode name and value
//     writes); never for a new message.
//   - ErrorLine::TextOnly: the message alone, with neither error string nor
//     line end, so the next output continues the line. Only for the one
//     node-type creation report that has always looked like that.
// Do not write error lines to std::cout by hand: a copy drifts.
//
// Messages for the script caller do not belong here: they go through
// MPxCommand::displayError and setResult.

#include <maya/MIOStream.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

// A host status counts as failed when it is neither kSuccess nor kNotFound.
inline bool failed(const MStatus& status)
{
    return status != MS::kSuccess && status != MS::kNotFound;
}

// How logError writes its line; combine with |.
enum class ErrorLine : unsigned {
    Standard = 0,
    EvenNotFound = 1u << 0,
    BlankLineAfter = 1u << 1,
    TextOnly = 1u << 2,
};

constexpr ErrorLine operator|(ErrorLine a, ErrorLine b)
{
    return static_cast<ErrorLine>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

// Writes the error line `text` + status.errorString() when the status
// counts as failed under `options`. Returns whether it wrote, so callers can
// branch on the same test: `if (logError("...", status)) return status;`.
bool logError(const char* text, const MStatus& status, ErrorLine options = ErrorLine::Standard);

// Writes one progress line.
void logLine(const char* text);
void logLine(const MString& text);

// Writes a count or length as a decimal number on a line of its own, after
// the line that announces it.
void logNumber(unsigned int number);

// "[ a, b,  ]": "[ ", every name followed by ", ", then " ]". The names line
// of listings and parent queries; namesLine gives the same text unwritten.
MString namesLine(const MStringArray& names);
void logNames(const MStringArray& names);

#endif
