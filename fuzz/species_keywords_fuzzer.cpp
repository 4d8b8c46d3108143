// The species file reader: the bytes as the plain content of a species file.

#include <string>

#include "common/text.h"
#include "fuzz_support.h"
#include "species/species_keywords.h"
#include "species/species_record.h"

using namespace venuecheck;

namespace {

// A trimmed text ends in a byte from 33 to 126, or is empty.
bool Trimmed(const std::string& text) {
    if (text.empty()) return true;
    const auto last = static_cast<unsigned char>(text.back());
    return last >= 33 && last <= 126;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    SpeciesRecord species;
    ReadSpeciesText(bytes, species);
    if (species.ref.size() > kMaxSpeciesRef)
        fuzz::Fail("REF longer than 19 characters", species.ref);
    if (species.name && !Trimmed(*species.name)) fuzz::Fail("NAME not trimmed", *species.name);

    // Trimming keeps a prefix of the text.
    const std::string trimmed = TrimName(std::string(bytes));
    if (!Trimmed(trimmed) || bytes.substr(0, trimmed.size()) != trimmed)
        fuzz::Fail("TrimName wrong");

    // Reading into a record that holds values already ends in the same
    // record: every field a file gives is replaced, the others keep theirs.
    SpeciesRecord again = species;
    ReadSpeciesText(bytes, again);
    if (again.ref != species.ref || again.name != species.name ||
        again.graphic != species.graphic || again.maxSize != species.maxSize ||
        again.month != species.month || again.dist != species.dist) {
        fuzz::Fail("reading a file twice changes the record");
    }
    return 0;
}
