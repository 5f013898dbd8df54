#ifndef DENDRINE_TREE_NAME_TABLE_H
#define DENDRINE_TREE_NAME_TABLE_H
// Distinct names, each numbered in the order it was first inserted: the
// set of scene nodes a walk has met, keyed by their unique scene names.
// One table of 8-byte slots and one block of name bytes, where a
// node-based set makes an allocation per name and reads it on every probe;
// a walk over a scene of millions of nodes spent a quarter of its time
// there. Names are never removed: for a set that shrinks, use another.
// Holds fewer than 2^32 names (a scene holds far fewer nodes).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class NameTable
{
public:
    static constexpr std::size_t npos = ~std::size_t(0);

    // The name's number, and whether this call inserted it.
    std::pair<std::size_t, bool> insert(std::string_view name);
    // The name's number, or npos.
    std::size_t find(std::string_view name) const;
    std::size_t size() const { return entries_.size(); }
    // Room for `count` names in all without growing: for a caller that knows
    // how many are coming (a walk that has just listed a node's children).
    void reserve(std::size_t count);

private:
    struct Entry {
        std::size_t offset;  // into bytes_
        std::size_t length;
    };

    // The slot holding `name`, or the free slot where it would go.
    std::size_t slotOf(std::string_view name, std::uint64_t hash) const;
    std::string_view nameAt(std::size_t number) const;
    void rehash(std::size_t slotCount);

    // 0: free; otherwise the hash's upper 32 bits above the number + 1.
    std::vector<std::uint64_t> slots_;
    std::vector<Entry> entries_;
    std::string bytes_;
};

#endif
