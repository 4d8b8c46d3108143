#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace venuecheck::gamegen {

enum class GameScale { kSmall, kMedium, kLarge };

// How varied the object masks of the big venue's grids are.
enum class MaskVariety {
    kFew,       // each grid cycles through a few dozen masks
    kMany,      // each grid takes 400 masks of its objects in turn
    kDistinct,  // every covered water cell has a mask of its own
};

// The masks a grid of MaskVariety::kMany takes in turn.
inline constexpr int kManyMasks = 400;

// What a synthetic game folder holds. The same spec always gives the same
// bytes.
struct GameSpec {
    uint64_t seed = 1;
    int pegs = 10;          // pegs of the big venue
    int16_t cellWidth = 4;  // of the big venue's grids (1..480)
    int rows = 90;          // of the big venue's grids
    int stockFiles = 30;
    int species = 12;
    int venues = 4;  // the big venue included
    MaskVariety masks = MaskVariety::kFew;
    int scrambledPercent = 5;  // share of venue, species and stock files scrambled
    int smallPegs = 3;         // pegs of the folder that the small venues share
};

// S: 10 pegs of 120 by 90 cells; M: 100 pegs of 480 by 300 cells, 1,000
// stock files, 300 species; L: 400 pegs of 480 by 480 cells, 5,000 stock
// files, 1,000 species, 500 venues.
GameSpec GameSpecForScale(GameScale scale);

// "S", "M" or "L" (either case).
std::optional<GameScale> ParseGameScale(std::string_view text);

// The name of the venue that holds the GameSpec's pegs; it sorts first.
inline constexpr std::string_view kBigVenueName = "Aaa Benchmark Water";
inline constexpr std::string_view kBigVenueFile = "venues/aaa_benchmark.ven";

struct GameSummary {
    uint64_t files = 0;
    uint64_t bytes = 0;
    std::string error;  // empty when everything was written
    bool Ok() const { return error.empty(); }
};

// Writes the game folder below root, which must be missing or empty:
//   maxsize.txt, data/ (for the temporary plain copy), species/*.sp,
//   graphics/*.bmp, stocks/*.stk, venues/*.ven, venues/bench/ (the big
//   venue's pegs) and venues/shared/ (the pegs the small venues share).
GameSummary MakeGame(const GameSpec& spec, const std::filesystem::path& root);

// Checks a GameSpec's numbers; the message for the first bad one, or empty.
std::string CheckGameSpec(const GameSpec& spec);

}  // namespace venuecheck::gamegen
