#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "pegs/peg_data.h"

namespace venuecheck {

class GameFolder;
class PegGridObserver;
class Report;
class StockFileList;
struct PegRecord;

// The name of a Seatype value; "User sea type" for any value beyond the
// game's ten.
std::string_view SeaTypeName(int32_t seaType);

// Writes the section of one peg: its details, the figures of its data file
// and their findings, the records probe, then its stocking list, whose stock
// files are added to the run's list. `pegs` is the venue's whole peg list,
// against which the peg's reference must be unique.
void ReportPeg(const GameFolder& folder, Report& report, const std::vector<PegRecord>& pegs,
               const PegRecord& peg, StockFileList& stockFiles);

// The same, with the figures worked out in `analysis`, which the check run
// passes for every peg so that the memory of a large grid's masks serves
// the next grid too. Every figure is set anew. An observer, when given, is
// shown the peg's grid (which is then read whole rather than piece by piece).
void ReportPeg(const GameFolder& folder, Report& report, const std::vector<PegRecord>& pegs,
               const PegRecord& peg, StockFileList& stockFiles, PegAnalysis& analysis,
               PegGridObserver* gridObserver = nullptr);

// The same, with the figures taken from `source` (see PegDataSource).
void ReportPeg(const GameFolder& folder, Report& report, const std::vector<PegRecord>& pegs,
               const PegRecord& peg, StockFileList& stockFiles, PegAnalysis& analysis,
               const PegDataSource& source);

}  // namespace venuecheck
