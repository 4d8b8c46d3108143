#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "report/check_record.h"
#include "report/html_page.h"
#include "report/json_writer.h"

namespace venuecheck {

// The formats a report of check runs is written in.
enum class ReportFormat { kAnsi, kText, kRuns, kHtml, kJson, kSarif };

// "ansi", "text", "runs", "html", "json" or "sarif"; none for any other name.
std::optional<ReportFormat> ParseReportFormat(std::string_view name);
std::string_view ReportFormatName(ReportFormat format);

// What the web page says beyond its check runs.
struct HtmlPageOptions {
    std::string checkedAt;                // the date and time of the check, as shown
    bool maps = false;                    // each peg section has its map or a note
    std::vector<HtmlLegendEntry> legend;  // of the maps
};

// Writes a report of check runs in one format, the same bytes whichever
// front end writes it: the pane formats check run by check run as they are
// added, the web page and the machine formats as one document when the
// report is finished.
class ReportWriter {
public:
    ReportWriter(ReportFormat format, RunHeader header, std::ostream& out,
                 HtmlPageOptions page = {});

    // A check run recorded by `pane`, which was its report's finding
    // listener: the selector position, the venue's name and its file as the
    // game folder holds it; for the web page with maps, one map for each peg
    // section.
    void Add(int index, std::string_view venue, std::string_view venueFile,
             const CheckRecorder& pane, std::vector<HtmlPegMap> maps = {});

    // Writes what is still to come.
    void Finish();

private:
    ReportFormat format_;
    RunHeader header_;
    std::ostream& out_;
    HtmlPageOptions page_;
    std::vector<CheckResult> results_;
    std::vector<HtmlCheck> pageChecks_;
};

// The local date and time, as the web page shows when the check ran.
std::string CheckedAt();

// The game folder as the machine formats name it: absolute, lexically
// normal, '/' between the names and none at its end. Names are 8-bit text,
// as the game's are (on Windows in the ANSI code page).
std::string AbsoluteGameFolder(std::string_view folder);

}  // namespace venuecheck
