#pragma once

#include <optional>
#include <string>
#include <vector>

#include "report/finding_filter.h"

namespace venuecheck {

// What the command line asks for.
struct CommandLineOptions {
    std::string gameDir = ".";
    bool list = false;
    std::optional<std::string> venueName;
    std::optional<int> index;
    std::optional<std::string> format;  // none: ansi on a terminal, text otherwise
    std::optional<std::string> output;
    FindingFilter filter;
    std::optional<int> maxWarnings;
    bool listRules = false;
    bool version = false;
    bool noMaps = false;                   // html without the peg maps
    std::optional<std::string> mapsDir;    // where to write a PNG map of every peg
    std::optional<std::string> filesRead;  // for measurements, not in the help
};

// The options, or what to do instead of a run: print the help (status 0) or
// one line saying what is wrong (status 2).
struct ParsedCommandLine {
    std::optional<CommandLineOptions> options;
    int status = 0;
    std::string out;    // for standard output
    std::string error;  // the line for standard error, without "venuecheck: "
};

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv);

// An error names the words it was given, which may hold line breaks and other
// control characters: with those escaped ("\n", "\x01"), it stays one line.
std::string OneLine(std::string_view text);

}  // namespace venuecheck
