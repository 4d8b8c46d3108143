#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/recording_pane.h"

namespace venuecheck {

// Renderings of one check run's pane content. Each returns the text to write
// for that check run; a whole output is the concatenation over the runs (the
// web page is written by RenderHtmlPage).

// The text appended to the pane, followed by one line break.
std::string RenderText(const std::vector<StyledRun>& runs);

// The same with terminal escape codes for colour and bold.
std::string RenderAnsi(const std::vector<StyledRun>& runs);

// JSON Lines: a line naming the check and the venue, then one line per run.
std::string RenderRuns(int check, std::string_view venue, const std::vector<StyledRun>& runs);

// A JSON string: '"', '\' and bytes below 0x20 escaped; bytes from 0x80 up
// as \u00xx (the data is 8-bit, the byte's value is its code point).
std::string JsonString(std::string_view text);

}  // namespace venuecheck
