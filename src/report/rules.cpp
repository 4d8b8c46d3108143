#include "report/rules.h"

#include <array>
#include <string>

#include "report/report_pane.h"

namespace venuecheck {
namespace {

using P = Presentation;
using S = Severity;
using R = RuleId;

constexpr std::array kRules = {
    // The venue file.
    Rule{R::kVenueNoPegsLoaded, "venue-no-pegs-loaded", S::kError, P::kError,
         "The venue's peg folder holds no peg", "No pegs loaded",
         "The Dir line of the venue file names a folder and a file pattern; no file matched it, so "
         "the venue has no pegs and cannot be fished. Check that the folder exists below the game "
         "folder and that the pattern (usually *.peg) matches the peg files."},
    Rule{R::kVenueNameMissing, "venue-name-missing", S::kError, P::kError,
         "The venue has an empty name", "No venue name specified",
         "The Name line of the [Details] section is there but empty. The game lists venues by "
         "name, so give it one of at most 30 plain characters."},
    Rule{R::kVenueNameTooLong, "venue-name-too-long", S::kError, P::kError,
         "The venue name is longer than 30 characters",
         "Venue name is more than 30 characters long",
         "The game shows at most 30 characters of a venue name and keeps its records under it. "
         "Shorten the Name line of the [Details] section."},
    Rule{R::kVenueNameIllegalCharacters, "venue-name-illegal-characters", S::kError, P::kError,
         "The venue name holds characters the game cannot show",
         "Venue name contains illegal characters",
         "A venue name may hold only plain printable characters: no control characters and no "
         "accented or other characters beyond the basic 128. Retype the Name line of the "
         "[Details] section in plain letters."},
    Rule{R::kVenueNameAmpersand, "venue-name-ampersand", S::kError, P::kError,
         "The venue name holds an &", "Venue name contains the & character",
         "The game's menus read & as the sign of a shortcut key, so the name would show wrongly. "
         "Write \"and\" instead in the Name line of the [Details] section."},
    Rule{R::kVenueReferenceMissing, "venue-reference-missing", S::kError, P::kError,
         "The venue file has no reference", "No venue reference given",
         "The [Details] section has no Ref line. The game files the venue's records and results "
         "under this short reference; add a Ref line of at most 9 plain characters, unique among "
         "the venues."},
    Rule{R::kVenueReferenceTooLong, "venue-reference-too-long", S::kError, P::kError,
         "The venue reference is longer than 9 characters", "Venue reference exceeds 9 characters",
         "The game builds file names from the reference and keeps at most 9 characters of it. "
         "Shorten the Ref line of the [Details] section."},
    Rule{R::kVenueReferenceIllegalCharacters, "venue-reference-illegal-characters", S::kError,
         P::kError, "The venue reference holds characters the game cannot use",
         "Venue reference contains illegal characters",
         "The reference becomes part of file names, so it may hold only plain printable "
         "characters. Retype the Ref line of the [Details] section in plain letters and digits."},
    Rule{R::kVenuePegFolderLineMissing, "venue-peg-folder-line-missing", S::kError, P::kError,
         "The venue file does not say where its pegs are", "PegDir line isn't present",
         "The [Details] section has no Dir line, so the game cannot find the venue's pegs. Add "
         "one naming the peg folder and pattern, for example Dir=pegs\\lake\\*.peg."},
    Rule{R::kVenueLastPegLineMissing, "venue-last-peg-line-missing", S::kError, P::kError,
         "The venue file names no last-peg file", "LastPeg line isn't present",
         "The game remembers the peg fished last in the file of the Lastpeg line of the "
         "[Details] section. Add the line, naming a file in the peg folder."},
    Rule{R::kVenueRecordsLineMissing, "venue-records-line-missing", S::kError, P::kError,
         "The venue file names no records file", "Records line isn't present",
         "The game keeps the venue's records in the file of the Records line of the [Details] "
         "section. Add the line, naming a file in the peg folder."},
    Rule{R::kVenueLookupLineMissing, "venue-lookup-line-missing", S::kError, P::kError,
         "The venue file names no temperature look-up file", "Lookup line isn't present",
         "The game writes the water temperatures it works out into the file of the Lookup line "
         "of the [Weather] section. Add the line, naming a file in the peg folder."},
    Rule{R::kVenueRecordsNotWritable, "venue-records-not-writable", S::kWarning, P::kWarningInRed,
         "The venue's records file cannot be written", "Unable to write to the records file",
         "The checker could not create a file beside the records file, so the game will not be "
         "able to save the venue's records either. Check that the folder of the Records line "
         "exists and can be written."},
    Rule{R::kVenueLastPegNotWritable, "venue-last-peg-not-writable", S::kError, P::kError,
         "The last-peg file cannot be written", "Unable to write the last peg fished to file",
         "The file of the Lastpeg line does not exist and cannot be created. Check that its "
         "folder exists and can be written, or mend the path."},
    Rule{R::kVenueLookupNotWritable, "venue-lookup-not-writable", S::kError, P::kError,
         "The temperature look-up file cannot be written", "Unable to write the temp look up file",
         "The file of the Lookup line does not exist and cannot be created. Check that its "
         "folder exists and can be written, or mend the path."},
    Rule{R::kVenueWeatherNotFound, "venue-weather-not-found", S::kError, P::kError,
         "The venue's weather file is missing", "Can't find the weather file specified",
         "The Weather line of the [Weather] section names a file that does not exist. The game "
         "needs it to make the venue's weather; mend the path or add the file."},
    Rule{R::kVenueInfoBlank, "venue-info-blank", S::kError, P::kError,
         "The venue's Desc line is empty", "Info file specified is blank",
         "The Desc line of the [Details] section is there but names no file. Name the venue's "
         "info file, or remove the line if the venue has none."},
    Rule{R::kVenueNotScrambled, "venue-not-scrambled", S::kWarning, P::kWarning,
         "The venue file is plain text", "Venue file not scrambled, it's wiser to scramble these.",
         "Players can read and change a plain venue file. Scramble it with the game's tools "
         "before the venue is handed out."},
    Rule{R::kVenueInfoNotFound, "venue-info-not-found", S::kWarning, P::kWarning,
         "The venue's info file is missing", "Can't find the info file specified",
         "The Desc line of the [Details] section names a file that does not exist, so the game "
         "shows no description of the venue. Mend the path or add the file."},
    Rule{R::kVenueRecordsOutsidePegFolder, "venue-records-outside-peg-folder", S::kWarning,
         P::kWarning, "The records file is not in the peg folder",
         "Records file not in same folder as peg folder",
         "A venue keeps its files together in its peg folder, so that it can be copied and "
         "removed whole. Move the records file there and mend the Records line."},
    Rule{R::kVenueLastPegOutsidePegFolder, "venue-last-peg-outside-peg-folder", S::kWarning,
         P::kWarning, "The last-peg file is not in the peg folder",
         "Last peg file not in same folder as peg folder",
         "A venue keeps its files together in its peg folder, so that it can be copied and "
         "removed whole. Move the last-peg file there and mend the Lastpeg line."},
    Rule{R::kVenueLookupOutsidePegFolder, "venue-lookup-outside-peg-folder", S::kWarning,
         P::kWarning, "The temperature look-up file is not in the peg folder",
         "Temp lookup file not in same folder as peg folder",
         "A venue keeps its files together in its peg folder, so that it can be copied and "
         "removed whole. Move the look-up file there and mend the Lookup line."},

    // A peg file and its data.
    Rule{R::kPegReferenceNotUnique, "peg-reference-not-unique", S::kError, P::kError,
         "Another peg of the venue has the same reference",
         "Peg reference is not unique on the venue",
         "The game tells pegs apart by the number of their Ref line, and orders them by it. "
         "Give every peg of the venue a number of its own."},
    Rule{R::kPegNameMissing, "peg-name-missing", S::kError, P::kError, "The peg has no name",
         "No peg name specified",
         "The [Details] section of the peg file has no Name line, so the game has nothing to "
         "show for the peg. Add one."},
    Rule{R::kPegImageMissing, "peg-image-missing", S::kError, P::kError,
         "The peg file names no picture", "No peg image file specified",
         "The [Files] section has no Image line, so the game has no picture of the peg to show. "
         "Add one naming the peg's picture."},
    Rule{R::kPegImageNotFound, "peg-image-not-found", S::kError, P::kError,
         "The peg's picture is missing", "Peg image file not found",
         "The Image line of the [Files] section names a file that does not exist. Mend the path "
         "or add the picture."},
    Rule{R::kPegDataMissing, "peg-data-missing", S::kError, P::kError,
         "The peg file names no data file", "No data file specified",
         "The [Files] section has no Data line. The data file holds the peg's grid of depths "
         "and objects, without which the peg cannot be fished; add the line."},
    Rule{R::kPegDataNotFound, "peg-data-not-found", S::kError, P::kError,
         "The peg's data file is missing", "Peg data file not found",
         "The Data line of the [Files] section names a file that does not exist. Mend the path "
         "or add the peg's data file."},
    Rule{R::kPegDataUnreadable, "peg-data-unreadable", S::kError, P::kError,
         "The peg's data file cannot be read", "Peg data file can't be read",
         "The data file exists but holds no grid that can be laid out: it cannot be opened, it "
         "is shorter than its object table and cell sizes, or its cell height or width is "
         "outside what the game can draw (a width from 1 to 480). Save the peg's data again "
         "with the venue tools."},
    Rule{R::kPegRecordsMissing, "peg-records-missing", S::kError, P::kError,
         "The peg file names no records file", "No peg records file specified",
         "The [Files] section has no Records line, so the game has nowhere to keep the peg's "
         "records. Add one naming a file in the peg folder."},
    Rule{R::kPegStocksMissing, "peg-stocks-missing", S::kError, P::kError,
         "The peg file names no stocking list", "No stocks file specified",
         "The [Files] section has no Fish line, so the peg holds no fish. Add one naming the "
         "peg's stocking list."},
    Rule{R::kPegStocksNotFound, "peg-stocks-not-found", S::kError, P::kError,
         "The peg's stocking list is missing", "Peg stocks file not found",
         "The Fish line of the [Files] section names a file that does not exist, so the peg "
         "holds no fish. Mend the path or add the stocking list."},
    Rule{R::kPegInfoBlank, "peg-info-blank", S::kError, P::kError, "The peg's Desc line is empty",
         "Info file specified on Desc line is blank",
         "The Desc line of the [Details] section is there but names no file. Name the peg's "
         "info file, or remove the line if the peg has none."},
    Rule{R::kPegDepthAccuracyPoor, "peg-depth-accuracy-poor", S::kError, P::kError,
         "The peg's grid uses very few depths", "Depth accuracy requires attention.",
         "Less than 10 % of the possible depth values occur in the peg's grid, so the water "
         "fishes as a few flat steps. Model the depths in finer steps with the venue tools."},
    Rule{R::kPegObjectsTooFew, "peg-objects-too-few", S::kError, P::kError,
         "The peg has fewer than 5 objects", "There needs to be at least 5 objects in the peg",
         "Fish hold to objects: weed, snags, reeds. A peg needs at least 5 of them in its "
         "object table; add more with the venue tools."},
    Rule{R::kPegBareAreasTooMany, "peg-bare-areas-too-many", S::kError, P::kError,
         "More than half of the peg's water has no object",
         "There are too many areas without any objects on the peg",
         "Over 50 % of the water cells of the grid hold no object, and fish rarely stay in bare "
         "water. Place objects over more of the water."},
    Rule{R::kPegUniqueAreasTooFew, "peg-unique-areas-too-few", S::kError, P::kError,
         "The peg has 10 or fewer kinds of object area",
         "There are too few unique object areas on the peg to cast to.",
         "An object area is a set of objects that share cells; the peg has 10 or fewer distinct "
         "sets, so casts land in much the same place. Overlap objects in more combinations."},
    Rule{R::kPegInfoNotFound, "peg-info-not-found", S::kWarning, P::kWarning,
         "The peg's info file is missing", "Can't find the info file specified",
         "The Desc line of the peg file's [Details] section names a file that does not exist, "
         "so the game shows no description of the peg. Mend the path or add the file."},
    Rule{R::kPegSoundsMissing, "peg-sounds-missing", S::kWarning, P::kWarning,
         "The peg file names no sounds", "No sounds file specified",
         "The [Files] section has no Sounds line, so the peg is silent. Add one naming the "
         "peg's sounds file."},
    Rule{R::kPegSoundsNotFound, "peg-sounds-not-found", S::kWarning, P::kWarning,
         "The peg's sounds file is missing", "Peg sounds file not found",
         "The Sounds line of the [Files] section names a file that does not exist. Mend the "
         "path or add the file."},
    Rule{R::kPegRecordsNotWritable, "peg-records-not-writable", S::kWarning, P::kWarning,
         "The peg's records file cannot be written", "Unable to write to the peg records file",
         "The checker could not create a file beside the peg's records file, so the game will "
         "not be able to save the peg's records. Check that the folder of the Records line "
         "exists and can be written."},
    Rule{R::kPegDepthAccuracyFair, "peg-depth-accuracy-fair", S::kWarning, P::kWarning,
         "The peg's grid uses few depths", "Depth accuracy could be improved",
         "From 10 % to 15 % of the possible depth values occur in the peg's grid. Finer depth "
         "modelling makes the water fish more naturally."},
    Rule{R::kPegObjectsFew, "peg-objects-few", S::kWarning, P::kWarning,
         "The peg has only 5 or 6 objects", "There really should be more objects in the peg",
         "Fish hold to objects, and a peg with 5 or 6 of them offers few places to fish. Add "
         "more with the venue tools."},
    Rule{R::kPegBareAreasMany, "peg-bare-areas-many", S::kWarning, P::kWarning,
         "More than a tenth of the peg's water has no object",
         "There are a lot of areas without any objects on the peg",
         "From 10 % to 50 % of the water cells hold no object. Place objects over more of the "
         "water."},
    Rule{R::kPegUniqueAreasFew, "peg-unique-areas-few", S::kWarning, P::kWarning,
         "The peg has fewer than 30 kinds of object area",
         "There are aren't many unique object areas on the peg to cast to.",
         "The peg has from 11 to 29 distinct sets of objects sharing cells. Overlap objects in "
         "more combinations to give more places to cast to."},
    Rule{R::kPegDepthAccuracyImprovable, "peg-depth-accuracy-improvable", S::kAdvice, P::kAdvice,
         "The peg's depths could be modelled in more detail",
         "The peg could be improved with more detailed depth modelling",
         "From 15 % to 30 % of the possible depth values occur in the peg's grid: good, and "
         "better with more."},
    Rule{R::kPegObjectsImprovable, "peg-objects-improvable", S::kAdvice, P::kAdvice,
         "The peg could hold more objects", "The peg could be improved by adding more objects.",
         "The peg has from 7 to 15 objects. Up to 32 fit; more objects make more places to "
         "fish."},
    Rule{R::kPegBareAreasImprovable, "peg-bare-areas-improvable", S::kAdvice, P::kAdvice,
         "A little of the peg's water has no object",
         "There are a few areas without any objects on the peg, these could be added to "
         "improve the peg",
         "Up to 10 % of the water cells hold no object. Covering them too makes the whole peg "
         "worth fishing."},
    Rule{R::kPegUniqueAreasImprovable, "peg-unique-areas-improvable", S::kAdvice, P::kAdvice,
         "The peg could have more kinds of object area",
         "The peg would be improved if there were more unique object areas to cast to.",
         "The peg has from 30 to 59 distinct sets of objects sharing cells. More combinations "
         "give more variety to cast to."},

    // A peg stocks file.
    Rule{R::kStockingRecordUnreadable, "stocking-record-unreadable", S::kError, P::kError,
         "A record of the stocking list does not start with a number",
         "on line <stock file of the record before>",
         "Each record of a stocking list is a whole number, a stock file, a word and a picture. "
         "This record does not start with a whole number, so the game skips the rest of its "
         "line. The message names the stock file of the record before it."},
    Rule{R::kStockingStockNotFound, "stocking-stock-not-found", S::kError, P::kError,
         "A stock file of the stocking list is missing", "can't find stock file <stock file>",
         "The record names a stock file that does not exist, so those fish are not put into the "
         "peg. Mend the path or add the stock file."},
    Rule{R::kStockingGraphicNotFound, "stocking-graphic-not-found", S::kWarning, P::kWarning,
         "A picture of the stocking list is missing", "can't find graphic file <picture>",
         "The record names a picture that does not exist. Mend the path, add the picture, or "
         "write [None] when the stock has none."},
    Rule{R::kStockingGraphicNameTooLong, "stocking-graphic-name-too-long", S::kWarning, P::kWarning,
         "A picture of the stocking list has a long name",
         "graphic <picture> is greater than 10 chars and may not display correct",
         "The game may not show a picture whose file name (with its extension) is longer than "
         "14 characters. Rename the picture."},

    // A stock file's statements.
    Rule{R::kStockValuesMissing, "stock-values-missing", S::kError, P::kParserError,
         "A statement of the stock file lacks values", "on <KEYWORD> line.",
         "The statement has fewer values than it needs, or a value is not a number. The values "
         "not read keep what the stock held before. Write every value of the statement."},
    Rule{R::kStockIndexOutOfRange, "stock-index-out-of-range", S::kError, P::kParserError,
         "A statement of the stock file names an entry that does not exist",
         "on <KEYWORD> line ( parameter out of range )",
         "The first value of the statement picks an entry of a table (a month from 1 to 12, a "
         "moon phase, a wind direction, a distance band) and is outside it, so nothing is "
         "stored. Mend the entry number."},
    Rule{R::kStockRangeOrderWrong, "stock-range-order-wrong", S::kError, P::kParserError,
         "A range of the stock file has its ideal outside its minimum and maximum",
         "on <KEYWORD> line ( ideal / min / max wrong )",
         "A range statement gives the ideal, the minimum, the maximum and the importance; the "
         "ideal must lie from the minimum to the maximum. Reorder or mend the values."},
    Rule{R::kStockRangeOutOfRange, "stock-range-out-of-range", S::kError, P::kParserError,
         "A weather range of the stock file has its ideal outside its minimum and maximum",
         "on <KEYWORD> line ( parameter out of range )",
         "The WINDS or CLOUD statement gives the ideal, the minimum, the maximum and the "
         "importance; the ideal must lie from the minimum to the maximum. Mend the values."},
    Rule{R::kStockUnrecognisedCommand, "stock-unrecognised-command", S::kWarning, P::kParserWarning,
         "The stock file holds a word that is no statement", "unrecognised command : <word>",
         "The game skips the rest of a line that does not start with a statement it knows. Mend "
         "the spelling, or start the line with ; to make it a comment."},
    Rule{R::kStockMinSizeAboveMaxSize, "stock-min-size-above-max-size", S::kError,
         P::kParserErrorColon, "The stock's smallest fish is bigger than its biggest",
         "MinSize is bigger than MaxSize",
         "MINSIZE and MAXSIZE give the weight range of the shoal's fish in drams; the first "
         "must not be above the second. Swap or mend them."},

    // The stock file summary.
    Rule{R::kStockNotLoaded, "stock-not-loaded", S::kError, P::kLoadError,
         "The stock file could not be loaded", "Can't load stock file.",
         "The checker had no memory left to read the stock file. Close other programs and "
         "check again."},
    Rule{R::kStockSpeciesMaximumUnknown, "stock-species-maximum-unknown", S::kWarning, P::kWarning,
         "The stock's species has no maximum size",
         "No species maximum size found, manual check required.",
         "Either the REF statement of the stock names no species of the game (and the default "
         "species is missing too), or the species has no line in maxsize.txt. Without it the "
         "stock's sizes cannot be checked: mend the REF statement or add the species to "
         "maxsize.txt."},
    Rule{R::kStockEasyForSize, "stock-easy-for-size", S::kAdvice, P::kAdvice,
         "The stock is easy to catch for the size of its fish",
         "This stock is a bit too easy to catch for the size of the fish in it.",
         "The wider the ranges of temperature, oxygen, light, depth, cover and pH a stock "
         "tolerates, the easier it is to catch; big fish should be harder. Narrow some ranges or "
         "raise their importance."},
    Rule{R::kStockShoalMayBeEasy, "stock-shoal-may-be-easy", S::kWarning, P::kWarning,
         "The shoal may be too easy to catch", "This shoal may be too easy to catch",
         "The stock's ease score is from 350 to 450: its ranges are wide for their importance. "
         "Narrow some ranges or raise their importance."},
    Rule{R::kStockShoalTooEasy, "stock-shoal-too-easy", S::kError, P::kError,
         "The shoal is far too easy to catch",
         "This shoal is too easy to catch, the stk file needs altering",
         "The stock's ease score is above 450: almost any bait in any weather catches it. "
         "Narrow the ranges of the stock file or raise their importance."},
    Rule{R::kStockSizeAboveMaximum, "stock-size-above-maximum", S::kError, P::kError,
         "The stock's biggest fish is above the species' maximum",
         "Size ( <MAXSIZE> ) is bigger than max size allowed of <maximum> drams.",
         "MAXSIZE is above the species' line in maxsize.txt, so the stock could set records no "
         "real fish could. Lower MAXSIZE to the maximum or below."},
};

constexpr bool TableInOrder() {
    for (size_t i = 0; i < kRules.size(); ++i) {
        if (static_cast<size_t>(kRules[i].rule) != i) return false;
    }
    return true;
}
static_assert(TableInOrder(), "the rule table follows the order of RuleId");

}  // namespace

std::string_view SeverityName(Severity severity) {
    switch (severity) {
        case Severity::kError:
            return "error";
        case Severity::kWarning:
            return "warning";
        case Severity::kAdvice:
            return "advice";
    }
    return "error";
}

void FindingCounts::Add(Severity severity) {
    switch (severity) {
        case Severity::kError:
            ++errors;
            break;
        case Severity::kWarning:
            ++warnings;
            break;
        case Severity::kAdvice:
            ++advice;
            break;
    }
}

FindingCounts& FindingCounts::operator+=(const FindingCounts& other) {
    errors += other.errors;
    warnings += other.warnings;
    advice += other.advice;
    return *this;
}

std::span<const Rule> Rules() {
    return kRules;
}

const Rule& RuleOf(RuleId rule) {
    return kRules[static_cast<size_t>(rule)];
}

const Rule* FindRule(std::string_view id) {
    for (const Rule& rule : kRules) {
        if (rule.id == id) return &rule;
    }
    return nullptr;
}

std::string_view PrefixOf(Presentation presentation) {
    switch (presentation) {
        case P::kError:
        case P::kLoadError:
            return "\n\tError : ";
        case P::kWarning:
        case P::kWarningInRed:
            return "\n\tWarning : ";
        case P::kAdvice:
            return "\n\tAdvice : ";
        case P::kParserError:
            return "\n\t : Error ";
        case P::kParserErrorColon:
            return "\n\t : Error : ";
        case P::kParserWarning:
            return "\n\t : Warning : ";
    }
    return "\n\tError : ";
}

std::string RuleLine(const Rule& rule) {
    std::string line(PrefixOf(rule.presentation).substr(2));
    line += rule.message;
    return line;
}

std::string PaneLine(const Finding& finding) {
    std::string line(PrefixOf(RuleOf(finding.rule).presentation));
    line += finding.message;
    return line;
}

}  // namespace venuecheck
