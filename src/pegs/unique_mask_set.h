#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace venuecheck {

// The distinct object masks of a grid, each with the number of cells that
// hold it. A grid can hold hundreds of thousands of distinct masks, and every
// run of covered water cells asks, so the set has two parts:
//
// - the table: masks below 2^18 (those of a peg's first 18 objects), each
//   with a counter of its own, in a table that grows up to the highest of
//   them seen while it stays dense: to a size of at most 16 entries for
//   every mask held, so that its memory follows the masks;
// - the hash set: every other mask, with open addressing. When the table
//   grows, the masks of the hash set that it then covers move into it.
//
// Both parts also list their masks in the order they came, so that emptying
// the set and counting the cells of each object bit cost what the masks held
// cost, not what the set has room for: a check run keeps one set for all its
// pegs, and a peg of a few hundred masks after one of thousands pays for its
// own.
class UniqueMaskSet {
public:
    // Masks below this may be counted in the table.
    static constexpr uint32_t kTableMasks = uint32_t{1} << 18;

    // Adds cells that hold a mask; true when the mask was not in the set yet.
    // A mask holds at most 2^32 - 1 cells.
    bool Add(uint32_t mask, uint32_t cells = 1);
    // Adds one cell of mask maskOf(i, place) for each i from 0 to count - 1,
    // in that order, in one loop with the table's figures kept at hand.
    // `place` is a std::integral_constant that takes the values 0, 1, 2 and
    // 3 in turn, starting again at 0 after a mask at or above the table's
    // size, so that the caller can keep four counters of its own and
    // neighbouring masks do not wait on each other's count.
    template <typename MaskOf>
    void AddEach(size_t count, MaskOf&& maskOf);

    // The number of distinct masks.
    size_t Count() const { return size_t{tableCount_} + hashMasks_.size(); }
    // The number of distinct masks in the hash set, beyond the table.
    size_t HashedCount() const { return hashMasks_.size(); }
    // The cells added with a mask; 0 when it is not in the set.
    uint32_t CellsOf(uint32_t mask) const;
    // Takes a mask out of the set; returns the cells it held.
    uint32_t Remove(uint32_t mask);
    // Empties the set, keeping its memory for the next grid.
    void Clear();

    // For each of the 32 bits, the cells of the masks that have it.
    std::array<uint64_t, 32> CellsOfEachBit() const;
    // Calls visit(mask, cells) for every mask in the set: those of the table
    // in the order they came, then those of the hash set.
    template <typename Visit>
    void ForEach(Visit&& visit) const;

    // Makes room for this many masks in the hash set, so that adding them
    // does not grow it again.
    void Reserve(size_t masks);
    // True when the hash set has outgrown the processor's nearer caches.
    bool BeyondCache() const { return capacity_ > (uint32_t{1} << 15); }
    // Asks the processor to fetch the slot of the hash set where a mask
    // would be searched first, ahead of adding it. Only for a set that has
    // slots (one that holds a mask beyond the table or has room reserved).
    void FetchSlot(uint32_t mask) const {
#if defined(__GNUC__)
        // Unconditional: GCC drops a prefetch that sits under a condition.
        __builtin_prefetch(slots_.data() + Home(mask), 1);
#else
        (void)mask;
#endif
    }

private:
    bool AddToTable(uint32_t mask, uint32_t cells) {
        uint32_t& held = table_[mask];
        const bool added = held == 0;
        // Written whether new or not, counted only when new: no branch.
        tableMasks_[tableCount_] = mask;
        tableCount_ += added ? 1 : 0;
        held += cells;
        tableCells_ += cells;
        tableEnd_ = std::max(tableEnd_, mask + 1);
        return added;
    }
    // Grows the table to hold the mask when it stays dense enough; false
    // when the mask is for the hash set.
    bool GrowTable(uint32_t mask);
    // The table's size: at most this many entries for every mask held.
    static constexpr size_t kEntriesPerMask = 16;
    static constexpr uint32_t kFirstTableSize = uint32_t{1} << 12;
    // True when the table's masks are so many among those below tableEnd_
    // that walking the table is cheaper than walking their list.
    bool TableIsDense() const {
        return size_t{tableCount_} * 8 >= tableEnd_;
    }
    // Adds the cells of the table to those of each value of the masks' low
    // three bytes, summed in blocks of 256 masks, which share their upper
    // bytes and hold every value of the lowest.
    template <typename Sum>
    void CountTableBlocks(std::array<std::array<uint64_t, 256>, 4>& bytes) const;

    bool AddToHashSet(uint32_t mask, uint32_t cells);
    // The bits of a mask mixed, all of them reaching the high bits that pick
    // a slot: masks are often single bits or runs of low numbers.
    static constexpr uint32_t Mix(uint32_t mask) {
        // The two halves of a 64-bit product with a constant below 2^31,
        // which the processor multiplies by directly.
        const uint64_t product = uint64_t{mask} * 0x5BD1E995u;
        return static_cast<uint32_t>(product >> 32) ^ static_cast<uint32_t>(product);
    }
    size_t Home(uint32_t mask) const {
        return static_cast<size_t>(Mix(mask) >> shift_);
    }
    // The slot of the mask, or the empty slot where it belongs.
    size_t Find(uint32_t mask) const {
        size_t i = Home(mask);
        while (slots_[i] != 0 && static_cast<uint32_t>(slots_[i] >> 32) != mask) {
            i = (i + 1) & (capacity_ - 1);
        }
        return i;
    }
    // True when the hash set's masks fill so much of it that walking its
    // slots is cheaper than looking each of them up.
    bool HashSetIsDense() const {
        return hashMasks_.size() * 4 >= capacity_;
    }
    void ClearHashSet();
    void Grow();
    void Rehash(uint32_t capacity);

    // The cells of each mask below the table's size (0 or a power of two from
    // kFirstTableSize up to kTableMasks); the masks in use all lie below tableEnd_ and are the
    // first tableCount_ of tableMasks_, which has one entry more than the
    // table has masks (a mask is written there before it is known to be
    // new).
    std::vector<uint32_t> table_;
    std::vector<uint32_t> tableMasks_;
    uint32_t tableCount_ = 0;
    uint32_t tableEnd_ = 0;
    uint64_t tableCells_ = 0;  // the cells of all the table's masks
    // Each slot holds mask << 32 | cells, 0 when empty (a mask is never
    // held without cells); the slots are capacity_, a power of two.
    std::vector<uint64_t> slots_;
    std::vector<uint32_t> hashMasks_;  // in the order they came
    uint32_t capacity_ = 0;
    int shift_ = 32;  // 32 - log2(capacity_)
};

inline bool UniqueMaskSet::Add(uint32_t mask, uint32_t cells) {
    if (cells == 0) return false;
    if (mask < table_.size()) [[likely]]
        return AddToTable(mask, cells);
    if (mask < kTableMasks && GrowTable(mask)) return AddToTable(mask, cells);
    return AddToHashSet(mask, cells);
}

inline bool UniqueMaskSet::AddToHashSet(uint32_t mask, uint32_t cells) {
    if (capacity_ == 0) Grow();
    size_t i = Find(mask);
    if (slots_[i] != 0) {
        slots_[i] += cells;
        return false;
    }
    if ((uint64_t{hashMasks_.size()} + 1) * 2 > capacity_) {
        Grow();
        i = Find(mask);
    }
    slots_[i] = uint64_t{mask} << 32 | cells;
    hashMasks_.push_back(mask);
    return true;
}

template <typename MaskOf>
void UniqueMaskSet::AddEach(size_t count, MaskOf&& maskOf) {
    using First = std::integral_constant<size_t, 0>;
    size_t i = 0;
    while (i < count) {
        // Locals, not members, while the masks fall in the table: the
        // compiler cannot tell the members from the table's counters.
        uint32_t* const table = table_.data();
        uint32_t* const listed = tableMasks_.data();
        const size_t size = table_.size();
        const size_t first = i;
        uint32_t added = tableCount_;
        uint32_t highest = 0;
        uint32_t other = 0;
        bool beyond = false;
        const auto add = [&](size_t at, auto place) {
            const uint32_t mask = maskOf(at, place);
            if (mask >= size) [[unlikely]] {
                other = mask;
                beyond = true;
                return false;
            }
            const uint32_t held = table[mask];
            listed[added] = mask;
            added += held == 0 ? 1 : 0;
            table[mask] = held + 1;
            highest = std::max(highest, mask);
            return true;
        };
        for (; i + 4 <= count; i += 4) {
            if (!add(i, First())) break;
            if (!add(i + 1, std::integral_constant<size_t, 1>())) {
                i += 1;
                break;
            }
            if (!add(i + 2, std::integral_constant<size_t, 2>())) {
                i += 2;
                break;
            }
            if (!add(i + 3, std::integral_constant<size_t, 3>())) {
                i += 3;
                break;
            }
        }
        // The last few, their places still in turn.
        if (!beyond && i < count && add(i, First())) {
            ++i;
            if (i < count && add(i, std::integral_constant<size_t, 1>())) {
                ++i;
                if (i < count && add(i, std::integral_constant<size_t, 2>())) ++i;
            }
        }
        tableCount_ = added;
        if (i > first) tableEnd_ = std::max(tableEnd_, highest + 1);
        tableCells_ += i - first;
        if (!beyond) break;
        // A mask beyond the table, which may grow it.
        Add(other);
        ++i;
    }
}

template <typename Visit>
void UniqueMaskSet::ForEach(Visit&& visit) const {
    for (uint32_t i = 0; i < tableCount_; ++i) visit(tableMasks_[i], table_[tableMasks_[i]]);
    for (const uint32_t mask : hashMasks_) visit(mask, static_cast<uint32_t>(slots_[Find(mask)]));
}

}  // namespace venuecheck
