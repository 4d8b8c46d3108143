#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "report/finding.h"

namespace venuecheck {

// Every kind of finding line the checker writes. The order is the order of
// the rule table (and of the rules in SARIF); the ids never change once
// released, whatever the wording of a line.
enum class RuleId : int {
    // The venue file.
    kVenueNoPegsLoaded,
    kVenueNameMissing,
    kVenueNameTooLong,
    kVenueNameIllegalCharacters,
    kVenueNameAmpersand,
    kVenueReferenceMissing,
    kVenueReferenceTooLong,
    kVenueReferenceIllegalCharacters,
    kVenuePegFolderLineMissing,
    kVenueLastPegLineMissing,
    kVenueRecordsLineMissing,
    kVenueLookupLineMissing,
    kVenueRecordsNotWritable,
    kVenueLastPegNotWritable,
    kVenueLookupNotWritable,
    kVenueWeatherNotFound,
    kVenueInfoBlank,
    kVenueNotScrambled,
    kVenueInfoNotFound,
    kVenueRecordsOutsidePegFolder,
    kVenueLastPegOutsidePegFolder,
    kVenueLookupOutsidePegFolder,
    // A peg file and its data.
    kPegReferenceNotUnique,
    kPegNameMissing,
    kPegImageMissing,
    kPegImageNotFound,
    kPegDataMissing,
    kPegDataNotFound,
    kPegDataUnreadable,
    kPegRecordsMissing,
    kPegStocksMissing,
    kPegStocksNotFound,
    kPegInfoBlank,
    kPegDepthAccuracyPoor,
    kPegObjectsTooFew,
    kPegBareAreasTooMany,
    kPegUniqueAreasTooFew,
    kPegInfoNotFound,
    kPegSoundsMissing,
    kPegSoundsNotFound,
    kPegRecordsNotWritable,
    kPegDepthAccuracyFair,
    kPegObjectsFew,
    kPegBareAreasMany,
    kPegUniqueAreasFew,
    kPegDepthAccuracyImprovable,
    kPegObjectsImprovable,
    kPegBareAreasImprovable,
    kPegUniqueAreasImprovable,
    // A peg stocks file.
    kStockingRecordUnreadable,
    kStockingStockNotFound,
    kStockingGraphicNotFound,
    kStockingGraphicNameTooLong,
    // A stock file's statements.
    kStockValuesMissing,
    kStockIndexOutOfRange,
    kStockRangeOrderWrong,
    kStockRangeOutOfRange,
    kStockUnrecognisedCommand,
    kStockMinSizeAboveMaxSize,
    // The stock file summary.
    kStockNotLoaded,
    kStockSpeciesMaximumUnknown,
    kStockEasyForSize,
    kStockShoalMayBeEasy,
    kStockShoalTooEasy,
    kStockSizeAboveMaximum,
};

// How a rule's line looks in the pane: its prefix before the message, and
// its colour.
enum class Presentation {
    kError,             // "\n\tError : ", red
    kWarning,           // "\n\tWarning : ", purple
    kAdvice,            // "\n\tAdvice : ", green
    kWarningInRed,      // "\n\tWarning : ", red like the errors around it
    kLoadError,         // "\n\tError : ", blue
    kParserError,       // "\n\t : Error ", red
    kParserErrorColon,  // "\n\t : Error : ", red
    kParserWarning,     // "\n\t : Warning : ", purple
};

struct Rule {
    RuleId rule;
    std::string_view id;  // lower-case words joined by '-'
    Severity severity;
    Presentation presentation;
    std::string_view title;  // a short sentence
    // The message the line writes; where a part of it varies, the part is
    // named in angle brackets ("can't find stock file <stock file>").
    std::string_view message;
    // What it means, why the game cares, how to mend it.
    std::string_view help;
};

// The rule table, in the order of RuleId.
std::span<const Rule> Rules();
const Rule& RuleOf(RuleId rule);
// The rule of an id; none when no rule has it.
const Rule* FindRule(std::string_view id);

// The text that comes before a message in the pane, "\n\tError : " and so on.
std::string_view PrefixOf(Presentation presentation);

// The rule's line as a reader sees it, without the line break and tab that
// start it: "Error : Venue name is more than 30 characters long".
std::string RuleLine(const Rule& rule);

// The finding's line as the pane shows it: prefix and message.
std::string PaneLine(const Finding& finding);

}  // namespace venuecheck
