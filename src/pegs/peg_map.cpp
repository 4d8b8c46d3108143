#include "pegs/peg_map.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "common/file_services.h"
#include "common/formatting.h"
#include "common/game_folder.h"
#include "pegs/peg_catalogue.h"

namespace venuecheck {
namespace {

int16_t ReadInt16(std::string_view bytes, size_t offset) {
    const auto low = static_cast<unsigned char>(bytes[offset]);
    const auto high = static_cast<unsigned char>(bytes[offset + 1]);
    return static_cast<int16_t>(static_cast<uint16_t>(low | high << 8));
}

// The deepest depth of each band but the last, in inches. Seven bands, with
// land and the strip past a row's last cell, make 16 colours: a map then
// takes 4 bits a pixel.
constexpr std::array<float, 6> kBandDepths = {12, 24, 48, 72, 108, 168};
constexpr size_t kBands = kBandDepths.size() + 1;

// Shallow water light, deep water dark.
constexpr PaletteColour kCoveredShallow{198, 219, 239};
constexpr PaletteColour kCoveredDeep{8, 48, 107};
constexpr PaletteColour kBareShallow{253, 208, 162};
constexpr PaletteColour kBareDeep{127, 39, 4};

PaletteColour Between(PaletteColour from, PaletteColour to, size_t step, size_t steps) {
    const auto mix = [step, steps](uint8_t a, uint8_t b) {
        const int value =
            a + (static_cast<int>(b) - a) * static_cast<int>(step) / static_cast<int>(steps - 1);
        return static_cast<uint8_t>(value);
    };
    return {mix(from.red, to.red), mix(from.green, to.green), mix(from.blue, to.blue)};
}

std::vector<PegMapDepthBand> MakeScale() {
    std::vector<PegMapDepthBand> scale(kBands);
    for (size_t band = 0; band < kBands; ++band) {
        PegMapDepthBand& entry = scale[band];
        entry.deepest =
            band < kBandDepths.size() ? kBandDepths[band] : std::numeric_limits<float>::infinity();
        entry.covered = Between(kCoveredShallow, kCoveredDeep, band, kBands);
        entry.bare = Between(kBareShallow, kBareDeep, band, kBands);
        entry.coveredIndex = static_cast<uint8_t>(2 + band);
        entry.bareIndex = static_cast<uint8_t>(2 + kBands + band);
        if (band == 0) {
            entry.label = "up to " + FormatDistance(entry.deepest);
        } else if (band < kBandDepths.size()) {
            entry.label =
                FormatDistance(kBandDepths[band - 1]) + " to " + FormatDistance(entry.deepest);
        } else {
            entry.label = "deeper than " + FormatDistance(kBandDepths[band - 1]);
        }
    }
    return scale;
}

std::vector<PaletteColour> MapPalette() {
    std::vector<PaletteColour> palette(2 + 2 * kBands);
    palette[kPegMapLandIndex] = kPegMapLand;
    palette[kPegMapBeyondIndex] = kPegMapBeyond;
    for (const PegMapDepthBand& band : PegMapDepthScale()) {
        palette[band.coveredIndex] = band.covered;
        palette[band.bareIndex] = band.bare;
    }
    return palette;
}

// The palette index of a cell, looked up by its depth, plus 256 when it
// holds no object.
using CellColours = std::array<uint8_t, 512>;

CellColours ColoursFor(float dpRatio) {
    const std::vector<PegMapDepthBand>& scale = PegMapDepthScale();
    CellColours colours{};
    colours[0] = kPegMapLandIndex;
    colours[256] = kPegMapLandIndex;
    for (int depth = 1; depth < 256; ++depth) {
        // The product in single precision, as the analysis takes it.
        const float inches = static_cast<float>(depth) * dpRatio;
        size_t band = 0;
        // A depth that is not a number falls in the shallowest band.
        while (band + 1 < scale.size() && inches > scale[band].deepest) ++band;
        colours[static_cast<size_t>(depth)] = scale[band].coveredIndex;
        colours[256 + static_cast<size_t>(depth)] = scale[band].bareIndex;
    }
    return colours;
}

uint8_t ColourOf(const CellColours& colours, PegCell cell) {
    return colours[cell.depth | (cell.mask == 0 ? 256u : 0u)];
}

}  // namespace

std::optional<PegCellSize> ReadPegCellSize(std::string_view bytes) {
    if (bytes.size() < kPegDataHeaderSize) return std::nullopt;
    const int16_t height = ReadInt16(bytes, kObjectTableSize);
    const int16_t width = ReadInt16(bytes, kObjectTableSize + 2);
    if (height == 0 || width < 1 || width > kPegGridWidth) return std::nullopt;
    return PegCellSize{width, height < 0 ? -int32_t{height} : int32_t{height}};
}

const std::vector<PegMapDepthBand>& PegMapDepthScale() {
    static const std::vector<PegMapDepthBand> scale = MakeScale();
    return scale;
}

IndexedImage DrawPegMap(const PegDataGrid& grid, PegCellSize cellSize, float dpRatio) {
    IndexedImage image;
    const size_t cellsPerRow = static_cast<size_t>(std::max(grid.CellsPerRow(), 0));
    const uint64_t rows = static_cast<uint64_t>(std::max(grid.Rows(), 0));
    const uint64_t cellWidth = static_cast<uint64_t>(std::clamp(cellSize.width, 1, kPegGridWidth));
    const uint64_t cellHeight = static_cast<uint64_t>(std::max(cellSize.height, 1));
    const uint64_t heightUnits = rows * cellHeight;
    if (heightUnits == 0 || cellsPerRow == 0) return image;

    // One unit a pixel, or scaled down to the highest map with the same
    // proportions.
    const uint64_t widthUnits = kPegGridWidth;
    uint64_t width = widthUnits;
    uint64_t height = heightUnits;
    if (heightUnits > static_cast<uint64_t>(kPegMapMaxHeight)) {
        height = kPegMapMaxHeight;
        width = std::max<uint64_t>(1, (widthUnits * height * 2 + heightUnits) / (heightUnits * 2));
    }
    image.width = static_cast<int32_t>(width);
    image.height = static_cast<int32_t>(height);
    image.palette = MapPalette();
    image.pixels.assign(static_cast<size_t>(width * height), kPegMapBeyondIndex);
    const CellColours colours = ColoursFor(dpRatio);
    uint8_t* const pixels = image.pixels.data();

    if (height == heightUnits) {
        // Each cell row gives cell height rows of pixels, each cell cell
        // width pixels of them; the grid is walked once, in file order.
        const size_t w = static_cast<size_t>(cellWidth);
        const size_t h = static_cast<size_t>(cellHeight);
        uint8_t* row = pixels;
        size_t column = 0;
        const auto endRow = [&] {
            column = 0;
            for (size_t copy = 1; copy < h; ++copy) std::memcpy(row + copy * width, row, width);
            row += h * width;
        };
        if (w == 1 && h == 1) {
            // The finest grids, a cell a pixel, the pixels in the cells'
            // order. The place is the lambda's own, not a captured local:
            // a byte stored through a pointer could be any local.
            grid.ForEachCell(
                [at = pixels, &colours](PegCell cell) mutable { *at++ = ColourOf(colours, cell); });
        } else if (w == 1) {
            grid.ForEachCell([&](PegCell cell) {
                row[column] = ColourOf(colours, cell);
                if (++column == cellsPerRow) endRow();
            });
        } else {
            grid.ForEachCell([&](PegCell cell) {
                const uint8_t colour = ColourOf(colours, cell);
                uint8_t* at = row + column * w;
                for (size_t i = 0; i < w; ++i) at[i] = colour;
                if (++column == cellsPerRow) endRow();
            });
        }
        return image;
    }

    // Scaled down: each pixel shows the cell under its centre.
    std::vector<int64_t> columnOf(static_cast<size_t>(width));
    for (uint64_t x = 0; x < width; ++x) {
        const uint64_t column = ((2 * x + 1) * widthUnits) / (2 * width * cellWidth);
        columnOf[x] = column < cellsPerRow ? static_cast<int64_t>(column) : -1;
    }
    uint64_t shownRow = std::numeric_limits<uint64_t>::max();
    for (uint64_t y = 0; y < height; ++y) {
        uint8_t* const out = pixels + y * width;
        const uint64_t cellRow = ((2 * y + 1) * heightUnits) / (2 * height * cellHeight);
        if (cellRow == shownRow) {
            std::memcpy(out, out - width, width);
            continue;
        }
        shownRow = cellRow;
        const size_t first = static_cast<size_t>(cellRow) * cellsPerRow;
        for (uint64_t x = 0; x < width; ++x) {
            if (columnOf[x] < 0) continue;
            out[x] = ColourOf(colours, grid.Cell(first + static_cast<size_t>(columnOf[x])));
        }
    }
    return image;
}

PegDataOutline AnalysePegDataFileFor(const GameFolder& folder, std::string_view path,
                                     const PegRecord& peg, PegAnalysis& analysis,
                                     PegGridObserver& observer) {
    PegDataOutline outline;
    if (path.empty() || IsArchivePath(path)) {
        observer.OnPegGrid(peg, nullptr, std::nullopt);
        return outline;
    }
    std::optional<std::string> bytes;
    try {
        bytes = folder.ReadFile(path);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    if (!bytes) {
        // Missing, or too large to hold: counted as it is read, if it can be.
        outline = AnalysePegDataFile(folder, path, peg, analysis);
        observer.OnPegGrid(peg, nullptr, std::nullopt);
        return outline;
    }

    const std::optional<PegCellSize> cellSize = ReadPegCellSize(*bytes);
    const PegData data = ReadPegData(std::move(*bytes));
    outline.objectTableRead = data.objectTableRead;
    outline.addedObjects = data.addedObjects;
    if (!data.grid) {
        observer.OnPegGrid(peg, nullptr, std::nullopt);
        return outline;
    }
    outline.cellsPerRow = data.grid->CellsPerRow();
    outline.rows = data.grid->Rows();
    try {
        AnalysePegData(*data.grid, peg, analysis);
    } catch (const std::bad_alloc&) {
        // As AnalysePegDataFile: more distinct masks than memory can hold.
        analysis.uniqueMasks = UniqueMaskSet();
        observer.OnPegGrid(peg, nullptr, std::nullopt);
        return outline;
    }
    outline.analysed = true;
    observer.OnPegGrid(peg, &*data.grid, cellSize);
    return outline;
}

}  // namespace venuecheck
