#include "pegs/peg_data.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <utility>

#include "common/file_services.h"
#include "common/game_folder.h"
#include "common/host_file.h"
#include "pegs/peg_catalogue.h"

namespace venuecheck {
namespace {

int16_t ReadInt16(std::string_view bytes, size_t offset) {
    const auto low = static_cast<unsigned char>(bytes[offset]);
    const auto high = static_cast<unsigned char>(bytes[offset + 1]);
    return static_cast<int16_t>(static_cast<uint16_t>(low | high << 8));
}

// 1/255 as the game holds it, in single precision.
constexpr float kOneDepthValue = 0.003921569f;

}  // namespace

PegCell PegDataGrid::Cell(size_t index) const {
    unsigned char cell[kPegCellSize] = {};
    const size_t offset = kPegDataHeaderSize + index * kPegCellSize;
    if (offset < bytes_.size()) {
        const size_t available = std::min(kPegCellSize, bytes_.size() - offset);
        std::copy_n(bytes_.data() + offset, available, reinterpret_cast<char*>(cell));
    }
    return Decode(cell);
}

namespace {

// The layout that a peg data file's first bytes and its length give.
struct Layout {
    bool objectTableRead = false;
    int32_t addedObjects = 0;
    bool grid = false;
    int32_t cellsPerRow = 0;
    int32_t rows = 0;
};

// `head` holds the file's first bytes, up to the start of the grid.
Layout ReadLayout(std::string_view head, uint64_t length) {
    Layout layout;
    if (length < kObjectTableSize || head.size() < kObjectTableSize) return layout;
    layout.objectTableRead = true;
    for (size_t slot = 0; slot < kObjectSlots; ++slot) {
        if (head[slot * kObjectSlotSize] != 0) ++layout.addedObjects;
    }
    if (length < kPegDataHeaderSize || head.size() < kPegDataHeaderSize) return layout;

    const int16_t cellHeight = ReadInt16(head, kObjectTableSize);
    const int16_t cellWidth = ReadInt16(head, kObjectTableSize + 2);
    // A width of 0 or below gives no row to divide by, one above 480 no
    // whole cell in a row.
    if (cellHeight == 0 || cellWidth < 1 || cellWidth > kPegGridWidth) return layout;

    const int32_t cellsPerRow = kPegGridWidth / cellWidth;
    // The game counts the rows from offset 420, not 424: a file of exactly
    // 424 + 7 * cells bytes gives that many cells, and a file up to 4 bytes
    // short of it still does (its last cell is cut short).
    const uint64_t rows = (length - 420) / (kPegCellSize * static_cast<uint64_t>(cellsPerRow));
    // Every cell count of a figure is 32-bit; a grid beyond that is refused
    // (it would need a file of more than 15 GB).
    if (rows * static_cast<uint64_t>(cellsPerRow) >
        static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
        return layout;
    }
    layout.grid = true;
    layout.cellsPerRow = cellsPerRow;
    layout.rows = static_cast<int32_t>(rows);
    return layout;
}

}  // namespace

PegData ReadPegData(std::string bytes) {
    const Layout layout = ReadLayout(bytes, bytes.size());
    PegData data;
    data.objectTableRead = layout.objectTableRead;
    data.addedObjects = layout.addedObjects;
    if (layout.grid) data.grid = PegDataGrid(std::move(bytes), layout.cellsPerRow, layout.rows);
    return data;
}

PegData ReadPegData(const GameFolder& folder, std::string_view path) {
    if (IsArchivePath(path)) return {};
    std::optional<std::string> bytes;
    try {
        bytes = folder.ReadFile(path);
    } catch (const std::bad_alloc&) {
        return {};  // a file too large to hold cannot be read
    } catch (const std::length_error&) {
        return {};
    }
    if (!bytes) return {};
    return ReadPegData(std::move(*bytes));
}

void PegAnalysis::Clear() {
    addedObjects = 0;
    waterCells = 0;
    averageDepth = 0.0f;
    shallowest = 0.0f;
    deepest = 0.0f;
    depthCounts.fill(0);
    objectCounts.fill(0);
    usedObjects = 0;
    bareCells = 0;
    uniqueMasks.Clear();
}

namespace {

// Grids of up to this many cells have a depth sum that is exact in double
// precision whatever the order of its terms (each term, depth x DPRatio in
// single precision, is a multiple of DPRatio's last bit and below 2^32 of
// them), so it can be added up per depth value. Larger grids add their cells
// one by one, in file order, as the rounding then depends on it.
constexpr size_t kExactSumCells = size_t{1} << 21;

// The 4 bytes at p, little-endian.
uint32_t Load4(const unsigned char* p) {
    if constexpr (std::endian::native == std::endian::little) {
        uint32_t value;
        std::memcpy(&value, p, sizeof value);
        return value;
    } else {
        return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
               static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    }
}

// The table of recent masks: 512 pairs of slots, a mask's pair picked by the
// high bits of the mask times the golden ratio (two instructions for every
// cell counted), and the mask in either slot of its pair. The masks 0 to 511
// each find a slot of their own, and so do the 32 single bits; a few hundred
// masks in turn mostly do; a mask whose pair two others hold only costs a
// look in the set.
constexpr int kRecentPairBits = 9;
constexpr size_t kRecentSlots = size_t{2} << kRecentPairBits;

constexpr size_t RecentPair(uint32_t mask) {
    return static_cast<size_t>((mask * 0x9E3779B1u) >> (32 - kRecentPairBits));
}

// For each slot of the table, a mask that belongs to another pair: a slot
// that holds it holds no mask of its own yet.
constexpr std::array<uint32_t, kRecentSlots> kFreeRecentSlots = [] {
    std::array<uint32_t, kRecentSlots> free{};
    for (size_t slot = 0; slot < kRecentSlots; ++slot) {
        uint32_t mask = 0;
        while (RecentPair(mask) == slot / 2) ++mask;
        free[slot] = mask;
    }
    return free;
}();

// The counts of one grid, fed a piece of cells at a time and counted in
// steps, each in the way of counting that suits what the steps before showed
// (see Way). Recent masks are counted in a small table in front of the set of
// distinct masks, each in a slot it took first (a mask whose slots other
// masks hold goes to the set); the depth counts and the table's counts are
// kept in lanes so that neighbouring cells of one depth or mask do not wait
// on each other's count.
class GridCounter {
public:
    GridCounter(size_t cells, float ratio, UniqueMaskSet& masks)
        : masks_(masks), cells_(cells), addEachCell_(cells > kExactSumCells) {
        masks_.Clear();
        for (int depth = 1; depth < 256; ++depth) {
            inches_[static_cast<size_t>(depth)] = static_cast<float>(depth) * ratio;
        }
        recentMasks_ = kFreeRecentSlots;
    }

    // Counts `count` cells.
    void Add(const unsigned char* cells, size_t count) {
        for (size_t done = 0; done < count;) {
            const size_t step = std::min(step_, count - done);
            const unsigned char* first = cells + done * kPegCellSize;
            done += step;
            switch (way_) {
                case Way::kRuns:
                    CountStep<Way::kRuns>(first, step);
                    break;
                case Way::kCells:
                    CountStep<Way::kCells>(first, step);
                    break;
                case Way::kStraight:
                    CountStep<Way::kStraight>(first, step);
                    break;
                case Way::kStraightFetching:
                    CountStep<Way::kStraightFetching>(first, step);
                    break;
            }
            step_ = kStep;
        }
    }

    // Counts a cell of which only the first `size` bytes exist; the rest
    // reads as zero.
    void AddPart(const unsigned char* cell, size_t size) {
        unsigned char padded[8] = {};
        std::memcpy(padded, cell, std::min(size, kPegCellSize));
        Add(padded, 1);
    }

    // Counts cells that are not there at all: dry, without objects.
    void AddMissing(size_t count) {
        if (count == 0) return;
        depthCells_[0] += count;
        masks_.Add(0, static_cast<uint32_t>(count));
    }

    float Finish(float ratio, PegAnalysis& analysis) {
        EndRun();
        FlushRecent();
        for (size_t lane = 0; lane < kLanes; ++lane) {
            for (size_t depth = 0; depth < 256; ++depth) {
                depthCells_[depth] += depthLanes_[lane][depth];
            }
        }
        analysis.depthCounts.fill(0);
        analysis.objectCounts.fill(0);
        double depthSum = 0.0;
        float deepest = -100.0f;
        float shallowest = static_cast<float>(ratio * 300.0);
        uint64_t water = 0;
        for (size_t depth = 1; depth < 256; ++depth) {
            const uint64_t cells = depthCells_[depth];
            if (cells == 0) continue;
            water += cells;
            analysis.depthCounts[depth - 1] = static_cast<int32_t>(cells);
            const float inches = inches_[depth];
            depthSum += static_cast<double>(cells) * inches;
            if (inches > deepest) deepest = inches;
            if (inches < shallowest) shallowest = inches;
        }
        if (addEachCell_) depthSum = eachCellSum_;
        analysis.waterCells = static_cast<int32_t>(water);
        // Mask 0 was counted for dry cells and bare ones alike.
        analysis.bareCells = static_cast<int32_t>(masks_.Remove(0) - depthCells_[0]);

        // Dry cells were counted with mask 0 too, which has no bits.
        const std::array<uint64_t, 32> objects = masks_.CellsOfEachBit();
        for (size_t bit = 0; bit < 32; ++bit) {
            analysis.objectCounts[bit] = static_cast<int32_t>(objects[bit]);
        }
        analysis.usedObjects = static_cast<int32_t>(
            std::count_if(objects.begin(), objects.end(), [](uint64_t n) { return n > 0; }));
        analysis.deepest = deepest;
        analysis.shallowest = shallowest;
        analysis.averageDepth =
            analysis.waterCells > 0 ? static_cast<float>(depthSum / analysis.waterCells) : 0.0f;
        return analysis.averageDepth;
    }

private:
    // The ways of counting a step of cells.
    enum class Way {
        // Through the table of recent masks, a run of cells of one mask and
        // depth counted once, when it ends: for grids drawn in patches.
        kRuns,
        // Through the table of recent masks, every cell on its own in four
        // lanes: for grids whose runs are shorter than two cells.
        kCells,
        // Straight into the set, every cell, in one loop with the set's
        // table of low masks: for grids whose masks are mostly new.
        kStraight,
        // The same for new masks of the hash set, with the slots of the
        // cells some way ahead fetched early.
        kStraightFetching,
    };

    template <Way kWay>
    void CountStep(const unsigned char* cells, size_t step) {
        if constexpr (kWay == Way::kStraight || kWay == Way::kStraightFetching) {
            const size_t before = masks_.Count();
            const size_t hashedBefore = masks_.HashedCount();
            constexpr bool kFetching = kWay == Way::kStraightFetching;
            addEachCell_ ? AddStraight<true, kFetching>(cells, step)
                         : AddStraight<false, kFetching>(cells, step);
            // Masks seen before again: the table of recent masks may hold
            // them.
            if (masks_.Count() - before < step / 8) {
                way_ = Way::kRuns;
            } else {
                way_ = masks_.HashedCount() - hashedBefore >= step / 8 ? Way::kStraightFetching
                                                                       : Way::kStraight;
            }
            return;
        } else {
            misses_ = 0;
            runs_ = 0;
            const size_t takenBefore = taken_;
            const size_t countBefore = masks_.Count();
            constexpr bool kMergeRuns = kWay == Way::kRuns;
            addEachCell_ ? AddRecent<true, kMergeRuns>(cells, step)
                         : AddRecent<false, kMergeRuns>(cells, step);
            if constexpr (kMergeRuns) {
                if (runs_ > step / 2) {
                    // Runs of under two cells on average: cell by cell is
                    // faster, for some steps before runs are looked for again.
                    EndRun();
                    way_ = Way::kCells;
                    cellSteps_ = kCellSteps;
                }
            } else if (--cellSteps_ == 0) {
                way_ = Way::kRuns;
            }
            // Every mask is new in the first step; after it, masks new by
            // the thousand tell a mask of its own in many cells.
            const size_t newMasks = taken_ - takenBefore + masks_.Count() - countBefore;
            if (step_ == kStep && newMasks > step / 4) {
                EndRun();
                FlushRecent();
                way_ = Way::kStraight;
                // Masks of the hash set, waiting on memory: room for one in
                // every cell to come, within bounds (a long grid that begins
                // so may not go on so), and their slots fetched ahead.
                if (masks_.HashedCount() * 2 > masks_.Count()) {
                    way_ = Way::kStraightFetching;
                    const size_t toCome = cells_ - std::min(cells_, added_);
                    const size_t hashed = masks_.HashedCount();
                    masks_.Reserve(hashed + std::min(toCome, hashed + kStraightRoom));
                }
            } else if (misses_ > std::max(step / 16, 2 * steadyMisses_)) {
                // Other masks than those the table took first. When emptying
                // the table leaves as many misses, the masks are too many
                // for it, not others: they are then borne until they double.
                if (flushed_) steadyMisses_ = misses_;
                FlushRecent();
                flushed_ = true;
            } else {
                flushed_ = false;
            }
        }
    }

    static constexpr size_t kLanes = 4;
    // Cells counted between two looks at how often the table is missed; the
    // first look comes sooner.
    static constexpr size_t kStep = 4096;
    static constexpr size_t kFirstStep = 512;
    // Steps counted cell by cell, when the runs are short, before runs are
    // looked for again.
    static constexpr int kCellSteps = 15;
    // Masks the hash set makes room for at once when most masks are new
    // ones of its own (a set of 4 MiB); beyond them it grows as they come.
    static constexpr size_t kStraightRoom = size_t{1} << 18;

    // A cell's mask as counted: a dry cell's mask counts for nothing, so it
    // is 0 like a bare cell's (told apart by the depth counts).
    static uint32_t Key(uint32_t mask, size_t depth) { return depth != 0 ? mask : 0u; }

    template <bool kAddEachCell, bool kMergeRuns>
    void AddRecent(const unsigned char* cells, size_t count) {
        double sum = eachCellSum_;
        uint64_t run = run_;
        uint32_t length = runLength_;
        size_t i = 0;
        for (; i + kLanes <= count; i += kLanes) {
            const unsigned char* cell = cells + i * kPegCellSize;
            CountOne<kAddEachCell, kMergeRuns, 0>(cell, run, length, sum);
            CountOne<kAddEachCell, kMergeRuns, 1>(cell + kPegCellSize, run, length, sum);
            CountOne<kAddEachCell, kMergeRuns, 2>(cell + 2 * kPegCellSize, run, length, sum);
            CountOne<kAddEachCell, kMergeRuns, 3>(cell + 3 * kPegCellSize, run, length, sum);
        }
        for (; i < count; ++i) {
            CountOne<kAddEachCell, kMergeRuns, 0>(cells + i * kPegCellSize, run, length, sum);
        }
        eachCellSum_ = sum;
        run_ = run;
        runLength_ = length;
        added_ += count;
    }

    // Neighbouring cells often share their mask and depth: such a run is
    // counted once, when it ends.
    template <bool kAddEachCell, bool kMergeRuns, size_t kLane>
    void CountOne(const unsigned char* cell, uint64_t& run, uint32_t& length, double& sum) {
        const size_t depth = cell[4];
        // A dry cell adds 0.0, which leaves the sum as it was.
        if constexpr (kAddEachCell) sum += static_cast<double>(inches_[depth]);
        if constexpr (!kMergeRuns) {
            CountCell<kLane>(Key(Load4(cell), depth), depth);
            return;
        }
        const uint64_t value = uint64_t{Load4(cell)} | uint64_t{depth} << 32;
        if (value == run) {
            ++length;
            return;
        }
        if (length != 0) [[likely]]
            CountRun<kLane>(run, length);
        run = value;
        length = 1;
    }

    template <size_t kLane>
    void CountCell(uint32_t key, size_t depth) {
        ++depthLanes_[kLane][depth];
        CountRecent<kLane>(key, 1);
    }

    template <size_t kLane>
    void CountRun(uint64_t run, uint32_t cells) {
        ++runs_;
        const auto depth = static_cast<size_t>(run >> 32);
        depthLanes_[kLane][depth] += cells;
        CountRecent<kLane>(Key(static_cast<uint32_t>(run), depth), cells);
    }

    // Counts cells of a mask in its slot of the table of recent masks.
    template <size_t kLane>
    void CountRecent(uint32_t key, uint32_t cells) {
        const size_t first = 2 * RecentPair(key);
        // A mask takes the first slot of its pair when it can, so that a few
        // dozen masks are all found there, with one load and a branch that
        // the processor foresees; the second slot is looked at only then.
        if (recentMasks_[first] == key) [[likely]] {
            recentCells_[kLane][first] += cells;
            return;
        }
        const size_t slot = first + 1;
        if (recentMasks_[slot] != key) {
            const std::optional<size_t> taken = TakeRecentSlot(first, key);
            if (!taken) {
                AddToSet(key, cells);
                return;
            }
            recentCells_[kLane][*taken] += cells;
            return;
        }
        recentCells_[kLane][slot] += cells;
    }

    // A mask takes a slot of its pair that no other mask holds, if any.
    std::optional<size_t> TakeRecentSlot(size_t first, uint32_t key) {
        for (size_t slot = first; slot < first + 2; ++slot) {
            if (RecentPair(recentMasks_[slot]) == first / 2) continue;
            recentMasks_[slot] = key;
            takenSlots_[taken_++] = static_cast<uint16_t>(slot);
            return slot;
        }
        return std::nullopt;
    }

    // Counts the run of cells still open.
    void EndRun() {
        if (runLength_ != 0) CountRun<0>(run_, runLength_);
        runLength_ = 0;
    }

    void AddToSet(uint32_t key, uint32_t cells) {
        ++misses_;
        masks_.Add(key, cells);
    }

    // Moves the cells counted in the table to the set and empties it; the
    // slots taken are listed, so that this costs what the table holds.
    void FlushRecent() {
        if (masks_.BeyondCache()) {
            constexpr size_t kAhead = 8;
            for (size_t i = 0; i < taken_; ++i) {
                if (i + kAhead < taken_) masks_.FetchSlot(recentMasks_[takenSlots_[i + kAhead]]);
                FlushRecentSlot(takenSlots_[i]);
            }
        } else {
            for (size_t i = 0; i < taken_; ++i) FlushRecentSlot(takenSlots_[i]);
        }
        taken_ = 0;
    }

    void FlushRecentSlot(size_t slot) {
        uint32_t cells = 0;
        for (size_t lane = 0; lane < kLanes; ++lane) {
            cells += recentCells_[lane][slot];
            recentCells_[lane][slot] = 0;
        }
        masks_.Add(recentMasks_[slot], cells);
        recentMasks_[slot] = kFreeRecentSlots[slot];
    }

    template <bool kAddEachCell, bool kFetchAhead>
    void AddStraight(const unsigned char* cells, size_t count) {
        double sum = eachCellSum_;
        if constexpr (kFetchAhead) {
            for (size_t i = 0; i < count; ++i) {
                // The slot of the mask some cells on, so that many of the
                // hash set's memory reads are under way at once (for a dry
                // cell, a slot that is not needed).
                constexpr size_t kAhead = 16;
                if (i + kAhead < count)
                    masks_.FetchSlot(Load4(cells + (i + kAhead) * kPegCellSize));
                masks_.Add(CountDepth<kAddEachCell>(cells + i * kPegCellSize, i % kLanes, sum));
            }
        } else {
            masks_.AddEach(count, [&](size_t i, auto lane) {
                return CountDepth<kAddEachCell>(cells + i * kPegCellSize, lane, sum);
            });
        }
        if constexpr (kAddEachCell) eachCellSum_ = sum;
        added_ += count;
    }

    // Counts a cell's depth and returns its mask as counted.
    template <bool kAddEachCell>
    uint32_t CountDepth(const unsigned char* cell, size_t lane, double& sum) {
        const size_t depth = cell[4];
        ++depthLanes_[lane][depth];
        if constexpr (kAddEachCell) sum += static_cast<double>(inches_[depth]);
        return Key(Load4(cell), depth);
    }

    UniqueMaskSet& masks_;
    const size_t cells_;
    const bool addEachCell_;
    size_t added_ = 0;
    Way way_ = Way::kRuns;
    size_t misses_ = 0;
    size_t steadyMisses_ = 0;  // misses a step that emptying the table did not mend
    bool flushed_ = false;     // the table was emptied after the step before
    int cellSteps_ = 0;        // steps left to count cell by cell
    size_t runs_ = 0;
    uint64_t run_ = 0;  // the mask and depth of the open run of cells
    uint32_t runLength_ = 0;
    size_t step_ = kFirstStep;
    std::array<float, 256> inches_{};  // depth x DPRatio; 0 for a dry cell
    std::array<std::array<uint32_t, 256>, kLanes> depthLanes_{};
    std::array<uint64_t, 256> depthCells_{};
    std::array<uint32_t, kRecentSlots> recentMasks_{};
    std::array<uint16_t, kRecentSlots> takenSlots_{};  // the slots holding a mask
    size_t taken_ = 0;
    std::array<std::array<uint32_t, kRecentSlots>, kLanes> recentCells_{};
    double eachCellSum_ = 0.0;
};

}  // namespace

float AnalysePegData(const PegDataGrid& grid, const PegRecord& peg, PegAnalysis& analysis) {
    const size_t cells = grid.CellCount();
    GridCounter counter(cells, peg.DPRatio, analysis.uniqueMasks);
    const std::string_view stored = grid.StoredCells();
    const auto* data = reinterpret_cast<const unsigned char*>(stored.data());
    const size_t whole = std::min(cells, stored.size() / kPegCellSize);
    // Every whole cell but the last has a byte after it.
    if (whole > 0) counter.Add(data, whole - 1);
    if (whole > 0) counter.AddPart(data + (whole - 1) * kPegCellSize, kPegCellSize);
    if (whole < cells) {
        counter.AddPart(data + whole * kPegCellSize, stored.size() - whole * kPegCellSize);
        counter.AddMissing(cells - whole - 1);
    }
    return counter.Finish(peg.DPRatio, analysis);
}

void AnalyseOpenedPegData(HostFile& file, const PegRecord& peg, PegAnalysis& analysis,
                          PegDataOutline& outline) {
    outline = PegDataOutline();
    std::string head(kPegDataHeaderSize, '\0');
    head.resize(file.Read(head.data(), head.size()));
    // A file that is shorter than it said is as long as what it gave.
    const uint64_t length = head.size() < kPegDataHeaderSize
                                ? head.size()
                                : std::max<uint64_t>(file.Size(), head.size());
    const Layout layout = ReadLayout(head, length);
    outline.objectTableRead = layout.objectTableRead;
    outline.addedObjects = layout.addedObjects;
    if (!layout.grid) return;
    outline.cellsPerRow = layout.cellsPerRow;
    outline.rows = layout.rows;

    const size_t cells = static_cast<size_t>(layout.cellsPerRow) * static_cast<size_t>(layout.rows);
    GridCounter counter(cells, peg.DPRatio, analysis.uniqueMasks);
    // Pieces of whole cells, small enough to stay in the processor's cache
    // between reading them and counting them; one byte more for the read of
    // the last cell, set to zero after each piece (the rest of the buffer is
    // only ever read where a piece was read into it).
    constexpr size_t kPieceCells = 16384;
    const auto piece =
        std::make_unique_for_overwrite<unsigned char[]>(kPieceCells * kPegCellSize + 1);
    size_t counted = 0;
    while (counted < cells) {
        const size_t wanted = std::min(kPieceCells, cells - counted);
        const size_t got = file.Read(reinterpret_cast<char*>(piece.get()), wanted * kPegCellSize);
        piece[got] = 0;
        const size_t whole = got / kPegCellSize;
        counter.Add(piece.get(), whole);
        counted += whole;
        if (whole < wanted) {
            // The file ends inside this piece: the rest of the grid reads as
            // zero.
            if (counted < cells) {
                counter.AddPart(piece.get() + whole * kPegCellSize, got - whole * kPegCellSize);
                counter.AddMissing(cells - counted - 1);
            }
            break;
        }
    }
    counter.Finish(peg.DPRatio, analysis);
    outline.analysed = true;
}

PegDataOutline AnalysePegDataFile(const GameFolder& folder, std::string_view path,
                                  const PegRecord& peg, PegAnalysis& analysis) {
    PegDataOutline outline;
    if (IsArchivePath(path)) return outline;
    auto file = folder.OpenFile(path);
    if (!file) return outline;
    try {
        AnalyseOpenedPegData(*file, peg, analysis, outline);
    } catch (const std::bad_alloc&) {
        // More distinct masks than memory can hold: the grid cannot be
        // analysed, and no figure of it is kept.
        analysis.uniqueMasks = UniqueMaskSet();
    }
    return outline;
}

float DepthCoverage(const PegAnalysis& analysis) {
    const auto used = std::count_if(analysis.depthCounts.begin(), analysis.depthCounts.end(),
                                    [](int32_t n) { return n > 0; });
    return static_cast<float>(used) * kOneDepthValue;
}

}  // namespace venuecheck
