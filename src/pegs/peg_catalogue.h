#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/ini_file.h"

namespace venuecheck {

class GameFolder;

// One peg file of the selected venue.
struct PegRecord {
    std::string Name;
    std::string path;  // the path under which the peg file was read
    int32_t Ref = 0;
    std::string Image;
    std::string Data;                   // the peg data file
    std::string Records;                // the peg's records file
    std::string Fish;                   // the peg stocks file
    std::string_view FishKey = "Fish";  // the key it came from: "Fish" or "Fish211f"
    std::string Sounds;
    std::string Desc;      // the info file, or "[None]"
    float DPRatio = 1.0f;  // inches of depth per step of the depth byte
    float PH = 7.0f;
    float O2 = 1.0f;
    float Turbid = 50.0f;
    float Saline = 0.0f;
    float Temp = 1.0f;
    int32_t Maxlight = 360;
    float Tidefact = 0.0f;
    int32_t Seatype = 0;
    KeyLines Lines;  // where each value came from in the file
};

// Reads a peg file's content into a record.
PegRecord ReadPegFile(std::string_view content, std::string path);

// The pegs of the selected venue, sorted by reference.
class PegCatalogue {
public:
    // Reads every file that the venue's Dir pattern matches and sorts the
    // pegs by reference; pegs of equal reference keep the reverse of the
    // order they were found in. Returns the number of files matched.
    int LoadPegs(const GameFolder& folder, std::string_view pattern);

    // Releases the pegs; false when there were none.
    bool FreePegs();

    const std::vector<PegRecord>& Pegs() const { return pegs_; }

private:
    std::vector<PegRecord> pegs_;
};

}  // namespace venuecheck
