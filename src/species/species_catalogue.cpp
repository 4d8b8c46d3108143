#include "species/species_catalogue.h"

#include <string>

#include "common/game_folder.h"
#include "common/scrambled_file.h"
#include "common/text.h"
#include "species/species_keywords.h"

namespace venuecheck {

int SpeciesCatalogue::LoadSpecies(const GameFolder& folder) {
    FreeSpecies();
    const std::vector<std::string> names = folder.FindFiles("species/*.sp");
    records_.reserve(names.size());
    for (const std::string& name : names) {
        ReadSpeciesFile(folder, "species/" + name, NewSpecies());
    }
    for (const SpeciesRecord& species : records_) byRef_[FoldedCopy(species.ref)] = &species;
    indexed_ = true;
    return static_cast<int>(records_.size());
}

SpeciesRecord& SpeciesCatalogue::NewSpecies() {
    indexed_ = false;
    byRef_.clear();
    return records_.emplace_back();
}

const SpeciesRecord* SpeciesCatalogue::FindSpecies(std::string_view key) const {
    if (indexed_) {
        const auto found = byRef_.find(FoldedCopy(key));
        return found == byRef_.end() ? nullptr : found->second;
    }
    for (auto it = records_.rbegin(); it != records_.rend(); ++it) {
        if (EqualNoCase(it->ref, key)) return &*it;
    }
    return nullptr;
}

bool ReadSpeciesFile(const GameFolder& folder, std::string_view path, SpeciesRecord& species) {
    const PlainText text = ReadDataFile(folder, path);
    if (!text.opened) return false;
    ReadSpeciesText(text.bytes, species);
    return true;
}

}  // namespace venuecheck
