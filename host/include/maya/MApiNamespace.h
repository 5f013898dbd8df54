#ifndef _MApiNamespace
#define _MApiNamespace
// Versioned namespace of the API, as in the 2018+ SDK: every class lives in
// Autodesk::Maya::OpenMaya20240000 and is brought to global scope by
// using-declarations, so a plug-in that forward-declares an API class itself
// fails here as it would against the real headers.

#define MAYA_API_VERSION 20240000
#define MAYA_APP_VERSION 2024

#define OPENMAYA_MAJOR_NAMESPACE OpenMaya20240000
#define OPENMAYA_NAMESPACE_OPEN(V) namespace Autodesk { namespace Maya { namespace V {
#define OPENMAYA_NAMESPACE_CLOSE } } }
#define OPENMAYA_MAJOR_NAMESPACE_OPEN OPENMAYA_NAMESPACE_OPEN(OpenMaya20240000)
#define OPENMAYA_MAJOR_NAMESPACE_SCHEMA Autodesk::Maya::OpenMaya20240000

#define OPENMAYA_EXPORT
#define FND_EXPORT
#define OPENMAYA_PRIVATE private
#define OPENMAYA_AVAILABLE(v)
#define BEGIN_NO_SCRIPT_SUPPORT public
#define END_NO_SCRIPT_SUPPORT public

#ifndef OPENMAYA_DEPRECATED
#  ifdef _OPENMAYA_DEPRECATION_DISABLE_WARNING
#    define OPENMAYA_DEPRECATED(version, message)
#  else
#    define OPENMAYA_DEPRECATED(version, message) [[deprecated(message)]]
#  endif
#endif

OPENMAYA_MAJOR_NAMESPACE_OPEN
class MArgDatabase;
class MArgList;
class MArgParser;
class MDataBlock;
class MDGContext;
class MDGModifier;
class MFn;
class MFnAttribute;
class MFnBase;
class MFnData;
class MFnDependencyNode;
class MFnPlugin;
class MFnTypedAttribute;
class MGlobal;
class MIntArray;
class MItSelectionList;
class MObject;
class MObjectArray;
class MPlug;
class MPlugArray;
class MPxCommand;
class MPxData;
class MPxNode;
class MSelectionList;
class MStatus;
class MString;
class MStringArray;
class MSyntax;
class MTypeId;
OPENMAYA_NAMESPACE_CLOSE

#define USING_LATEST_API                                   \
    using Autodesk::Maya::OpenMaya20240000::MArgDatabase;  \
    using Autodesk::Maya::OpenMaya20240000::MArgList;      \
    using Autodesk::Maya::OpenMaya20240000::MArgParser;    \
    using Autodesk::Maya::OpenMaya20240000::MDataBlock;    \
    using Autodesk::Maya::OpenMaya20240000::MDGContext;    \
    using Autodesk::Maya::OpenMaya20240000::MDGModifier;   \
    using Autodesk::Maya::OpenMaya20240000::MFn;           \
    using Autodesk::Maya::OpenMaya20240000::MFnAttribute;  \
    using Autodesk::Maya::OpenMaya20240000::MFnBase;       \
    using Autodesk::Maya::OpenMaya20240000::MFnData;       \
    using Autodesk::Maya::OpenMaya20240000::MFnDependencyNode; \
    using Autodesk::Maya::OpenMaya20240000::MFnPlugin;     \
    using Autodesk::Maya::OpenMaya20240000::MFnTypedAttribute; \
    using Autodesk::Maya::OpenMaya20240000::MGlobal;       \
    using Autodesk::Maya::OpenMaya20240000::MIntArray;     \
    using Autodesk::Maya::OpenMaya20240000::MItSelectionList; \
    using Autodesk::Maya::OpenMaya20240000::MObject;       \
    using Autodesk::Maya::OpenMaya20240000::MObjectArray;  \
    using Autodesk::Maya::OpenMaya20240000::MPlug;         \
    using Autodesk::Maya::OpenMaya20240000::MPlugArray;    \
    using Autodesk::Maya::OpenMaya20240000::MPxCommand;    \
    using Autodesk::Maya::OpenMaya20240000::MPxData;       \
    using Autodesk::Maya::OpenMaya20240000::MPxNode;       \
    using Autodesk::Maya::OpenMaya20240000::MSelectionList; \
    using Autodesk::Maya::OpenMaya20240000::MStatus;       \
    using Autodesk::Maya::OpenMaya20240000::MString;       \
    using Autodesk::Maya::OpenMaya20240000::MStringArray;  \
    using Autodesk::Maya::OpenMaya20240000::MSyntax;       \
    using Autodesk::Maya::OpenMaya20240000::MTypeId;

USING_LATEST_API

#endif
