// The scene's open-addressing table of nodes by name.

#include "graph/Graph.h"

#include <functional>

namespace dghost {
namespace detail {

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

}  // namespace detail
}  // namespace dghost
