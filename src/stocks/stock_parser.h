#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/keyword_values.h"
#include "common/number_scanner.h"
#include "common/text.h"
#include "report/rules.h"
#include "species/species_record.h"

namespace venuecheck {

class GameFolder;
class Report;
class SpeciesCatalogue;

// One stock file: a shoal of fish of one species put into a peg. The fields
// marked "from the species" are overwritten by a "REF" statement. `month` entry
// k holds month k + 1 and `dist` entry k holds entry k + 1.
struct StockRecord {
    const SpeciesRecord* species = nullptr;  // in the species catalogue, not owned
    std::optional<std::string> graphic;      // from the species
    std::optional<std::string> name;
    std::string fileName;
    int32_t minSize = 0;  // drams
    int32_t maxSize = 10;
    int32_t qty = 1;
    RealRange user1;  // cleared by "REF"
    RealRange user2;  // cleared by "REF"
    // From the species:
    RealRange temp;
    RealRange o2;
    RealRange ph;
    IntRange fdepth;
    IntRange light;
    IntRange saline;
    IntRange cover;
    IntRange wdepth;
    IntRange flow;
    IntRange tide;
    // The stock's own:
    RealRange winds;
    IntRange cloud;
    // From the species:
    std::array<int16_t, kFoodKinds> food{};
    std::array<int16_t, kAttractions> attraction{};
    FeedGroup lfeed;
    FeedGroup gbait;
    std::array<int16_t, 3> pull{};
    std::array<int16_t, 3> lift{};
    std::array<int16_t, 3> run{};
    std::array<int16_t, 3> take{};
    int16_t biteTime = 0;
    int16_t strikeTime = 0;
    std::array<int16_t, 2> caution{};
    std::array<float, 2> fightReal{};
    int16_t fightInt = 0;
    std::array<int16_t, 12> month{};
    std::array<int16_t, kSeaTypes> seaType{};  // entry 0 set to 100 by "REF"
    int16_t tideIn = 0;
    int16_t tideOut = 0;
    std::array<float, 10> dist{};
    int32_t specSize = 0;     // the species' MAXSIZE
    float bSmallFact = 0.0f;  // set to 1.0 by "REF"
    // The stock's own:
    std::array<float, 10> fdTemp{1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    std::array<float, 10> wdTemp{1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    std::array<float, 10> fdLight{1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    std::array<float, 10> wdLight{1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    std::array<float, 10> covLight{1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    std::array<int32_t, 9> windD{};
    std::array<int32_t, 14> moon{};
    std::array<int32_t, 2> baitCalc{};
    float easeScore = 0.0f;
    // The lines of the last REF, MINSIZE and MAXSIZE statements; 0 for none.
    int refLine = 0;
    int minSizeLine = 0;
    int maxSizeLine = 0;
};

// A stock as it stands before its file is read: the "ROACH" species (if the
// catalogue has one) and every other field without a value of its own at
// zero.
StockRecord NewStock(const SpeciesCatalogue& species);

// What the stock reader needs besides the text: the species to look up, the
// report for its messages and the game folder, where every known species
// named by "REF" deletes "shoalcat.txt" (none when reading without a folder).
struct StockContext {
    const SpeciesCatalogue& species;
    Report& report;
    const GameFolder* folder = nullptr;
};

// Copies the species' values into the stock, clears the fields "REF" resets
// and deletes "shoalcat.txt" from the game folder when one is given.
void ApplySpecies(StockRecord& stock, const SpeciesRecord& species, const GameFolder* folder);

// Reads the statements of one stock file into a record, writing each problem
// to the report as it is met.
class StockReader {
public:
    // `text` is the file's content with its line ends in text-mode form.
    StockReader(std::string_view text, StockRecord& stock, const StockContext& context)
        : in_(text), lines_(text), stock_(stock), context_(context) {}

    // Reads one statement. kEnd for "END", the end of the text, and a "REF"
    // that names no known species.
    KeywordResult ReadStockKeyword();

    // The text value of "NAME": blanks before it are skipped, tabs are not,
    // and it is not trimmed.
    std::string ReadStockText();

    // Reads bytes up to and including the next line feed, or to the end.
    void SkipStockLine() { in_.SkipLine(); }

    // The pieces the statements are made of.
    TextScanner& In() { return in_; }
    StockRecord& Stock() { return stock_; }
    const StockContext& Context() const { return context_; }
    // Reports a finding of the statement being read, at its line.
    void Error(RuleId rule, std::string message);

    // The line of the statement being read (from 1), and its keyword.
    int StatementLine() const { return statementLine_; }

private:
    TextScanner in_;
    LineCounter lines_;
    int statementLine_ = 0;
    std::string_view keyword_;
    StockRecord& stock_;
    const StockContext& context_;
};

// Reads a stock file's content (plain bytes, line ends as stored) into the
// record up to "END", the end of the text or an unknown "REF", then compares
// the two sizes.
void ReadStockContent(std::string_view content, StockRecord& stock, const StockContext& context);

// Reads the stock file at the path (through the temporary plain copy when it
// is scrambled); false, with nothing read or written, when it cannot be
// opened. An archive path cannot be opened.
bool ReadStockFile(const GameFolder& folder, std::string_view path, StockRecord& stock,
                   const SpeciesCatalogue& species, Report& report);

}  // namespace venuecheck
