// Saving and opening scene files.

#include "SceneFile.h"

#include <dghost/Host.h>
#include <dghost/Script.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace dghost {
namespace detail {
namespace {

// --------------------------------------------------------------- writing

std::string quote(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out + "\"";
}

std::string plugText(const Endpoint& end)
{
    std::string text = end.node->name + "." + end.node->type->attributes[end.attribute]->shortName;
    if (end.index >= 0) text += "[" + std::to_string(end.index) + "]";
    return text;
}

void writeValues(std::ostream& out, const Node& node)
{
    for (std::size_t a = 0; a < node.attributes.size(); ++a) {
        const Attribute& attr = *node.type->attributes[a];
        if (!attr.isString || !attr.flag(kStorable)) continue;
        const AttributeState& state = node.attributes[a];
        if (state.whole.hasValue && !state.whole.value.empty())
            out << "\tsetAttr \"." << attr.shortName << "\" -type \"string\" " << quote(state.whole.value) << ";\n";
        for (std::size_t e = 0; e < state.elements.size(); ++e)
            if (state.elements[e].hasValue && !state.elements[e].value.empty())
                out << "\tsetAttr \"." << attr.shortName << "[" << state.indices[e] << "]\" -type \"string\" "
                    << quote(state.elements[e].value) << ";\n";
    }
}

// Incoming connections of a node, attribute by attribute, elements in
// ascending logical order.
void writeConnections(std::ostream& out, Node& node)
{
    for (std::size_t a = 0; a < node.attributes.size(); ++a) {
        const AttributeState& state = node.attributes[a];
        Endpoint self{&node, static_cast<int>(a), -1};
        if (state.whole.hasSource)
            out << "connectAttr " << quote(plugText(state.whole.source)) << " " << quote(plugText(self)) << ";\n";
        for (std::size_t e = 0; e < state.elements.size(); ++e) {
            if (!state.elements[e].hasSource) continue;
            self.index = static_cast<int>(state.indices[e]);
            out << "connectAttr " << quote(plugText(state.elements[e].source)) << " " << quote(plugText(self))
                << ";\n";
        }
    }
}

std::string sceneText(const Scene& scene)
{
    std::ostringstream out;
    out << "//Maya ASCII scene\n//Codeset: UTF-8\n";
    std::vector<Node*> nodes = scene.nodes();
    std::vector<Plugin*> required;
    for (Node* node : nodes) {
        Plugin* plugin = node->type->plugin;
        if (plugin && std::find(required.begin(), required.end(), plugin) == required.end())
            required.push_back(plugin);
    }
    for (Plugin* plugin : required) out << "requires " << quote(plugin->name) << " " << quote(plugin->version) << ";\n";
    for (Node* node : nodes) {
        out << "createNode " << node->type->name << " -n " << quote(node->name) << ";\n";
        writeValues(out, *node);
    }
    for (Node* node : nodes) writeConnections(out, *node);
    return out.str();
}

MStatus fileError(std::string* error, const std::string& text)
{
    if (error) *error = text;
    return MS::kFailure;
}

// --------------------------------------------------------------- reading

struct Reader {
    std::string path;
    Scene& scene;
    Node* last = nullptr;
    std::string error;

    bool fail(const Statement& s, const std::string& why)
    {
        error = path + ":" + std::to_string(s.line) + ": " + why;
        return false;
    }

    bool endpoint(const Statement& s, const std::string& text, Endpoint& end)
    {
        std::size_t dot = text.find('.');
        if (dot == std::string::npos) return fail(s, "not a plug name: " + text);
        Node* node = dot == 0 ? last : scene.find(text.substr(0, dot));
        if (!node) return fail(s, "no node for plug " + text);
        std::string attr = text.substr(dot + 1);
        int index = -1;
        std::size_t bracket = attr.find('[');
        if (bracket != std::string::npos) {
            std::string digits = attr.substr(bracket + 1, attr.size() - bracket - 2);
            if (attr.back() != ']' || digits.empty() || digits.size() > 9 ||
                digits.find_first_not_of("0123456789") != std::string::npos)
                return fail(s, "bad index in plug " + text);
            index = std::stoi(digits);
            attr = attr.substr(0, bracket);
        }
        int a = node->type->findAttribute(attr);
        if (a < 0) return fail(s, "no attribute " + attr + " on node " + node->name);
        if ((index >= 0) != node->type->attributes[a]->flag(kArray) && index >= 0)
            return fail(s, "attribute " + attr + " is not an array");
        end = Endpoint{node, a, index};
        return true;
    }

    bool require(const Statement& s)
    {
        if (s.words.empty()) return fail(s, "requires needs a plug-in name");
        std::string why;
        if (isPluginLoaded(s.words[0]) || loadPlugin(s.words[0], &why)) return true;
        return fail(s, "cannot load required plug-in " + s.words[0] + (why.empty() ? "" : ": " + why));
    }

    bool createNode(const Statement& s)
    {
        if (s.words.size() != 3 || s.words[1] != "-n" || s.quoted[1])
            return fail(s, "expected: createNode TYPE -n NAME");
        NodeType* type = registry().findType(s.words[0]);
        if (!type) return fail(s, "unknown node type " + s.words[0]);
        if (scene.find(s.words[2]) || sanitizeName(s.words[2]) != s.words[2])
            return fail(s, "node name " + s.words[2] + " is taken or not valid");
        last = scene.create(type, s.words[2], nullptr);
        if (type->creator && (last->user = static_cast<MPxNode*>(type->creator()))) {
            setNodeInstance(last->user, last);
            last->user->postConstructor();
        }
        return true;
    }

    bool setAttr(const Statement& s)
    {
        if (s.words.size() != 4 || s.words[1] != "-type" || s.words[2] != "string")
            return fail(s, "expected: setAttr PLUG -type \"string\" VALUE");
        Endpoint end;
        if (!endpoint(s, s.words[0], end)) return false;
        const Attribute& attr = *end.node->type->attributes[end.attribute];
        if (!attr.isString || (end.index < 0 && attr.flag(kArray)))
            return fail(s, "attribute " + attr.longName + " does not hold a string");
        PlugState* state = end.node->plug(end.attribute, end.index, true);
        state->value = s.words[3];
        state->hasValue = true;
        return true;
    }

    bool connectAttr(const Statement& s)
    {
        if (s.words.size() != 2) return fail(s, "expected: connectAttr SOURCE DESTINATION");
        Endpoint source, destination;
        if (!endpoint(s, s.words[0], source) || !endpoint(s, s.words[1], destination)) return false;
        std::string why;
        if (!connectPlugs(source, destination, &why)) return fail(s, "cannot connect: " + why);
        return true;
    }

    bool run(const Statement& s)
    {
        if (s.name == "requires") return require(s);
        if (s.name == "createNode") return createNode(s);
        if (s.name == "setAttr") return setAttr(s);
        if (s.name == "connectAttr") return connectAttr(s);
        return fail(s, "'" + s.name + "' is not allowed in a scene file");
    }
};

}  // namespace

MStatus saveScene(const Scene& scene, const std::string& path, std::string* error)
{
    std::string text = sceneText(scene);
    std::string temp = path + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) return fileError(error, "Cannot save " + path + ": " + std::strerror(errno));
    MStatus injected;
    bool written = !faultHit(Op::writeScene, injected);
    for (std::size_t done = 0; written && done < text.size();) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) written = false;
        else done += static_cast<std::size_t>(n);
    }
    int writeErrno = errno;
    written = written && ::fsync(fd) == 0;
    written = (::close(fd) == 0) && written;
    if (!written) {
        ::unlink(name.data());
        return fileError(error, "Cannot save " + path + ": writing failed" +
                                    (writeErrno ? std::string(" (") + std::strerror(writeErrno) + ")" : ""));
    }
    if (faultHit(Op::renameScene, injected) || std::rename(name.data(), path.c_str()) != 0) {
        ::unlink(name.data());
        return fileError(error, "Cannot save " + path + ": the new file could not replace the old one");
    }
    return MS::kSuccess;
}

MStatus openScene(const std::string& path, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return fileError(error, "Cannot open scene " + path + ": the file cannot be read");
    std::ostringstream buffer;
    buffer << in.rdbuf();
    std::vector<Statement> statements;
    std::string why;
    if (!parseScript(buffer.str(), statements, &why)) return fileError(error, path + ":" + why.substr(5));
    auto next = std::make_unique<Scene>();
    Reader reader{path, *next, nullptr, std::string()};
    for (const Statement& s : statements)
        if (!reader.run(s)) return fileError(error, reader.error);
    next->fileName = path;
    next->modified = false;
    activeSelection().clear();
    replaceScene(std::move(next));
    return MS::kSuccess;
}

}  // namespace detail

void newScene()
{
    detail::activeSelection().clear();
    detail::replaceScene(std::make_unique<detail::Scene>());
}

}  // namespace dghost
