#ifndef _MApiVersion
#define _MApiVersion
// Defines the exported API-version text of a plug-in. Included through
// MFnPlugin.h; define MNoVersionString in every other file that includes
// MFnPlugin.h, or the symbol is defined twice.

#include <maya/MTypes.h>

#ifndef MNoVersionString
extern "C" {
PLUGIN_EXPORT char MApiVersion[] = "700";
}
#endif

#endif
