#include "pegs/unique_mask_set.h"

#include <bit>
#include <limits>
#include <new>
#include <utility>

namespace venuecheck {

uint32_t UniqueMaskSet::CellsOf(uint32_t mask) const {
    if (mask < table_.size()) return table_[mask];
    if (slots_.empty()) return 0;
    return static_cast<uint32_t>(slots_[Find(mask)]);
}

bool UniqueMaskSet::GrowTable(uint32_t mask) {
    // 16 KiB at first, which holds the masks of a peg's first 12 objects.
    const uint32_t size = std::max(kFirstTableSize, std::bit_ceil(mask + 1));
    if (size > kFirstTableSize && size > kEntriesPerMask * (Count() + 1)) return false;
    table_.resize(size, 0);
    tableMasks_.resize(size + 1, 0);
    // The masks of the hash set that the table now covers move into it; the
    // hash set is built again from those left.
    if (hashMasks_.empty() || std::none_of(hashMasks_.begin(), hashMasks_.end(),
                                           [size](uint32_t m) { return m < size; })) {
        return true;
    }
    std::vector<uint64_t> held;
    held.reserve(hashMasks_.size());
    for (const uint32_t hashed : hashMasks_) held.push_back(slots_[Find(hashed)]);
    ClearHashSet();
    for (const uint64_t slot : held) {
        const auto moved = static_cast<uint32_t>(slot >> 32);
        const auto cells = static_cast<uint32_t>(slot);
        if (moved < size) {
            AddToTable(moved, cells);
        } else {
            slots_[Find(moved)] = slot;
            hashMasks_.push_back(moved);
        }
    }
    return true;
}

uint32_t UniqueMaskSet::Remove(uint32_t mask) {
    // The mask is looked for in its list from the start: a grid takes out
    // only mask 0, which comes early.
    const auto unlist = [mask](auto first, auto last) {
        const auto at = std::find(first, last, mask);
        std::move(at + 1, last, at);
    };
    if (mask < table_.size()) {
        if (table_[mask] == 0) return 0;
        unlist(tableMasks_.begin(), tableMasks_.begin() + tableCount_);
        --tableCount_;
        tableCells_ -= table_[mask];
        return std::exchange(table_[mask], 0);
    }
    if (slots_.empty()) return 0;
    size_t hole = Find(mask);
    const uint64_t removed = slots_[hole];
    if (removed == 0) return 0;
    slots_[hole] = 0;
    unlist(hashMasks_.begin(), hashMasks_.end());
    hashMasks_.pop_back();
    // Moves back every later mask of the cluster whose home does not lie
    // between the hole and its slot, so that no search stops short of it.
    const size_t last = size_t{capacity_} - 1;
    for (size_t i = (hole + 1) & last; slots_[i] != 0; i = (i + 1) & last) {
        const size_t home = Home(static_cast<uint32_t>(slots_[i] >> 32));
        const bool reachable = hole <= i ? (hole < home && home <= i) : (hole < home || home <= i);
        if (reachable) continue;
        slots_[hole] = slots_[i];
        slots_[i] = 0;
        hole = i;
    }
    return static_cast<uint32_t>(removed);
}

void UniqueMaskSet::Clear() {
    if (TableIsDense()) {
        std::fill_n(table_.begin(), tableEnd_, uint32_t{0});
    } else {
        for (uint32_t i = 0; i < tableCount_; ++i) table_[tableMasks_[i]] = 0;
    }
    tableCount_ = 0;
    tableEnd_ = 0;
    tableCells_ = 0;
    ClearHashSet();
}

void UniqueMaskSet::ClearHashSet() {
    if (HashSetIsDense()) {
        std::fill(slots_.begin(), slots_.end(), uint64_t{0});
    } else {
        // Every slot found before any is emptied: an empty slot ends the
        // search for the masks after it.
        std::vector<uint32_t>& at = hashMasks_;
        for (uint32_t& mask : at) mask = static_cast<uint32_t>(Find(mask));
        for (const uint32_t slot : at) slots_[slot] = 0;
    }
    hashMasks_.clear();
}

template <typename Sum>
void UniqueMaskSet::CountTableBlocks(std::array<std::array<uint64_t, 256>, 4>& bytes) const {
    std::array<Sum, 256> low{};
    for (size_t block = 0; block * 256 < tableEnd_; ++block) {
        const uint32_t* cells = table_.data() + block * 256;
        Sum sum = 0;
        for (size_t value = 0; value < 256; ++value) {
            low[value] += cells[value];
            sum += cells[value];
        }
        bytes[1][block & 0xFF] += sum;
        bytes[2][block >> 8] += sum;
    }
    for (size_t value = 0; value < 256; ++value) bytes[0][value] += low[value];
}

std::array<uint64_t, 32> UniqueMaskSet::CellsOfEachBit() const {
    // The cells of each value of each byte of the masks, then of each bit
    // from those.
    std::array<std::array<uint64_t, 256>, 4> bytes{};
    const auto addMask = [&bytes](uint32_t mask, uint32_t cells) {
        for (size_t byte = 0; byte < 4; ++byte) bytes[byte][(mask >> (8 * byte)) & 0xFF] += cells;
    };
    if (!TableIsDense()) {
        for (uint32_t i = 0; i < tableCount_; ++i) addMask(tableMasks_[i], table_[tableMasks_[i]]);
    } else if (tableCells_ <= std::numeric_limits<uint32_t>::max()) {
        // Sums that cannot pass the table's total are added in 32 bits, four
        // at a time.
        CountTableBlocks<uint32_t>(bytes);
    } else {
        CountTableBlocks<uint64_t>(bytes);
    }

    if (!HashSetIsDense()) {
        for (const uint32_t mask : hashMasks_) {
            addMask(mask, static_cast<uint32_t>(slots_[Find(mask)]));
        }
    } else {
        // The slots in use gathered a chunk at a time without a branch on
        // each slot: about half of them are empty, in no order that the
        // processor can foresee.
        std::array<uint64_t, 1024> held;
        for (size_t start = 0; start < slots_.size(); start += held.size()) {
            const size_t end = std::min(slots_.size(), start + held.size());
            size_t count = 0;
            for (size_t i = start; i < end; ++i) {
                held[count] = slots_[i];
                count += slots_[i] != 0 ? 1 : 0;
            }
            for (size_t i = 0; i < count; ++i) {
                addMask(static_cast<uint32_t>(held[i] >> 32), static_cast<uint32_t>(held[i]));
            }
        }
    }

    std::array<uint64_t, 32> bits{};
    for (size_t byte = 0; byte < 4; ++byte) {
        for (uint32_t value = 1; value < 256; ++value) {
            for (uint32_t rest = value; rest != 0; rest &= rest - 1) {
                bits[8 * byte + static_cast<size_t>(std::countr_zero(rest))] += bytes[byte][value];
            }
        }
    }
    return bits;
}

void UniqueMaskSet::Grow() {
    // At most 2^30 masks: a grid of more distinct masks (a file of 7.5 GB)
    // is treated as one that memory cannot hold.
    if (capacity_ >= (uint32_t{1} << 31)) throw std::bad_alloc();
    Rehash(std::max<uint32_t>(1024, capacity_ * 2));
}

void UniqueMaskSet::Reserve(size_t masks) {
    if (masks > (size_t{1} << 30)) masks = size_t{1} << 30;
    const auto capacity = std::bit_ceil(static_cast<uint32_t>(std::max<size_t>(masks, 512) * 2));
    if (capacity > capacity_) Rehash(capacity);
    hashMasks_.reserve(masks);
}

void UniqueMaskSet::Rehash(uint32_t capacity) {
    std::vector<uint64_t> old(capacity, 0);
    std::swap(slots_, old);
    capacity_ = capacity;
    shift_ = 32 - std::countr_zero(capacity_);
    for (const uint64_t slot : old) {
        if (slot != 0) slots_[Find(static_cast<uint32_t>(slot >> 32))] = slot;
    }
}

}  // namespace venuecheck
