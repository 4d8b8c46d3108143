#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace venuecheck {

class GameFolder;

// One line of "maxsize.txt".
struct MaxSizeEntry {
    std::string name;        // the species name, trimmed, at most 59 characters
    int32_t firstValue = 0;  // read and never used
    int32_t maxSize = 0;     // the largest weight allowed, in drams
};

// The longest species name an entry keeps; a longer one is cut.
inline constexpr size_t kMaxSizeNameLength = 59;

// The largest weight, in drams, that a fish of each species may have, read
// from "maxsize.txt".
class MaxSizeTable {
public:
    // Reads the file, if there is one, adding its entries to the table.
    void LoadMaxSizes(const GameFolder& folder, std::string_view path = "maxsize.txt");

    // Reads the lines of the file's content ("%d%d\t%[^\n]" each). A line
    // that does not begin with two integers is skipped.
    void ReadMaxSizeText(std::string_view content);

    // The maximum size for a species name, compared without regard to case;
    // where several lines name the species the last one counts. 0 when none
    // is known or no name is given.
    int32_t FindMaxSize(std::optional<std::string_view> name) const;

    // Releases every entry; false when there was none.
    bool FreeMaxSizes();

    // The entries in the order of the lines.
    const std::vector<MaxSizeEntry>& Entries() const { return entries_; }

private:
    std::vector<MaxSizeEntry> entries_;
    // The maximum size of the last entry of each name, folded: every stock
    // file asks.
    std::unordered_map<std::string, int32_t> byName_;
};

}  // namespace venuecheck
