#include "species/species_catalogue.h"

namespace venuecheck {

int SpeciesCatalogue::LoadSpecies(const GameFolder&) { return 0; }

const SpeciesRecord* SpeciesCatalogue::FindSpecies(std::string_view) const { return nullptr; }

}  // namespace venuecheck
