#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pegs/peg_map.h"
#include "report/html_page.h"

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

// A folder that the maps of check runs are written into as PNG files, one
// folder for each venue (named after its venue file) and one file for each
// peg (named after its peg file). Names that the file system would take for
// the same (letter case aside) get a number.
class PegMapFolder {
public:
    explicit PegMapFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // Creates the folder when it is missing and proves that a file can be
    // written into it; the reason when not.
    std::optional<std::string> Prepare() const;

    // Writes the maps of one check run; the reason of the first failure.
    std::optional<std::string> Write(std::string_view venueFile, const std::vector<PegMap>& maps);

    // The map files written so far.
    int Written() const { return written_; }
    const std::filesystem::path& Folder() const { return folder_; }

private:
    std::filesystem::path folder_;
    std::set<std::string> venueFolders_;  // folded to lower case
    int written_ = 0;
};

// A map as the web page shows it beside its peg section.
HtmlPegMap ForPage(PegMap map);

// The maps' legend as the web page draws it: each depth band, with objects
// and without, the land and the strip past a row's last whole cell.
std::vector<HtmlLegendEntry> PegMapLegend();

}  // namespace venuecheck
