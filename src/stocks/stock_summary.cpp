#include "stocks/stock_summary.h"

namespace venuecheck {

void WriteStockSummary(const GameFolder&, Report&, const StockFileList&, const SpeciesCatalogue&,
                       const MaxSizeTable&) {}

}  // namespace venuecheck
