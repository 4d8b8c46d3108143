#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "species/species_record.h"

namespace venuecheck {

class GameFolder;

// One record per species file of "species/*.sp", read at start-up and only
// read afterwards. Nothing about a species file is ever reported.
class SpeciesCatalogue {
public:
    // Reads every species file, scrambled or plain, in the order of the file
    // search; a file that cannot be opened still gives a record of defaults.
    // Replaces what was loaded before. Returns the number of records.
    int LoadSpecies(const GameFolder& folder);

    // Makes a record of defaults; it becomes the newest of the catalogue.
    SpeciesRecord& NewSpecies();

    // The species made last whose REF equals the key without regard to case,
    // or none.
    const SpeciesRecord* FindSpecies(std::string_view key) const;

    void FreeSpecies() {
        records_.clear();
        byRef_.clear();
        indexed_ = false;
    }

    // The records in the order they were made.
    const std::vector<SpeciesRecord>& Records() const { return records_; }

private:
    std::vector<SpeciesRecord> records_;
    // The newest record of each REF, folded; made once the species files are
    // read, as every stock file looks its species up (twice).
    std::unordered_map<std::string, const SpeciesRecord*> byRef_;
    bool indexed_ = false;  // false once a record is made after the index
};

// Reads one species file (through the temporary plain copy when it is
// scrambled) into the record; false when it cannot be opened.
bool ReadSpeciesFile(const GameFolder& folder, std::string_view path, SpeciesRecord& species);

}  // namespace venuecheck
