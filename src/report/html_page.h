#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "report/check_record.h"
#include "report/json_writer.h"
#include "report/recording_pane.h"

namespace venuecheck {

// The map of one peg section, as the page shows it beside the section.
struct HtmlPegMap {
    std::string png;  // PNG bytes; empty when there is no map
    int32_t width = 0;
    int32_t height = 0;
    bool analysed = false;  // false: the data file could not be analysed
    std::string pegName;
    std::string dataFile;
};

// One row of the maps' legend: a colour and what it shows, or two colours
// (water with objects and without) for a band of depths.
struct HtmlLegendEntry {
    std::string label;
    Rgb colour;
    std::optional<Rgb> bare;
};

// One check run as the page shows it.
struct HtmlCheck {
    int index = 0;  // the selector position
    std::string venue;
    std::string venueFile;
    std::vector<StyledRun> runs;            // the pane's content
    std::vector<RecordedFinding> findings;  // each with the place of its line
    FindingCounts counts;
    // One for each peg section, in order, when maps were drawn.
    std::vector<HtmlPegMap> maps;
};

struct HtmlPageInfo {
    RunHeader header;
    std::string checkedAt;  // the date and time of the check, as shown
    bool maps = false;      // maps were drawn (each peg section has one or a note)
    // The legend of the maps: land, water with and without objects by depth
    // band, the strip past a row's last cell.
    std::vector<HtmlLegendEntry> legend;
};

// The web page of a run: one self-contained HTML5 file. A header with the
// game folder, the date, the totals, the toggles of errors, warnings,
// advice and detail lines, and a table of the venues; then each check run's
// pane text whole and in order, in its fonts and colours, every finding line
// linking to its rule's help; the maps beside their peg sections; the help
// of every rule the page shows. Text from the game's data is 8-bit Windows
// text (code page 1252).
void WriteHtmlPage(std::ostream& page, const HtmlPageInfo& info,
                   const std::vector<HtmlCheck>& checks);
std::string RenderHtmlPage(const HtmlPageInfo& info, const std::vector<HtmlCheck>& checks);

}  // namespace venuecheck
