#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace venuecheck {

// A condition that a fish tolerates, as the game holds it: the ideal, lowest
// and highest value, and how much the fish cares.
struct RealRange {
    float ideal = 0.0f;
    float min = 0.0f;
    float max = 0.0f;
    int16_t importance = 0;
};

struct IntRange {
    int16_t ideal = 0;
    int16_t min = 0;
    int16_t max = 0;
    int16_t importance = 0;
};

// Loose feed and ground bait. In the files the three reals come first.
struct FeedGroup {
    std::array<int16_t, 3> ints{};
    std::array<float, 3> reals{};
};

// Food kinds, by their index in `food`.
inline constexpr size_t kFoodKinds = 10;
// Attractions, by their index in `attraction`.
inline constexpr size_t kAttractions = 14;
// Sea types 0 (not sea) to 9 (wreck).
inline constexpr size_t kSeaTypes = 10;

// One species file. `month` entry k holds month k + 1 and `dist` entry k
// holds entry k + 1, as the files number them from 1.
struct SpeciesRecord {
    std::optional<std::string> name;
    std::string ref;  // at most 19 characters
    std::optional<std::string> graphic;
    std::optional<std::string> fsb;
    RealRange temp{12.0f};
    RealRange o2{6.0f};
    RealRange ph;
    IntRange fdepth;
    IntRange light;
    IntRange saline;
    IntRange cover;
    IntRange flow;
    IntRange wdepth;
    std::array<int16_t, kFoodKinds> food{};
    std::array<int16_t, kAttractions> attraction{};
    FeedGroup lfeed;
    FeedGroup gbait;
    std::array<int16_t, 3> pull{};
    std::array<int16_t, 3> lift{};
    std::array<int16_t, 3> run{};
    std::array<int16_t, 3> take{};
    int16_t biteTime = 10;
    int16_t strikeTime = 12;
    std::array<int16_t, 2> caution{100, 1000};
    std::array<float, 2> fightReal{0.001f, 1000.0f};
    int16_t fightInt = 20;
    std::array<int16_t, 12> month{100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100};
    IntRange tide;
    std::array<int16_t, kSeaTypes> seaType{};
    int16_t tideIn = 0;
    int16_t tideOut = 0;
    std::array<float, 10> dist{30.0f, 30.0f, 30.0f, 30.0f, 30.0f,
                               30.0f, 30.0f, 30.0f, 30.0f, 30.0f};
    int32_t maxSize = 0;
    float teeth = 0.0f;
};

// The longest "REF" a species keeps; a longer one is cut.
inline constexpr size_t kMaxSpeciesRef = 19;

}  // namespace venuecheck
