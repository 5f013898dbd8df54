// The scene: node naming, creation, renaming and deletion, and the
// current scene.

#include "graph/Graph.h"

#include <cctype>
#include <charconv>

namespace dghost {
namespace detail {

std::string sanitizeName(const std::string& requested)
{
    std::string name;
    name.reserve(requested.size() + 1);
    for (std::size_t i = 0; i < requested.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(requested[i]);
        if (c >= 0x80) {
            // One '_' per UTF-8 character, not per byte.
            if ((c & 0xC0) != 0x80) name += '_';
            continue;
        }
        name += (std::isalnum(c) || c == '_') ? static_cast<char>(c) : '_';
    }
    if (!name.empty() && std::isdigit(static_cast<unsigned char>(name[0]))) name.insert(0, 1, '_');
    return name;
}

namespace {

// Splits "item12" into "item" and 12; a name without trailing digits has
// number 0.
std::string nameBase(const std::string& name)
{
    std::size_t end = name.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(name[end - 1]))) --end;
    return name.substr(0, end);
}

unsigned int nameNumber(const std::string& name, std::size_t baseLength)
{
    if (baseLength >= name.size() || name.size() - baseLength > 9) return 0;
    return static_cast<unsigned int>(std::stoul(name.substr(baseLength)));
}

}  // namespace

std::string Scene::uniqueName(const std::string& sanitized)
{
    if (!sanitized.empty() && !byName_.find(sanitized)) return sanitized;
    return numberedName(nameBase(sanitized));
}

std::string Scene::numberedName(const std::string& base)
{
    unsigned int& next = nextSuffix_[base];
    if (next == 0) next = 1;
    std::string candidate;
    candidate.reserve(base.size() + 10);
    char digits[16];
    auto numbered = [&](unsigned int number, std::string& name) {
        name.assign(base);
        name.append(digits, static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, number).ptr - digits));
    };
    for (;; ++next) {
        numbered(next, candidate);
        if (!byName_.find(candidate)) break;
    }
    ++next;
    // The next node asking for this base most likely gets the next number,
    // whose place in the (large) name table is random: start loading it.
    std::string following;
    numbered(next, following);
    byName_.prefetch(nameHash(following));
    return candidate;
}

void Scene::releaseName(const std::string& name)
{
    std::string base = nameBase(name);
    unsigned int number = nameNumber(name, base.size());
    auto it = nextSuffix_.find(base);
    if (it != nextSuffix_.end() && number > 0 && number < it->second) it->second = number;
    byName_.erase(name);
}

Scene::~Scene() { clear(); }

Node* Scene::create(NodeType* type, const std::string& requested, MStatus* status)
{
    // An empty request always gets a number: xmlDocument1, xmlDocument2...
    std::string sanitized = sanitizeName(requested);
    std::string name = sanitized.empty() ? numberedName(type->defaultNameBase) : uniqueName(sanitized);
    if (status) *status = MS::kSuccess;
    return createNamed(type, name);
}

Node* Scene::createNamed(NodeType* type, const std::string& name)
{
    return createNamed(type, name, nameHash(name));
}

Node* Scene::createNamed(NodeType* type, const std::string& name, std::uint64_t hash)
{
    // Room first, and the node complete before it is registered: a failed
    // allocation leaves no node in the scene that nobody was handed.
    if (order_.size() == order_.capacity()) order_.reserve(order_.size() * 2 + 16);
    byName_.reserve(byName_.size() + 1);
    Node* node = Node::make(type);
    node->scene = this;
    retain(node);
    try {
        node->name = name;
    } catch (...) {
        release(node);
        throw;
    }
    order_.push_back(node);
    byName_.insert(node, hash);
    ++type->liveNodes;
    modified = true;
    return node;
}

void Scene::reserve(std::size_t count)
{
    order_.reserve(order_.size() + count);
    byName_.reserve(byName_.size() + count);
}

void Scene::destroy(Node* node)
{
    if (!node || !node->alive) return;
    node->alive = false;
    forgetSelected(node);
    if (!clearing_) releaseName(node->name.str());
    --node->type->liveNodes;
    ++deadInOrder_;
    modified = true;
    delete node->user;
    node->user = nullptr;
    node->dropState();
}

// Scripts often resolve the names of a listing one after another, in its
// order. In a large scene each probe of the name table misses the cache,
// so the node the listing holds next (or the one after, for a caller that
// skips one) is compared first; a match is that node, names being unique.
Node* Scene::find(const std::string& name) const
{
    if (Node* node = nextListed(name)) return node;
    return find(std::string_view(name), nameHash(name));
}

Node* Scene::nextListed(const std::string& name) const
{
    if (listedNext_ >= order_.size()) return nullptr;   // no listing followed
    for (std::size_t k = 0; k < 2 && k < order_.size() - listedNext_; ++k) {
        Node* node = order_[listedNext_ + k];
        if (node->alive && node->name == name) {
            listedNext_ += k + 1;
            return node;
        }
    }
    return nullptr;
}

std::string Scene::rename(Node* node, const std::string& requested)
{
    std::string sanitized = sanitizeName(requested);
    if (sanitized.empty() || node->name == sanitized) return node->name.str();
    releaseName(node->name.str());
    node->name = uniqueName(sanitized);
    byName_.insert(node);
    modified = true;
    return node->name.str();
}

void Scene::compact() const
{
    // While clear() runs, the name table still points at the nodes it has
    // deleted: they stay held until it drops the table.
    if (deadInOrder_ == 0 || clearing_) return;
    std::vector<Node*> live;
    live.reserve(order_.size() - deadInOrder_);
    for (Node* node : order_) {
        if (node->alive) live.push_back(node);
        else release(node);
    }
    order_.swap(live);
    const_cast<Scene*>(this)->deadInOrder_ = 0;
}

std::vector<Node*> Scene::nodes() const
{
    compact();
    if (clearing_) {
        std::vector<Node*> live;
        for (Node* node : order_)
            if (node->alive) live.push_back(node);
        return live;
    }
    listedNext_ = 0;
    return order_;
}

// Drops every name at once at the end. Erasing them one by one shifts the
// name table's runs back, reading the name of every node moved: most of the
// time of clearing a large scene.
void Scene::clear()
{
    clearing_ = true;
    // Connections first, so no node's user object sees a half-gone graph.
    for (Node* node : order_)
        if (node->alive) deleteNode(node);
    clearing_ = false;
    byName_.clear();
    deadInOrder_ = order_.size();
    compact();
    nextSuffix_.clear();
    listedNext_ = kNoListing;
    fileName.clear();
    modified = false;
}

namespace {
std::unique_ptr<Scene>& currentScene()
{
    static auto* instance = new std::unique_ptr<Scene>(new Scene());
    return *instance;
}
}  // namespace

Scene& scene() { return *currentScene(); }

void replaceScene(std::unique_ptr<Scene> next)
{
    std::unique_ptr<Scene>& current = currentScene();
    current.swap(next);
    next.reset();  // the old scene's nodes are deleted here
}

}  // namespace detail
}  // namespace dghost
