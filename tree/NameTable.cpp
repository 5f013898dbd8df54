#include "tree/NameTable.h"

#include <algorithm>
#include <functional>

namespace {

constexpr std::uint64_t kNumberBits = 32;
constexpr std::uint64_t kNumberMask = (std::uint64_t{1} << kNumberBits) - 1;

std::uint64_t hashOf(std::string_view name)
{
    return std::hash<std::string_view>()(name);
}

std::uint64_t tagOf(std::uint64_t hash)
{
    return hash & ~kNumberMask;
}

}  // namespace

std::string_view NameTable::nameAt(std::size_t number) const
{
    const Entry& entry = entries_[number];
    return std::string_view(bytes_).substr(entry.offset, entry.length);
}

// Linear probing over a power-of-two table at most half full. A slot whose
// tag differs is passed over without reading any name.
std::size_t NameTable::slotOf(std::string_view name, std::uint64_t hash) const
{
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const std::uint64_t slot = slots_[at];
        if (slot == 0)
            return at;
        if (tagOf(slot) == tagOf(hash) && nameAt((slot & kNumberMask) - 1) == name)
            return at;
    }
}

std::size_t NameTable::find(std::string_view name) const
{
    if (slots_.empty())
        return npos;
    const std::uint64_t slot = slots_[slotOf(name, hashOf(name))];
    return slot == 0 ? npos : static_cast<std::size_t>((slot & kNumberMask) - 1);
}

std::pair<std::size_t, bool> NameTable::insert(std::string_view name)
{
    if ((entries_.size() + 1) * 2 > slots_.size())
        rehash(slots_.empty() ? 64 : slots_.size() * 2);
    const std::uint64_t hash = hashOf(name);
    const std::size_t at = slotOf(name, hash);
    if (slots_[at] != 0)
        return {static_cast<std::size_t>((slots_[at] & kNumberMask) - 1), false};
    const std::size_t number = entries_.size();
    entries_.push_back(Entry{bytes_.size(), name.size()});
    bytes_.append(name);
    slots_[at] = tagOf(hash) | (number + 1);
    return {number, true};
}

void NameTable::reserve(std::size_t count)
{
    std::size_t slotCount = slots_.empty() ? 64 : slots_.size();
    while (slotCount < count * 2)
        slotCount *= 2;
    if (slotCount > slots_.size())
        rehash(slotCount);
    // Grown at least twofold, so that reserving a few more again and again
    // (a walk down a chain) costs no more than appending.
    if (count > entries_.capacity())
        entries_.reserve(std::max(count, 2 * entries_.capacity()));
}

// Makes the table `slotCount` slots large (a power of two) and places
// every name again from its entry.
void NameTable::rehash(std::size_t slotCount)
{
    std::vector<std::uint64_t> old;
    old.swap(slots_);
    slots_.assign(slotCount, 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::uint64_t slot : old) {
        if (slot == 0)
            continue;
        const std::uint64_t hash = hashOf(nameAt((slot & kNumberMask) - 1));
        std::size_t at = hash & mask;
        while (slots_[at] != 0)
            at = (at + 1) & mask;
        slots_[at] = slot;
    }
}
