#pragma once

#include <string>
#include <vector>

#include "common/game_folder.h"
#include "common/read_ahead.h"
#include "pegs/peg_catalogue.h"
#include "pegs/peg_data.h"
#include "pegs/peg_map.h"
#include "report/report.h"
#include "species/max_size_table.h"
#include "species/species_catalogue.h"
#include "stocks/stock_file_list.h"
#include "venues/venue_catalogue.h"

namespace venuecheck {

// The checker's state for one game folder: the catalogues read at start-up,
// the pegs of the selected venue and the stock files of a check run. Every
// front end drives one: the start-up steps in order, a check run per
// selection, the releases at shut-down.
class Checker {
public:
    // With `readAhead`, the check run reads and counts on a second core what
    // it will read later, wherever that gives the same report; without, it
    // does everything in its turn on the calling thread.
    explicit Checker(GameFolder folder, bool readAhead = true)
        : folder_(std::move(folder)), readAhead_(readAhead) {
        folder_.UseReadAhead(&readAhead_);
    }

    const GameFolder& Folder() const { return folder_; }

    // The start-up steps, in the order the windows call them around showing
    // themselves: maximum sizes, species, venues.
    void LoadMaxSizes();
    void LoadSpecies();
    void LoadVenues();
    void StartUp() {
        LoadMaxSizes();
        LoadSpecies();
        LoadVenues();
    }

    // The entries of the venue selector, in catalogue order.
    std::vector<std::string> VenueNames() const;
    const VenueCatalogue& Venues() const { return venues_; }
    // The pegs of the last check run, in report order.
    const std::vector<PegRecord>& Pegs() const { return pegs_.Pegs(); }

    // The check run for a selector position: the venue section, one section
    // per peg and the stock summary. False, with the pane untouched, when no
    // venue is at that position.
    bool CheckRun(int position, Report& report);

    // Shows every peg's grid to the observer during the check runs that
    // follow (none: no grid is shown, and none is held whole).
    void SetPegGridObserver(PegGridObserver* observer) { pegGridObserver_ = observer; }

    // The releases after the message loop; the species stay, as in the game.
    void ShutDown();

private:
    GameFolder folder_;
    MaxSizeTable maxSizes_;
    SpeciesCatalogue species_;
    VenueCatalogue venues_;
    PegCatalogue pegs_;
    StockFileList stockFiles_;
    PegAnalysis pegAnalysis_;  // the figures of the peg reported last
    PegGridObserver* pegGridObserver_ = nullptr;
    // Figures worked out ahead of their turn, kept for the next grids so that
    // the memory of their masks is reused.
    std::vector<PegAnalysis> spareAnalyses_;
    ReadAhead readAhead_;
    const VenueRecord* selected_ = nullptr;
    int pegCount_ = 0;
};

}  // namespace venuecheck
