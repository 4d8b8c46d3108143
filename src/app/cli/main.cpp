// venuecheck: the check run of the venue checker on the command line.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "app/cli/console.h"
#include "app/cli/interruption.h"
#include "app/cli/options.h"
#include "app/cli/output_file.h"
#include "check/checker.h"
#include "check/peg_maps.h"
#include "common/host_path.h"
#include "common/text.h"
#include "common/version.h"
#include "report/check_record.h"
#include "report/html_page.h"
#include "report/json_writer.h"
#include "report/report.h"
#include "report/report_output.h"
#include "report/rules_document.h"

namespace {

using namespace venuecheck;

constexpr int kExitClean = 0;
constexpr int kExitFindings = 1;
constexpr int kExitUsage = 2;

int Fail(const std::string& message) {
    std::cerr << "venuecheck: " << OneLine(message) << "\n";
    return kExitUsage;
}

// The first venue in catalogue order whose name equals the given one: exact
// match first, then without regard to letter case.
std::optional<int> FindVenue(const std::vector<std::string>& names, const std::string& wanted) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == wanted) return static_cast<int>(i);
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (EqualNoCase(names[i], wanted)) return static_cast<int>(i);
    }
    return std::nullopt;
}

// A line on a terminal's standard error that says which venue is being
// checked, rewritten in place (at most ten times a second); it shows once a
// run has taken a second.
class Progress {
public:
    using Clock = std::chrono::steady_clock;

    Progress(size_t total, bool enabled) : total_(total), enabled_(enabled && total > 1) {
        // Tests ask for the line at once.
        if (const char* delay = std::getenv("VENUECHECK_PROGRESS_DELAY_MS")) {
            delay_ = std::chrono::milliseconds(std::atoi(delay));
        }
    }

    void Checking(size_t done, std::string_view venue) {
        if (!enabled_) return;
        const auto now = Clock::now();
        if (now - start_ < delay_ ||
            (shown_ && now - lastShown_ < std::chrono::milliseconds(100))) {
            return;
        }
        std::cerr << "\r\x1b[Kchecking " << done + 1 << " of " << total_ << ": " << venue
                  << std::flush;
        shown_ = true;
        lastShown_ = now;
    }

    void Clear() {
        if (shown_) std::cerr << "\r\x1b[K" << std::flush;
        shown_ = false;
    }

private:
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastShown_;
    Clock::duration delay_ = std::chrono::seconds(1);
    size_t total_;
    bool enabled_;
    bool shown_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    // The plain copies, probes and report file the run makes and deletes again.
    RunFiles runFiles;
    const EndRunOnInterruption endRun(runFiles);

    const Console console;
    ParsedCommandLine parsed = ParseCommandLine(argc, argv);
    if (!parsed.options) {
        std::cout << parsed.out;
        if (parsed.status != 0) return Fail(parsed.error);
        return parsed.status;
    }
    const CommandLineOptions& o = *parsed.options;
    const std::string& gameDir = o.gameDir;
    const auto& output = o.output;
    const auto& filesRead = o.filesRead;
    const FindingFilter& filter = o.filter;
    std::optional<std::string> format = o.format;

    if (o.version) {
        std::cout << "venuecheck " << kVersion << "\n";
        return kExitClean;
    }
    const RunHeader header{"venuecheck", kVersion, AbsoluteGameFolder(gameDir)};
    if (o.listRules) {
        std::cout << (format && *format == "json" ? RenderJsonRules(header) : RenderRulesText());
        std::cout.flush();
        return std::cout ? kExitClean : Fail("cannot write the rules");
    }

    const std::filesystem::path gameRoot = GameFolderPath(gameDir);
    std::error_code ec;
    if (!std::filesystem::is_directory(gameRoot, ec)) {
        return Fail("game folder '" + gameDir + "' does not exist" + WhyFolderIsMissing(gameRoot));
    }

    std::vector<std::string> readPaths;
    GameFolder folder(gameRoot);
    folder.TrackRunFiles(&runFiles);
    if (filesRead) {
        folder.OnFileRead([&readPaths](const std::filesystem::path& path) {
            readPaths.push_back(path.string());
        });
    }
    Checker checker{std::move(folder)};
    checker.StartUp();
    const std::vector<std::string> names = checker.VenueNames();
    if (names.empty()) {
        // Almost always the wrong folder rather than a game without venues.
        std::string venues = gameDir;
        if (!venues.empty() && venues.back() != '/' && venues.back() != '\\') venues += '/';
        return Fail("no venue files in '" + venues + "venues': is " + gameDir +
                    " the game folder?");
    }

    // Before the report is opened, so that a folder that cannot take the
    // maps leaves an earlier report as it was.
    std::optional<PegMapFolder> mapFolder;
    if (o.mapsDir && !o.list) {
        mapFolder.emplace(HostPath(*o.mapsDir));
        if (auto error = mapFolder->Prepare()) return Fail(*error);
    }

    std::optional<OutputFile> file;
    if (output) {
        file.emplace(HostPath(*output), runFiles);
        if (!file->IsOpen()) return Fail(file->Error());
    }
    std::ostream& out = output ? file->Stream() : std::cout;

    auto writeFilesRead = [&filesRead, &readPaths] {
        if (!filesRead) return true;
        std::ofstream paths(HostPath(*filesRead), std::ios::binary | std::ios::trunc);
        for (const auto& path : readPaths) paths << path << "\n";
        return static_cast<bool>(paths.flush());
    };

    if (o.list) {
        for (const auto& name : names) out << name << "\n";
        out.flush();
        if (file && !file->Commit()) return Fail(file->Error());
        if (!out) return Fail("cannot write the venue list");
        return writeFilesRead() ? kExitClean : Fail("cannot write '" + *filesRead + "'");
    }

    std::vector<int> positions;
    if (const auto& index = o.index) {
        if (*index < 0 || static_cast<size_t>(*index) >= names.size()) {
            return Fail("no venue at position " + std::to_string(*index) + " (there are " +
                        std::to_string(names.size()) + ")");
        }
        positions.push_back(*index);
    } else if (const auto& venueName = o.venueName) {
        const auto found = FindVenue(names, *venueName);
        if (!found) return Fail("no venue named '" + *venueName + "'");
        positions.push_back(*found);
    } else {
        for (size_t i = 0; i < names.size(); ++i) positions.push_back(static_cast<int>(i));
    }

    if (!format) format = (!output && console.OutputTakesColours()) ? "ansi" : "text";
    const ReportFormat reportFormat = *ParseReportFormat(*format);
    const bool pageMaps = reportFormat == ReportFormat::kHtml && !o.noMaps;
    // Maps cost a reading of every grid whole and a picture of it: only when
    // they are asked for.
    PegMapMaker mapMaker;
    if (pageMaps || mapFolder) checker.SetPegGridObserver(&mapMaker);
    std::optional<std::string> mapError;
    HtmlPageOptions page{CheckedAt(), pageMaps, {}};
    if (pageMaps) page.legend = PegMapLegend();

    FindingCounts total;
    ReportWriter writer(reportFormat, header, out, std::move(page));
    Progress progress(positions.size(), console.ErrorIsTerminal());
    for (size_t done = 0; done < positions.size(); ++done) {
        const int position = positions[done];
        const std::string& venue = names[static_cast<size_t>(position)];
        progress.Checking(done, venue);
        CheckRecorder pane;
        Report report(pane, &pane);
        report.SetFilter([&filter](const Finding& finding) { return filter.Shows(finding); });
        checker.CheckRun(position, report);
        total += report.Counts();
        std::vector<PegMap> maps = mapMaker.TakeMaps();
        std::string venueFile;
        if (const VenueRecord* record =
                checker.Venues().VenueAtIndex(static_cast<size_t>(position))) {
            venueFile = checker.Folder().FoundPath(record->Path);
        }
        if (mapFolder && !mapError) mapError = mapFolder->Write(venueFile, maps);
        std::vector<HtmlPegMap> shownMaps;
        if (pageMaps) {
            for (PegMap& map : maps) shownMaps.push_back(ForPage(std::move(map)));
        }
        writer.Add(position, venue, venueFile, pane, std::move(shownMaps));
    }
    progress.Clear();
    writer.Finish();
    out.flush();
    checker.ShutDown();
    if (file && !file->Commit()) return Fail(file->Error());
    if (!out) return Fail("cannot write the report");
    if (!writeFilesRead()) return Fail("cannot write '" + *filesRead + "'");
    if (mapFolder) {
        std::cerr << mapFolder->Written() << (mapFolder->Written() == 1 ? " peg map" : " peg maps")
                  << " written to '" << GameName(mapFolder->Folder()) << "'\n";
        if (mapError) return Fail(*mapError);
    }

    std::cerr << positions.size() << " venues checked: " << total.errors << " errors, "
              << total.warnings << " warnings, " << total.advice << " advice\n";
    if (total.errors > 0) return kExitFindings;
    if (o.maxWarnings && total.warnings > *o.maxWarnings) return kExitFindings;
    return kExitClean;
}
