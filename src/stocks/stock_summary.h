#pragma once

namespace venuecheck {

class GameFolder;
class Report;
class StockFileList;
class SpeciesCatalogue;
class MaxSizeTable;

// The last section of the report: every stock file of the run, read and
// judged against its species and the maximum-size table.
void WriteStockSummary(const GameFolder& folder, Report& report, const StockFileList& stockFiles,
                       const SpeciesCatalogue& species, const MaxSizeTable& maxSizes);

}  // namespace venuecheck
