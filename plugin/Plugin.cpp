// The plug-in's entry points and the tables of everything it registers with
// the host: two data types, then three node types, then six commands;
// removed again commands first, then node types, then data types.
// This is the one file that includes MFnPlugin.h: it defines MApiVersion.
#include <maya/MFnPlugin.h>
#include <maya/MGlobal.h>

#include "commands/XmlAttributeCmd.h"
#include "commands/XmlElementCmd.h"
#include "commands/XmlFindCmd.h"
#include "commands/XmlQueryCmd.h"
#include "export/XmlSaveFileCmd.h"
#include "import/XmlLoadFileCmd.h"
#include "nodes/XMLConnectionAttributeElement.h"
#include "nodes/XMLConnectionElement.h"
#include "nodes/XMLDocNode.h"
#include "nodes/XMLElementAttributeNode.h"
#include "nodes/XMLElementNode.h"
#include "nodes/XmlTypeIds.h"

#include <cstddef>

namespace {

const char* const kVendor = "Quillfen";
const char* const kVersion = "0.1.0";
const char* const kUnknown = "Unknown";
const char* const kAnyApiVersion = "Any";

const MString kLoadFileCommand("XmlLoadFile");
const MString kSaveFileCommand("XmlSaveFile");
const MString kElementCommand("XmlElement");
const MString kAttributeCommand("XmlAttribute");
const MString kFindCommand("XmlFind");
const MString kQueryCommand("XmlQuery");

enum class Kind { Data, Node, Command };

// One row of a registration or deregistration table. Types are removed by
// type id, commands by name.
struct Step {
    Kind kind;
    const MString& name;
    const MTypeId* typeId;
    MCreatorFunction creator;
    MInitializeFunction initialize;
    MCreateSyntaxFunction syntax;
    const char* failureText;  // null: a failure shows no text of its own
};

const Step kRegistrations[] = {
    {Kind::Data, kXmlConnectionAttrElmTypeName, &kXmlConnectionAttrElmId,
     XMLConnectionAttributeElement::creator, nullptr, nullptr,
     "registerNode 'XmlConnectionAttrElm' failed"},
    {Kind::Data, kXmlConnectionElementTypeName, &kXmlConnectionElementId,
     XMLConnectionElement::creator, nullptr, nullptr, "registerNode 'XMLConnectionElement' failed"},
    {Kind::Node, kXmlDocumentTypeName, &kXmlDocumentId, XMLDocNode::creator,
     XMLDocNode::initialize, nullptr, "registerNode 'XmlDocument' failed"},
    {Kind::Node, kXmlElementTypeName, &kXmlElementId, XMLElementNode::creator,
     XMLElementNode::initialize, nullptr, "registerNode 'XmlElement' failed"},
    {Kind::Node, kXmlElementAttributeTypeName, &kXmlElementAttributeId,
     XMLElementAttributeNode::creator, XMLElementAttributeNode::initialize, nullptr,
     "registerNode 'XmlElementAttribute' failed"},
    {Kind::Command, kLoadFileCommand, nullptr, XmlLoadFileCmd::creator, nullptr,
     XmlLoadFileCmd::newSyntax, "registerCommand 'XmlLoadFile' failed"},
    {Kind::Command, kSaveFileCommand, nullptr, XmlSaveFileCmd::creator, nullptr,
     XmlSaveFileCmd::newSyntax, "registerCommand 'XmlSaveFile' failed"},
    {Kind::Command, kElementCommand, nullptr, XmlElementCmd::creator, nullptr,
     XmlElementCmd::newSyntax, "registerCommand 'XmlElementCmd' failed"},
    {Kind::Command, kAttributeCommand, nullptr, XmlAttributeCmd::creator, nullptr,
     XmlAttributeCmd::newSyntax, "registerCommand 'XmlAttributeCmd' failed"},
    {Kind::Command, kFindCommand, nullptr, XmlFindCmd::creator, nullptr, XmlFindCmd::newSyntax,
     "registerCommand 'XmlFindCmd' failed"},
    {Kind::Command, kQueryCommand, nullptr, XmlQueryCmd::creator, nullptr, XmlQueryCmd::newSyntax,
     "registerCommand 'XmlQueryCmd' failed"},
};

const Step kDeregistrations[] = {
    {Kind::Command, kElementCommand, nullptr, nullptr, nullptr, nullptr,
     "deregisterCommand 'XmlElement' failed"},
    {Kind::Command, kAttributeCommand, nullptr, nullptr, nullptr, nullptr,
     "deregisterCommand 'XmlAttribute' failed"},
    {Kind::Command, kSaveFileCommand, nullptr, nullptr, nullptr, nullptr,
     "deregisterCommand 'XmlSaveFile' failed"},
    {Kind::Command, kFindCommand, nullptr, nullptr, nullptr, nullptr,
     "deregisterCommand 'XmlFind' failed"},
    {Kind::Command, kLoadFileCommand, nullptr, nullptr, nullptr, nullptr, nullptr},
    {Kind::Command, kQueryCommand, nullptr, nullptr, nullptr, nullptr,
     "deregisterCommand 'XmlQuery' failed"},
    {Kind::Node, kXmlDocumentTypeName, &kXmlDocumentId, nullptr, nullptr, nullptr,
     "deregisterNode 'XMLDocNode' failed"},
    {Kind::Node, kXmlElementTypeName, &kXmlElementId, nullptr, nullptr, nullptr,
     "deregisterNode 'XMLElementNode' failed"},
    {Kind::Node, kXmlElementAttributeTypeName, &kXmlElementAttributeId, nullptr, nullptr, nullptr,
     "deregisterNode 'XMLElementAttributeNode' failed"},
    {Kind::Data, kXmlConnectionAttrElmTypeName, &kXmlConnectionAttrElmId, nullptr, nullptr,
     nullptr, "deregisterNode 'XMLConnectionAttributeElement' failed"},
    {Kind::Data, kXmlConnectionElementTypeName, &kXmlConnectionElementId, nullptr, nullptr,
     nullptr, "deregisterNode 'XMLConnectionElement' failed"},
};

MStatus registerStep(MFnPlugin& plugin, const Step& step)
{
    switch (step.kind) {
    case Kind::Data:
        return plugin.registerData(step.name, *step.typeId, step.creator, MPxData::kData);
    case Kind::Node:
        return plugin.registerNode(step.name, *step.typeId, step.creator, step.initialize,
                                   MPxNode::kDependNode);
    case Kind::Command:
        return plugin.registerCommand(step.name, step.creator, step.syntax);
    }
    return MS::kFailure;
}

MStatus deregisterStep(MFnPlugin& plugin, const Step& step)
{
    switch (step.kind) {
    case Kind::Data:
        return plugin.deregisterData(*step.typeId);
    case Kind::Node:
        return plugin.deregisterNode(*step.typeId);
    case Kind::Command:
        return plugin.deregisterCommand(step.name);
    }
    return MS::kFailure;
}

// Runs every step, also after a failed one: a failure never stops the steps
// after it. Each failure is shown to the user; the result is kFailure when
// any step failed.
template <std::size_t N>
MStatus runSteps(MFnPlugin& plugin, const Step (&steps)[N],
                 MStatus (*perform)(MFnPlugin&, const Step&))
{
    MStatus overall = MS::kSuccess;
    for (const Step& step : steps) {
        if (!perform(plugin, step)) {
            overall = MS::kFailure;
            if (step.failureText != nullptr) {
                MGlobal::displayError(step.failureText);
            }
        }
    }
    return overall;
}

}  // namespace

MStatus initializePlugin(MObject obj)
{
    MFnPlugin plugin(obj, kVendor, kVersion, kAnyApiVersion);
    return runSteps(plugin, kRegistrations, registerStep);
}

MStatus uninitializePlugin(MObject obj)
{
    MFnPlugin plugin(obj, kUnknown, kUnknown, kAnyApiVersion);
    return runSteps(plugin, kDeregistrations, deregisterStep);
}
