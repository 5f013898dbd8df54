#ifndef DGHOST_GRAPH_NAME_INDEX_H
#define DGHOST_GRAPH_NAME_INDEX_H
// The scene's table of nodes by name.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dghost {
namespace detail {

struct Node;

// Nodes by name, holding no copy of the names: an open-addressing table
// of node pointers hashed by each node's own name (linear probing,
// deletion by shifting back, so no tombstones). A slot is 8 bytes: the
// node's address in its low 48 bits (all a user-space address uses on
// the 64-bit platforms this host builds for) and 16 bits of its name's
// hash above, so a probe reads a node only when those bits agree.
class NameIndex {
public:
    Node* find(const std::string& name) const;
    // The same with the name's hash (hashOf) already known.
    Node* find(std::string_view name, std::uint64_t hash) const;
    // Starts loading the slots where a name of this hash would be, for a
    // caller that knows which names it will look up soon.
    void prefetch(std::uint64_t hash) const;
    static std::uint64_t hashOf(const char* name, std::size_t length);
    // The node's name must not be in the index yet; `hash` is its hashOf.
    void insert(Node* node);
    void insert(Node* node, std::uint64_t hash);
    void erase(const std::string& name);
    // Room for `count` names without growing.
    void reserve(std::size_t count);
    std::size_t size() const { return size_; }
    void clear();

private:
    static std::uint64_t hashOf(const Node* node);
    void place(Node* node, std::uint64_t hash);
    void grow(std::size_t capacity);

    std::vector<std::uint64_t> slots_;   // 0: free; size is a power of two
    std::size_t size_ = 0;
};

}  // namespace detail
}  // namespace dghost

#endif
