#include "stocks/stock_parser.h"

#include <algorithm>
#include <limits>
#include <type_traits>

#include "common/file_services.h"
#include "common/game_folder.h"
#include "common/keyword_index.h"
#include "common/scrambled_file.h"
#include "common/text.h"
#include "report/report.h"
#include "species/species_catalogue.h"

namespace venuecheck {
namespace {

// A statement: reads its values after the keyword, which the messages name.
using Statement = KeywordResult (*)(StockReader&, std::string_view keyword);

struct StockKeyword {
    std::string_view word;
    Statement read;
};

void CountError(StockReader& r, std::string_view keyword) {
    r.Error(RuleId::kStockValuesMissing, "on " + std::string(keyword) + " line.");
}

void RangeError(StockReader& r, std::string_view keyword) {
    r.Error(RuleId::kStockIndexOutOfRange,
            "on " + std::string(keyword) + " line ( parameter out of range )");
}

// What a range whose ideal lies outside its minimum and maximum says.
struct OrderMessage {
    RuleId rule;
    std::string_view text;
};
constexpr OrderMessage kIdealMinMaxWrong{RuleId::kStockRangeOrderWrong,
                                         "( ideal / min / max wrong )"};
constexpr OrderMessage kOutOfRange{RuleId::kStockRangeOutOfRange, "( parameter out of range )"};

void OrderError(StockReader& r, std::string_view keyword, const OrderMessage& message) {
    r.Error(message.rule, "on " + std::string(keyword) + " line " + std::string(message.text));
}

// Statements of their own kind.

KeywordResult Ref(StockReader& r, std::string_view) {
    r.Stock().refLine = r.StatementLine();
    std::string word;
    if (!ReadKeywordWord(r.In(), word)) return KeywordResult::kEnd;
    StockRecord& stock = r.Stock();
    stock.species = r.Context().species.FindSpecies(word);
    if (stock.species == nullptr) return KeywordResult::kEnd;
    ApplySpecies(stock, *stock.species, r.Context().folder);
    return KeywordResult::kRead;
}

KeywordResult Name(StockReader& r, std::string_view) {
    r.Stock().name = r.ReadStockText();
    return KeywordResult::kRead;
}

KeywordResult Graphic(StockReader& r, std::string_view) {
    std::string word;
    if (ReadKeywordWord(r.In(), word)) r.Stock().graphic = std::move(word);
    return KeywordResult::kRead;
}

template <int32_t StockRecord::*Field, int32_t Lowest, int32_t Highest>
KeywordResult ClampedSize(StockReader& r, std::string_view) {
    if constexpr (Field == &StockRecord::minSize) r.Stock().minSizeLine = r.StatementLine();
    if constexpr (Field == &StockRecord::maxSize) r.Stock().maxSizeLine = r.StatementLine();
    int32_t value = 0;
    if (ValueScan(r.In()).Int(value).Count() == 1) {
        r.Stock().*Field = std::clamp(value, Lowest, Highest);
    }
    return KeywordResult::kRead;
}

KeywordResult BSmallFact(StockReader& r, std::string_view) {
    float value = 0.0f;
    if (ValueScan(r.In()).Real(value).Count() == 1) r.Stock().bSmallFact = std::min(value, 5.0f);
    return KeywordResult::kRead;
}

KeywordResult Qty(StockReader& r, std::string_view) {
    int32_t ignored = 0;
    ValueScan(r.In()).Int(ignored);
    return KeywordResult::kRead;
}

KeywordResult Dist(StockReader& r, std::string_view) {
    int32_t entry = 0;
    float value = 0.0f;
    if (ValueScan(r.In()).Int(entry).Real(value).Count() == 2 && entry >= 1 && entry <= 10) {
        r.Stock().dist[static_cast<size_t>(entry - 1)] = value;
    }
    return KeywordResult::kRead;
}

KeywordResult BaitCalc(StockReader& r, std::string_view) {
    auto& values = r.Stock().baitCalc;
    ValueScan(r.In()).Int(values[0]).Int(values[1]);
    return KeywordResult::kRead;
}

KeywordResult End(StockReader&, std::string_view) {
    return KeywordResult::kEnd;
}

// Indexed tables: an index, then the value of that entry.

template <typename T>
void ScanValue(ValueScan& scan, T& value) {
    if constexpr (std::is_same_v<T, float>) {
        scan.Real(value);
    } else if constexpr (std::is_same_v<T, int16_t>) {
        scan.Int16(value);
    } else {
        scan.Int(value);
    }
}

// `First` is the index of the first entry; "MONTH" numbers its entries from
// 1 and checks the index before it counts the values, the others count first.
template <auto Field, int32_t First, bool IndexFirst>
KeywordResult Indexed(StockReader& r, std::string_view keyword) {
    auto& table = r.Stock().*Field;
    using Value = std::remove_reference_t<decltype(table[0])>;
    int32_t index = 0;
    Value value{};
    ValueScan scan(r.In());
    scan.Int(index);
    const bool indexRead = scan.Count() == 1;
    ScanValue(scan, value);
    const bool valueRead = scan.Count() == 2;

    if (!IndexFirst && !valueRead) CountError(r, keyword);
    if (indexRead) {
        const int64_t entry = int64_t{index} - First;
        if (entry < 0 || entry >= static_cast<int64_t>(table.size())) {
            RangeError(r, keyword);
        } else if (valueRead) {
            table[static_cast<size_t>(entry)] = value;
        }
    }
    if (IndexFirst && !valueRead) CountError(r, keyword);
    return KeywordResult::kRead;
}

// Ranges: ideal, min, max and importance, checked for their order.

template <RealRange StockRecord::*Field>
KeywordResult RealRangeStatement(StockReader& r, std::string_view keyword,
                                 const OrderMessage& orderMessage) {
    RealRange& range = r.Stock().*Field;
    if (ValueScan(r.In())
            .Real(range.ideal)
            .Real(range.min)
            .Real(range.max)
            .Int16(range.importance)
            .Count() < 4) {
        CountError(r, keyword);
    }
    if (range.min > range.ideal || range.max < range.ideal) {
        OrderError(r, keyword, orderMessage);
    }
    return KeywordResult::kRead;
}

// Integer ranges are compared as read, before they are cut to 16 bits.
template <IntRange StockRecord::*Field>
KeywordResult IntRangeStatement(StockReader& r, std::string_view keyword,
                                const OrderMessage& orderMessage) {
    IntRange& range = r.Stock().*Field;
    int32_t ideal = range.ideal;
    int32_t min = range.min;
    int32_t max = range.max;
    int32_t importance = range.importance;
    if (ValueScan(r.In()).Int(ideal).Int(min).Int(max).Int(importance).Count() < 4) {
        CountError(r, keyword);
    }
    if (min > ideal || max < ideal) {
        OrderError(r, keyword, orderMessage);
    }
    range = IntRange{Low16(ideal), Low16(min), Low16(max), Low16(importance)};
    return KeywordResult::kRead;
}

template <RealRange StockRecord::*Field>
KeywordResult IdealMinMax(StockReader& r, std::string_view keyword) {
    return RealRangeStatement<Field>(r, keyword, kIdealMinMaxWrong);
}

template <RealRange StockRecord::*Field>
KeywordResult RealOutOfRange(StockReader& r, std::string_view keyword) {
    return RealRangeStatement<Field>(r, keyword, kOutOfRange);
}

template <IntRange StockRecord::*Field>
KeywordResult IntIdealMinMax(StockReader& r, std::string_view keyword) {
    return IntRangeStatement<Field>(r, keyword, kIdealMinMaxWrong);
}

template <IntRange StockRecord::*Field>
KeywordResult IntOutOfRange(StockReader& r, std::string_view keyword) {
    return IntRangeStatement<Field>(r, keyword, kOutOfRange);
}

// Single integers and groups: stored as far as they were read, with the count
// message when something is missing.

template <int16_t StockRecord::*Field>
KeywordResult Single(StockReader& r, std::string_view keyword) {
    if (ValueScan(r.In()).Int16(r.Stock().*Field).Count() < 1) CountError(r, keyword);
    return KeywordResult::kRead;
}

template <auto Field, size_t Index>
KeywordResult SingleAt(StockReader& r, std::string_view keyword) {
    if (ValueScan(r.In()).Int16((r.Stock().*Field)[Index]).Count() < 1) CountError(r, keyword);
    return KeywordResult::kRead;
}

template <FeedGroup StockRecord::*Field>
KeywordResult Feed(StockReader& r, std::string_view keyword) {
    FeedGroup& group = r.Stock().*Field;
    if (ValueScan(r.In())
            .Real(group.reals[0])
            .Real(group.reals[1])
            .Real(group.reals[2])
            .Int16(group.ints[0])
            .Int16(group.ints[1])
            .Int16(group.ints[2])
            .Count() < 6) {
        CountError(r, keyword);
    }
    return KeywordResult::kRead;
}

template <std::array<int16_t, 3> StockRecord::*Field>
KeywordResult Triple(StockReader& r, std::string_view keyword) {
    auto& values = r.Stock().*Field;
    if (ValueScan(r.In()).Int16(values[0]).Int16(values[1]).Int16(values[2]).Count() < 3) {
        CountError(r, keyword);
    }
    return KeywordResult::kRead;
}

KeywordResult Fight(StockReader& r, std::string_view keyword) {
    StockRecord& s = r.Stock();
    if (ValueScan(r.In()).Real(s.fightReal[0]).Real(s.fightReal[1]).Int16(s.fightInt).Count() < 3) {
        CountError(r, keyword);
    }
    return KeywordResult::kRead;
}

KeywordResult Caution(StockReader& r, std::string_view keyword) {
    StockRecord& s = r.Stock();
    if (ValueScan(r.In()).Int16(s.caution[0]).Int16(s.caution[1]).Count() < 2) {
        CountError(r, keyword);
    }
    return KeywordResult::kRead;
}

using R = StockRecord;

constexpr std::array kStockKeywords = {
    StockKeyword{"REF", Ref},
    StockKeyword{"NAME", Name},
    StockKeyword{"GRAPHIC", Graphic},
    StockKeyword{"MINSIZE", ClampedSize<&R::minSize, 1, 32000>},
    StockKeyword{"MAXSIZE", ClampedSize<&R::maxSize, 1, 32000>},
    StockKeyword{"SPECSIZE", ClampedSize<&R::specSize, 1, std::numeric_limits<int32_t>::max()>},
    StockKeyword{"BSMALLFACT", BSmallFact},
    StockKeyword{"QTY", Qty},
    StockKeyword{"DIST", Dist},
    StockKeyword{"BAITCALC", BaitCalc},
    StockKeyword{"END", End},

    StockKeyword{"MONTH", Indexed<&R::month, 1, true>},
    StockKeyword{"MOON", Indexed<&R::moon, 0, false>},
    StockKeyword{"WINDD", Indexed<&R::windD, 0, false>},
    StockKeyword{"FDTEMP", Indexed<&R::fdTemp, 0, false>},
    StockKeyword{"WDTEMP", Indexed<&R::wdTemp, 0, false>},
    StockKeyword{"FDLIGHT", Indexed<&R::fdLight, 0, false>},
    StockKeyword{"WDLIGHT", Indexed<&R::wdLight, 0, false>},
    StockKeyword{"COVLIGHT", Indexed<&R::covLight, 0, false>},

    StockKeyword{"TEMP", IdealMinMax<&R::temp>},
    StockKeyword{"USER1", IdealMinMax<&R::user1>},
    StockKeyword{"USER2", IdealMinMax<&R::user2>},
    StockKeyword{"O2", IdealMinMax<&R::o2>},
    StockKeyword{"PH", IdealMinMax<&R::ph>},
    StockKeyword{"WINDS", RealOutOfRange<&R::winds>},
    StockKeyword{"FDEPTH", IntIdealMinMax<&R::fdepth>},
    StockKeyword{"WDEPTH", IntIdealMinMax<&R::wdepth>},
    StockKeyword{"LIGHT", IntIdealMinMax<&R::light>},
    StockKeyword{"SALINE", IntIdealMinMax<&R::saline>},
    StockKeyword{"FLOW", IntIdealMinMax<&R::flow>},
    StockKeyword{"COVER", IntIdealMinMax<&R::cover>},
    StockKeyword{"TIDE", IntIdealMinMax<&R::tide>},
    StockKeyword{"CLOUD", IntOutOfRange<&R::cloud>},

    StockKeyword{"BEACH", SingleAt<&R::seaType, 1>},
    StockKeyword{"ESTUARY", SingleAt<&R::seaType, 2>},
    StockKeyword{"PIER", SingleAt<&R::seaType, 3>},
    StockKeyword{"ROCK", SingleAt<&R::seaType, 4>},
    StockKeyword{"MUD", SingleAt<&R::seaType, 5>},
    StockKeyword{"SHINGLE", SingleAt<&R::seaType, 6>},
    StockKeyword{"SROCK", SingleAt<&R::seaType, 7>},
    StockKeyword{"DEEP", SingleAt<&R::seaType, 8>},
    StockKeyword{"WRECK", SingleAt<&R::seaType, 9>},
    StockKeyword{"TIDEIN", Single<&R::tideIn>},
    StockKeyword{"TIDEOUT", Single<&R::tideOut>},
    StockKeyword{"INSECT", SingleAt<&R::food, 0>},
    StockKeyword{"SEED", SingleAt<&R::food, 1>},
    StockKeyword{"VEGETABLE", SingleAt<&R::food, 2>},
    StockKeyword{"FRUIT", SingleAt<&R::food, 3>},
    StockKeyword{"FAUNA", SingleAt<&R::food, 4>},
    StockKeyword{"FLY", SingleAt<&R::food, 5>},
    StockKeyword{"SHELLFISH", SingleAt<&R::food, 6>},
    StockKeyword{"FISH", SingleAt<&R::food, 7>},
    StockKeyword{"ANIMAL", SingleAt<&R::food, 8>},
    StockKeyword{"PROCESSED", SingleAt<&R::food, 9>},
    StockKeyword{"PROTEIN", SingleAt<&R::attraction, 0>},
    StockKeyword{"STARCH", SingleAt<&R::attraction, 1>},
    StockKeyword{"CARBO", SingleAt<&R::attraction, 2>},
    StockKeyword{"SWEET", SingleAt<&R::attraction, 3>},
    StockKeyword{"SOUR", SingleAt<&R::attraction, 4>},
    StockKeyword{"BITTER", SingleAt<&R::attraction, 5>},
    StockKeyword{"SPICE", SingleAt<&R::attraction, 6>},
    StockKeyword{"CITRUS", SingleAt<&R::attraction, 7>},
    StockKeyword{"BLOOD", SingleAt<&R::attraction, 8>},
    StockKeyword{"FISHOIL", SingleAt<&R::attraction, 9>},
    StockKeyword{"FAT", SingleAt<&R::attraction, 10>},
    StockKeyword{"SIGHT", SingleAt<&R::attraction, 11>},
    StockKeyword{"SMELL", SingleAt<&R::attraction, 12>},
    StockKeyword{"MOVE", SingleAt<&R::attraction, 13>},
    StockKeyword{"BITETIME", Single<&R::biteTime>},
    StockKeyword{"STRIKETIME", Single<&R::strikeTime>},

    StockKeyword{"LFEED", Feed<&R::lfeed>},
    StockKeyword{"GBAIT", Feed<&R::gbait>},
    StockKeyword{"PULL", Triple<&R::pull>},
    StockKeyword{"LIFT", Triple<&R::lift>},
    StockKeyword{"RUN", Triple<&R::run>},
    StockKeyword{"TAKE", Triple<&R::take>},
    StockKeyword{"FIGHT", Fight},
    StockKeyword{"CAUTION", Caution},
};

constexpr KeywordIndex kStockKeywordIndex(kStockKeywords);

}  // namespace

StockRecord NewStock(const SpeciesCatalogue& species) {
    StockRecord stock;
    stock.species = species.FindSpecies("ROACH");
    return stock;
}

void ApplySpecies(StockRecord& stock, const SpeciesRecord& species, const GameFolder* folder) {
    stock.graphic = species.graphic;
    stock.temp = species.temp;
    stock.o2 = species.o2;
    stock.ph = species.ph;
    stock.fdepth = species.fdepth;
    stock.light = species.light;
    stock.saline = species.saline;
    stock.cover = species.cover;
    stock.wdepth = species.wdepth;
    stock.flow = species.flow;
    stock.tide = species.tide;
    stock.food = species.food;
    stock.attraction = species.attraction;
    stock.lfeed = species.lfeed;
    stock.gbait = species.gbait;
    stock.pull = species.pull;
    stock.lift = species.lift;
    stock.run = species.run;
    stock.take = species.take;
    stock.biteTime = species.biteTime;
    stock.strikeTime = species.strikeTime;
    stock.caution = species.caution;
    stock.fightReal = species.fightReal;
    stock.fightInt = species.fightInt;
    stock.month = species.month;
    stock.seaType = species.seaType;
    stock.tideIn = species.tideIn;
    stock.tideOut = species.tideOut;
    stock.dist = species.dist;
    stock.specSize = species.maxSize;

    stock.seaType[0] = 100;
    stock.user1 = RealRange{};
    stock.user2 = RealRange{};
    stock.bSmallFact = 1.0f;

    // The game keeps a file of the shoal's catches there and starts it anew
    // for every stock it reads.
    if (folder != nullptr) folder->RemoveFile("shoalcat.txt");
}

KeywordResult StockReader::ReadStockKeyword() {
    std::string word;
    in_.SkipWhiteSpace();
    statementLine_ = lines_.LineAt(in_.Position());
    ReadKeywordWord(in_, word);
    // A word that runs right up to the end of the file is not acted upon.
    if (in_.EndMet()) return KeywordResult::kEnd;
    if (const StockKeyword* keyword = kStockKeywordIndex.Find(word)) {
        keyword_ = keyword->word;
        return keyword->read(*this, keyword->word);
    }
    if (word.empty() || word[0] != ';') {
        context_.report.Add(RuleId::kStockUnrecognisedCommand,
                            Place{stock_.fileName, statementLine_, {}, {}},
                            "unrecognised command : " + word);
    }
    SkipStockLine();
    return KeywordResult::kSkipped;
}

std::string StockReader::ReadStockText() {
    return ReadFieldText(in_, false);
}

void StockReader::Error(RuleId rule, std::string message) {
    context_.report.Add(rule, Place{stock_.fileName, statementLine_, std::string(keyword_), {}},
                        std::move(message));
}

void ReadStockContent(std::string_view content, StockRecord& stock, const StockContext& context) {
    const std::string text = ToTextMode(std::string(content));
    StockReader reader(text, stock, context);
    while (reader.ReadStockKeyword() != KeywordResult::kEnd) {
    }
    if (stock.minSize > stock.maxSize) {
        // Mended where the smaller size is given, or else the bigger.
        const bool minSizeRead = stock.minSizeLine != 0;
        context.report.Add(
            RuleId::kStockMinSizeAboveMaxSize,
            Place{stock.fileName,
                  minSizeRead ? stock.minSizeLine : stock.maxSizeLine,
                  minSizeRead ? "MINSIZE" : (stock.maxSizeLine != 0 ? "MAXSIZE" : ""),
                  {}});
    }
}

bool ReadStockFile(const GameFolder& folder, std::string_view path, StockRecord& stock,
                   const SpeciesCatalogue& species, Report& report) {
    if (IsArchivePath(path)) return false;
    const PlainText text = ReadDataFile(folder, path);
    if (!text.opened) return false;
    ReadStockContent(text.bytes, stock, StockContext{species, report, &folder});
    return true;
}

}  // namespace venuecheck
