#include "app/cli/options.h"

#include <CLI/CLI.hpp>

namespace venuecheck {

std::string OneLine(std::string_view text) {
    std::string line;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            line += "\\n";
        } else if (c == '\t') {
            line += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            static constexpr char kHex[] = "0123456789abcdef";
            line += "\\x";
            line += kHex[byte >> 4];
            line += kHex[byte & 0xF];
        } else {
            line += c;
        }
    }
    return line;
}

namespace {

ParsedCommandLine Parse(int argc, const char* const* argv);

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv) {
    ParsedCommandLine parsed = Parse(argc, argv);
    parsed.error = OneLine(parsed.error);
    return parsed;
}

namespace {

ParsedCommandLine Parse(int argc, const char* const* argv) {
    CLI::App app{
        "Checks the venues of a Pelarin game folder and reports errors, warnings and advice.",
        "venuecheck"};
    CommandLineOptions o;
    bool all = false;
    std::string minSeverity = "advice";
    bool quiet = false;
    std::vector<std::string> ignores;

    app.add_option("--game-dir", o.gameDir, "The game folder (default: the working directory)");
    auto* listOpt = app.add_flag("--list", o.list, "List the venue names in catalogue order");
    auto* allOpt = app.add_flag("--all", all, "Check every venue (the default)");
    auto* venueOpt = app.add_option("--venue", o.venueName, "Check the venue of this name");
    auto* indexOpt =
        app.add_option("--index", o.index, "Check the venue at this selector position (from 0)");
    listOpt->excludes(allOpt, venueOpt, indexOpt);
    allOpt->excludes(venueOpt, indexOpt);
    venueOpt->excludes(indexOpt);
    app.add_option("--format", o.format, "Report format: ansi, text, runs, html, json or sarif")
        ->check(CLI::IsMember({"ansi", "text", "runs", "html", "json", "sarif"}));
    app.add_option("--output", o.output, "Write the report to this file");
    auto* minOpt = app.add_option("--min-severity", minSeverity,
                                  "Leave out findings below this severity: error, warning or "
                                  "advice (the default)")
                       ->check(CLI::IsMember({"error", "warning", "advice"}));
    app.add_flag("--quiet", quiet, "Errors only (the same as --min-severity error)")
        ->excludes(minOpt);
    app.add_option("--max-warnings", o.maxWarnings,
                   "Exit with status 1 also when more than N warnings are shown")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--ignore", ignores,
                   "Leave out a rule's findings, everywhere (RULE) or in the files a glob matches "
                   "(RULE:GLOB, '/' between folders); may be given again");
    app.add_flag("--list-rules", o.listRules,
                 "Print the rules (with --format json: as JSON) and exit");
    app.add_flag("--version", o.version, "Print the version and exit");
    app.add_flag("--no-maps", o.noMaps, "With --format html: leave out the map of every peg");
    app.add_option("--maps", o.mapsDir,
                   "Write a PNG map of every peg into DIR, in a folder for each venue");
    // For measurements: the files whose content the run read, one host path a
    // line, in the order read (not shown in the help).
    app.add_option("--files-read", o.filesRead, "Write the paths of the files read to this file")
        ->group("");

    ParsedCommandLine parsed;
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        parsed.out = app.help();
        return parsed;
    } catch (const CLI::ParseError& error) {
        parsed.status = 2;
        parsed.error = std::string(error.what()) + " (see --help)";
        return parsed;
    }

    if (o.listRules && o.format && *o.format != "text" && *o.format != "json") {
        parsed.status = 2;
        parsed.error = "--list-rules is written as text or json, not " + *o.format;
        return parsed;
    }
    o.filter.SetMinimum(quiet ? Severity::kError : *FindingFilter::ParseSeverity(minSeverity));
    for (const std::string& text : ignores) {
        auto ignore = FindingFilter::ParseIgnore(text, parsed.error);
        if (!ignore) {
            parsed.status = 2;
            return parsed;
        }
        o.filter.AddIgnore(std::move(*ignore));
    }
    parsed.options = std::move(o);
    return parsed;
}

}  // namespace

}  // namespace venuecheck
