#include "check/checker.h"

#include "pegs/peg_report.h"
#include "stocks/stock_summary.h"
#include "venues/venue_report.h"

namespace venuecheck {

// Each step lists a folder once, however many of its files it looks up.

void Checker::LoadMaxSizes() {
    const KeptListings kept(folder_);
    maxSizes_.LoadMaxSizes(folder_);
}

void Checker::LoadSpecies() {
    const KeptListings kept(folder_);
    species_.LoadSpecies(folder_);
}

void Checker::LoadVenues() {
    const KeptListings kept(folder_);
    venues_.LoadVenueCatalogue(folder_);
}

std::vector<std::string> Checker::VenueNames() const {
    std::vector<std::string> names;
    names.reserve(venues_.Venues().size());
    for (const auto& venue : venues_.Venues()) names.push_back(venue.Name);
    return names;
}

bool Checker::CheckRun(int position, Report& report) {
    selected_ = position < 0 ? nullptr : venues_.VenueAtIndex(static_cast<size_t>(position));
    if (selected_ == nullptr) return false;

    const KeptListings kept(folder_);
    report.SetFolder(&folder_);
    report.BeginCheck(position, selected_->Name, selected_->Path);
    pegs_.FreePegs();
    pegCount_ = pegs_.LoadPegs(folder_, selected_->Dir);
    WriteVenueReport(folder_, report, selected_, pegCount_);

    int written = 0;
    for (const PegRecord& peg : pegs_.Pegs()) {
        if (written >= pegCount_) break;
        ReportPeg(folder_, report, pegs_.Pegs(), peg, stockFiles_, pegAnalysis_,
                  pegGridObserver_);
        ++written;
    }

    WriteStockSummary(folder_, report, stockFiles_, species_, maxSizes_);
    stockFiles_.ClearStockFiles();
    return true;
}

void Checker::ShutDown() {
    maxSizes_.FreeMaxSizes();
    pegs_.FreePegs();
    venues_.FreeVenueCatalogue();
    selected_ = nullptr;
}

}  // namespace venuecheck
