#pragma once

#include <string_view>

namespace venuecheck {

class GameFolder;
class Report;
struct VenueRecord;

// The name of a temperature model number.
std::string_view TempModelName(int tempModel);

// Clears the pane and writes the venue section: title, details, errors, the
// writability probes of the venue's output files, warnings. Returns false
// (after clearing) when there is no venue.
bool WriteVenueReport(const GameFolder& folder, Report& report, const VenueRecord* venue,
                      int pegCount);

}  // namespace venuecheck
