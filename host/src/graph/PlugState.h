#ifndef DGHOST_GRAPH_PLUG_STATE_H
#define DGHOST_GRAPH_PLUG_STATE_H
// How a node stores its plugs: string values, connections and array
// elements, packed for size. The rules over this storage are in Graph.h;
// read this file only to change how plugs are kept.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace dghost {
namespace detail {

struct Node;

// One end of a connection: a node's attribute, an element of it (index >= 0)
// or the whole attribute (index -1).
struct Endpoint {
    Node* node = nullptr;
    int attribute = -1;
    int index = -1;

    bool operator==(const Endpoint& o) const
    {
        return node == o.node && attribute == o.attribute && index == o.index;
    }
};

// The string value of a plug, or a node's name, in 16 bytes: up to 15
// bytes in place (most values are short: tags, numbers, names), longer
// ones on the heap. In place, the last byte holds 15 minus the size, which
// is the terminating NUL when all 15 are used.
class PlugText {
public:
    PlugText() { setInline(0); }
    ~PlugText() { freeHeap(); }
    PlugText(const PlugText&) = delete;
    PlugText& operator=(const PlugText&) = delete;

    const char* c_str() const { return onHeap() ? heapData() : storage_; }
    std::size_t size() const
    {
        if (!onHeap()) return 15 - static_cast<std::size_t>(storage_[15]);
        std::uint32_t length = 0;
        std::memcpy(&length, storage_ + sizeof(char*), sizeof length);
        return length;
    }
    bool empty() const { return size() == 0; }
    void assign(const char* text, std::size_t length);
    PlugText& operator=(const std::string& text)
    {
        assign(text.data(), text.size());
        return *this;
    }
    std::string str() const { return std::string(c_str(), size()); }
    bool operator==(const std::string& text) const
    {
        return size() == text.size() && std::memcmp(c_str(), text.data(), text.size()) == 0;
    }
    bool operator!=(const std::string& text) const { return !(*this == text); }

private:
    static constexpr char kHeapTag = static_cast<char>(0x80);
    bool onHeap() const { return storage_[15] == kHeapTag; }
    char* heapData() const
    {
        char* data = nullptr;
        std::memcpy(&data, storage_, sizeof data);
        return data;
    }
    void setInline(std::size_t length);
    void freeHeap();

    // In place: the bytes. On the heap: pointer, 32-bit size, tag last.
    char storage_[16];
};

// The outgoing connections of one plug, in the order they were made. One
// is held in place: most plugs that feed anything feed a single plug.
class DestinationList {
public:
    DestinationList() : one_() {}
    ~DestinationList();
    DestinationList(const DestinationList&) = delete;
    DestinationList& operator=(const DestinationList&) = delete;

    const Endpoint* begin() const { return capacity_ > 1 ? many_ : &one_; }
    const Endpoint* end() const { return begin() + size_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void push_back(const Endpoint& end);
    // Removes the first equal endpoint; false when there is none.
    bool erase(const Endpoint& end);

private:
    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = 1;
    union {
        Endpoint one_;
        Endpoint* many_;
    };
};

// The connections of a plug that is no array element: made on its first
// connection and kept while the node lives.
struct Links {
    Endpoint source;   // node null: no incoming connection
    DestinationList destinations;

    bool connected() const { return source.node || !destinations.empty(); }
};

// The value and outgoing connections of an array element, made when
// first needed (most elements only receive one connection).
struct ElementExtra {
    PlugText value;
    DestinationList destinations;
};

// One element of an array plug, in 24 bytes: its value and outgoing
// connections, when it has any, are kept by the array (see ArrayState).
struct ElementState {
    Endpoint source;          // node null: no incoming connection
    unsigned int index = 0;   // logical index
    std::uint32_t extra = 0;  // 1 + its place among the array's extras; 0: none
};

// The elements of one array plug of one node, made on the first element.
// Elements made in ascending order are appended and stay sorted. Others
// are appended too and found through a side table until something asks
// for the order; then the run is sorted once. So any insertion order costs
// O(n log n), where a vector kept sorted on every insert costs O(n^2).
class ArrayState {
public:
    // The connections of the array plug as a whole, or null.
    Links* links() const { return side_ ? side_->links.get() : nullptr; }
    Links& makeLinks();
    // Takes over the links the plug had before its first element.
    void adoptLinks(std::unique_ptr<Links> links);
    // An element's value and outgoing connections, or null.
    const ElementExtra* extra(const ElementState& element) const
    {
        return element.extra ? side_->extras[element.extra - 1].get() : nullptr;
    }
    ElementExtra& makeExtra(ElementState& element);
    // Whether the element has a connection either way.
    bool connected(const ElementState& element) const
    {
        const ElementExtra* more = extra(element);
        return element.source.node || (more && !more->destinations.empty());
    }

    // Position of the logical index, or -1. Positions hold until the next
    // element is made or the order is asked for.
    long find(unsigned int logicalIndex) const;
    // Position of the logical index, creating the element when missing.
    std::size_t findOrCreate(unsigned int logicalIndex);
    ElementState& at(std::size_t position) { return elements_[position]; }
    const ElementState& at(std::size_t position) const { return elements_[position]; }
    std::size_t size() const { return elements_.size(); }
    // The elements in ascending logical order (position = physical index).
    const std::vector<ElementState>& ordered() const;

    // Physical position of the n-th connected element; false past the last.
    bool connectedPosition(std::size_t n, std::size_t& position) const;
    std::size_t numConnected() const { return connectedElements; }
    // Called after an element's connections changed.
    void connectionsChanged(bool wasConnected, bool isConnected);

private:
    void sortNow() const;

    // What only some arrays need, made on first need (an array costs one
    // pointer for it otherwise).
    struct Side {
        std::unique_ptr<Links> links;
        std::vector<std::unique_ptr<ElementExtra>> extras;
        // Positions of the connected elements, rebuilt lazily after a
        // change; not used while every element is connected.
        std::vector<unsigned int> connectedPositions;
        // While some elements are out of order: how many at the front are
        // in order, and where each later one is.
        bool outOfOrder = false;
        std::size_t sortedCount = 0;
        std::unordered_map<unsigned int, std::size_t> positions;
    };
    bool outOfOrder() const { return side_ && side_->outOfOrder; }
    Side& side() const;

    mutable std::vector<ElementState> elements_;
    mutable std::unique_ptr<Side> side_;
    std::uint32_t connectedElements = 0;
    mutable bool connectedPositionsValid = false;
};

// The state of one attribute of one node besides its string value, in one
// pointer: nothing, the plug's Links, or (tagged in the low bit) the
// ArrayState of its elements, which then also holds the plug's Links. Most
// attributes of most nodes are never connected, so a node pays 8 bytes per
// attribute rather than one pointer per kind of state.
class AttributeSlot {
public:
    AttributeSlot() = default;
    ~AttributeSlot();
    AttributeSlot(const AttributeSlot&) = delete;
    AttributeSlot& operator=(const AttributeSlot&) = delete;

    // The plug's own connections, or null when it never had any.
    Links* links() const;
    // The elements, or null when none was ever made.
    ArrayState* array() const { return isArray() ? reinterpret_cast<ArrayState*>(bits_ & ~kArrayTag) : nullptr; }
    // Both made when missing.
    Links& makeLinks();
    ArrayState& makeArray();

private:
    static constexpr std::uintptr_t kArrayTag = 1;
    bool isArray() const { return (bits_ & kArrayTag) != 0; }

    std::uintptr_t bits_ = 0;
};

// A plug's state wherever it is stored, for reading: null parts are empty.
struct PlugRead {
    const PlugText* value = nullptr;
    const Endpoint* source = nullptr;      // null or a node-null endpoint: none
    const DestinationList* destinations = nullptr;

    bool hasSource() const { return source && source->node; }
    bool connected() const { return hasSource() || (destinations && !destinations->empty()); }
};

}  // namespace detail
}  // namespace dghost

#endif
