// Writing scene files: the scene as statements, replacing the file durably.

#include "runtime/SceneFile.h"

#include "runtime/Files.h"
#include "runtime/Registry.h"

#include <algorithm>
#include <charconv>

namespace dghost {
namespace detail {

const char kSceneEndMark[] = "// End of scene file";

namespace {

// Appends `text` with quotes, backslashes and line breaks escaped.
void appendEscaped(std::string& out, const char* text, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i) {
        // Runs of bytes that need no escape go in at once.
        std::size_t plain = i;
        while (plain < length && text[plain] != '"' && text[plain] != '\\' && text[plain] != '\n' &&
               text[plain] != '\t' && text[plain] != '\r')
            ++plain;
        out.append(text + i, plain - i);
        i = plain;
        if (i == length) break;
        switch (text[i]) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        }
    }
}

// Appends `text` in double quotes, escaped.
void appendQuoted(std::string& out, const char* text, std::size_t length)
{
    out += '"';
    appendEscaped(out, text, length);
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

// "node.attr" or "node.attr[3]", quoted. Node names hold no character
// that needs an escape; attribute names are escaped as any text.
void appendPlug(std::string& out, const Endpoint& end)
{
    const std::string& attribute = end.node->type->attributes[static_cast<std::size_t>(end.attribute)]->shortName;
    out += '"';
    out.append(end.node->name.c_str(), end.node->name.size());
    out += '.';
    appendEscaped(out, attribute.data(), attribute.size());
    if (end.index >= 0) {
        out += '[';
        appendNumber(out, static_cast<unsigned long>(end.index));
        out += ']';
    }
    out += '"';
}

// A value is escaped in slices of this size, each handed to the writer,
// so that a value of many megabytes never gathers whole in the buffer.
constexpr std::size_t kValueSlice = std::size_t(1) << 20;

bool writeValue(ChunkedWriter& writer, const Attribute& attr, long index, const PlugText& value)
{
    std::string& out = writer.buffer();
    out += "\tsetAttr \".";
    out += attr.shortName;
    if (index >= 0) {
        out += '[';
        appendNumber(out, static_cast<unsigned long>(index));
        out += ']';
    }
    out += "\" -type \"string\" \"";
    // Escapes are made byte by byte, so any slice boundary is a clean one.
    for (std::size_t at = 0; at < value.size(); at += kValueSlice) {
        appendEscaped(out, value.c_str() + at, std::min(kValueSlice, value.size() - at));
        if (!writer.pass()) return false;
    }
    out += "\";\n";
    return writer.pass();
}

bool writeValues(ChunkedWriter& writer, Node& node)
{
    for (int a = 0; a < node.slotCount; ++a) {
        const Attribute& attr = *node.type->attributes[static_cast<std::size_t>(a)];
        if (!attr.isString || !attr.flag(kStorable)) continue;
        const PlugText* whole = node.wholeValue(a);
        if (whole && !whole->empty() && !writeValue(writer, attr, -1, *whole)) return false;
        const ArrayState* array = node.slot(a).array();
        if (!array) continue;
        for (const ElementState& e : array->ordered()) {
            const ElementExtra* more = array->extra(e);
            if (more && !more->value.empty() && !writeValue(writer, attr, e.index, more->value)) return false;
        }
    }
    return true;
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
// ascending logical order. Handed to the writer one by one: a node with a
// million children has a million of them.
bool writeConnections(ChunkedWriter& writer, Node& node)
{
    std::string& out = writer.buffer();
    for (int a = 0; a < node.slotCount; ++a) {
        const AttributeSlot& slot = node.slot(a);
        Endpoint self{&node, a, -1};
        if (slot.links() && slot.links()->source.node) writeConnection(out, slot.links()->source, self);
        if (!slot.array()) continue;
        const std::vector<ElementState>& elements = slot.array()->ordered();
        for (std::size_t k = 0; k < elements.size(); ++k) {
            // The sources were written long before, and a large scene no
            // longer holds them in the cache: their names are fetched a few
            // lines ahead of the one being written.
            constexpr std::size_t kAhead = 8;
            if (k + kAhead < elements.size() && elements[k + kAhead].source.node)
                __builtin_prefetch(&elements[k + kAhead].source.node->name);
            const ElementState& e = elements[k];
            if (!e.source.node) continue;
            self.index = static_cast<int>(e.index);
            writeConnection(out, e.source, self);
            if (!writer.pass()) return false;
        }
    }
    return writer.pass();
}

// The plug-ins the scene's nodes come from, in the order their first nodes
// were made. The walk ends once every type that has live nodes and a
// plug-in has been met, which in a large scene is within its first nodes.
std::vector<Plugin*> requiredPlugins(const std::vector<Node*>& nodes)
{
    std::size_t liveTypes = 0;
    for (const auto& type : registry().nodeTypes)
        if (type->plugin && type->liveNodes > 0) ++liveTypes;
    std::vector<Plugin*> required;
    std::vector<const NodeType*> met;
    for (Node* node : nodes) {
        if (met.size() == liveTypes) break;
        const NodeType* type = node->type;
        if (!type->plugin || std::find(met.begin(), met.end(), type) != met.end()) continue;
        met.push_back(type);
        if (std::find(required.begin(), required.end(), type->plugin) == required.end())
            required.push_back(type->plugin);
    }
    return required;
}

// Writes the scene's statements: the plug-ins it needs, every node with its
// values, then every connection (which must follow every createNode), in
// pieces of about a megabyte, so that a scene of millions of nodes is
// never a whole text in memory. False at the first failed write.
bool writeSceneText(const Scene& scene, ChunkedWriter& writer)
{
    const std::vector<Node*> nodes = scene.nodes();
    std::string& out = writer.buffer();
    out += "//Maya ASCII scene\n//Codeset: UTF-8\n";
    for (Plugin* plugin : requiredPlugins(nodes)) {
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
        appendQuoted(out, node->name.c_str(), node->name.size());
        out += ";\n";
        if (!writeValues(writer, *node)) return false;
    }
    for (Node* node : nodes) {
        if (!writeConnections(writer, *node)) return false;
    }
    out += kSceneEndMark;
    out += '\n';
    return writer.flush();
}

}  // namespace

MStatus saveScene(const Scene& scene, const std::string& path, std::string* error)
{
    std::string why;
    auto writeText = [&scene](int fd) {
        ChunkedWriter writer(fd);
        return writeSceneText(scene, writer);
    };
    if (replaceFile(path, writeText, why)) return MS::kSuccess;
    if (error) *error = "Cannot save " + path + ": " + why;
    return MS::kFailure;
}

}  // namespace detail
}  // namespace dghost
