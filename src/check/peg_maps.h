#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pegs/peg_map.h"

namespace venuecheck {

// The map of one peg of a check run.
struct PegMap {
    std::string pegName;   // the peg's Name
    std::string pegFile;   // the path its peg file was read under
    std::string dataFile;  // its Data value
    // True when the data file was analysed; a grid of no rows is analysed
    // and still has no map.
    bool analysed = false;
    std::string png;  // the PNG file of the map; empty when there is none
    int32_t width = 0;
    int32_t height = 0;
};

// Draws the map of every peg of the check runs it is shown to (see
// Checker::SetPegGridObserver), as each peg is reported.
class PegMapMaker : public PegGridObserver {
public:
    void OnPegGrid(const PegRecord& peg, const PegDataGrid* grid,
                   std::optional<PegCellSize> cellSize) override;

    // The maps made since the last call, in report order: one for each peg
    // section.
    std::vector<PegMap> TakeMaps();

private:
    std::vector<PegMap> maps_;
};

}  // namespace venuecheck
