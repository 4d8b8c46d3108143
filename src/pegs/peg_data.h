#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace venuecheck {

class GameFolder;
struct PegRecord;

// A peg data file, all numbers little-endian: a table of 32 object slots of
// 13 bytes (a slot whose first byte is not zero is in use), cell height, cell
// width and two unused 16-bit words, then the grid of 7-byte cells (32-bit
// object mask, depth byte, two unused bytes). The grid always spans 480
// units: a row holds 480 / cell width cells, and the rows are as many as the
// file's length gives.
inline constexpr size_t kObjectSlots = 32;
inline constexpr size_t kObjectSlotSize = 13;
inline constexpr size_t kObjectTableSize = kObjectSlots * kObjectSlotSize;  // 416
inline constexpr size_t kPegDataHeaderSize = kObjectTableSize + 8;          // 424
inline constexpr size_t kPegCellSize = 7;
inline constexpr int kPegGridWidth = 480;

struct PegCell {
    uint32_t mask = 0;  // bit i set: object i is placed in the cell
    uint8_t depth = 0;  // 0: no water; else the depth in steps of the peg's DPRatio
};

struct PegData;
PegData ReadPegData(std::string bytes);

// The grid of one peg data file. It keeps the file's bytes and reads the
// cells where they lie, so a large grid is held once.
class PegDataGrid {
public:
    int32_t CellsPerRow() const { return cellsPerRow_; }
    int32_t Rows() const { return rows_; }
    size_t CellCount() const { return static_cast<size_t>(cellsPerRow_) * rows_; }

    // The cell at an index below CellCount(). The row count is worked out
    // from 4 bytes before the grid's start, so the last cell may run past the
    // end of the file: its missing bytes read as zero.
    PegCell Cell(size_t index) const;

    // Calls visit(PegCell) for every cell in file order.
    template <typename Visit>
    void ForEachCell(Visit&& visit) const;

    // The bytes of the cells as the file holds them, which may end up to 4
    // bytes short of CellCount() cells.
    std::string_view StoredCells() const {
        return std::string_view(bytes_).substr(kPegDataHeaderSize);
    }

private:
    friend PegData ReadPegData(std::string bytes);
    PegDataGrid(std::string bytes, int32_t cellsPerRow, int32_t rows)
        : bytes_(std::move(bytes)), cellsPerRow_(cellsPerRow), rows_(rows) {}

    static PegCell Decode(const unsigned char* cell) {
        return PegCell{static_cast<uint32_t>(cell[0]) | static_cast<uint32_t>(cell[1]) << 8 |
                           static_cast<uint32_t>(cell[2]) << 16 |
                           static_cast<uint32_t>(cell[3]) << 24,
                       cell[4]};
    }

    std::string bytes_;  // the whole file; the cells start at kPegDataHeaderSize
    int32_t cellsPerRow_ = 0;
    int32_t rows_ = 0;
};

// What a peg data file gave.
struct PegData {
    // True when the file held the whole object table.
    bool objectTableRead = false;
    // Object-table slots in use; 0 when the table could not be read.
    int32_t addedObjects = 0;
    // The grid; none when the file could not be opened or holds no grid that
    // can be laid out: shorter than 424 bytes, a cell height of 0, a cell
    // width below 1 (no row) or above 480 (no whole cell in a row).
    std::optional<PegDataGrid> grid;
};

// Reads a peg data file from its bytes.
PegData ReadPegData(std::string bytes);

// Reads the peg data file that a peg's Data value names, straight from the
// file system: an archive path, a missing file or a folder cannot be opened.
PegData ReadPegData(const GameFolder& folder, std::string_view path);

// The distinct object masks of a grid, each with the number of cells that
// hold it. The masks of a peg's first 18 objects (below 2^18) are counted in
// a table with a counter for each, which grows up to the highest of them
// seen; the others in a hash set with open addressing. A grid can hold
// hundreds of thousands of distinct masks, and every run of covered water
// cells asks.
class UniqueMaskSet {
public:
    // Masks below this are counted in the table.
    static constexpr uint32_t kTableMasks = uint32_t{1} << 18;

    // Adds cells that hold a mask; true when the mask was not in the set yet.
    // A mask holds at most 2^32 - 1 cells.
    bool Add(uint32_t mask, uint32_t cells = 1);
    // The number of distinct masks.
    size_t Count() const { return size_t{tableCount_} + hashCount_; }
    // The number of distinct masks at or above kTableMasks.
    size_t HashedCount() const { return hashCount_; }
    void Clear();
    // The cells added with a mask; 0 when it is not in the set.
    uint32_t CellsOf(uint32_t mask) const;
    // Takes a mask out of the set; returns the cells it held.
    uint32_t Remove(uint32_t mask);
    // Adds one cell of mask maskOf(i, place) for each i from 0 to count - 1,
    // in that order, in one loop with the table's figures kept at hand.
    // `place` is a std::integral_constant that takes the values 0, 1, 2 and
    // 3 in turn, starting again at 0 after a mask at or above the table's
    // size, so that the caller can keep four counters of its own and
    // neighbouring masks do not wait on each other's count.
    template <typename MaskOf>
    void AddEach(size_t count, MaskOf&& maskOf);
    // Makes room for this many masks at or above kTableMasks, so that adding
    // them does not grow the hash set again.
    void Reserve(size_t masks);
    // For each of the 32 bits, the cells of the masks that have it.
    std::array<uint64_t, 32> CellsOfEachBit() const;
    // Calls visit(mask, cells) for every mask in the set, in no set order.
    template <typename Visit>
    void ForEach(Visit&& visit) const;

    // The bits of a mask mixed, all of them reaching the high bits that pick
    // a slot: masks are often single bits or runs of low numbers.
    static constexpr uint32_t Mix(uint32_t mask) {
        // The two halves of a 64-bit product with a constant below 2^31,
        // which the processor multiplies by directly.
        const uint64_t product = uint64_t{mask} * 0x5BD1E995u;
        return static_cast<uint32_t>(product >> 32) ^ static_cast<uint32_t>(product);
    }

    // True when the hash set has outgrown the processor's nearer caches.
    bool BeyondCache() const { return capacity_ > (uint32_t{1} << 15); }
    // Asks the processor to fetch the slot of the hash set where a mask
    // would be searched first, ahead of adding it. Only for a set that has
    // slots (one that holds a mask at or above kTableMasks or has room
    // reserved).
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
        tableCount_ += added ? 1 : 0;
        held += cells;
        tableCells_ += cells;
        tableEnd_ = std::max(tableEnd_, mask + 1);
        return added;
    }
    bool AddToHashSet(uint32_t mask, uint32_t cells);
    void GrowTable(uint32_t mask);
    // Adds the cells of the table to those of each value of the masks' low
    // three bytes, summed in blocks of 256 masks, which share their upper
    // bytes and hold every value of the lowest.
    template <typename Sum>
    void CountTableBytes(std::array<std::array<uint64_t, 256>, 4>& bytes) const;

    size_t Home(uint32_t mask) const { return static_cast<size_t>(Mix(mask) >> shift_); }
    // The slot of the mask, or the empty slot where it belongs.
    size_t Find(uint32_t mask) const {
        size_t i = Home(mask);
        while (slots_[i] != 0 && static_cast<uint32_t>(slots_[i] >> 32) != mask) {
            i = (i + 1) & (capacity_ - 1);
        }
        return i;
    }
    void Grow();
    void Rehash(uint32_t capacity);

    // The cells of each mask below the table's size (a power of two up to
    // kTableMasks); the masks in use all lie below tableEnd_.
    std::vector<uint32_t> table_;
    uint32_t tableEnd_ = 0;
    uint32_t tableCount_ = 0;
    uint64_t tableCells_ = 0;  // the cells of all the table's masks
    // Each slot holds mask << 32 | cells, 0 when empty (a mask is never
    // held without cells); the slots are capacity_, a power of two.
    std::vector<uint64_t> slots_;
    uint32_t capacity_ = 0;
    int shift_ = 32;  // 32 - log2(capacity_)
    uint32_t hashCount_ = 0;
};

inline bool UniqueMaskSet::Add(uint32_t mask, uint32_t cells) {
    if (cells == 0) return false;
    if (mask < table_.size()) [[likely]] return AddToTable(mask, cells);
    if (mask < kTableMasks) {
        GrowTable(mask);
        return AddToTable(mask, cells);
    }
    return AddToHashSet(mask, cells);
}

inline bool UniqueMaskSet::AddToHashSet(uint32_t mask, uint32_t cells) {
    if (capacity_ == 0) Grow();
    size_t i = Find(mask);
    if (slots_[i] != 0) {
        slots_[i] += cells;
        return false;
    }
    if ((uint64_t{hashCount_} + 1) * 2 > capacity_) {
        Grow();
        i = Find(mask);
    }
    slots_[i] = uint64_t{mask} << 32 | cells;
    ++hashCount_;
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

// The figures of one peg data file.
struct PegAnalysis {
    int32_t addedObjects = 0;                // object-table slots in use
    int32_t waterCells = 0;                  // cells with a depth other than 0
    float averageDepth = 0.0f;               // inches
    float shallowest = 0.0f;                 // inches
    float deepest = 0.0f;                    // inches
    std::array<int32_t, 255> depthCounts{};  // water cells of depth 1..255, at depth - 1
    std::array<int32_t, 32> objectCounts{};  // water cells whose mask has bit i
    int32_t usedObjects = 0;                 // object bits found in a water cell
    int32_t bareCells = 0;                   // water cells without any object
    UniqueMaskSet uniqueMasks;               // distinct masks of the covered water cells

    // Sets every figure to zero and empties the masks, keeping their memory
    // for the next grid.
    void Clear();
};

// Recomputes every figure but the added objects from the grid, with the
// peg's DPRatio; returns the average depth.
float AnalysePegData(const PegDataGrid& grid, const PegRecord& peg, PegAnalysis& analysis);

// What reading a peg data file piece by piece gave.
struct PegDataOutline {
    bool objectTableRead = false;  // as PegData
    int32_t addedObjects = 0;      // as PegData
    bool analysed = false;         // the file held a grid and it was analysed
    int32_t cellsPerRow = 0;
    int32_t rows = 0;
};

// ReadPegData of the file and, when it holds a grid, AnalysePegData (which
// sets every figure but the added objects), with the grid read and counted a
// piece at a time instead of held whole.
PegDataOutline AnalysePegDataFile(const GameFolder& folder, std::string_view path,
                                  const PegRecord& peg, PegAnalysis& analysis);

// The share of the 255 depth values that occur in the grid, from 0 to 1.
float DepthCoverage(const PegAnalysis& analysis);

template <typename Visit>
void UniqueMaskSet::ForEach(Visit&& visit) const {
    for (uint32_t mask = 0; mask < tableEnd_; ++mask) {
        if (table_[mask] != 0) visit(mask, table_[mask]);
    }
    for (const uint64_t slot : slots_) {
        if (slot != 0) visit(static_cast<uint32_t>(slot >> 32), static_cast<uint32_t>(slot));
    }
}

template <typename Visit>
void PegDataGrid::ForEachCell(Visit&& visit) const {
    const size_t cells = CellCount();
    const size_t stored = (bytes_.size() - kPegDataHeaderSize) / kPegCellSize;
    const size_t whole = cells < stored ? cells : stored;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes_.data()) + kPegDataHeaderSize;
    for (size_t i = 0; i < whole; ++i) visit(Decode(data + i * kPegCellSize));
    for (size_t i = whole; i < cells; ++i) visit(Cell(i));
}

}  // namespace venuecheck
