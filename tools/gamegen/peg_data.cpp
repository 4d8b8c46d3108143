#include "gamegen/peg_data.h"

#include <algorithm>

namespace venuecheck::gamegen {
namespace {

void PutU16(std::string& out, size_t at, uint16_t value) {
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>(value >> 8);
}

void PutU32(std::string& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint8_t DepthAt(const PegDataSpec& spec, size_t index) {
    switch (spec.depths) {
        case DepthPattern::kZero:
            return 0;
        case DepthPattern::kConstant:
            return spec.depth;
        case DepthPattern::kCycle:
            if (spec.depthCycle.empty()) return 0;
            return spec.depthCycle[index % spec.depthCycle.size()];
        case DepthPattern::kEveryValue:
            return static_cast<uint8_t>(1 + index % 255);
        case DepthPattern::kDistinct: {
            const int count = std::min(spec.distinctDepths, 255);
            if (count < 1) return 0;
            return static_cast<uint8_t>(1 + index % static_cast<size_t>(count));
        }
    }
    return 0;
}

// The mask of the index-th covered (not bare) water cell.
uint32_t MaskAt(const PegDataSpec& spec, size_t index) {
    switch (spec.masks) {
        case MaskPattern::kZero:
            return 0;
        case MaskPattern::kConstant:
            return spec.mask;
        case MaskPattern::kCycle:
            if (spec.maskCycle.empty()) return 0;
            return spec.maskCycle[index % spec.maskCycle.size()];
        case MaskPattern::kDistinct:
            if (spec.distinctMasks < 1) return 0;
            return static_cast<uint32_t>(1 + index % static_cast<size_t>(spec.distinctMasks));
        case MaskPattern::kAllDistinct:
            return static_cast<uint32_t>(1 + index);
    }
    return 0;
}

std::string MakeObjectTable(const PegDataSpec& spec) {
    if (spec.objectTable) {
        std::string table = *spec.objectTable;
        table.resize(kObjectTableSize, '\0');
        return table;
    }
    std::vector<int> slots;
    for (int slot = 0; slot < std::min(spec.objects, kObjectSlots); ++slot) slots.push_back(slot);
    return ObjectTableWithSlots(slots);
}

}  // namespace

int CellsPerRow(int16_t cellWidth) {
    if (cellWidth < 1 || cellWidth > kPegGridWidth) return 0;
    return kPegGridWidth / cellWidth;
}

std::string ObjectTableWithSlots(const std::vector<int>& slots) {
    std::string table(kObjectTableSize, '\0');
    for (int slot : slots) {
        if (slot < 0 || slot >= kObjectSlots) continue;
        const size_t at = static_cast<size_t>(slot) * kObjectSlotSize;
        // Only the first byte of a slot tells whether it is in use; the rest
        // gets a plausible object number and placement.
        table[at] = static_cast<char>(1 + slot);
        table[at + 1] = static_cast<char>(slot);
        table[at + 2] = static_cast<char>(16 * (slot % 8));
        table[at + 3] = static_cast<char>(12 * (slot / 8));
    }
    return table;
}

namespace {

uint64_t CellCount(const PegDataSpec& spec) {
    if (!spec.cells.empty()) return spec.cells.size();
    return static_cast<uint64_t>(CellsPerRow(spec.cellWidth)) *
           static_cast<uint64_t>(std::max(spec.rows, 0));
}

}  // namespace

uint64_t PegDataLength(const PegDataSpec& spec) {
    if (spec.length) return *spec.length;
    return kPegDataHeaderSize + kPegCellSize * CellCount(spec);
}

std::string MakePegData(const PegDataSpec& spec) {
    const bool explicitCells = !spec.cells.empty();
    const auto cellCount = static_cast<size_t>(CellCount(spec));

    std::string out(kPegDataHeaderSize + kPegCellSize * cellCount, '\0');
    const std::string table = MakeObjectTable(spec);
    std::copy(table.begin(), table.end(), out.begin());
    PutU16(out, kObjectTableSize, static_cast<uint16_t>(spec.cellHeight));
    PutU16(out, kObjectTableSize + 2, static_cast<uint16_t>(spec.cellWidth));

    const int barePercent = std::clamp(spec.barePercent, 0, 100);
    uint64_t waterCells = 0;
    size_t coveredCells = 0;
    for (size_t i = 0; i < cellCount; ++i) {
        PegCell cell;
        if (explicitCells) {
            cell = spec.cells[i];
        } else {
            cell.depth = DepthAt(spec, i);
            if (cell.depth != 0) {
                // Bresenham's spread: the water cell whose running share of
                // bare cells crosses a whole number is bare.
                const bool bare =
                    (waterCells + 1) * barePercent / 100 > waterCells * barePercent / 100;
                ++waterCells;
                if (!bare) cell.mask = MaskAt(spec, coveredCells++);
            }
        }
        const size_t at = kPegDataHeaderSize + kPegCellSize * i;
        PutU32(out, at, cell.mask);
        out[at + 4] = static_cast<char>(cell.depth);
    }

    if (spec.length) out.resize(*spec.length, '\0');
    return out;
}

std::string MakePegDataOfCells(int objects, int16_t cellHeight, int16_t cellWidth,
                               std::vector<PegCell> cells) {
    PegDataSpec spec;
    spec.objects = objects;
    spec.cellHeight = cellHeight;
    spec.cellWidth = cellWidth;
    spec.rows = 0;
    spec.cells = std::move(cells);
    return MakePegData(spec);
}

}  // namespace venuecheck::gamegen
