#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "pegs/unique_mask_set.h"

namespace venuecheck {

class GameFolder;
class HostFile;
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

// The same for a file already open, read from its start. Throws
// std::bad_alloc when its masks are more than memory can hold; `outline`
// then tells what the file's first bytes gave.
void AnalyseOpenedPegData(HostFile& file, const PegRecord& peg, PegAnalysis& analysis,
                          PegDataOutline& outline);

// Where a peg's section takes the figures of its data file from: the check
// run may have worked them out ahead of their turn. It gives what
// AnalysePegDataFile of the peg's Data value gives, into `analysis`.
using PegDataSource = std::function<PegDataOutline(const PegRecord& peg, PegAnalysis& analysis)>;

// The share of the 255 depth values that occur in the grid, from 0 to 1.
float DepthCoverage(const PegAnalysis& analysis);

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
