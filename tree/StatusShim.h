#ifndef DENDRINE_TREE_STATUS_SHIM_H
#define DENDRINE_TREE_STATUS_SHIM_H
// The one place that gives a status a description. The SDK's MStatus has no
// settable text, so against the real SDK the caller gets the plain code;
// the headless host carries the text through errorString().

#include <maya/MStatus.h>

#if defined(DENDRINE_HEADLESS_HOST)
#include <dghost/StatusText.h>
#endif

inline MStatus statusWithDescription(MStatus::MStatusCode code, const char* text)
{
#if defined(DENDRINE_HEADLESS_HOST)
    return dghost::statusWithText(code, text);
#else
    (void)text;
    return MStatus(code);
#endif
}

#endif
