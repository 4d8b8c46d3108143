#pragma once

#include <string>
#include <string_view>

#include "common/keyword_values.h"
#include "common/number_scanner.h"
#include "species/species_record.h"

namespace venuecheck {

// Reads one entry of a species file into the record. Species files are read
// silently: nothing in them is ever reported.
KeywordResult ReadSpeciesKeyword(TextScanner& in, SpeciesRecord& species);

// The text value of "NAME" in a species file, before trimming.
std::string ReadTabField(TextScanner& in);

// Removes from the end every byte that is 32 or below, 127, or 128 and above.
std::string TrimName(std::string text);

// Reads a species file's plain content (line ends as stored) into the record,
// entry by entry up to "END" or the end of the text.
void ReadSpeciesText(std::string_view content, SpeciesRecord& species);

}  // namespace venuecheck
