// The dependency graph: node naming, plug state, connections and deletion.

#include "Internal.h"

#include <maya/MPlug.h>

#include <algorithm>
#include <cctype>
#include <charconv>

namespace dghost {
namespace detail {

// ------------------------------------------------------------------ types

int NodeType::findAttribute(const std::string& attrName) const
{
    return findAttribute(attrName.data(), attrName.size());
}

int NodeType::findAttribute(const char* attrName, std::size_t length) const
{
    // Names are unique across long and short names, so a scan of a few
    // attributes finds the same one as the map, without hashing.
    if (attributes.size() > 16) {
        auto it = attributeByName.find(std::string(attrName, length));
        return it == attributeByName.end() ? -1 : it->second;
    }
    auto same = [&](const std::string& name) {
        return name.size() == length && std::memcmp(name.data(), attrName, length) == 0;
    };
    for (std::size_t i = 0; i < attributes.size(); ++i)
        if (same(attributes[i]->longName) || same(attributes[i]->shortName)) return static_cast<int>(i);
    return -1;
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

void NodeType::prepareLayout()
{
    if (valueSlots.size() == attributes.size()) return;
    valueSlots.assign(attributes.size(), -1);
    valueCount = 0;
    for (std::size_t a = 0; a < attributes.size(); ++a)
        if (attributes[a]->isString) valueSlots[a] = valueCount++;
}

// ------------------------------------------------------------ plug state

std::size_t PlugText::size() const
{
    if (!onHeap()) return 15 - static_cast<std::size_t>(storage_[15]);
    std::uint32_t length = 0;
    std::memcpy(&length, storage_ + sizeof(char*), sizeof length);
    return length;
}

char* PlugText::heapData() const
{
    char* data = nullptr;
    std::memcpy(&data, storage_, sizeof data);
    return data;
}

void PlugText::setInline(std::size_t length)
{
    storage_[length] = '\0';
    storage_[15] = static_cast<char>(15 - length);
}

void PlugText::freeHeap()
{
    if (onHeap()) delete[] heapData();
}

void PlugText::assign(const char* text, std::size_t length)
{
    if (length <= 15) {
        // `text` may be this value's own bytes: copy before freeing.
        char copy[16];
        std::memcpy(copy, text, length);
        freeHeap();
        std::memcpy(storage_, copy, length);
        setInline(length);
        return;
    }
    char* data = new char[length + 1];
    std::memcpy(data, text, length);
    data[length] = '\0';
    freeHeap();
    const std::uint32_t size = static_cast<std::uint32_t>(length);
    std::memcpy(storage_, &data, sizeof data);
    std::memcpy(storage_ + sizeof data, &size, sizeof size);
    storage_[15] = kHeapTag;
}

DestinationList::~DestinationList()
{
    if (capacity_ > 1) delete[] many_;
}

void DestinationList::push_back(const Endpoint& end)
{
    if (size_ == 0 && capacity_ == 1) {
        one_ = end;
        size_ = 1;
        return;
    }
    if (size_ == capacity_) {
        std::uint32_t grown = capacity_ * 2;
        auto* moved = new Endpoint[grown];
        std::copy(begin(), this->end(), moved);
        if (capacity_ > 1) delete[] many_;
        many_ = moved;
        capacity_ = grown;
    }
    many_[size_++] = end;
}

bool DestinationList::erase(const Endpoint& end)
{
    auto* first = const_cast<Endpoint*>(begin());
    auto* last = first + size_;
    auto* found = std::find(first, last, end);
    if (found == last) return false;
    std::copy(found + 1, last, found);
    --size_;
    return true;
}

long ArrayState::find(unsigned int logicalIndex) const
{
    if (!elements.empty() && elements.back().index == logicalIndex)
        return static_cast<long>(elements.size() - 1);
    auto it = std::lower_bound(elements.begin(), elements.end(), logicalIndex,
                               [](const ElementState& e, unsigned int i) { return e.index < i; });
    if (it == elements.end() || it->index != logicalIndex) return -1;
    return static_cast<long>(it - elements.begin());
}

std::size_t ArrayState::findOrCreate(unsigned int logicalIndex)
{
    if (elements.empty() || elements.back().index < logicalIndex) {
        elements.emplace_back();
        elements.back().index = logicalIndex;
        connectedPositionsValid = false;
        return elements.size() - 1;
    }
    long found = find(logicalIndex);
    if (found >= 0) return static_cast<std::size_t>(found);
    auto it = std::lower_bound(elements.begin(), elements.end(), logicalIndex,
                               [](const ElementState& e, unsigned int i) { return e.index < i; });
    it = elements.emplace(it);
    it->index = logicalIndex;
    connectedPositionsValid = false;
    return static_cast<std::size_t>(it - elements.begin());
}

bool ArrayState::connectedPosition(std::size_t n, std::size_t& position) const
{
    if (connectedElements == elements.size()) {
        position = n;
        return n < elements.size();
    }
    if (!connectedPositions) connectedPositions = std::make_unique<std::vector<unsigned int>>();
    std::vector<unsigned int>& positions = *connectedPositions;
    if (!connectedPositionsValid) {
        positions.clear();
        for (std::size_t i = 0; i < elements.size(); ++i)
            if (elements[i].connected()) positions.push_back(static_cast<unsigned int>(i));
        connectedPositionsValid = true;
    }
    if (n >= positions.size()) return false;
    position = positions[n];
    return true;
}

namespace {

std::size_t alignUp(std::size_t n, std::size_t alignment)
{
    return (n + alignment - 1) / alignment * alignment;
}

std::size_t slotsOffset()
{
    return alignUp(sizeof(Node), alignof(AttributeSlot));
}

std::size_t valuesOffset(std::size_t slotCount)
{
    return alignUp(slotsOffset() + slotCount * sizeof(AttributeSlot), alignof(PlugText));
}

}  // namespace

Node* Node::make(NodeType* type)
{
    type->prepareLayout();
    const std::size_t slotCount = type->attributes.size();
    const std::size_t valueCount = static_cast<std::size_t>(type->valueCount);
    void* memory = ::operator new(valuesOffset(slotCount) + valueCount * sizeof(PlugText));
    Node* node = new (memory) Node();
    node->type = type;
    node->slotCount = static_cast<std::uint16_t>(slotCount);
    node->valueCount = static_cast<std::uint16_t>(valueCount);
    for (std::size_t i = 0; i < slotCount; ++i) new (&node->slots()[i]) AttributeSlot();
    for (std::size_t i = 0; i < valueCount; ++i) new (&node->values()[i]) PlugText();
    return node;
}

Node::~Node() { dropState(); }

AttributeSlot* Node::slots()
{
    return reinterpret_cast<AttributeSlot*>(reinterpret_cast<char*>(this) + slotsOffset());
}

PlugText* Node::values()
{
    return reinterpret_cast<PlugText*>(reinterpret_cast<char*>(this) + valuesOffset(slotCount));
}

void Node::dropState()
{
    for (std::size_t i = 0; i < valueCount; ++i) values()[i].~PlugText();
    for (std::size_t i = 0; i < slotCount; ++i) slots()[i].~AttributeSlot();
    valueCount = 0;
    slotCount = 0;
}

PlugText* Node::wholeValue(int attribute)
{
    if (!hasAttribute(attribute)) return nullptr;
    const int place = type->valueSlots[static_cast<std::size_t>(attribute)];
    return place < 0 ? nullptr : &values()[place];
}

ArrayState& Node::arrayOf(int attribute)
{
    std::unique_ptr<ArrayState>& array = slot(attribute).array;
    if (!array) array = std::make_unique<ArrayState>();
    return *array;
}

PlugRead Node::read(int attribute, int index) const
{
    PlugRead state;
    if (!hasAttribute(attribute)) return state;
    const AttributeSlot& s = slot(attribute);
    if (index < 0) {
        state.value = const_cast<Node*>(this)->wholeValue(attribute);
        if (s.links) {
            state.source = &s.links->source;
            state.destinations = &s.links->destinations;
        }
        return state;
    }
    const long position = s.array ? s.array->find(static_cast<unsigned int>(index)) : -1;
    if (position < 0) return state;
    const ElementState& element = s.array->elements[static_cast<std::size_t>(position)];
    state.source = &element.source;
    if (element.extra) {
        state.value = &element.extra->value;
        state.destinations = &element.extra->destinations;
    }
    return state;
}

void Node::touchElement(int attribute, unsigned int logicalIndex)
{
    arrayOf(attribute).findOrCreate(logicalIndex);
}

namespace {

ElementState& elementOf(ArrayState& array, int index)
{
    return array.elements[array.findOrCreate(static_cast<unsigned int>(index))];
}

ElementExtra& extraOf(ElementState& element)
{
    if (!element.extra) element.extra = std::make_unique<ElementExtra>();
    return *element.extra;
}

Links& linksOf(AttributeSlot& slot)
{
    if (!slot.links) slot.links = std::make_unique<Links>();
    return *slot.links;
}

}  // namespace

PlugText* Node::writableValue(int attribute, int index)
{
    if (index < 0) return wholeValue(attribute);
    return &extraOf(elementOf(arrayOf(attribute), index)).value;
}

Endpoint& Node::sourceSlot(int attribute, int index)
{
    if (index < 0) return linksOf(slot(attribute)).source;
    return elementOf(arrayOf(attribute), index).source;
}

DestinationList& Node::destinationSlot(int attribute, int index)
{
    if (index < 0) return linksOf(slot(attribute)).destinations;
    return extraOf(elementOf(arrayOf(attribute), index)).destinations;
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
    for (;; ++next) {
        candidate.assign(base);
        candidate.append(digits, static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, next).ptr - digits));
        if (!byName_.find(candidate)) break;
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

// ------------------------------------------------------------- name index

std::uint32_t NameIndex::hashOf(const std::string& name)
{
    const std::size_t h = std::hash<std::string>()(name);
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

Node* NameIndex::find(const std::string& name) const
{
    if (slots_.empty()) return nullptr;
    const std::uint32_t hash = hashOf(name);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Node* node = slots_[i];
        if (!node || (hashes_[i] == hash && node->name == name)) return node;
    }
}

void NameIndex::place(Node* node, std::uint32_t hash)
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i]) i = (i + 1) & mask;
    slots_[i] = node;
    hashes_[i] = hash;
    ++size_;
}

void NameIndex::insert(Node* node)
{
    if ((size_ + 1) * 4 > slots_.size() * 3) grow();
    place(node, hashOf(node->name));
}

void NameIndex::erase(const std::string& name)
{
    if (slots_.empty()) return;
    const std::uint32_t hash = hashOf(name);
    const std::size_t mask = slots_.size() - 1;
    std::size_t hole = hash & mask;
    while (slots_[hole] && !(hashes_[hole] == hash && slots_[hole]->name == name)) hole = (hole + 1) & mask;
    if (!slots_[hole]) return;
    slots_[hole] = nullptr;
    --size_;
    // Shift back every later entry of the run that may sit in the hole.
    for (std::size_t i = (hole + 1) & mask; slots_[i]; i = (i + 1) & mask) {
        const std::size_t want = hashes_[i] & mask;
        const bool reachable = hole <= i ? (want <= hole || want > i) : (want <= hole && want > i);
        if (reachable) {
            slots_[hole] = slots_[i];
            hashes_[hole] = hashes_[i];
            slots_[i] = nullptr;
            hole = i;
        }
    }
}

void NameIndex::clear()
{
    slots_.clear();
    hashes_.clear();
    size_ = 0;
}

void NameIndex::grow()
{
    std::vector<Node*> oldSlots;
    std::vector<std::uint32_t> oldHashes;
    oldSlots.swap(slots_);
    oldHashes.swap(hashes_);
    const std::size_t capacity = oldSlots.empty() ? 16 : oldSlots.size() * 2;
    slots_.assign(capacity, nullptr);
    hashes_.assign(capacity, 0);
    size_ = 0;
    for (std::size_t i = 0; i < oldSlots.size(); ++i)
        if (oldSlots[i]) place(oldSlots[i], oldHashes[i]);
}

// ------------------------------------------------------------------ scene

Scene::~Scene() { clear(); }

Node* Scene::create(NodeType* type, const std::string& requested, MStatus* status)
{
    // An empty request always gets a number: xmlDocument1, xmlDocument2...
    std::string sanitized = sanitizeName(requested);
    std::string name = sanitized.empty() ? numberedName(type->defaultNameBase) : uniqueName(sanitized);
    Node* node = Node::make(type);
    node->scene = this;
    node->name = std::move(name);
    retain(node);
    order_.push_back(node);
    byName_.insert(node);
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
    node->dropState();
}

Node* Scene::find(const std::string& name) const
{
    return byName_.find(name);
}

std::string Scene::rename(Node* node, const std::string& requested)
{
    std::string sanitized = sanitizeName(requested);
    if (sanitized.empty() || sanitized == node->name) return node->name;
    releaseName(node->name);
    node->name = uniqueName(sanitized);
    byName_.insert(node);
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
    ArrayState* array = end.node->slot(end.attribute).array.get();
    if (!array) return;
    array->connectedPositionsValid = false;
    bool isConnected = end.node->read(end.attribute, end.index).connected();
    if (isConnected && !wasConnected) ++array->connectedElements;
    if (!isConnected && wasConnected) --array->connectedElements;
}

bool connectedNow(const Endpoint& end)
{
    return end.node->read(end.attribute, end.index).connected();
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
    // The destination element exists from here on, even when refused.
    if (destination.index >= 0) destination.node->touchElement(destination.attribute, destination.index);
    if (destination.node->read(destination.attribute, destination.index).hasSource())
        return refuse("the destination already has an incoming connection");
    if (source.index >= 0) source.node->touchElement(source.attribute, source.index);
    bool srcWas = connectedNow(source), dstWas = connectedNow(destination);
    source.node->destinationSlot(source.attribute, source.index).push_back(destination);
    destination.node->sourceSlot(destination.attribute, destination.index) = source;
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
    PlugRead dst = destination.node->read(destination.attribute, destination.index);
    if (!dst.hasSource() || !(*dst.source == source)) {
        if (why) *why = "the plugs are not connected";
        return MS::kFailure;
    }
    bool srcWas = connectedNow(source), dstWas = dst.connected();
    source.node->destinationSlot(source.attribute, source.index).erase(destination);
    destination.node->sourceSlot(destination.attribute, destination.index) = Endpoint();
    recount(source, srcWas);
    recount(destination, dstWas);
    source.node->scene->modified = true;
    notify(source, destination, true, false);
    notify(destination, source, false, false);
    return MS::kSuccess;
}

namespace {

// Every connection that touches `node`, as (source, destination) pairs:
// attribute by attribute, the plug itself before its elements, each
// incoming before outgoing.
std::vector<std::pair<Endpoint, Endpoint>> connectionsOf(Node* node)
{
    std::vector<std::pair<Endpoint, Endpoint>> found;
    auto collect = [&](const Endpoint& source, const DestinationList* destinations, const Endpoint& self) {
        if (source.node) found.emplace_back(source, self);
        if (destinations)
            for (const Endpoint& d : *destinations) found.emplace_back(self, d);
    };
    for (int a = 0; a < node->slotCount; ++a) {
        const AttributeSlot& slot = node->slot(a);
        if (slot.links) collect(slot.links->source, &slot.links->destinations, Endpoint{node, a, -1});
        if (!slot.array) continue;
        for (const ElementState& e : slot.array->elements)
            collect(e.source, e.extra ? &e.extra->destinations : nullptr,
                    Endpoint{node, a, static_cast<int>(e.index)});
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

// ------------------------------------------------------------ plug names

PlugNameError splitPlugName(const std::string& text, PlugName& name)
{
    std::size_t dot = text.find('.');
    if (dot == std::string::npos) return PlugNameError::kNotAPlug;
    name.node = text.substr(0, dot);
    name.attribute = text.substr(dot + 1);
    name.index = -1;
    std::size_t bracket = name.attribute.find('[');
    if (bracket == std::string::npos) return PlugNameError::kNone;
    std::string digits = name.attribute.substr(bracket + 1, name.attribute.size() - bracket - 2);
    if (name.attribute.back() != ']' || digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return PlugNameError::kBadIndex;
    name.index = std::stoi(digits);
    name.attribute.resize(bracket);
    return PlugNameError::kNone;
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
