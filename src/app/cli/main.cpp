// venuecheck: the check run of the venue checker on the command line.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "app/cli/console.h"
#include "check/checker.h"
#include "common/host_path.h"
#include "common/version.h"
#include "report/recording_pane.h"
#include "report/report.h"
#include "report/report_formats.h"
#include "common/text.h"

namespace {

using namespace venuecheck;

constexpr int kExitClean = 0;
constexpr int kExitFindings = 1;
constexpr int kExitUsage = 2;

int Fail(const std::string& message) {
    std::cerr << "venuecheck: " << message << "\n";
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

}  // namespace

int main(int argc, char** argv) {
    const Console console;
    CLI::App app{"Checks the venues of a Pelarin game folder and reports errors, warnings and advice.",
                 "venuecheck"};
    std::string gameDir = ".";
    bool list = false;
    bool all = false;
    std::optional<std::string> venueName;
    std::optional<int> index;
    std::optional<std::string> format;
    std::optional<std::string> output;

    app.add_option("--game-dir", gameDir, "The game folder (default: the working directory)");
    auto* listOpt = app.add_flag("--list", list, "List the venue names in catalogue order");
    auto* allOpt = app.add_flag("--all", all, "Check every venue (the default)");
    auto* venueOpt = app.add_option("--venue", venueName, "Check the venue of this name");
    auto* indexOpt = app.add_option("--index", index, "Check the venue at this selector position (from 0)");
    listOpt->excludes(allOpt, venueOpt, indexOpt);
    allOpt->excludes(venueOpt, indexOpt);
    venueOpt->excludes(indexOpt);
    app.add_option("--format", format, "Report format: ansi, text, runs or html")
        ->check(CLI::IsMember({"ansi", "text", "runs", "html"}));
    app.add_option("--output", output, "Write the report to this file");
    bool version = false;
    app.add_flag("--version", version, "Print the version and exit");
    // For measurements: the files whose content the run read, one host path a
    // line, in the order read (not shown in the help).
    std::optional<std::string> filesRead;
    app.add_option("--files-read", filesRead, "Write the paths of the files read to this file")
        ->group("");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return kExitClean;
    } catch (const CLI::ParseError& error) {
        return Fail(std::string(error.what()) + " (see --help)");
    }
    if (version) {
        std::cout << "venuecheck " << kVersion << "\n";
        return kExitClean;
    }

    // Names from the command line are 8-bit text, as the game's are.
    const std::filesystem::path gameRoot = GameFolderPath(gameDir);
    std::error_code ec;
    if (!std::filesystem::is_directory(gameRoot, ec)) {
        return Fail("game folder '" + gameDir + "' does not exist" + WhyFolderIsMissing(gameRoot));
    }

    std::vector<std::string> readPaths;
    GameFolder folder(gameRoot);
    if (filesRead) {
        folder.OnFileRead([&readPaths](const std::filesystem::path& path) {
            readPaths.push_back(path.string());
        });
    }
    Checker checker{std::move(folder)};
    checker.StartUp();
    const std::vector<std::string> names = checker.VenueNames();

    std::ofstream file;
    if (output) {
        file.open(HostPath(*output), std::ios::binary | std::ios::trunc);
        if (!file) return Fail("cannot write '" + *output + "'");
    }
    std::ostream& out = output ? static_cast<std::ostream&>(file) : std::cout;

    auto writeFilesRead = [&filesRead, &readPaths] {
        if (!filesRead) return true;
        std::ofstream paths(HostPath(*filesRead), std::ios::binary | std::ios::trunc);
        for (const auto& path : readPaths) paths << path << "\n";
        return static_cast<bool>(paths.flush());
    };

    if (list) {
        for (const auto& name : names) out << name << "\n";
        out.flush();
        if (!out) return Fail("cannot write the venue list");
        return writeFilesRead() ? kExitClean : Fail("cannot write '" + *filesRead + "'");
    }

    std::vector<int> positions;
    if (index) {
        if (*index < 0 || static_cast<size_t>(*index) >= names.size()) {
            return Fail("no venue at position " + std::to_string(*index) + " (there are " +
                        std::to_string(names.size()) + ")");
        }
        positions.push_back(*index);
    } else if (venueName) {
        const auto found = FindVenue(names, *venueName);
        if (!found) return Fail("no venue named '" + *venueName + "'");
        positions.push_back(*found);
    } else {
        for (size_t i = 0; i < names.size(); ++i) positions.push_back(static_cast<int>(i));
    }

    if (!format) format = (!output && console.OutputTakesColours()) ? "ansi" : "text";

    FindingCounts total;
    if (*format == "html") out << RenderHtmlHead();
    for (int position : positions) {
        RecordingPane pane;
        Report report(pane);
        checker.CheckRun(position, report);
        total += report.Counts();
        const auto& runs = pane.Runs();
        const std::string& venue = names[static_cast<size_t>(position)];
        if (*format == "text") {
            out << RenderText(runs);
        } else if (*format == "ansi") {
            out << RenderAnsi(runs);
        } else if (*format == "runs") {
            out << RenderRuns(position, venue, runs);
        } else {
            out << RenderHtmlSection(position, venue, runs);
        }
    }
    if (*format == "html") out << RenderHtmlFoot();
    out.flush();
    checker.ShutDown();
    if (!out) return Fail("cannot write the report");
    if (!writeFilesRead()) return Fail("cannot write '" + *filesRead + "'");

    std::cerr << positions.size() << " venues checked: " << total.errors << " errors, "
              << total.warnings << " warnings, " << total.advice << " advice\n";
    return total.errors > 0 ? kExitFindings : kExitClean;
}
