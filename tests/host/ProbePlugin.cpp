// A tiny plug-in for the host's own tests: one node type with a string, a
// string array and link plugs, one data type, and one command that reports
// how its arguments were parsed.

#include <maya/MArgDatabase.h>
#include <maya/MFnPlugin.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPxCommand.h>
#include <maya/MPxData.h>
#include <maya/MPxNode.h>
#include <maya/MStringArray.h>

namespace {

const MTypeId kProbeId(0x7000);
const MTypeId kLinkDataId(0x7001);

class ProbeLinkData : public MPxData {
public:
    static void* creator() { return new ProbeLinkData; }
    void copy(const MPxData&) override {}
    MTypeId typeId() const override { return kLinkDataId; }
    MString name() const override { return "probeLink"; }
};

class ProbeNode : public MPxNode {
public:
    static void* creator() { return new ProbeNode; }
    static MStatus initialize();
    static MObject text, items, links, out, sealed;
};

MObject ProbeNode::text, ProbeNode::items, ProbeNode::links, ProbeNode::out, ProbeNode::sealed;

MObject makeAttribute(const char* longName, const char* shortName, bool isString, bool array, bool readable)
{
    MFnTypedAttribute fn;
    MObject attr = isString ? fn.create(longName, shortName, MFnData::kString, MObject::kNullObj)
                            : fn.create(longName, shortName, kLinkDataId, MObject::kNullObj);
    fn.setArray(array);
    fn.setReadable(readable);
    MPxNode::addAttribute(attr);
    return attr;
}

MStatus ProbeNode::initialize()
{
    text = makeAttribute("text", "tx", true, false, true);
    items = makeAttribute("items", "it", true, true, true);
    links = makeAttribute("links", "lk", false, true, true);
    out = makeAttribute("out", "o", false, false, true);
    sealed = makeAttribute("sealed", "sl", false, false, false);
    return attributeAffects(links, out);
}

// probeCmd [-e|-q] [-n NAME] [-c COUNT] [-w WARNING] [-b] [objects]: the
// result tells what the parser saw; -w shows a warning; -b answers with
// bytes that are not UTF-8 and an escape character in every message.
class ProbeCmd : public MPxCommand {
public:
    static void* creator() { return new ProbeCmd; }
    static MSyntax newSyntax()
    {
        MSyntax syntax;
        syntax.addFlag("-n", "-name", MSyntax::kString);
        syntax.addFlag("-c", "-count", MSyntax::kLong);
        syntax.addFlag("-w", "-warn", MSyntax::kString);
        syntax.addFlag("-b", "-badBytes");
        syntax.enableQuery(true);
        syntax.enableEdit(true);
        return syntax;
    }
    MStatus doIt(const MArgList& list) override
    {
        MArgDatabase args(syntax(), list);
        if (args.isFlagSet("-b")) {
            displayWarning("warn \xff\x1b[2J");
            displayError("error \xc3");
            setResult("result \xfe\xff \x1b[31m");
            return MS::kSuccess;
        }
        if (args.isFlagSet("-w")) {
            MString warning;
            args.getFlagArgument("-w", 0, warning);
            displayWarning(warning);
        }
        MString report = args.isQuery() ? "q" : args.isEdit() ? "e" : "c";
        MString name;
        int count = 0;
        if (args.isFlagSet("-name")) {
            MStatus got = args.getFlagArgument("-n", 0, name);
            report += got ? " n=" + name : MString(" n?");
        }
        if (args.isFlagSet("c")) {
            args.getFlagArgument("-count", 0, count);
            report += " c=";
            report += count;
        }
        MStringArray objects;
        args.getObjects(objects);
        for (unsigned int i = 0; i < objects.length(); ++i) report += " [" + objects[i] + "]";
        setResult(report);
        return MS::kSuccess;
    }
};

}  // namespace

MStatus initializePlugin(MObject obj)
{
    MFnPlugin plugin(obj, "Dendrine tests", "1.0", "Any");
    MStatus status = plugin.registerData("probeLink", kLinkDataId, ProbeLinkData::creator);
    if (status) status = plugin.registerNode("probe", kProbeId, ProbeNode::creator, ProbeNode::initialize);
    if (status) status = plugin.registerCommand("probeCmd", ProbeCmd::creator, ProbeCmd::newSyntax);
    return status;
}

MStatus uninitializePlugin(MObject obj)
{
    MFnPlugin plugin(obj);
    MStatus status = plugin.deregisterCommand("probeCmd");
    if (status) status = plugin.deregisterNode(kProbeId);
    if (status) status = plugin.deregisterData(kLinkDataId);
    return status;
}
