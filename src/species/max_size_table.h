#pragma once

#include <cstdint>
#include <string_view>

namespace venuecheck {

class GameFolder;

// The largest weight, in drams, that a fish of each species may have, read
// from "maxsize.txt".
class MaxSizeTable {
public:
    void LoadMaxSizes(const GameFolder& folder, std::string_view path = "maxsize.txt");
    // The maximum size for a species name, without regard to case; 0 when
    // none is known.
    int32_t FindMaxSize(std::string_view name) const;
    bool FreeMaxSizes();
};

}  // namespace venuecheck
