#ifndef _MFnPlugin
#define _MFnPlugin
// Registers a plug-in's commands, node types and data types with the host.
// Include this header in exactly one file of a plug-in: it defines the
// exported MApiVersion (see MApiVersion.h).

#include <maya/MTypes.h>
#include <maya/MFnBase.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>
#include <maya/MPxNode.h>
#include <maya/MPxData.h>
#include <maya/MPlugin.h>
#include <maya/MApiVersion.h>

#define PLUGIN_COMPANY "Autodesk"

OPENMAYA_MAJOR_NAMESPACE_OPEN

class OPENMAYA_EXPORT MFnPlugin : public MFnBase
{
public:
    MFnPlugin();
    MFnPlugin(MObject& object, const char* vendor = "Unknown", const char* version = "Unknown",
              const char* requiredApiVersion = "Any", MStatus* ReturnStatus = 0L);
    ~MFnPlugin() override;
    MFn::Type type() const override;

    MString vendor(MStatus* ReturnStatus = nullptr) const;
    MString version(MStatus* ReturnStatus = nullptr) const;
    MString apiVersion(MStatus* ReturnStatus = nullptr) const;
    MString name(MStatus* ReturnStatus = nullptr) const;
    MString loadPath(MStatus* ReturnStatus = nullptr) const;
    MStatus setName(const MString& newName, bool allowRename = true);

    MStatus registerCommand(const MString& commandName, MCreatorFunction creatorFunction,
                            MCreateSyntaxFunction createSyntaxFunction = nullptr);
    MStatus deregisterCommand(const MString& commandName);
    MStatus registerNode(const MString& typeName, const MTypeId& typeId,
                         MCreatorFunction creatorFunction, MInitializeFunction initFunction,
                         MPxNode::Type type = MPxNode::kDependNode,
                         const MString* classification = nullptr);
    MStatus deregisterNode(const MTypeId& typeId);
    MStatus registerData(const MString& typeName, const MTypeId& typeId,
                         MCreatorFunction creatorFunction, MPxData::Type type = MPxData::kData);
    MStatus deregisterData(const MTypeId& typeId);

    static MObject findPlugin(const MString& pluginName);
    static bool isNodeRegistered(const MString& typeName);

private:
    MFnPlugin(const MObject& object, const char* vendor = "Unknown",
              const char* version = "Unknown", const char* requiredApiVersion = "Any",
              MStatus* ReturnStatus = 0L);
    MFnPlugin(const MFnPlugin&);
    MFnPlugin& operator=(const MFnPlugin&);
    MFnPlugin* operator&() const;
};

OPENMAYA_NAMESPACE_CLOSE

#ifndef SWIG
PLUGIN_EXPORT MStatus initializePlugin(MObject obj);
PLUGIN_EXPORT MStatus uninitializePlugin(MObject obj);
#endif

#endif
