// Opening a scene file as the scene writer writes it, with words read in
// place.

#include "runtime/SceneQuick.h"

#include "Api.h"
#include "runtime/Registry.h"
#include "runtime/SceneScanner.h"

#include <string_view>

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

// NODE.ATTR or NODE.ATTR[INDEX], split as splitPlugName does.
bool splitPlug(std::string_view text, std::string_view& node, std::string_view& attribute, int& index)
{
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos) return false;
    node = text.substr(0, dot);
    attribute = text.substr(dot + 1);
    index = -1;
    const std::size_t bracket = attribute.find('[');
    if (bracket == std::string_view::npos) return true;
    if (attribute.back() != ']') return false;
    const std::string_view digits = attribute.substr(bracket + 1, attribute.size() - bracket - 2);
    if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    unsigned long long value = 0;
    for (char d : digits) value = value * 10 + static_cast<unsigned>(d - '0');
    if (value > kMaxLogicalIndex) return false;
    index = static_cast<int>(value);
    attribute = attribute.substr(0, bracket);
    return true;
}

class Builder {
public:
    explicit Builder(Scene& scene) : scene_(scene) {}
    ~Builder() { release(recent_); }
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
        }
        if (!type_ || !legalName(nodeName)) return false;
        name_.assign(nodeName);
        if (scene_.find(name_)) return false;
        last_ = makeSceneNode(scene_, type_, name_);
        return true;
    }

    bool endpoint(std::string_view text, Endpoint& end)
    {
        std::string_view nodeName, attribute;
        int index = -1;
        if (!splitPlug(text, nodeName, attribute, index)) return false;
        Node* node = nodeName.empty() ? last_ : findNode(nodeName);
        if (!node) return false;
        const int a = node->type->findAttribute(attribute.data(), attribute.size());
        if (a < 0 || (index >= 0 && !node->type->attributes[static_cast<std::size_t>(a)]->flag(kArray)))
            return false;
        end = Endpoint{node, a, index};
        return true;
    }

    // The scene writer writes a node's incoming connections together, so
    // one node is named again and again: it is checked first (still that
    // name, so still the one node of that name) before the name table.
    Node* findNode(std::string_view nodeName)
    {
        if (recent_ && recent_->alive && recent_->name.size() == nodeName.size() &&
            std::string_view(recent_->name.c_str(), recent_->name.size()) == nodeName)
            return recent_;
        name_.assign(nodeName);
        Node* node = scene_.find(name_);
        if (node) {
            retain(node);   // held, so a node that left meanwhile is never read freed
            release(recent_);
            recent_ = node;
        }
        return node;
    }

    bool setAttr(std::string_view plug, std::string_view value)
    {
        Endpoint end;
        if (!endpoint(plug, end)) return false;
        const Attribute& attr = *end.node->type->attributes[static_cast<std::size_t>(end.attribute)];
        if (!attr.isString || (end.index < 0 && attr.flag(kArray))) return false;
        end.node->writableValue(end.attribute, end.index)->assign(value.data(), value.size());
        return true;
    }

    bool connectAttr(std::string_view from, std::string_view to)
    {
        Endpoint source, destination;
        return endpoint(from, source) && endpoint(to, destination) &&
               connectPlugs(source, destination, nullptr) == MS::kSuccess;
    }

    Scene& scene_;
    Node* last_ = nullptr;
    Node* recent_ = nullptr;   // the node a plug named last
    NodeType* type_ = nullptr;
    std::string typeName_;
    std::string name_;   // reused for every lookup
};

}  // namespace

Node* makeSceneNode(Scene& scene, NodeType* type, const std::string& name)
{
    // An empty name (which only the general reader lets through) gets a
    // number, as a script's createNode would give it.
    Node* node = name.empty() ? scene.create(type, name, nullptr) : scene.createNamed(type, name);
    if (type->creator && (node->user = static_cast<MPxNode*>(type->creator()))) {
        setNodeInstance(node->user, node);
        node->user->postConstructor();
    }
    return node;
}

bool quickCheckScene(const std::string& text, std::size_t start,
                     std::vector<std::pair<std::string, int>>& required, std::size_t& nodes)
{
    nodes = 0;
    SceneScanner s(text, start);
    for (;;) {
        const SceneScanner::Result result = s.next();
        if (result != SceneScanner::kStatement) return result == SceneScanner::kEnd;
        const std::string_view name = s.word(0);
        const std::size_t words = s.count() - 1;
        if (name == "requires") {
            if (words < 1) return false;
            std::string plugin(s.word(1));
            if (!isPluginName(plugin)) return false;
            required.emplace_back(std::move(plugin), s.line());
        } else if (name == "createNode") {
            if (words != 3 || s.word(2) != "-n" || s.quoted(2)) return false;
            ++nodes;
        } else if (name == "setAttr") {
            if (words != 4 || s.word(2) != "-type" || s.word(3) != "string") return false;
        } else if (name != "connectAttr" || words != 2) {
            return false;
        }
    }
}

bool quickBuildScene(const std::string& text, std::size_t start, Scene& scene)
{
    SceneScanner s(text, start);
    Builder builder(scene);
    for (;;) {
        const SceneScanner::Result result = s.next();
        if (result != SceneScanner::kStatement) return result == SceneScanner::kEnd;
        if (!builder.statement(s)) return false;
    }
}

}  // namespace detail
}  // namespace dghost
