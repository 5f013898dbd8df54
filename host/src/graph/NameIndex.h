#ifndef DGHOST_GRAPH_NAME_INDEX_H
#define DGHOST_GRAPH_NAME_INDEX_H
// The scene's table of nodes by name.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dghost {
namespace detail {

struct Node;

// Nodes by name, holding no copy of the names: an open-addressing table
// of node pointers hashed by each node's own name (linear probing,
// deletion by shifting back, so no tombstones). Each slot keeps its
// name's hash, so a probe reads a node only when the hashes agree.
class NameIndex {
public:
    Node* find(const std::string& name) const;
    // The node's name must not be in the index yet.
    void insert(Node* node);
    void erase(const std::string& name);
    std::size_t size() const { return size_; }
    void clear();

private:
    static std::uint32_t hashOf(const std::string& name);
    void place(Node* node, std::uint32_t hash);
    void grow();

    std::vector<Node*> slots_;            // null: free; size is a power of two
    std::vector<std::uint32_t> hashes_;   // parallel to slots_
    std::size_t size_ = 0;
};

}  // namespace detail
}  // namespace dghost

#endif
