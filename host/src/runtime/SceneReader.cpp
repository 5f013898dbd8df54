// Opening scene files. A file is checked whole (its bytes, its statements,
// its end mark, the plug-in names it requires) before anything runs; then
// its plug-ins are loaded, and only then is the scene built, into a new
// scene that replaces the current one when every statement worked. A file
// as the scene writer writes it is read a piece at a time for each pass,
// so opening it never holds it whole; any other file is read whole.

#include "runtime/SceneFile.h"

#include "Api.h"
#include "runtime/Files.h"
#include "runtime/SceneQuick.h"
#include "runtime/ScriptText.h"

#include <dghost/Host.h>
#include <dghost/Script.h>

#include <algorithm>
#include <string_view>

namespace dghost {
namespace detail {
namespace {

// The last line of every saved scene. A file without it was cut short (a
// copy that stopped, a disk that filled up) and is refused: every cut at a
// line end would otherwise read as a smaller, valid scene.

bool endsWithEndMark(const std::string& text)
{
    std::string_view last(text.data(), text.size() - (!text.empty() && text.back() == '\n'));
    if (!last.empty() && last.back() == '\r') last.remove_suffix(1);
    std::size_t start = last.rfind('\n');
    return last.substr(start == std::string_view::npos ? 0 : start + 1) == kSceneEndMark;
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

const char kSceneHeader[] = "//Maya ASCII";

bool isSceneStatement(const std::string& name)
{
    return name == "requires" || name == "createNode" || name == "setAttr" || name == "connectAttr";
}

struct Reader {
    std::string path;
    Scene* scene = nullptr;   // null while checking
    bool cutShort = false;    // the file lacks its end mark
    bool looksLikeScene = false;
    bool first = true;
    Node* last = nullptr;
    std::vector<std::pair<std::string, int>> required;   // plug-in names and their lines
    std::string error;

    bool fail(const Statement& s, const std::string& why)
    {
        error = path + ":" + std::to_string(s.line) + ": " + shortened(why);
        return false;
    }

    bool failCutShort(int line)
    {
        error = path + ":" + std::to_string(line) + ": the file ends without its last line \"" + kSceneEndMark +
                "\" (cut short?)";
        return false;
    }

    // The first pass: every statement is one a scene holds, in its shape.
    bool check(const Statement& s)
    {
        const bool wasFirst = first;
        first = false;
        if (!isSceneStatement(s.name)) {
            // A file that never was a scene: say so without quoting it.
            if (wasFirst && !looksLikeScene) return fail(s, "not a scene file");
            return fail(s, "'" + s.name + "' is not allowed in a scene file");
        }
        if (s.name == "requires") {
            if (s.words.empty()) return fail(s, "requires needs a plug-in name");
            if (!isPluginName(s.words[0]))
                return fail(s, "requires names a path, not a plug-in: " + s.words[0] +
                                   " (a scene file may only name installed plug-ins)");
            required.emplace_back(s.words[0], s.line);
            return true;
        }
        if (s.name == "createNode" && (s.words.size() != 3 || s.words[1] != "-n" || s.quoted[1]))
            return fail(s, "expected: createNode TYPE -n NAME");
        if (s.name == "setAttr" && (s.words.size() != 4 || s.words[1] != "-type" || s.words[2] != "string"))
            return fail(s, "expected: setAttr PLUG -type \"string\" VALUE");
        if (s.name == "connectAttr" && s.words.size() != 2)
            return fail(s, "expected: connectAttr SOURCE DESTINATION");
        return true;
    }

    // The second pass: the plug-ins, by name along the plug-in path.
    bool loadRequired(int lastLineOfFile)
    {
        for (const auto& [name, line] : required) {
            if (isPluginLoaded(name)) continue;
            // A file cut short runs nothing, so it loads no plug-in.
            if (cutShort) return failCutShort(lastLineOfFile);
            std::string why;
            if (!loadPluginByName(name, &why)) {
                Statement at;
                at.line = line;
                return fail(at, "cannot load required plug-in " + name + (why.empty() ? "" : ": " + why));
            }
        }
        return true;
    }

    bool endpoint(const Statement& s, const std::string& text, Endpoint& end)
    {
        PlugName name;
        PlugNameError malformed = splitPlugName(text, name);
        if (malformed == PlugNameError::kNotAPlug) return fail(s, "not a plug name: " + text);
        if (malformed == PlugNameError::kBadIndex) return fail(s, "bad index in plug " + text);
        Node* node = name.node.empty() ? last : scene->find(name.node);
        if (!node) return fail(s, "no node for plug " + text);
        int a = node->type->findAttribute(name.attribute);
        if (a < 0) return fail(s, "no attribute " + name.attribute + " on node " + node->name.str());
        if (name.index >= 0 && !node->type->attributes[a]->flag(kArray))
            return fail(s, "attribute " + name.attribute + " is not an array");
        end = Endpoint{node, a, name.index};
        return true;
    }

    bool createNode(const Statement& s)
    {
        NodeType* type = registry().findType(s.words[0]);
        if (!type) return fail(s, "unknown node type " + s.words[0]);
        if (scene->find(s.words[2]) || sanitizeName(s.words[2]) != s.words[2])
            return fail(s, "node name " + s.words[2] + " is taken or not valid");
        last = makeSceneNode(*scene, type, s.words[2]);
        return true;
    }

    bool setAttr(const Statement& s)
    {
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
        Endpoint source, destination;
        if (!endpoint(s, s.words[0], source) || !endpoint(s, s.words[1], destination)) return false;
        std::string why;
        if (!connectPlugs(source, destination, &why)) return fail(s, "cannot connect: " + why);
        return true;
    }

    // The third pass: the scene itself.
    bool build(const Statement& s)
    {
        if (s.name == "createNode") return createNode(s);
        if (s.name == "setAttr") return setAttr(s);
        if (s.name == "connectAttr") return connectAttr(s);
        return true;  // requires: loaded in the second pass
    }
};

}  // namespace

namespace {

void install(std::unique_ptr<Scene> next, const std::string& path)
{
    next->fileName = path;
    next->modified = false;
    activeSelection().clear();
    replaceScene(std::move(next));
}

// Whether the file's last line is the end mark (read from its last bytes).
bool endsWithEndMark(const RegularFile& file)
{
    constexpr std::uint64_t kTail = 64;   // the mark, its line end, the line end before
    const std::uint64_t from = file.size() > kTail ? file.size() - kTail : 0;
    std::string tail;
    return file.readAt(from, static_cast<std::size_t>(file.size() - from), tail) && endsWithEndMark(tail);
}

// Where the statements start: after a byte order mark, if the file has one.
std::uint64_t statementsStart(const RegularFile& file)
{
    std::string head;
    return file.readAt(0, 3, head) ? afterByteOrderMark(head) : 0;
}

// A file as the scene writer writes it, read quickly and never whole (see
// SceneQuick.h): 1 when opened, -1 when refused (`error` set), 0 when the
// file needs the general reader, which then reads it from the start.
int openQuickly(const std::string& path, std::string& error)
{
    RegularFile file(path);
    if (!file.ok() || !endsWithEndMark(file)) return 0;
    const std::uint64_t start = statementsStart(file);
    std::vector<std::pair<std::string, int>> required;
    std::vector<std::uint64_t> nameHashes;
    if (!quickCheckScene(file, start, required, nameHashes)) return 0;
    Reader reader;
    reader.path = path;
    reader.required = std::move(required);
    // The last line only shows in the message for a file cut short, which
    // this file is not.
    if (!reader.loadRequired(0)) {
        error = reader.error;
        return -1;
    }
    auto next = std::make_unique<Scene>();
    next->reserve(nameHashes.size());
    if (!quickBuildScene(file, start, *next, nameHashes)) return 0;
    install(std::move(next), path);
    return 1;
}

}  // namespace

MStatus openScene(const std::string& path, std::string* error)
{
    auto refuse = [error](const std::string& text) {
        if (error) *error = text;
        return MStatus(MS::kFailure);
    };
    std::string text, why;
    const int quick = openQuickly(path, why);
    if (quick > 0) return MS::kSuccess;
    if (quick < 0) return refuse(why);
    if (!readRegularFile(path, text, why)) return refuse("Cannot open scene " + path + ": " + why);
    if (!checkScript(text, &why)) return refuse(path + ":" + why.substr(5));
    Reader reader;
    reader.path = path;
    reader.cutShort = !endsWithEndMark(text);
    std::size_t start = afterByteOrderMark(text);
    reader.looksLikeScene = text.compare(start, sizeof kSceneHeader - 1, kSceneHeader) == 0;
    if (!forEachStatement(text, [&reader](const Statement& s) { return reader.check(s); }))
        return refuse(reader.error);
    const int end = lastLine(text);
    if (!reader.loadRequired(end)) return refuse(reader.error);
    // A file cut short is still built (into a scene that is then dropped),
    // so that a bad statement before the cut is named rather than the cut.
    auto next = std::make_unique<Scene>();
    reader.scene = next.get();
    if (!forEachStatement(text, [&reader](const Statement& s) { return reader.build(s); }))
        return refuse(reader.error);
    if (reader.cutShort) {
        reader.failCutShort(end);
        return refuse(reader.error);
    }
    install(std::move(next), path);
    return MS::kSuccess;
}

}  // namespace detail

void newScene()
{
    detail::activeSelection().clear();
    detail::replaceScene(std::make_unique<detail::Scene>());
}

}  // namespace dghost
