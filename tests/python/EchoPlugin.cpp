// A plug-in for the Python binding's tests: one command, pyEcho, with a flag
// of every argument type, and switches that choose its result type, show
// errors and warnings, write lines to standard output, or fail.

#include <maya/MArgDatabase.h>
#include <maya/MFnPlugin.h>
#include <maya/MIntArray.h>
#include <maya/MPxCommand.h>
#include <maya/MStringArray.h>

#include <iostream>
#include <string>

namespace {

class EchoCmd : public MPxCommand {
public:
    static void* creator() { return new EchoCmd; }
    static MSyntax newSyntax()
    {
        MSyntax syntax;
        syntax.addFlag("-b", "-boolean", MSyntax::kBoolean);
        syntax.addFlag("-i", "-integer", MSyntax::kLong);
        syntax.addFlag("-u", "-unsigned", MSyntax::kUnsigned);
        syntax.addFlag("-d", "-double", MSyntax::kDouble);
        syntax.addFlag("-s", "-string", MSyntax::kString);
        syntax.addFlag("-p", "-pair", MSyntax::kString, MSyntax::kLong);
        syntax.addFlag("-m", "-many", MSyntax::kString);
        syntax.makeFlagMultiUse("-m");
        syntax.addFlag("-sw", "-switch");
        syntax.addFlag("-r", "-result", MSyntax::kString);
        syntax.addFlag("-er", "-error", MSyntax::kString);
        syntax.addFlag("-w", "-warning", MSyntax::kString);
        syntax.addFlag("-o", "-out", MSyntax::kString);
        syntax.addFlag("-f", "-fail");
#ifdef ECHO_SECOND_BUILD
        // A second build of the plug-in with one flag more, to reload it changed.
        syntax.addFlag("-x", "-extra", MSyntax::kLong);
#endif
        syntax.setObjectType(MSyntax::kStringObjects, 0);
        syntax.enableQuery(true);
        syntax.enableEdit(true);
        return syntax;
    }

    MStatus doIt(const MArgList& list) override
    {
        MStatus status;
        MArgDatabase args(syntax(), list, &status);
        if (!status) return status;
        if (args.isFlagSet("-o")) {
            MString text;
            args.getFlagArgument("-o", 0, text);
            std::cout << text.asChar() << std::endl;
        }
        if (args.isFlagSet("-w")) displayWarning(flagText(args, "-w"));
        if (args.isFlagSet("-er")) displayError(flagText(args, "-er"));
        if (args.isFlagSet("-f")) return MS::kInvalidParameter;
        setTypedResult(args, flagText(args, "-r"));
        return MS::kSuccess;
    }

private:
    static MString flagText(const MArgDatabase& args, const char* flag)
    {
        MString text;
        args.getFlagArgument(flag, 0, text);
        return text;
    }

    // What the parser saw, word by word: the mode, then each flag's arguments.
    MString report(const MArgDatabase& args)
    {
        MString text = args.isQuery() ? "q" : args.isEdit() ? "e" : "c";
        for (const char* flag : {"-b", "-i", "-u", "-d", "-s", "-sw"}) {
            if (!args.isFlagSet(flag)) continue;
            text += MString(" ") + flag;
            MString value;
            if (args.getFlagArgument(flag, 0, value)) text += "=" + value;
        }
        if (args.isFlagSet("-p")) {
            MString first, second;
            args.getFlagArgument("-p", 0, first);
            args.getFlagArgument("-p", 1, second);
            text += " -p=" + first + "," + second;
        }
        if (args.isFlagSet("-m")) {
            text += " -m*";
            text += args.numberOfFlagUses("-m");
        }
        MStringArray objects;
        args.getObjects(objects);
        for (unsigned int i = 0; i < objects.length(); ++i) text += " [" + objects[i] + "]";
        return text;
    }

    void setTypedResult(const MArgDatabase& args, const MString& kind)
    {
        std::string k = kind.asChar();
        if (k == "none") return;
        if (k == "bool") return setResult(true);
        if (k == "int") return setResult(42);
        if (k == "float") return setResult(2.5);
        if (k == "strings") {
            MStringArray values;
            values.append("a");
            values.append("b c");
            return setResult(values);
        }
        if (k == "ints") {
            MIntArray values;
            values.append(-1);
            values.append(7);
            return setResult(values);
        }
        setResult(report(args));
    }
};

}  // namespace

MStatus initializePlugin(MObject obj)
{
    MFnPlugin plugin(obj, "Dendrine tests", "1.0", "Any");
    return plugin.registerCommand("pyEcho", EchoCmd::creator, EchoCmd::newSyntax);
}

MStatus uninitializePlugin(MObject obj)
{
    MFnPlugin plugin(obj);
    return plugin.deregisterCommand("pyEcho");
}
