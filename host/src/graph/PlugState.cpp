// How plugs are stored: node types' value layout, string values,
// destination lists, array elements and the node's packed allocation.

#include "graph/Graph.h"

#include <algorithm>
#include <cstring>

namespace dghost {
namespace detail {

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

void NodeType::prepareLayout()
{
    if (valueSlots.size() == attributes.size()) return;
    valueSlots.assign(attributes.size(), -1);
    valueCount = 0;
    for (std::size_t a = 0; a < attributes.size(); ++a)
        if (attributes[a]->isString) valueSlots[a] = valueCount++;
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

namespace {

// Searches the first `count` elements, which ascend. Logical indices are
// unique, so the element at position p has an index of at least p: no index
// lies past its own position, and in a dense array (an imported tree's
// usual one) each index is found at its own position without a search.
long sortedFind(const std::vector<ElementState>& elements, std::size_t count, unsigned int logicalIndex)
{
    count = std::min<std::size_t>(count, std::size_t{logicalIndex} + 1);
    if (count == 0) return -1;
    if (elements[count - 1].index == logicalIndex) return static_cast<long>(count - 1);
    auto last = elements.begin() + static_cast<long>(count);
    auto it = std::lower_bound(elements.begin(), last, logicalIndex,
                               [](const ElementState& e, unsigned int i) { return e.index < i; });
    if (it == last || it->index != logicalIndex) return -1;
    return static_cast<long>(it - elements.begin());
}

}  // namespace

ArrayState::Side& ArrayState::side() const
{
    if (!side_) side_ = std::make_unique<Side>();
    return *side_;
}

Links& ArrayState::makeLinks()
{
    std::unique_ptr<Links>& links = side().links;
    if (!links) links = std::make_unique<Links>();
    return *links;
}

void ArrayState::adoptLinks(std::unique_ptr<Links> links)
{
    side().links = std::move(links);
}

ElementExtra& ArrayState::makeExtra(ElementState& element)
{
    if (!element.extra) {
        std::vector<std::unique_ptr<ElementExtra>>& extras = side().extras;
        extras.push_back(std::make_unique<ElementExtra>());
        element.extra = static_cast<std::uint32_t>(extras.size());
    }
    return *side_->extras[element.extra - 1];
}

long ArrayState::find(unsigned int logicalIndex) const
{
    if (!elements_.empty() && elements_.back().index == logicalIndex)
        return static_cast<long>(elements_.size() - 1);
    if (!outOfOrder()) return sortedFind(elements_, elements_.size(), logicalIndex);
    long found = sortedFind(elements_, side_->sortedCount, logicalIndex);
    if (found >= 0) return found;
    auto it = side_->positions.find(logicalIndex);
    return it == side_->positions.end() ? -1 : static_cast<long>(it->second);
}

std::size_t ArrayState::findOrCreate(unsigned int logicalIndex)
{
    const bool inOrder = !outOfOrder() && (elements_.empty() || elements_.back().index < logicalIndex);
    if (!inOrder) {
        long found = find(logicalIndex);
        if (found >= 0) return static_cast<std::size_t>(found);
        if (!outOfOrder()) {
            side().outOfOrder = true;
            side_->sortedCount = elements_.size();
        }
    }
    elements_.emplace_back();
    elements_.back().index = logicalIndex;
    connectedPositionsValid = false;
    const std::size_t position = elements_.size() - 1;
    if (!inOrder) side_->positions[logicalIndex] = position;
    return position;
}

void ArrayState::sortNow() const
{
    auto byIndex = [](const ElementState& a, const ElementState& b) { return a.index < b.index; };
    auto middle = elements_.begin() + static_cast<long>(side_->sortedCount);
    std::sort(middle, elements_.end(), byIndex);
    std::inplace_merge(elements_.begin(), middle, elements_.end(), byIndex);
    side_->outOfOrder = false;
    std::unordered_map<unsigned int, std::size_t>().swap(side_->positions);
    connectedPositionsValid = false;
}

const std::vector<ElementState>& ArrayState::ordered() const
{
    if (outOfOrder()) sortNow();
    return elements_;
}

void ArrayState::connectionsChanged(bool wasConnected, bool isConnected)
{
    connectedPositionsValid = false;
    if (isConnected && !wasConnected) ++connectedElements;
    if (!isConnected && wasConnected) --connectedElements;
}

bool ArrayState::connectedPosition(std::size_t n, std::size_t& position) const
{
    const std::vector<ElementState>& elements = ordered();
    if (connectedElements == elements.size()) {
        position = n;
        return n < elements.size();
    }
    std::vector<unsigned int>& positions = side().connectedPositions;
    if (!connectedPositionsValid) {
        positions.clear();
        for (std::size_t i = 0; i < elements.size(); ++i)
            if (connected(elements[i])) positions.push_back(static_cast<unsigned int>(i));
        connectedPositionsValid = true;
    }
    if (n >= positions.size()) return false;
    position = positions[n];
    return true;
}

AttributeSlot::~AttributeSlot()
{
    if (ArrayState* elements = array()) delete elements;
    else delete reinterpret_cast<Links*>(bits_);
}

Links* AttributeSlot::links() const
{
    if (ArrayState* elements = array()) return elements->links();
    return reinterpret_cast<Links*>(bits_);
}

Links& AttributeSlot::makeLinks()
{
    if (ArrayState* elements = array()) return elements->makeLinks();
    if (!bits_) bits_ = reinterpret_cast<std::uintptr_t>(new Links());
    return *reinterpret_cast<Links*>(bits_);
}

ArrayState& AttributeSlot::makeArray()
{
    if (ArrayState* elements = array()) return *elements;
    auto elements = std::make_unique<ArrayState>();
    if (bits_) elements->adoptLinks(std::unique_ptr<Links>(reinterpret_cast<Links*>(bits_)));
    bits_ = reinterpret_cast<std::uintptr_t>(elements.release()) | kArrayTag;
    return *array();
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
    // The type's value count holds while the node has its slots.
    const std::size_t valueCount = slotCount ? static_cast<std::size_t>(type->valueCount) : 0;
    for (std::size_t i = 0; i < valueCount; ++i) values()[i].~PlugText();
    for (std::size_t i = 0; i < slotCount; ++i) slots()[i].~AttributeSlot();
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
    return slot(attribute).makeArray();
}

PlugRead Node::read(int attribute, int index) const
{
    PlugRead state;
    if (!hasAttribute(attribute)) return state;
    const AttributeSlot& s = slot(attribute);
    if (index < 0) {
        state.value = const_cast<Node*>(this)->wholeValue(attribute);
        if (const Links* links = s.links()) {
            state.source = &links->source;
            state.destinations = &links->destinations;
        }
        return state;
    }
    const ArrayState* array = s.array();
    const long position = array ? array->find(static_cast<unsigned int>(index)) : -1;
    if (position < 0) return state;
    const ElementState& element = array->at(static_cast<std::size_t>(position));
    state.source = &element.source;
    if (const ElementExtra* more = array->extra(element)) {
        state.value = &more->value;
        state.destinations = &more->destinations;
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
    return array.at(array.findOrCreate(static_cast<unsigned int>(index)));
}

ElementExtra& extraOf(ArrayState& array, int index)
{
    return array.makeExtra(elementOf(array, index));
}

}  // namespace

PlugText* Node::writableValue(int attribute, int index)
{
    if (index < 0) return wholeValue(attribute);
    return &extraOf(arrayOf(attribute), index).value;
}

Endpoint& Node::sourceSlot(int attribute, int index)
{
    if (index < 0) return slot(attribute).makeLinks().source;
    return elementOf(arrayOf(attribute), index).source;
}

DestinationList& Node::destinationSlot(int attribute, int index)
{
    if (index < 0) return slot(attribute).makeLinks().destinations;
    return extraOf(arrayOf(attribute), index).destinations;
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

}  // namespace detail
}  // namespace dghost
