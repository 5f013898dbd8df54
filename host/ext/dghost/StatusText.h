#ifndef DGHOST_STATUS_TEXT_H
#define DGHOST_STATUS_TEXT_H
// A status whose errorString() carries a text of the caller's. The SDK's
// MStatus has no settable description; plug-ins reach this only through a
// shim of their own that falls back to the plain status on the real SDK.

#include <maya/MStatus.h>

namespace dghost {

// The failure `code` whose errorString() is "(kCode): " followed by `text`.
MStatus statusWithText(MStatus::MStatusCode code, const char* text);

}  // namespace dghost

#endif
