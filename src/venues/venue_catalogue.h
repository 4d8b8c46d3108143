#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/ini_file.h"
#include "common/text.h"

namespace venuecheck {

class GameFolder;

// Problems of a venue's name and reference, found when its file is read.
enum VenueFlag : uint32_t {
    kNameEmpty = 1,
    kNameTooLong = 2,
    kNameIllegalChars = 4,
    kNameAmpersand = 8,
    kRefIllegalChars = 64,
};

// One venue file.
struct VenueRecord {
    std::string Name{kUnknown};
    std::string Ref{kUnknown};
    std::string Creator{kUnknown};
    std::string Date{kUnknown};
    float Level = 1.0f;
    std::string Dir{kUnknown};      // the peg folder and a file pattern
    std::string Lastpeg{kUnknown};  // the last-peg file
    std::string Records{kUnknown};  // the records file
    std::string Weather{kUnknown};
    std::string Desc{kNone};  // the info file
    int32_t Tempmodel = 1;
    float Tempfact = 1.0f;
    std::string Lookup{kUnknown};  // the temperature look-up file
    uint32_t Flags = 0;
    std::string Path;        // "venues/" and the file name found
    bool Scrambled = false;  // read from a scrambled file
    KeyLines Lines;          // where each value came from in the file
};

// A byte below 0x20 or above 0x7F.
bool IsIllegalNameByte(char c);

// Reads a venue file's plain content into a record.
VenueRecord ReadVenueFile(std::string_view content, std::string venuePath, bool scrambled);

// True when both paths, cut at their last '\' or '/', name the same folder
// without regard to case; the two separators count as one (':' is no separator
// here).
bool SameFolder(std::string_view a, std::string_view b);

// Every venue file of the game's "venues" folder, sorted by name.
class VenueCatalogue {
public:
    // Reads "venues/*.ven" and sorts the venues by name without regard to
    // case; venues of equal names keep the reverse of the order they were
    // found in. Returns the number of venue files found.
    int LoadVenueCatalogue(const GameFolder& folder);

    // The venue at a selector position, or none.
    const VenueRecord* VenueAtIndex(size_t position) const;

    // Releases every venue; false when there were none.
    bool FreeVenueCatalogue();

    const std::vector<VenueRecord>& Venues() const { return venues_; }

private:
    std::vector<VenueRecord> venues_;
};

}  // namespace venuecheck
