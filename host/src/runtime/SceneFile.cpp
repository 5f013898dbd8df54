// Saving and opening scene files.

#include "runtime/SceneFile.h"

#include "Api.h"
#include "runtime/ScriptText.h"

#include <dghost/Host.h>
#include <dghost/Script.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace dghost {
namespace detail {
namespace {

// --------------------------------------------------------------- writing

// Appends `text` in double quotes, escaping quotes, backslashes and line
// breaks.
void appendQuoted(std::string& out, const char* text, std::size_t length)
{
    out += '"';
    for (std::size_t i = 0; i < length; ++i) {
        switch (text[i]) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += text[i];
        }
    }
    out += '"';
}

void appendQuoted(std::string& out, const std::string& text)
{
    appendQuoted(out, text.data(), text.size());
}

void appendNumber(std::string& out, unsigned long number)
{
    char digits[24];
    out.append(digits, static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, number).ptr - digits));
}

// "node.attr" or "node.attr[3]", quoted.
void appendPlug(std::string& out, const Endpoint& end)
{
    std::string text = end.node->name;
    text += '.';
    text += end.node->type->attributes[static_cast<std::size_t>(end.attribute)]->shortName;
    if (end.index >= 0) {
        text += '[';
        appendNumber(text, static_cast<unsigned long>(end.index));
        text += ']';
    }
    appendQuoted(out, text);
}

void writeValue(std::string& out, const Attribute& attr, long index, const PlugText& value)
{
    out += "\tsetAttr \".";
    out += attr.shortName;
    if (index >= 0) {
        out += '[';
        appendNumber(out, static_cast<unsigned long>(index));
        out += ']';
    }
    out += "\" -type \"string\" ";
    appendQuoted(out, value.c_str(), value.size());
    out += ";\n";
}

void writeValues(std::string& out, Node& node)
{
    for (int a = 0; a < node.slotCount; ++a) {
        const Attribute& attr = *node.type->attributes[static_cast<std::size_t>(a)];
        if (!attr.isString || !attr.flag(kStorable)) continue;
        const PlugText* whole = node.wholeValue(a);
        if (whole && !whole->empty()) writeValue(out, attr, -1, *whole);
        const ArrayState* array = node.slot(a).array.get();
        if (!array) continue;
        for (const ElementState& e : array->ordered())
            if (e.extra && !e.extra->value.empty()) writeValue(out, attr, e.index, e.extra->value);
    }
}

void writeConnection(std::string& out, const Endpoint& source, const Endpoint& destination)
{
    out += "connectAttr ";
    appendPlug(out, source);
    out += ' ';
    appendPlug(out, destination);
    out += ";\n";
}

// Incoming connections of a node, attribute by attribute, elements in
// ascending logical order.
void writeConnections(std::string& out, Node& node)
{
    for (int a = 0; a < node.slotCount; ++a) {
        const AttributeSlot& slot = node.slot(a);
        Endpoint self{&node, a, -1};
        if (slot.links && slot.links->source.node) writeConnection(out, slot.links->source, self);
        if (!slot.array) continue;
        for (const ElementState& e : slot.array->ordered()) {
            if (!e.source.node) continue;
            self.index = static_cast<int>(e.index);
            writeConnection(out, e.source, self);
        }
    }
}

// The last line of every saved scene. A file without it was cut short (a
// copy that stopped, a disk that filled up) and is refused: every cut at a
// line end would otherwise read as a smaller, valid scene.
const char kEndMark[] = "// End of scene file";

bool endsWithEndMark(const std::string& text)
{
    std::string last = text.substr(0, text.size() - (!text.empty() && text.back() == '\n'));
    if (!last.empty() && last.back() == '\r') last.pop_back();
    std::size_t start = last.rfind('\n');
    return last.compare(start == std::string::npos ? 0 : start + 1, std::string::npos, kEndMark) == 0;
}

// The line the text's last byte is on.
int lastLine(const std::string& text)
{
    return 1 + static_cast<int>(std::count(text.begin(), text.end() - (text.empty() ? 0 : 1), '\n'));
}

// A message with each over-long word (a line may hold megabytes) cut to
// its start and end, never inside a UTF-8 sequence.
std::string shortened(const std::string& text)
{
    const std::size_t kMaxWord = 120, kHead = 60, kTail = 8;
    auto continuation = [&](std::size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
    std::string out;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(' ', start);
        end = end == std::string::npos ? text.size() : end + 1;
        if (end - start <= kMaxWord) {
            out.append(text, start, end - start);
        } else {
            std::size_t head = start + kHead, tail = end - kTail;
            while (continuation(head)) --head;
            while (continuation(tail)) ++tail;
            out += text.substr(start, head - start) + "..." + text.substr(tail, end - tail);
        }
        start = end;
    }
    return out;
}

std::string sceneText(const Scene& scene)
{
    std::string out = "//Maya ASCII scene\n//Codeset: UTF-8\n";
    std::vector<Node*> nodes = scene.nodes();
    std::vector<Plugin*> required;
    for (Node* node : nodes) {
        Plugin* plugin = node->type->plugin;
        if (plugin && std::find(required.begin(), required.end(), plugin) == required.end())
            required.push_back(plugin);
    }
    for (Plugin* plugin : required) {
        out += "requires ";
        appendQuoted(out, plugin->name);
        out += ' ';
        appendQuoted(out, plugin->version);
        out += ";\n";
    }
    for (Node* node : nodes) {
        out += "createNode ";
        out += node->type->name;
        out += " -n ";
        appendQuoted(out, node->name);
        out += ";\n";
        writeValues(out, *node);
    }
    for (Node* node : nodes) writeConnections(out, *node);
    out += kEndMark;
    out += '\n';
    return out;
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
        error = path + ":" + std::to_string(s.line) + ": " + shortened(why);
        return false;
    }

    bool endpoint(const Statement& s, const std::string& text, Endpoint& end)
    {
        PlugName name;
        PlugNameError malformed = splitPlugName(text, name);
        if (malformed == PlugNameError::kNotAPlug) return fail(s, "not a plug name: " + text);
        if (malformed == PlugNameError::kBadIndex) return fail(s, "bad index in plug " + text);
        Node* node = name.node.empty() ? last : scene.find(name.node);
        if (!node) return fail(s, "no node for plug " + text);
        int a = node->type->findAttribute(name.attribute);
        if (a < 0) return fail(s, "no attribute " + name.attribute + " on node " + node->name);
        if (name.index >= 0 && !node->type->attributes[a]->flag(kArray))
            return fail(s, "attribute " + name.attribute + " is not an array");
        end = Endpoint{node, a, name.index};
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
        *end.node->writableValue(end.attribute, end.index) = s.words[3];
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
    const std::string text = buffer.str();
    std::string why;
    // Checked whole first, so a syntax error anywhere wins over a bad
    // statement before it; then read a statement at a time.
    if (!checkScript(text, &why)) return fileError(error, path + ":" + why.substr(5));
    auto next = std::make_unique<Scene>();
    Reader reader{path, *next, nullptr, std::string()};
    if (!forEachStatement(text, [&reader](const Statement& s) { return reader.run(s); }))
        return fileError(error, reader.error);
    if (!endsWithEndMark(text))
        return fileError(error, path + ":" + std::to_string(lastLine(text)) +
                                    ": the file ends without its last line \"" + kEndMark + "\" (cut short?)");
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
