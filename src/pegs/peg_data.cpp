#include "pegs/peg_data.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>

#include "common/file_services.h"
#include "common/game_folder.h"
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

uint32_t UniqueMaskSet::CellsOf(uint32_t mask) const {
    if (slots_.empty()) return 0;
    return static_cast<uint32_t>(slots_[Find(mask)]);
}

uint32_t UniqueMaskSet::Remove(uint32_t mask) {
    if (slots_.empty()) return 0;
    size_t hole = Find(mask);
    const uint64_t removed = slots_[hole];
    if (removed == 0) return 0;
    slots_[hole] = 0;
    --count_;
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

void UniqueMaskSet::Grow() {
    // At most 2^30 masks: a grid of more distinct masks (a file of 7.5 GB)
    // is treated as one that memory cannot hold.
    if (capacity_ >= (uint32_t{1} << 31)) throw std::bad_alloc();
    const uint32_t capacity = std::max<uint32_t>(1024, capacity_ * 2);
    std::vector<uint64_t> old(capacity, 0);
    std::swap(slots_, old);
    capacity_ = capacity;
    shift_ = 64 - std::countr_zero(capacity_);
    for (const uint64_t slot : old) {
        if (slot != 0) slots_[Find(static_cast<uint32_t>(slot >> 32))] = slot;
    }
}

void UniqueMaskSet::Clear() {
    // Every slot in use holds a mask that the count counts.
    if (count_ == 0) return;
    std::fill(slots_.begin(), slots_.end(), uint64_t{0});
    count_ = 0;
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

// A cell's depth and object mask as one key: the mask in the low 32 bits,
// the depth in the 8 above them; a dry cell's mask counts for nothing, so
// its key is 0.
constexpr uint64_t kDepthBits = uint64_t{0xFF} << 32;
constexpr uint64_t kCellBits = (uint64_t{1} << 40) - 1;

uint64_t CellKey(uint64_t cellBytes) {
    return (cellBytes & kDepthBits) != 0 ? cellBytes & kCellBits : 0;
}

// The first 8 bytes at p, little-endian: a cell and the first byte of the
// next.
uint64_t Load8(const unsigned char* p) {
    if constexpr (std::endian::native == std::endian::little) {
        uint64_t value;
        std::memcpy(&value, p, sizeof value);
        return value;
    } else {
        uint64_t value = 0;
        for (int i = 7; i >= 0; --i) value = value << 8 | p[i];
        return value;
    }
}

// The counts of one grid, fed a piece of cells at a time. Neighbouring cells
// mostly share their depth and objects: a run of one key is counted into the
// depth counts and the masks once, when it ends.
class GridCounter {
public:
    GridCounter(size_t cells, float ratio, UniqueMaskSet& masks)
        : masks_(masks), addEachCell_(cells > kExactSumCells) {
        masks_.Clear();
        for (int depth = 1; depth < 256; ++depth) {
            inches_[static_cast<size_t>(depth)] = static_cast<float>(depth) * ratio;
        }
    }

    // Counts `count` cells; the byte after the last of them must be readable.
    void Add(const unsigned char* cells, size_t count) {
        // In steps, so that a set of masks that outgrows the cache is met
        // with fetches ahead soon after.
        constexpr size_t kStep = 16384;
        for (size_t done = 0; done < count; done += kStep) {
            const size_t step = std::min(kStep, count - done);
            const unsigned char* first = cells + done * kPegCellSize;
            if (masks_.BeyondCache()) {
                if (addEachCell_) {
                    AddCells<true, true>(first, step);
                } else {
                    AddCells<false, true>(first, step);
                }
            } else if (addEachCell_) {
                AddCells<true, false>(first, step);
            } else {
                AddCells<false, false>(first, step);
            }
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
        EndRun();
        depthCells_[0] += count;
        masks_.Add(0, static_cast<uint32_t>(count));
    }

    float Finish(float ratio, PegAnalysis& analysis) {
        EndRun();
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

        // The cells of each value of each byte of the masks, then the cells
        // of each bit from those: four additions a mask instead of one a bit.
        std::array<std::array<uint64_t, 256>, 4> byteCells{};
        masks_.ForEach([&byteCells](uint32_t mask, uint32_t cells) {
            for (size_t byte = 0; byte < 4; ++byte) {
                byteCells[byte][(mask >> (8 * byte)) & 0xFF] += cells;
            }
        });
        std::array<uint64_t, 32> objects{};
        for (size_t byte = 0; byte < 4; ++byte) {
            for (uint32_t value = 1; value < 256; ++value) {
                for (uint32_t bits = value; bits != 0; bits &= bits - 1) {
                    objects[8 * byte + static_cast<size_t>(std::countr_zero(bits))] +=
                        byteCells[byte][value];
                }
            }
        }
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
    template <bool kAddEachCell, bool kFetchAhead>
    void AddCells(const unsigned char* cells, size_t count) {
        uint64_t runKey = runKey_;
        uint32_t runLength = runLength_;
        double sum = eachCellSum_;
        for (size_t i = 0; i < count; ++i) {
            if constexpr (kFetchAhead) {
                // The slot of a mask some cells on, so that many of the
                // set's memory reads are under way at once.
                constexpr size_t kAhead = 16;
                const size_t ahead = std::min(i + kAhead, count - 1);
                masks_.FetchSlot(static_cast<uint32_t>(Load8(cells + ahead * kPegCellSize)));
            }
            const uint64_t key = CellKey(Load8(cells + i * kPegCellSize));
            if constexpr (kAddEachCell) {
                // A dry cell adds 0.0, which leaves the sum as it was.
                sum += static_cast<double>(inches_[static_cast<size_t>(key >> 32)]);
            }
            if (key == runKey) {
                ++runLength;
                continue;
            }
            if (runLength != 0) Count(runKey, runLength);
            runKey = key;
            runLength = 1;
        }
        runKey_ = runKey;
        runLength_ = runLength;
        eachCellSum_ = sum;
    }

    void Count(uint64_t key, uint32_t cells) {
        depthCells_[static_cast<size_t>(key >> 32)] += cells;
        masks_.Add(static_cast<uint32_t>(key), cells);
    }

    void EndRun() {
        if (runLength_ != 0) Count(runKey_, runLength_);
        runLength_ = 0;
    }

    UniqueMaskSet& masks_;
    const bool addEachCell_;
    std::array<float, 256> inches_{};  // depth x DPRatio; 0 for a dry cell
    std::array<uint64_t, 256> depthCells_{};
    uint64_t runKey_ = 0;
    uint32_t runLength_ = 0;
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

PegDataOutline AnalysePegDataFile(const GameFolder& folder, std::string_view path,
                                  const PegRecord& peg, PegAnalysis& analysis) {
    PegDataOutline outline;
    if (IsArchivePath(path)) return outline;
    auto file = folder.OpenFile(path);
    if (!file) return outline;

    std::string head(kPegDataHeaderSize, '\0');
    head.resize(file->Read(head.data(), head.size()));
    // A file that is shorter than it said is as long as what it gave.
    const uint64_t length = head.size() < kPegDataHeaderSize
                                ? head.size()
                                : std::max<uint64_t>(file->Size(), head.size());
    const Layout layout = ReadLayout(head, length);
    outline.objectTableRead = layout.objectTableRead;
    outline.addedObjects = layout.addedObjects;
    if (!layout.grid) return outline;
    outline.cellsPerRow = layout.cellsPerRow;
    outline.rows = layout.rows;

    try {
        const size_t cells =
            static_cast<size_t>(layout.cellsPerRow) * static_cast<size_t>(layout.rows);
        GridCounter counter(cells, peg.DPRatio, analysis.uniqueMasks);
        // Pieces of whole cells, small enough to stay in the processor's cache
        // between reading them and counting them; one byte more for the read of
        // the last cell.
        constexpr size_t kPieceCells = 16384;
        std::vector<unsigned char> piece(kPieceCells * kPegCellSize + 1);
        size_t counted = 0;
        while (counted < cells) {
            const size_t wanted = std::min(kPieceCells, cells - counted);
            const size_t got =
                file->Read(reinterpret_cast<char*>(piece.data()), wanted * kPegCellSize);
            const size_t whole = got / kPegCellSize;
            counter.Add(piece.data(), whole);
            counted += whole;
            if (whole < wanted) {
                // The file ends inside this piece: the rest of the grid reads as
                // zero.
                if (counted < cells) {
                    counter.AddPart(piece.data() + whole * kPegCellSize,
                                    got - whole * kPegCellSize);
                    counter.AddMissing(cells - counted - 1);
                }
                break;
            }
        }
        counter.Finish(peg.DPRatio, analysis);
    } catch (const std::bad_alloc&) {
        // More distinct masks than memory can hold: the grid cannot be
        // analysed, and no figure of it is kept.
        analysis.uniqueMasks = UniqueMaskSet();
        return outline;
    }
    outline.analysed = true;
    return outline;
}

float DepthCoverage(const PegAnalysis& analysis) {
    const auto used = std::count_if(analysis.depthCounts.begin(), analysis.depthCounts.end(),
                                    [](int32_t n) { return n > 0; });
    return static_cast<float>(used) * kOneDepthValue;
}

}  // namespace venuecheck
