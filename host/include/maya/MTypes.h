#ifndef _MTypes
#define _MTypes
// Basic definitions shared by every API header.

#include <maya/MApiNamespace.h>

#ifndef PLUGIN_EXPORT
#  ifdef _WIN32
#    define PLUGIN_EXPORT _declspec(dllexport)
#  else
#    define DLL_PUBLIC __attribute__((visibility("default")))
#    define PLUGIN_EXPORT DLL_PUBLIC
#  endif
#endif

#ifndef NULL
#  define NULL 0
#endif

#endif
