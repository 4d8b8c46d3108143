#include "pegs/peg_report.h"

namespace venuecheck {

void ReportPeg(const GameFolder&, Report&, const std::vector<PegRecord>&, const PegRecord&,
               StockFileList&) {}

}  // namespace venuecheck
