// Opening a scene file as the scene writer writes it, with words read in
// place.

#include "runtime/SceneQuick.h"

#include "Api.h"
#include "runtime/Files.h"
#include "runtime/Registry.h"
#include "runtime/SceneScanner.h"
#include "runtime/ScriptText.h"

#include <algorithm>
#include <string_view>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <vector>

namespace dghost {
namespace detail {

namespace {

// What sanitizeName leaves as it is (an empty name it would number).
bool legalName(std::string_view name)
{
    if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
    for (char c : name) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(c >= '0' && c <= '9') && c != '_') return false;
    }
    return true;
}

// Where `c` first is in `text`, or npos. Plug names are a few bytes long:
// a plain loop costs less than the library call find makes.
std::size_t firstOf(std::string_view text, char c)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == c) return i;
    return std::string_view::npos;
}

// NODE.ATTR or NODE.ATTR[INDEX], split as splitPlugName does.
bool splitPlug(std::string_view text, std::string_view& node, std::string_view& attribute, int& index)
{
    const std::size_t dot = firstOf(text, '.');
    if (dot == std::string_view::npos) return false;
    node = text.substr(0, dot);
    attribute = text.substr(dot + 1);
    index = -1;
    const std::size_t bracket = firstOf(attribute, '[');
    if (bracket == std::string_view::npos) return true;
    if (attribute.back() != ']') return false;
    const std::string_view digits = attribute.substr(bracket + 1, attribute.size() - bracket - 2);
    if (digits.empty() || digits.size() > 10) return false;
    unsigned long long value = 0;
    for (char d : digits) {
        if (d < '0' || d > '9') return false;
        value = value * 10 + static_cast<unsigned>(d - '0');
    }
    if (value > kMaxLogicalIndex) return false;
    index = static_cast<int>(value);
    attribute = attribute.substr(0, bracket);
    return true;
}

// Finds the nodes that plugs name without the name table where it can.
// The scene writer writes connections grouped by kind, each group in the
// order its nodes were made, and a node's incoming connections together:
// so a plug mostly names the node it named last, or the next node of the
// same type. Both are checked (by name, so a wrong guess costs a compare)
// before the table, whose every probe is a cache miss in a large scene.
// One guesser per end of a connection.
class NodeGuesser {
public:
    // The nodes this build made, per type, in the order made; held, so
    // that a node a plug-in callback took away is never read freed.
    using Made = std::unordered_map<const NodeType*, std::vector<Node*>>;

    NodeGuesser(Scene& scene, const Made& made) : scene_(scene), made_(made) {}

    Node* find(std::string_view name)
    {
        if (list_) {
            if (matches(at(place_), name)) return at(place_);
            if (matches(at(place_ + 1), name)) return at(++place_);
        }
        Node* node = scene_.find(name, Scene::nameHash(name));
        if (node) locate(node);
        return node;
    }

private:
    // Places within this many of a type's cursor are searched for a node
    // the table found; further away, the guess starts over there.
    static constexpr std::size_t kReach = 64;

    Node* at(std::size_t place) const { return place < list_->size() ? (*list_)[place] : nullptr; }

    static bool matches(const Node* node, std::string_view name)
    {
        return node && node->alive && node->name.size() == name.size() &&
               std::string_view(node->name.c_str(), node->name.size()) == name;
    }

    void locate(Node* node)
    {
        const auto it = made_.find(node->type);
        list_ = it == made_.end() ? nullptr : &it->second;
        if (!list_) return;
        std::size_t& cursor = cursors_[node->type];
        const std::size_t end = std::min(list_->size(), cursor + kReach);
        for (std::size_t i = cursor; i < end; ++i) {
            if ((*list_)[i] == node) {
                place_ = cursor = i;
                return;
            }
        }
        list_ = nullptr;   // not where the guess expects it: table next time
    }

    Scene& scene_;
    const Made& made_;
    const std::vector<Node*>* list_ = nullptr;   // the type list of the last node found
    std::size_t place_ = 0;                     // its place there
    std::unordered_map<const NodeType*, std::size_t> cursors_;
};

class Builder {
public:
    Builder(Scene& scene, const std::vector<std::uint64_t>& nameHashes)
        : scene_(scene), nameHashes_(nameHashes), sources_(scene, made_), destinations_(scene, made_)
    {
        for (std::size_t i = 0; i < kPrefetchAhead && i < nameHashes_.size(); ++i)
            scene_.prefetchName(nameHashes_[i]);
    }
    ~Builder()
    {
        for (auto& type : made_)
            for (Node* node : type.second) release(node);
    }
    Builder(const Builder&) = delete;
    Builder& operator=(const Builder&) = delete;

    bool statement(const SceneScanner& s)
    {
        const std::string_view name = s.word(0);
        if (name == "createNode") return createNode(s.word(1), s.word(3));
        if (name == "setAttr") return setAttr(s.word(1), s.word(4));
        if (name == "connectAttr") return connectAttr(s.word(1), s.word(2));
        return true;   // requires: loaded before the build
    }

private:
    bool createNode(std::string_view typeName, std::string_view nodeName)
    {
        if (!type_ || typeName != typeName_) {
            typeName_.assign(typeName);
            type_ = registry().findType(typeName_);
            typeList_ = type_ ? &made_[type_] : nullptr;
        }
        if (!type_ || !legalName(nodeName)) return false;
        // Every new name lands somewhere random in the name table: the
        // table is asked for the place of a name a few nodes ahead.
        if (madeCount_ + kPrefetchAhead < nameHashes_.size())
            scene_.prefetchName(nameHashes_[madeCount_ + kPrefetchAhead]);
        // The check hashed every name, in file order.
        const std::uint64_t hash =
            madeCount_ < nameHashes_.size() ? nameHashes_[madeCount_] : Scene::nameHash(nodeName);
        ++madeCount_;
        if (scene_.find(nodeName, hash)) return false;
        name_.assign(nodeName);
        // Room first: a node made is held at once.
        if (typeList_->size() == typeList_->capacity()) typeList_->reserve(typeList_->size() * 2 + 16);
        last_ = makeSceneNode(scene_, type_, name_, hash);
        retain(last_);
        typeList_->push_back(last_);
        return true;
    }

    bool endpoint(std::string_view text, NodeGuesser& guesser, Endpoint& end)
    {
        std::string_view nodeName, attribute;
        int index = -1;
        if (!splitPlug(text, nodeName, attribute, index)) return false;
        Node* node = nodeName.empty() ? last_ : guesser.find(nodeName);
        if (!node) return false;
        const int a = node->type->findAttribute(attribute.data(), attribute.size());
        if (a < 0 || (index >= 0 && !node->type->attributes[static_cast<std::size_t>(a)]->flag(kArray)))
            return false;
        end = Endpoint{node, a, index};
        return true;
    }

    bool setAttr(std::string_view plug, std::string_view value)
    {
        Endpoint end;
        if (!endpoint(plug, destinations_, end)) return false;
        const Attribute& attr = *end.node->type->attributes[static_cast<std::size_t>(end.attribute)];
        if (!attr.isString || (end.index < 0 && attr.flag(kArray))) return false;
        end.node->writableValue(end.attribute, end.index)->assign(value.data(), value.size());
        return true;
    }

    bool connectAttr(std::string_view from, std::string_view to)
    {
        Endpoint source, destination;
        return endpoint(from, sources_, source) && endpoint(to, destinations_, destination) &&
               connectPlugs(source, destination, nullptr) == MS::kSuccess;
    }

    static constexpr std::size_t kPrefetchAhead = 8;

    Scene& scene_;
    const std::vector<std::uint64_t>& nameHashes_;
    std::size_t madeCount_ = 0;
    NodeGuesser::Made made_;
    NodeGuesser sources_;
    NodeGuesser destinations_;
    Node* last_ = nullptr;
    NodeType* type_ = nullptr;
    std::vector<Node*>* typeList_ = nullptr;
    std::string typeName_;
    std::string name_;   // each new node's name, in one reused buffer
};

}  // namespace

namespace {

// Gives a new node its plug-in object.
Node* withUserNode(Node* node, NodeType* type)
{
    if (type->creator && (node->user = static_cast<MPxNode*>(type->creator()))) {
        setNodeInstance(node->user, node);
        node->user->postConstructor();
    }
    return node;
}

}  // namespace

Node* makeSceneNode(Scene& scene, NodeType* type, const std::string& name)
{
    // An empty name (which only the general reader lets through) gets a
    // number, as a script's createNode would give it.
    return withUserNode(name.empty() ? scene.create(type, name, nullptr) : scene.createNamed(type, name), type);
}

Node* makeSceneNode(Scene& scene, NodeType* type, const std::string& name, std::uint64_t hash)
{
    return withUserNode(scene.createNamed(type, name, hash), type);
}

namespace {

using Required = std::vector<std::pair<std::string, int>>;

// The check of one piece of whole lines: its bytes and its statements,
// lines numbered from `line`, which ends as the next piece's first line.
bool checkPiece(const std::string& piece, int& line, Required& required,
                std::vector<std::uint64_t>& nodeNameHashes)
{
    if (!validScriptText(piece)) return false;
    SceneScanner s(piece, line);
    for (;;) {
        const SceneScanner::Result result = s.next();
        if (result == SceneScanner::kEnd) {
            line = s.nextLine();
            return true;
        }
        if (result != SceneScanner::kStatement) return false;
        const std::string_view name = s.word(0);
        const std::size_t words = s.count() - 1;
        if (name == "requires") {
            if (words < 1) return false;
            std::string plugin(s.word(1));
            if (!isPluginName(plugin)) return false;
            required.emplace_back(std::move(plugin), s.line());
        } else if (name == "createNode") {
            if (words != 3 || s.word(2) != "-n" || s.quoted(2)) return false;
            nodeNameHashes.push_back(Scene::nameHash(s.word(3)));
        } else if (name == "setAttr") {
            if (words != 4 || s.word(2) != "-type" || s.word(3) != "string") return false;
        } else if (name != "connectAttr" || words != 2) {
            return false;
        }
    }
}

// The check of file[begin, end), a piece at a time; `line` numbers the
// first line and ends past the last.
bool checkRange(const RegularFile& file, std::uint64_t begin, std::uint64_t end, int& line,
                Required& required, std::vector<std::uint64_t>& nodeNameHashes)
{
    LinePieces pieces(file, begin, end);
    std::string piece;
    while (pieces.next(piece))
        if (!checkPiece(piece, line, required, nodeNameHashes)) return false;
    return !pieces.failed();
}

// Below this size a second thread costs more than the half it checks.
constexpr std::uint64_t kSplitFrom = std::uint64_t(1) << 20;

// Where the file's second half starts: after the first line end past its
// middle (no statement or word crosses a line end); 0 for a small file or
// one without such a line end.
std::uint64_t secondHalf(const RegularFile& file, std::uint64_t start)
{
    if (file.size() - start < kSplitFrom) return 0;
    std::string bytes;
    for (std::uint64_t at = start + (file.size() - start) / 2; at < file.size(); at += bytes.size()) {
        bytes.clear();
        if (!file.readAt(at, 1 << 16, bytes)) return 0;
        const std::size_t lineEnd = bytes.find('\n');
        if (lineEnd != std::string::npos) return at + lineEnd + 1;
    }
    return 0;
}

// The second half's check, on a thread of its own. Nothing of it throws
// out of the thread: a failure to finish is a failed check.
struct HalfCheck {
    Required required;
    std::vector<std::uint64_t> hashes;
    bool passed = false;

    void run(const RegularFile& file, std::uint64_t begin) noexcept
    {
        try {
            int line = 1;
            passed = checkRange(file, begin, file.size(), line, required, hashes);
        } catch (...) {
            passed = false;
        }
    }
};

// The second half's findings after the first's; its lines numbered on
// from the first half's (`linesBefore` of them).
void appendHalf(HalfCheck& later, int linesBefore, Required& required,
                std::vector<std::uint64_t>& nodeNameHashes)
{
    for (auto& entry : later.required) entry.second += linesBefore;
    required.insert(required.end(), later.required.begin(), later.required.end());
    nodeNameHashes.insert(nodeNameHashes.end(), later.hashes.begin(), later.hashes.end());
}

}  // namespace

bool quickCheckScene(const RegularFile& file, std::uint64_t start,
                     std::vector<std::pair<std::string, int>>& required,
                     std::vector<std::uint64_t>& nodeNameHashes)
{
    nodeNameHashes.clear();
    int line = 1;
    const std::uint64_t split = secondHalf(file, start);
    if (split == 0) return checkRange(file, start, file.size(), line, required, nodeNameHashes);
    // The two halves are checked at once; the first here.
    HalfCheck later;
    std::thread worker;
    try {
        worker = std::thread(&HalfCheck::run, &later, std::cref(file), split);
    } catch (const std::system_error&) {
        return checkRange(file, start, file.size(), line, required, nodeNameHashes);
    }
    bool passed = false;
    try {
        passed = checkRange(file, start, split, line, required, nodeNameHashes);
    } catch (...) {
        worker.join();
        throw;
    }
    worker.join();
    if (!passed || !later.passed) return false;
    appendHalf(later, line - 1, required, nodeNameHashes);
    return true;
}

bool quickBuildScene(const RegularFile& file, std::uint64_t start, Scene& scene,
                     const std::vector<std::uint64_t>& nodeNameHashes)
{
    Builder builder(scene, nodeNameHashes);
    LinePieces pieces(file, start, file.size());
    std::string piece;
    while (pieces.next(piece)) {
        SceneScanner s(piece);
        for (;;) {
            const SceneScanner::Result result = s.next();
            if (result == SceneScanner::kEnd) break;
            if (result != SceneScanner::kStatement || !builder.statement(s)) return false;
        }
    }
    return !pieces.failed();
}

}  // namespace detail
}  // namespace dghost
