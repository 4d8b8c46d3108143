#pragma once

#include <cstdint>

namespace venuecheck::gamegen {

// A small pseudo-random generator of our own (SplitMix64), so generated data
// is the same on every platform and library for the same seed.
class SplitMix64 {
public:
    explicit SplitMix64(uint64_t seed) : state_(seed) {}

    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A whole number from lo to hi, both included (lo <= hi).
    int Between(int lo, int hi) {
        const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(hi) - lo) + 1;
        return static_cast<int>(lo + static_cast<int64_t>(Next() % span));
    }

    // True in about percent of a hundred calls.
    bool Chance(int percent) { return Between(0, 99) < percent; }

private:
    uint64_t state_;
};

// A seed for one generated item, made from the run's seed and the item's kind
// and number, so one item does not change when others are added or removed.
inline uint64_t ItemSeed(uint64_t seed, uint64_t kind, uint64_t index) {
    SplitMix64 mix(seed ^ (kind * 0xD1B54A32D192ED03ull) ^ (index * 0x8CB92BA72F3D8DD7ull));
    return mix.Next();
}

}  // namespace venuecheck::gamegen
