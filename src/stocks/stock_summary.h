#pragma once

#include <optional>
#include <string_view>

#include "stocks/stock_parser.h"

namespace venuecheck {

class GameFolder;
class Report;
class StockFileList;
class SpeciesCatalogue;
class MaxSizeTable;

// The last section of the report: every stock file of the run, newest first,
// read and judged against its species and the maximum-size table.
void WriteStockSummary(const GameFolder& folder, Report& report, const StockFileList& stockFiles,
                       const SpeciesCatalogue& species, const MaxSizeTable& maxSizes);

// Makes a record for the stock file and reads the file into it; the parser's
// messages go to the report. A file that cannot be opened leaves the record
// as it was made. None when no record can be made.
std::optional<StockRecord> LoadStock(const GameFolder& folder, std::string_view name,
                                     const SpeciesCatalogue& species, Report& report);

// How easy the stock is to catch, from the spread and importance of seven of
// its ranges; also stored in the record.
float ComputeEaseScore(StockRecord& stock);

// Writes what follows a stock file's name and its parser's messages: the
// species and sizes, the judgement of how easy the stock is to catch and the
// size check; or the error that no record could be made.
void JudgeStock(Report& report, std::string_view name, std::optional<StockRecord>& stock,
                const MaxSizeTable& maxSizes);

}  // namespace venuecheck
