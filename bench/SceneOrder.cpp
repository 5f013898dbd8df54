// Scene open cost by the order of array connections in the file.

#include "bench/SceneOrder.h"

#include "nodes/PlugNames.h"
#include "nodes/XmlTypeIds.h"

#include <dghost/Host.h>

#include <fstream>
#include <string>

namespace bench {
namespace {

bool writeScene(const std::string& path, unsigned long connections, bool descending)
{
    const std::string type = kXmlElementTypeName.asChar();
    const std::string toParent = kToParentPlug.shortName;
    const std::string children = kFromChildrenPlug.shortName;
    std::string text = "//Maya ASCII scene\nrequires \"Dendrine\" \"1.0\";\ncreateNode " + type + " -n \"root\";\n";
    for (unsigned long i = 0; i < connections; ++i)
        text += "createNode " + type + " -n \"c" + std::to_string(i) + "\";\n";
    for (unsigned long k = 0; k < connections; ++k) {
        const std::string i = std::to_string(descending ? connections - 1 - k : k);
        text += "connectAttr \"c" + i + "." + toParent + "\" \"root." + children + "[" + i + "]\";\n";
    }
    text += "// End of scene file\n";
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

}  // namespace

void measureSceneOrder(unsigned long connections, const std::string& workDir, Recorder& recorder)
{
    for (bool descending : {false, true}) {
        const std::string path = workDir + (descending ? "/descending.ma" : "/ascending.ma");
        if (!writeScene(path, connections, descending)) return;
        dghost::newScene();
        recorder.measure(descending ? "scene_open_descending" : "scene_open_ascending", [&] {
            return static_cast<bool>(dghost::runCommand("file -open -force \"" + path + "\"").status);
        });
        recorder.note("connections", static_cast<double>(connections));
    }
}

}  // namespace bench
