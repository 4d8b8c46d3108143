// The peg map renderer and its PNG file. The input is a peg data file; the
// two unused 16-bit words of its header double as the peg's DPRatio, as for
// peg_data. Every pixel must show the cell under its centre (or land, or
// the colour past a row's last cell), and the PNG file must decode to the
// same colours.

#include <cmath>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "pegs/peg_data.h"
#include "pegs/peg_map.h"
#include "support/png_decode.h"

using namespace venuecheck;

namespace {

// The palette index of a cell by the map's rules, worked out afresh.
uint8_t ExpectedIndex(PegCell cell, float dpRatio) {
    if (cell.depth == 0) return kPegMapLandIndex;
    const std::vector<PegMapDepthBand>& scale = PegMapDepthScale();
    const float inches = static_cast<float>(cell.depth) * dpRatio;
    size_t band = scale.size() - 1;
    if (std::isnan(inches)) {
        band = 0;
    } else {
        for (size_t i = 0; i < scale.size(); ++i) {
            if (inches <= scale[i].deepest) {
                band = i;
                break;
            }
        }
    }
    return cell.mask != 0 ? scale[band].coveredIndex : scale[band].bareIndex;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    const std::optional<PegCellSize> cellSize = ReadPegCellSize(bytes);
    const PegData peg = ReadPegData(std::string(bytes));
    if (!peg.grid) return 0;
    if (!cellSize) fuzz::Fail("a grid without a cell size");
    float dpRatio = 0.0f;
    std::memcpy(&dpRatio, data + 420, sizeof dpRatio);

    const PegDataGrid& grid = *peg.grid;
    const IndexedImage map = DrawPegMap(grid, *cellSize, dpRatio);
    if (grid.Rows() <= 0) {
        if (!map.Empty()) fuzz::Fail("a map of a grid without rows");
        return 0;
    }
    if (map.Empty()) fuzz::Fail("no map of a grid with rows");
    if (map.width < 1 || map.width > kPegGridWidth || map.height < 1 ||
        map.height > kPegMapMaxHeight) {
        fuzz::Fail("map size out of range");
    }
    if (map.pixels.size() != static_cast<size_t>(map.width) * static_cast<size_t>(map.height)) {
        fuzz::Fail("pixel count differs from the map's size");
    }
    if (map.palette.empty() || map.palette.size() > 256) fuzz::Fail("palette size out of range");

    // The cell under each pixel's centre, in units of the picture.
    const uint64_t cellWidth = static_cast<uint64_t>(cellSize->width);
    const uint64_t cellHeight = static_cast<uint64_t>(std::max(cellSize->height, 1));
    const uint64_t heightUnits = static_cast<uint64_t>(grid.Rows()) * cellHeight;
    const uint64_t width = static_cast<uint64_t>(map.width);
    const uint64_t height = static_cast<uint64_t>(map.height);
    const uint64_t cellsPerRow = static_cast<uint64_t>(grid.CellsPerRow());
    for (uint64_t y = 0; y < height; ++y) {
        const uint64_t row = ((2 * y + 1) * heightUnits) / (2 * height * cellHeight);
        for (uint64_t x = 0; x < width; ++x) {
            const uint64_t column = ((2 * x + 1) * kPegGridWidth) / (2 * width * cellWidth);
            uint8_t expected = kPegMapBeyondIndex;
            if (column < cellsPerRow && row * cellsPerRow + column < grid.CellCount()) {
                expected = ExpectedIndex(grid.Cell(row * cellsPerRow + column), dpRatio);
            }
            if (map.IndexAt(static_cast<int32_t>(x), static_cast<int32_t>(y)) != expected) {
                fuzz::Fail("a pixel shows another cell or colour",
                           std::to_string(x) + "," + std::to_string(y));
            }
        }
    }

    const std::string png = EncodePng(map);
    if (png.empty()) fuzz::Fail("the map could not be encoded");
    const auto decoded = test::DecodePng(png);
    if (!decoded) fuzz::Fail("the PNG file does not decode");
    if (decoded->width != width || decoded->height != height) fuzz::Fail("PNG size differs");
    for (uint64_t y = 0; y < height; ++y) {
        for (uint64_t x = 0; x < width; ++x) {
            const PaletteColour colour =
                map.ColourAt(static_cast<int32_t>(x), static_cast<int32_t>(y));
            const auto rgb = decoded->At(static_cast<uint32_t>(x), static_cast<uint32_t>(y));
            if (rgb[0] != colour.red || rgb[1] != colour.green || rgb[2] != colour.blue) {
                fuzz::Fail("a PNG pixel differs from the map");
            }
        }
    }
    return 0;
}
