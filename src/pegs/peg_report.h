#pragma once

#include <vector>

namespace venuecheck {

class GameFolder;
class Report;
class StockFileList;
struct PegRecord;

// Writes the section of one peg: details, the figures of its data file and
// their findings, the records probe, then its stocking list, whose stock
// files are added to the run's list.
void ReportPeg(const GameFolder& folder, Report& report, const std::vector<PegRecord>& pegs,
               const PegRecord& peg, StockFileList& stockFiles);

}  // namespace venuecheck
