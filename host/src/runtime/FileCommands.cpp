// The host's file command (save, open, new, rename, query) and dgFault,
// which arms fault injection from scripts.

#include "runtime/Builtin.h"
#include "runtime/SceneFile.h"

#include <dghost/Fault.h>
#include <dghost/Host.h>

using namespace dghost::detail;

namespace {

class FileCmd : public Builtin {
public:
    static MSyntax newSyntax()
    {
        MSyntax syntax = objectsSyntax(0, 1);
        syntax.enableQuery(true);
        syntax.addFlag("-rn", "-rename", MSyntax::kString);
        syntax.addFlag("-s", "-save");
        syntax.addFlag("-o", "-open");
        syntax.addFlag("-f", "-force");
        syntax.addFlag("-new", "-newFile");
        syntax.addFlag("-sn", "-sceneName");
        return syntax;
    }
    MStatus run(const MArgDatabase& args) override
    {
        if (args.isQuery()) {
            if (!args.isFlagSet("-sn")) return fail("file: query which flag? (-sceneName)");
            setResult(MString(scene().fileName.c_str()));
            return MS::kSuccess;
        }
        if (args.isFlagSet("-new")) {
            if (scene().modified && !args.isFlagSet("-f"))
                return fail("The scene has unsaved changes: save it, or use file -new -force to drop them");
            dghost::newScene();
            return MS::kSuccess;
        }
        if (args.isFlagSet("-rn")) {
            std::string path = flagText(args, "-rn");
            if (path.empty()) return fail("file -rename needs a file name");
            scene().fileName = path;
            setResult(MString(path.c_str()));
            if (!args.isFlagSet("-s")) return MS::kSuccess;
        }
        if (args.isFlagSet("-s")) return save();
        if (args.isFlagSet("-o")) return open(args);
        return fail("file: nothing to do (use -rename, -save, -open, -new or -q -sceneName)");
    }

private:
    MStatus save()
    {
        if (scene().fileName.empty()) return fail("The scene has no file name: use file -rename PATH first");
        std::string error;
        if (!saveScene(scene(), scene().fileName, &error)) return fail(error);
        scene().modified = false;
        setResult(MString(scene().fileName.c_str()));
        return MS::kSuccess;
    }
    MStatus open(const MArgDatabase& args)
    {
        std::vector<std::string> words = objectsOf(args);
        if (words.empty()) return fail("file -open needs a file name");
        if (scene().modified && !args.isFlagSet("-f"))
            return fail("The scene has unsaved changes: save it, or open with -force to drop them");
        std::string error;
        if (!openScene(words[0], &error)) return fail(error);
        setResult(MString(words[0].c_str()));
        return MS::kSuccess;
    }
};

class FaultCmd : public Builtin {
public:
    static MSyntax newSyntax()
    {
        MSyntax syntax;
        syntax.addFlag("-op", "-operation", MSyntax::kString);
        syntax.addFlag("-n", "-nth", MSyntax::kLong);
        syntax.addFlag("-c", "-code", MSyntax::kString);
        syntax.addFlag("-t", "-times", MSyntax::kLong);
        syntax.addFlag("-cl", "-clear");
        syntax.addFlag("-ca", "-calls", MSyntax::kString);
        return syntax;
    }
    MStatus run(const MArgDatabase& args) override
    {
        if (args.isFlagSet("-cl")) {
            dghost::fault::clear();
            return MS::kSuccess;
        }
        if (args.isFlagSet("-ca")) {
            setResult(static_cast<int>(dghost::fault::calls(flagText(args, "-ca"))));
            return MS::kSuccess;
        }
        int nth = 1, times = 1;
        args.getFlagArgument("-n", 0, nth);
        args.getFlagArgument("-t", 0, times);
        MStatus::MStatusCode code = MS::kFailure;
        if (args.isFlagSet("-c") && !codeOf(flagText(args, "-c"), code))
            return fail("Unknown status code: " + flagText(args, "-c"));
        if (nth < 1 || times < 1 ||
            !dghost::fault::failCall(flagText(args, "-op"), static_cast<unsigned>(nth), code,
                                     static_cast<unsigned>(times)))
            return fail("Unknown operation or bad count: " + flagText(args, "-op"));
        return MS::kSuccess;
    }

private:
    static bool codeOf(const std::string& name, MStatus::MStatusCode& code)
    {
        for (int c = MS::kSuccess; c <= MS::kEndOfFile; ++c)
            if (name == statusCodeName(static_cast<MStatus::MStatusCode>(c)))
                return code = static_cast<MStatus::MStatusCode>(c), true;
        return false;
    }
};

}  // namespace

namespace dghost {
namespace detail {

void registerFileCommands(Registry& reg)
{
    reg.commands["file"] = CommandEntry{"file", create<FileCmd>, FileCmd::newSyntax, nullptr};
    reg.commands["dgFault"] = CommandEntry{"dgFault", create<FaultCmd>, FaultCmd::newSyntax, nullptr};
}

}  // namespace detail
}  // namespace dghost
