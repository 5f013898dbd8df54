#ifndef _MPlugin
#define _MPlugin
// Function-pointer types handed to the host at registration.

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MSyntax.h>

typedef void* (*MCreatorFunction)();
typedef MSyntax (*MCreateSyntaxFunction)();
typedef MStatus (*MInitializeFunction)();

#endif
