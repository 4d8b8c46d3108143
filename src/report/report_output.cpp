#include "report/report_output.h"

#include <array>
#include <ctime>
#include <utility>

#include "common/host_path.h"
#include "report/report_formats.h"
#include "report/sarif_writer.h"

namespace venuecheck {
namespace {

struct FormatName {
    ReportFormat format;
    std::string_view name;
};

constexpr std::array<FormatName, 6> kFormatNames = {{
    {ReportFormat::kAnsi, "ansi"},
    {ReportFormat::kText, "text"},
    {ReportFormat::kRuns, "runs"},
    {ReportFormat::kHtml, "html"},
    {ReportFormat::kJson, "json"},
    {ReportFormat::kSarif, "sarif"},
}};

bool IsMachineFormat(ReportFormat format) {
    return format == ReportFormat::kJson || format == ReportFormat::kSarif;
}

}  // namespace

std::optional<ReportFormat> ParseReportFormat(std::string_view name) {
    for (const FormatName& entry : kFormatNames) {
        if (entry.name == name) return entry.format;
    }
    return std::nullopt;
}

std::string_view ReportFormatName(ReportFormat format) {
    for (const FormatName& entry : kFormatNames) {
        if (entry.format == format) return entry.name;
    }
    return "text";
}

ReportWriter::ReportWriter(ReportFormat format, RunHeader header, std::ostream& out,
                           HtmlPageOptions page)
    : format_(format), header_(std::move(header)), out_(out), page_(std::move(page)) {}

void ReportWriter::Add(int index, std::string_view venue, std::string_view venueFile,
                       const CheckRecorder& pane, std::vector<HtmlPegMap> maps) {
    const std::vector<StyledRun>& runs = pane.Runs();
    FindingCounts counts;
    for (const RecordedFinding& recorded : pane.Findings()) counts.Add(recorded.finding.severity);
    switch (format_) {
        case ReportFormat::kText:
            out_ << RenderText(runs);
            return;
        case ReportFormat::kAnsi:
            out_ << RenderAnsi(runs);
            return;
        case ReportFormat::kRuns:
            out_ << RenderRuns(index, venue, runs);
            return;
        case ReportFormat::kHtml:
            pageChecks_.push_back(HtmlCheck{index, std::string(venue), std::string(venueFile), runs,
                                            pane.Findings(), counts, std::move(maps)});
            return;
        case ReportFormat::kJson:
        case ReportFormat::kSarif:
            break;
    }
    CheckResult result{index, std::string(venue), std::string(venueFile), {}, counts};
    result.findings.reserve(pane.Findings().size());
    for (const RecordedFinding& recorded : pane.Findings()) {
        result.findings.push_back(recorded.finding);
    }
    results_.push_back(std::move(result));
}

void ReportWriter::Finish() {
    if (format_ == ReportFormat::kHtml) {
        const HtmlPageInfo info{header_, page_.checkedAt, page_.maps, page_.legend};
        WriteHtmlPage(out_, info, pageChecks_);
        pageChecks_.clear();
    }
    if (!IsMachineFormat(format_)) return;
    out_ << (format_ == ReportFormat::kJson ? RenderJsonReport(header_, results_)
                                            : RenderSarifReport(header_, results_));
    results_.clear();
}

std::string CheckedAt() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M", &local);
    return buffer;
}

std::string AbsoluteGameFolder(std::string_view folder) {
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(HostPath(folder), ec);
    if (ec) path = HostPath(folder);
    std::string text = GameName(path.lexically_normal());
    if (std::filesystem::path::preferred_separator == '\\') {
        for (char& c : text) {
            if (c == '\\') c = '/';
        }
    }
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

}  // namespace venuecheck
