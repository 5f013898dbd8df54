// The dependency graph: node naming, plug state, connections and deletion.

#include "Internal.h"

#include <maya/MPlug.h>

#include <algorithm>
#include <cctype>

namespace dghost {
namespace detail {

// ------------------------------------------------------------------ types

int NodeType::findAttribute(const std::string& attrName) const
{
    auto it = attributeByName.find(attrName);
    return it == attributeByName.end() ? -1 : it->second;
}

NodeType* Registry::findType(const std::string& typeName) const
{
    for (const auto& type : nodeTypes)
        if (type->name == typeName) return type.get();
    return nullptr;
}

NodeType* Registry::findType(unsigned int id) const
{
    for (const auto& type : nodeTypes)
        if (type->id == id) return type.get();
    return nullptr;
}

Plugin* Registry::findPlugin(const std::string& pluginName) const
{
    for (const MObject& object : plugins) {
        auto* plugin = static_cast<Plugin*>(handleOf(object));
        if (plugin->name == pluginName) return plugin;
    }
    return nullptr;
}

// ------------------------------------------------------------ plug state

long AttributeState::find(unsigned int logicalIndex) const
{
    if (!indices.empty() && indices.back() == logicalIndex)
        return static_cast<long>(indices.size() - 1);
    auto it = std::lower_bound(indices.begin(), indices.end(), logicalIndex);
    if (it == indices.end() || *it != logicalIndex) return -1;
    return static_cast<long>(it - indices.begin());
}

std::size_t AttributeState::findOrCreate(unsigned int logicalIndex)
{
    long found = find(logicalIndex);
    if (found >= 0) return static_cast<std::size_t>(found);
    auto it = std::lower_bound(indices.begin(), indices.end(), logicalIndex);
    std::size_t position = static_cast<std::size_t>(it - indices.begin());
    indices.insert(it, logicalIndex);
    elements.insert(elements.begin() + static_cast<long>(position), PlugState());
    connectedPositionsValid = false;
    return position;
}

const std::vector<unsigned int>& AttributeState::connected() const
{
    if (!connectedPositionsValid) {
        connectedPositions.clear();
        for (std::size_t i = 0; i < elements.size(); ++i)
            if (elements[i].connected()) connectedPositions.push_back(static_cast<unsigned int>(i));
        connectedPositionsValid = true;
    }
    return connectedPositions;
}

PlugState* Node::plug(int attribute, int index, bool create)
{
    if (attribute < 0 || attribute >= static_cast<int>(attributes.size())) return nullptr;
    AttributeState& state = attributes[attribute];
    if (index < 0) return &state.whole;
    unsigned int logical = static_cast<unsigned int>(index);
    long position = create ? static_cast<long>(state.findOrCreate(logical)) : state.find(logical);
    return position < 0 ? nullptr : &state.elements[static_cast<std::size_t>(position)];
}

MFn::Type Node::apiType() const
{
    return type && type->plugin ? MFn::kPluginDependNode : MFn::kDependencyNode;
}

bool Node::hasFn(MFn::Type fn) const
{
    return fn == MFn::kBase || fn == MFn::kNamedObject || fn == MFn::kDependencyNode ||
           (fn == MFn::kPluginDependNode && type && type->plugin);
}

// ----------------------------------------------------------------- naming

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
    if (!sanitized.empty() && byName_.find(sanitized) == byName_.end()) return sanitized;
    return numberedName(nameBase(sanitized));
}

std::string Scene::numberedName(const std::string& base)
{
    unsigned int& next = nextSuffix_[base];
    if (next == 0) next = 1;
    std::string candidate;
    for (;; ++next) {
        candidate = base + std::to_string(next);
        if (byName_.find(candidate) == byName_.end()) break;
    }
    ++next;
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

// ------------------------------------------------------------------ scene

Scene::~Scene() { clear(); }

Node* Scene::create(NodeType* type, const std::string& requested, MStatus* status)
{
    // An empty request always gets a number: xmlDocument1, xmlDocument2...
    std::string sanitized = sanitizeName(requested);
    std::string name = sanitized.empty() ? numberedName(type->defaultNameBase) : uniqueName(sanitized);
    auto* node = new Node();
    node->type = type;
    node->scene = this;
    node->name = name;
    node->sequence = ++sequence_;
    node->attributes.resize(type->attributes.size());
    retain(node);
    order_.push_back(node);
    byName_.emplace(name, node);
    ++type->liveNodes;
    modified = true;
    if (status) *status = MS::kSuccess;
    return node;
}

void Scene::destroy(Node* node)
{
    if (!node || !node->alive) return;
    node->alive = false;
    forgetSelected(node);
    releaseName(node->name);
    --node->type->liveNodes;
    ++deadInOrder_;
    modified = true;
    delete node->user;
    node->user = nullptr;
    node->attributes.clear();
    node->attributes.shrink_to_fit();
}

Node* Scene::find(const std::string& name) const
{
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

std::string Scene::rename(Node* node, const std::string& requested)
{
    std::string sanitized = sanitizeName(requested);
    if (sanitized.empty() || sanitized == node->name) return node->name;
    releaseName(node->name);
    node->name = uniqueName(sanitized);
    byName_.emplace(node->name, node);
    modified = true;
    return node->name;
}

void Scene::compact() const
{
    if (deadInOrder_ == 0) return;
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
    return order_;
}

void Scene::clear()
{
    // Connections first, so no node's user object sees a half-gone graph.
    for (Node* node : order_)
        if (node->alive) deleteNode(node);
    deadInOrder_ = order_.size();
    compact();
    byName_.clear();
    nextSuffix_.clear();
    fileName.clear();
    modified = false;
}

// ------------------------------------------------------------ connections

namespace {

bool compatible(const Attribute& a, const Attribute& b)
{
    return a.isString == b.isString && (a.isString || a.dataId == b.dataId);
}

const Attribute* attributeAt(const Endpoint& end)
{
    if (!end.node || !end.node->alive) return nullptr;
    const auto& attributes = end.node->type->attributes;
    if (end.attribute < 0 || end.attribute >= static_cast<int>(attributes.size())) return nullptr;
    return attributes[end.attribute];
}

void notify(const Endpoint& self, const Endpoint& other, bool asSrc, bool made)
{
    MPxNode* user = self.node->user;
    if (!user) return;
    MPlug selfPlug = makePlug(self);
    MPlug otherPlug = makePlug(other);
    if (made) user->connectionMade(selfPlug, otherPlug, asSrc);
    else user->connectionBroken(selfPlug, otherPlug, asSrc);
}

// Keeps an array's count of connected elements right across a change of
// one element's connections.
void recount(const Endpoint& end, bool wasConnected)
{
    if (end.index < 0) return;
    AttributeState& state = end.node->attributes[end.attribute];
    state.connectedPositionsValid = false;
    const PlugState* plug = end.node->plug(end.attribute, end.index, false);
    bool isConnected = plug && plug->connected();
    if (isConnected && !wasConnected) ++state.connectedElements;
    if (!isConnected && wasConnected) --state.connectedElements;
}

}  // namespace

MStatus connectPlugs(const Endpoint& source, const Endpoint& destination, std::string* why)
{
    const Attribute* from = attributeAt(source);
    const Attribute* to = attributeAt(destination);
    auto refuse = [why](const char* text) {
        if (why) *why = text;
        return MStatus(MS::kFailure);
    };
    if (!from || !to) return refuse("a plug of the connection does not exist");
    if (source == destination) return refuse("a plug cannot be connected to itself");
    if (!from->flag(kReadable)) return refuse("the source attribute is not readable");
    if (!to->flag(kWritable)) return refuse("the destination attribute is not writable");
    if (!compatible(*from, *to)) return refuse("the two attributes hold different data types");
    if (destination.index < 0 && to->flag(kArray))
        return refuse("the destination must be an element of the array");
    PlugState* dst = destination.node->plug(destination.attribute, destination.index, true);
    if (dst->hasSource) return refuse("the destination already has an incoming connection");
    PlugState* src = source.node->plug(source.attribute, source.index, true);
    dst = destination.node->plug(destination.attribute, destination.index, false);
    bool srcWas = src->connected(), dstWas = dst->connected();
    src->destinations.push_back(destination);
    dst->hasSource = true;
    dst->source = source;
    recount(source, srcWas);
    recount(destination, dstWas);
    source.node->scene->modified = true;
    notify(source, destination, true, true);
    notify(destination, source, false, true);
    return MS::kSuccess;
}

MStatus disconnectPlugs(const Endpoint& source, const Endpoint& destination, std::string* why)
{
    if (!attributeAt(source) || !attributeAt(destination)) {
        if (why) *why = "a plug of the connection does not exist";
        return MS::kFailure;
    }
    PlugState* dst = destination.node->plug(destination.attribute, destination.index, false);
    PlugState* src = source.node->plug(source.attribute, source.index, false);
    if (!dst || !src || !dst->hasSource || !(dst->source == source)) {
        if (why) *why = "the plugs are not connected";
        return MS::kFailure;
    }
    bool srcWas = src->connected(), dstWas = dst->connected();
    auto& out = src->destinations;
    out.erase(std::find(out.begin(), out.end(), destination));
    dst->hasSource = false;
    dst->source = Endpoint();
    recount(source, srcWas);
    recount(destination, dstWas);
    source.node->scene->modified = true;
    notify(source, destination, true, false);
    notify(destination, source, false, false);
    return MS::kSuccess;
}

namespace {

// Every connection that touches `node`, as (source, destination) pairs.
std::vector<std::pair<Endpoint, Endpoint>> connectionsOf(Node* node)
{
    std::vector<std::pair<Endpoint, Endpoint>> found;
    auto collect = [&](const PlugState& state, const Endpoint& self) {
        if (state.hasSource) found.emplace_back(state.source, self);
        for (const Endpoint& d : state.destinations) found.emplace_back(self, d);
    };
    for (std::size_t a = 0; a < node->attributes.size(); ++a) {
        const AttributeState& attr = node->attributes[a];
        collect(attr.whole, Endpoint{node, static_cast<int>(a), -1});
        for (std::size_t e = 0; e < attr.elements.size(); ++e)
            collect(attr.elements[e], Endpoint{node, static_cast<int>(a), static_cast<int>(attr.indices[e])});
    }
    return found;
}

}  // namespace

void deleteNode(Node* node)
{
    if (!node || !node->alive) return;
    for (const auto& connection : connectionsOf(node))
        disconnectPlugs(connection.first, connection.second, nullptr);
    node->scene->destroy(node);
}

// --------------------------------------------------------------- globals

Registry& registry()
{
    static Registry* instance = [] {
        auto* created = new Registry();
        registerBuiltins(*created);
        return created;
    }();
    return *instance;
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
