#include "pegs/peg_data.h"

#include <algorithm>
#include <bit>
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

PegData ReadPegData(std::string bytes) {
    PegData data;
    if (bytes.size() < kObjectTableSize) return data;
    data.objectTableRead = true;
    for (size_t slot = 0; slot < kObjectSlots; ++slot) {
        if (bytes[slot * kObjectSlotSize] != 0) ++data.addedObjects;
    }
    if (bytes.size() < kPegDataHeaderSize) return data;

    const int16_t cellHeight = ReadInt16(bytes, kObjectTableSize);
    const int16_t cellWidth = ReadInt16(bytes, kObjectTableSize + 2);
    // A width of 0 or below gives no row to divide by, one above 480 no
    // whole cell in a row.
    if (cellHeight == 0 || cellWidth < 1 || cellWidth > kPegGridWidth) return data;

    const int32_t cellsPerRow = kPegGridWidth / cellWidth;
    // The game counts the rows from offset 420, not 424: a file of exactly
    // 424 + 7 * cells bytes gives that many cells, and a file up to 4 bytes
    // short of it still does (its last cell is cut short).
    const uint64_t rows =
        (bytes.size() - 420) / (kPegCellSize * static_cast<uint64_t>(cellsPerRow));
    // Every cell count of a figure is 32-bit; a grid beyond that is refused
    // (it would need a file of more than 15 GB).
    if (rows * static_cast<uint64_t>(cellsPerRow) >
        static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
        return data;
    }
    data.grid = PegDataGrid(std::move(bytes), cellsPerRow, static_cast<int32_t>(rows));
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

size_t UniqueMaskSet::Slot(uint32_t mask) const {
    // Masks are often single bits or runs of low numbers: mix every bit into
    // the low ones that pick the slot.
    uint32_t x = mask;
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x & (slots_.size() - 1);
}

bool UniqueMaskSet::Add(uint32_t mask) {
    if (mask == 0) {
        if (holdsZero_) return false;
        holdsZero_ = true;
        ++count_;
        return true;
    }
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    for (size_t i = Slot(mask);; i = (i + 1) & (slots_.size() - 1)) {
        if (slots_[i] == mask) return false;
        if (slots_[i] == 0) {
            slots_[i] = mask;
            ++count_;
            return true;
        }
    }
}

void UniqueMaskSet::Grow() {
    std::vector<uint32_t> old = std::move(slots_);
    slots_.assign(std::max<size_t>(64, old.size() * 2), 0);
    for (uint32_t mask : old) {
        if (mask == 0) continue;
        size_t i = Slot(mask);
        while (slots_[i] != 0) i = (i + 1) & (slots_.size() - 1);
        slots_[i] = mask;
    }
}

void UniqueMaskSet::Clear() {
    std::fill(slots_.begin(), slots_.end(), 0u);
    holdsZero_ = false;
    count_ = 0;
}

float AnalysePegData(const PegDataGrid& grid, const PegRecord& peg, PegAnalysis& analysis) {
    analysis.uniqueMasks.Clear();
    analysis.depthCounts.fill(0);
    analysis.objectCounts.fill(0);
    analysis.waterCells = 0;
    analysis.bareCells = 0;

    const float ratio = peg.DPRatio;
    double depthSum = 0.0;
    float deepest = -100.0f;
    float shallowest = static_cast<float>(ratio * 300.0);

    // Neighbouring cells mostly share their objects: a run of one mask is
    // counted into the object counters once, when it ends.
    uint32_t runMask = 0;
    int32_t runLength = 0;
    auto endRun = [&analysis, &runMask, &runLength] {
        for (uint32_t bits = runMask; bits != 0; bits &= bits - 1) {
            analysis.objectCounts[static_cast<size_t>(std::countr_zero(bits))] += runLength;
        }
    };

    grid.ForEachCell([&](PegCell cell) {
        if (cell.depth == 0) return;
        ++analysis.depthCounts[cell.depth - 1u];
        ++analysis.waterCells;
        const float inches = static_cast<float>(cell.depth) * ratio;
        depthSum += inches;
        if (inches > deepest) deepest = inches;
        if (inches < shallowest) shallowest = inches;
        if (cell.mask == 0) {
            ++analysis.bareCells;
        } else if (cell.mask == runMask) {
            ++runLength;
        } else {
            endRun();
            runMask = cell.mask;
            runLength = 1;
            analysis.uniqueMasks.Add(cell.mask);
        }
    });
    endRun();

    analysis.usedObjects = static_cast<int32_t>(std::count_if(analysis.objectCounts.begin(),
                                                              analysis.objectCounts.end(),
                                                              [](int32_t n) { return n > 0; }));
    analysis.deepest = deepest;
    analysis.shallowest = shallowest;
    analysis.averageDepth =
        analysis.waterCells > 0 ? static_cast<float>(depthSum / analysis.waterCells) : 0.0f;
    return analysis.averageDepth;
}

float DepthCoverage(const PegAnalysis& analysis) {
    const auto used = std::count_if(analysis.depthCounts.begin(), analysis.depthCounts.end(),
                                    [](int32_t n) { return n > 0; });
    return static_cast<float>(used) * kOneDepthValue;
}

}  // namespace venuecheck
