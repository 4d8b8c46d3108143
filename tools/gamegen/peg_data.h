#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pegs/peg_data.h"

namespace venuecheck::gamegen {

// The layout of a peg data file is the checker's own.
using venuecheck::kObjectSlotSize;
using venuecheck::kObjectTableSize;
using venuecheck::kPegCellSize;
using venuecheck::kPegDataHeaderSize;
using venuecheck::kPegGridWidth;
using venuecheck::PegCell;
inline constexpr int kObjectSlots = static_cast<int>(venuecheck::kObjectSlots);

// Cells per row for a cell width, as the game divides: 480 / width. Widths
// that give no whole cell (0, negative, above 480) give 0 here, so such a
// file has no grid unless an explicit length pads it.
int CellsPerRow(int16_t cellWidth);

enum class DepthPattern {
    kZero,        // every cell 0: no water at all
    kConstant,    // every cell `depth`
    kCycle,       // cells take `depthCycle` in turn (a 0 in it makes a dry cell)
    kEveryValue,  // cells take 1, 2, ..., 255 in turn
    kDistinct,    // cells take 1, 2, ..., `distinctDepths` in turn
};

enum class MaskPattern {
    kZero,         // every water cell bare
    kConstant,     // every covered water cell `mask`
    kCycle,        // covered water cells take `maskCycle` in turn
    kDistinct,     // covered water cells take 1, 2, ..., `distinctMasks` in turn
    kAllDistinct,  // every covered water cell its own mask: 1, 2, 3, ...
};

// What a peg data file holds. The defaults make a small, sound grid.
//
// Patterns are applied in cell order. Depths run over all cells; masks only
// over the water cells that are not made bare, so a grid with at least
// `distinctMasks` covered water cells holds exactly that many distinct masks,
// and one with at least `distinctDepths` cells exactly that many depths.
// Dry cells (depth 0) always get mask 0.
struct PegDataSpec {
    // Object-table slots in use: slots 0 .. objects-1 get a non-zero first
    // byte. Ignored when `objectTable` is given.
    int objects = 16;
    // An explicit object table; cut or padded with zero bytes to 416 bytes.
    std::optional<std::string> objectTable;

    int16_t cellHeight = 4;
    int16_t cellWidth = 4;
    int rows = 90;

    // Explicit cells, in file order; when not empty the grid is exactly these
    // cells, and rows and the patterns are ignored.
    std::vector<PegCell> cells;

    DepthPattern depths = DepthPattern::kDistinct;
    uint8_t depth = 10;
    std::vector<uint8_t> depthCycle;
    int distinctDepths = 100;

    MaskPattern masks = MaskPattern::kDistinct;
    uint32_t mask = 1;
    std::vector<uint32_t> maskCycle;
    int distinctMasks = 100;

    // Share of the water cells with mask 0, in whole percent (0..100): of W
    // water cells exactly W * barePercent / 100 (rounded down) are bare,
    // spread evenly through the grid.
    int barePercent = 0;

    // The file's length in bytes: the content is cut there or padded with
    // zero bytes. By default the length is 424 + 7 * cells.
    std::optional<size_t> length;
};

// An object table whose listed slots (0..31) are in use; other slots are zero.
std::string ObjectTableWithSlots(const std::vector<int>& slots);

// The length of the file MakePegData writes for a PegDataSpec, worked out without
// making it (so a caller can refuse a size it cannot hold).
uint64_t PegDataLength(const PegDataSpec& spec);

// The bytes of a peg data file.
std::string MakePegData(const PegDataSpec& spec);

// A peg data file of exactly these cells, in one row after another (none: a
// grid of no rows).
std::string MakePegDataOfCells(int objects, int16_t cellHeight, int16_t cellWidth,
                               std::vector<PegCell> cells);

}  // namespace venuecheck::gamegen
