#pragma once

#include <string_view>

namespace venuecheck {

class GameFolder;
struct SpeciesRecord;

// One record per species file of "species/*.sp".
class SpeciesCatalogue {
public:
    int LoadSpecies(const GameFolder& folder);
    // The species read last whose REF equals the key without regard to case.
    const SpeciesRecord* FindSpecies(std::string_view key) const;
};

}  // namespace venuecheck
