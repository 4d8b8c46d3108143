#include "report/report_pane.h"

namespace venuecheck {

void WriteSectionHeading(ReportPane& pane, std::string_view heading) {
    pane.PaneSetColour(style::kBlack);
    pane.PaneSetFont(style::kFace, style::kHeadingSize);
    pane.PaneSetBold(1);
    pane.PaneAppend(heading);
    pane.PaneSetBold(0);
    pane.PaneSetFont(style::kFace, style::kBodySize);
}

}  // namespace venuecheck
