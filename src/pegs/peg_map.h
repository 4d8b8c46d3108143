#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/png_image.h"
#include "pegs/peg_data.h"

namespace venuecheck {

class GameFolder;
struct PegRecord;

// The size of a grid's cells in the units of the peg's picture, whose rows
// span 480 units.
struct PegCellSize {
    int32_t width = 0;   // 1 to 480
    int32_t height = 0;  // the size of the file's cell height, whatever its sign
};

// The cell size that a peg data file's header gives; none when the file
// holds no grid that can be laid out (as ReadPegData).
std::optional<PegCellSize> ReadPegCellSize(std::string_view bytes);

// One band of the fixed depth scale of every map: the depths above the
// band before it, up to and including `deepest`.
struct PegMapDepthBand {
    float deepest = 0.0f;      // inches; infinite for the last band
    PaletteColour covered;     // water with at least one object
    PaletteColour bare;        // water without any object
    uint8_t coveredIndex = 0;  // the colours' places in every map's palette
    uint8_t bareIndex = 0;
    std::string label;  // in the report's distance format: "2' 0\" to 3' 0\""
};

// The scale, shallow to deep, the same for every peg so that maps compare.
const std::vector<PegMapDepthBand>& PegMapDepthScale();

// The other colours of every map and their places in its palette.
inline constexpr uint8_t kPegMapLandIndex = 0;    // a cell without water
inline constexpr uint8_t kPegMapBeyondIndex = 1;  // past the row's last whole cell
inline constexpr PaletteColour kPegMapLand{118, 142, 86};
inline constexpr PaletteColour kPegMapBeyond{224, 224, 224};

// A map is drawn one unit a pixel up to this height, and scaled down to it,
// with its proportions, when the grid is taller.
inline constexpr int32_t kPegMapMaxHeight = 1440;

// A picture of a peg's grid: each cell at its place, cell width units wide
// and cell height units high across the 480 units of a row; a cell without
// water in the land colour; water in the colour of its depth band (depth x
// `dpRatio` inches), blue where the cell holds an object and orange where it
// holds none. Empty when the grid has no rows.
IndexedImage DrawPegMap(const PegDataGrid& grid, PegCellSize cellSize, float dpRatio);

// Told of every peg as its section is written, with the grid that was
// analysed for its figures, so that a map of it can be drawn.
class PegGridObserver {
public:
    virtual ~PegGridObserver() = default;
    // `grid` and `cellSize` are none when the peg's data file could not be
    // analysed (no Data value, missing, an archive path, no grid that can be
    // laid out, too large to hold).
    virtual void OnPegGrid(const PegRecord& peg, const PegDataGrid* grid,
                           std::optional<PegCellSize> cellSize) = 0;
};

// AnalysePegDataFile with the grid read whole, so that the observer sees it;
// the figures and the outline are the same. A file too large to hold is
// counted piece by piece as without an observer, and the observer is told
// of no grid.
PegDataOutline AnalysePegDataFileFor(const GameFolder& folder, std::string_view path,
                                     const PegRecord& peg, PegAnalysis& analysis,
                                     PegGridObserver& observer);

}  // namespace venuecheck
