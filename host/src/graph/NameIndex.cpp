// The scene's open-addressing table of nodes by name.

#include "graph/Graph.h"

#include <functional>
#include <string_view>

namespace dghost {
namespace detail {

namespace {

static_assert(sizeof(void*) == 8, "name index slots pack a 48-bit address with a hash tag");

constexpr unsigned kTagShift = 48;
constexpr std::uint64_t kAddressMask = (std::uint64_t(1) << kTagShift) - 1;

Node* nodeIn(std::uint64_t slot) { return reinterpret_cast<Node*>(slot & kAddressMask); }
std::uint64_t tagOf(std::uint64_t hash) { return hash >> kTagShift; }

}  // namespace

std::uint64_t NameIndex::hashOf(const char* name, std::size_t length)
{
    return std::hash<std::string_view>()(std::string_view(name, length));
}

std::uint64_t NameIndex::hashOf(const Node* node)
{
    return hashOf(node->name.c_str(), node->name.size());
}

Node* NameIndex::find(const std::string& name) const
{
    return find(std::string_view(name), hashOf(name.data(), name.size()));
}

Node* NameIndex::find(std::string_view name, std::uint64_t hash) const
{
    if (slots_.empty()) return nullptr;
    const std::uint64_t tag = tagOf(hash);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const std::uint64_t slot = slots_[i];
        if (!slot) return nullptr;
        if (tagOf(slot) == tag && nodeIn(slot)->name.size() == name.size() &&
            std::string_view(nodeIn(slot)->name.c_str(), name.size()) == name)
            return nodeIn(slot);
    }
}

void NameIndex::prefetch(std::uint64_t hash) const
{
    if (!slots_.empty()) __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
}

void NameIndex::place(Node* node, std::uint64_t hash)
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i]) i = (i + 1) & mask;
    slots_[i] = reinterpret_cast<std::uint64_t>(node) | (tagOf(hash) << kTagShift);
    ++size_;
}

void NameIndex::insert(Node* node)
{
    insert(node, hashOf(node));
}

void NameIndex::insert(Node* node, std::uint64_t hash)
{
    // Up to 80% full: probes stay short while a slot costs 10 bytes a node.
    if ((size_ + 1) * 5 > slots_.size() * 4) grow(slots_.empty() ? 16 : slots_.size() * 2);
    place(node, hash);
}

void NameIndex::erase(const std::string& name)
{
    if (slots_.empty()) return;
    const std::uint64_t hash = hashOf(name.data(), name.size());
    const std::size_t mask = slots_.size() - 1;
    std::size_t hole = hash & mask;
    while (slots_[hole] && !(tagOf(slots_[hole]) == tagOf(hash) && nodeIn(slots_[hole])->name == name))
        hole = (hole + 1) & mask;
    if (!slots_[hole]) return;
    slots_[hole] = 0;
    --size_;
    // Shift back every later entry of the run that may sit in the hole.
    for (std::size_t i = (hole + 1) & mask; slots_[i]; i = (i + 1) & mask) {
        const std::size_t want = hashOf(nodeIn(slots_[i])) & mask;
        const bool reachable = hole <= i ? (want <= hole || want > i) : (want <= hole && want > i);
        if (reachable) {
            slots_[hole] = slots_[i];
            slots_[i] = 0;
            hole = i;
        }
    }
}

void NameIndex::clear()
{
    slots_.clear();
    size_ = 0;
}

void NameIndex::reserve(std::size_t count)
{
    std::size_t capacity = slots_.empty() ? 16 : slots_.size();
    while (count * 5 > capacity * 4) capacity *= 2;
    if (capacity > slots_.size()) grow(capacity);
}

void NameIndex::grow(std::size_t capacity)
{
    // The new table is made before the old one is touched, so a failed
    // allocation loses no name.
    std::vector<std::uint64_t> old(capacity, 0);
    old.swap(slots_);
    size_ = 0;
    // Rehashing reads every node's name, each a cache miss in a large
    // scene: the names a few slots ahead are fetched while one is placed.
    constexpr std::size_t kAhead = 8;
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (i + kAhead < old.size() && old[i + kAhead])
            __builtin_prefetch(&nodeIn(old[i + kAhead])->name);
        if (old[i]) place(nodeIn(old[i]), hashOf(nodeIn(old[i])));
    }
}

}  // namespace detail
}  // namespace dghost
