#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "report/check_record.h"
#include "report/json_writer.h"

namespace venuecheck {

// The formats a report of check runs is written in.
enum class ReportFormat { kAnsi, kText, kRuns, kHtml, kJson, kSarif };

// "ansi", "text", "runs", "html", "json" or "sarif"; none for any other name.
std::optional<ReportFormat> ParseReportFormat(std::string_view name);
std::string_view ReportFormatName(ReportFormat format);

// Writes a report of check runs in one format, the same bytes whichever
// front end writes it: the pane formats check run by check run as they are
// added, the machine formats as one document when the report is finished.
// The html page's head is written at once.
class ReportWriter {
public:
    ReportWriter(ReportFormat format, RunHeader header, std::ostream& out);

    // A check run recorded by `pane`, which was its report's finding
    // listener: the selector position, the venue's name and its file as the
    // game folder holds it.
    void Add(int index, std::string_view venue, std::string_view venueFile,
             const CheckRecorder& pane);

    // Writes what is still to come (the page's foot, the machine document).
    void Finish();

private:
    ReportFormat format_;
    RunHeader header_;
    std::ostream& out_;
    std::vector<CheckResult> results_;
};

// The game folder as the machine formats name it: absolute, lexically
// normal, '/' between the names and none at its end. Names are 8-bit text,
// as the game's are (on Windows in the ANSI code page).
std::string AbsoluteGameFolder(std::string_view folder);

}  // namespace venuecheck
