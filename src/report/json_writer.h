#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/check_record.h"

namespace venuecheck {

// What every machine format says about the run as a whole.
struct RunHeader {
    std::string_view toolName = "venuecheck";
    std::string_view toolVersion;
    std::string gameDir;  // the game folder's absolute path
};

// The JSON document of a run: the tool, the game folder, each check run with
// its findings and counts, and the counts of them all. Text from the game's
// data is 8-bit: each byte is written as the character of the same value.
std::string RenderJsonReport(const RunHeader& header, const std::vector<CheckResult>& checks);

// One finding as a JSON object on one line; fields without a value are left out.
std::string RenderJsonFinding(const Finding& finding);

// The rule table as a JSON document.
std::string RenderJsonRules(const RunHeader& header);

}  // namespace venuecheck
