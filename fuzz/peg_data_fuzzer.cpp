// The peg data reader and analysis. The two unused 16-bit words of the
// header double as the peg's DPRatio, so odd ratios (0, negative, huge, NaN)
// come up too.

#include <cmath>
#include <cstring>
#include <numeric>
#include <string>
#include <unordered_set>

#include "fuzz_support.h"
#include "pegs/peg_catalogue.h"
#include "pegs/peg_data.h"

using namespace venuecheck;

namespace {

bool SameCell(const PegCell& a, const PegCell& b) {
    return a.mask == b.mask && a.depth == b.depth;
}

bool SameFigures(const PegAnalysis& a, const PegAnalysis& b) {
    const auto bits = [](float x) {
        uint32_t u = 0;
        std::memcpy(&u, &x, 4);
        return u;
    };
    return a.waterCells == b.waterCells && bits(a.averageDepth) == bits(b.averageDepth) &&
           bits(a.shallowest) == bits(b.shallowest) && bits(a.deepest) == bits(b.deepest) &&
           a.depthCounts == b.depthCounts && a.objectCounts == b.objectCounts &&
           a.usedObjects == b.usedObjects && a.bareCells == b.bareCells &&
           a.uniqueMasks.Count() == b.uniqueMasks.Count();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    const PegData peg = ReadPegData(std::string(bytes));
    if (peg.objectTableRead != (size >= kObjectTableSize)) fuzz::Fail("object table read wrongly");
    if (peg.addedObjects < 0 || peg.addedObjects > 32) fuzz::Fail("added objects out of range");
    if (!peg.grid) return 0;
    if (size < kPegDataHeaderSize) fuzz::Fail("a grid from a file without a whole header");

    const PegDataGrid& grid = *peg.grid;
    if (grid.CellsPerRow() < 1 || grid.CellsPerRow() > kPegGridWidth || grid.Rows() < 0) {
        fuzz::Fail("grid layout out of range");
    }
    // The grid never claims more than the file holds, give or take the last
    // cell that the row count lets run 4 bytes past the end.
    if (kPegDataHeaderSize + grid.CellCount() * kPegCellSize > size + 4 + kPegCellSize) {
        fuzz::Fail("grid larger than the file");
    }

    // Walking the cells and reading them one by one agree; the distinct
    // masks agree with a plain set.
    size_t index = 0;
    int32_t water = 0;
    std::unordered_set<uint32_t> masks;
    grid.ForEachCell([&](const PegCell& cell) {
        if (index >= grid.CellCount() || !SameCell(cell, grid.Cell(index)))
            fuzz::Fail("cell walk differs");
        ++index;
        if (cell.depth == 0) return;
        ++water;
        if (cell.mask != 0) masks.insert(cell.mask);
    });
    if (index != grid.CellCount()) fuzz::Fail("cell walk missed cells");

    PegRecord record;
    if (size >= kPegDataHeaderSize) std::memcpy(&record.DPRatio, data + 420, sizeof(float));
    PegAnalysis analysis;
    analysis.addedObjects = peg.addedObjects;
    AnalysePegData(grid, record, analysis);
    if (analysis.waterCells != water) fuzz::Fail("water cells wrong");
    if (std::accumulate(analysis.depthCounts.begin(), analysis.depthCounts.end(), int64_t{0}) !=
        water) {
        fuzz::Fail("depth histogram does not add up");
    }
    if (analysis.bareCells < 0 || analysis.bareCells > water) fuzz::Fail("bare cells out of range");
    if (analysis.uniqueMasks.Count() != masks.size()) fuzz::Fail("unique masks wrong");
    if (analysis.usedObjects < 0 || analysis.usedObjects > 32)
        fuzz::Fail("used objects out of range");
    const float coverage = DepthCoverage(analysis);
    if (!(coverage >= 0.0f && coverage <= 1.0f)) fuzz::Fail("depth coverage out of range");

    // Figures left by another grid do not leak into the next analysis.
    PegAnalysis reused;
    AnalysePegData(grid, record, reused);
    AnalysePegData(grid, record, reused);
    if (!SameFigures(analysis, reused)) fuzz::Fail("a second analysis differs");
    return 0;
}
