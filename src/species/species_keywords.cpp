#include "species/species_keywords.h"

#include <array>

#include "common/game_folder.h"
#include "common/keyword_index.h"
#include "common/text.h"

namespace venuecheck {
namespace {

using Read = void (*)(TextScanner&, SpeciesRecord&);

struct SpeciesKeyword {
    std::string_view word;
    Read read;  // none for "END"
};

std::optional<std::string> ReadWordValue(TextScanner& in, std::optional<std::string> previous) {
    std::string word;
    if (!ReadKeywordWord(in, word)) return previous;
    return word;
}

void ReadRef(TextScanner& in, SpeciesRecord& s) {
    std::string word;
    if (!ReadKeywordWord(in, word)) return;
    if (word.size() > kMaxSpeciesRef) word.resize(kMaxSpeciesRef);
    s.ref = std::move(word);
}

void ReadName(TextScanner& in, SpeciesRecord& s) {
    s.name = TrimName(ReadTabField(in));
}

void ReadGraphic(TextScanner& in, SpeciesRecord& s) {
    s.graphic = ReadWordValue(in, std::move(s.graphic));
}

void ReadFsb(TextScanner& in, SpeciesRecord& s) {
    s.fsb = ReadWordValue(in, std::move(s.fsb));
}

template <RealRange SpeciesRecord::*Field>
void ReadRealRange(TextScanner& in, SpeciesRecord& s) {
    RealRange& range = s.*Field;
    ValueScan(in).Real(range.ideal).Real(range.min).Real(range.max).Int16(range.importance);
}

template <IntRange SpeciesRecord::*Field>
void ReadIntRange(TextScanner& in, SpeciesRecord& s) {
    IntRange& range = s.*Field;
    ValueScan(in).Int16(range.ideal).Int16(range.min).Int16(range.max).Int16(range.importance);
}

template <int16_t SpeciesRecord::*Field>
void ReadInt16(TextScanner& in, SpeciesRecord& s) {
    ValueScan(in).Int16(s.*Field);
}

template <auto Field, size_t Index>
void ReadInt16At(TextScanner& in, SpeciesRecord& s) {
    ValueScan(in).Int16((s.*Field)[Index]);
}

template <std::array<int16_t, 3> SpeciesRecord::*Field>
void ReadTriple(TextScanner& in, SpeciesRecord& s) {
    auto& values = s.*Field;
    ValueScan(in).Int16(values[0]).Int16(values[1]).Int16(values[2]);
}

template <FeedGroup SpeciesRecord::*Field>
void ReadFeedGroup(TextScanner& in, SpeciesRecord& s) {
    FeedGroup& group = s.*Field;
    ValueScan(in)
        .Real(group.reals[0])
        .Real(group.reals[1])
        .Real(group.reals[2])
        .Int16(group.ints[0])
        .Int16(group.ints[1])
        .Int16(group.ints[2]);
}

void ReadMonth(TextScanner& in, SpeciesRecord& s) {
    int32_t month = 0;
    int32_t value = 0;
    if (ValueScan(in).Int(month).Int(value).Count() < 2) return;
    if (month >= 1 && month <= 12) s.month[static_cast<size_t>(month - 1)] = Low16(value);
}

void ReadDist(TextScanner& in, SpeciesRecord& s) {
    int32_t entry = 0;
    float value = 0.0f;
    if (ValueScan(in).Int(entry).Real(value).Count() < 2) return;
    if (entry >= 1 && entry <= 10) s.dist[static_cast<size_t>(entry - 1)] = value;
}

void ReadMaxSize(TextScanner& in, SpeciesRecord& s) {
    ValueScan(in).Int(s.maxSize);
}

void ReadCaution(TextScanner& in, SpeciesRecord& s) {
    ValueScan(in).Int16(s.caution[0]).Int16(s.caution[1]);
}

void ReadFight(TextScanner& in, SpeciesRecord& s) {
    ValueScan(in).Real(s.fightReal[0]).Real(s.fightReal[1]).Int16(s.fightInt);
}

void ReadTeeth(TextScanner& in, SpeciesRecord& s) {
    ValueScan(in).Real(s.teeth);
}

using S = SpeciesRecord;

constexpr std::array kSpeciesKeywords = {
    SpeciesKeyword{"REF", ReadRef},
    SpeciesKeyword{"NAME", ReadName},
    SpeciesKeyword{"GRAPHIC", ReadGraphic},
    SpeciesKeyword{"FSB", ReadFsb},
    SpeciesKeyword{"TEMP", ReadRealRange<&S::temp>},
    SpeciesKeyword{"O2", ReadRealRange<&S::o2>},
    SpeciesKeyword{"PH", ReadRealRange<&S::ph>},
    SpeciesKeyword{"FDEPTH", ReadIntRange<&S::fdepth>},
    SpeciesKeyword{"WDEPTH", ReadIntRange<&S::wdepth>},
    SpeciesKeyword{"TIDE", ReadIntRange<&S::tide>},
    SpeciesKeyword{"LIGHT", ReadIntRange<&S::light>},
    SpeciesKeyword{"SALINE", ReadIntRange<&S::saline>},
    SpeciesKeyword{"FLOW", ReadIntRange<&S::flow>},
    SpeciesKeyword{"COVER", ReadIntRange<&S::cover>},
    SpeciesKeyword{"MONTH", ReadMonth},
    SpeciesKeyword{"DIST", ReadDist},
    SpeciesKeyword{"MAXSIZE", ReadMaxSize},
    SpeciesKeyword{"BEACH", ReadInt16At<&S::seaType, 1>},
    SpeciesKeyword{"ESTUARY", ReadInt16At<&S::seaType, 2>},
    SpeciesKeyword{"PIER", ReadInt16At<&S::seaType, 3>},
    SpeciesKeyword{"ROCK", ReadInt16At<&S::seaType, 4>},
    SpeciesKeyword{"MUD", ReadInt16At<&S::seaType, 5>},
    SpeciesKeyword{"SHINGLE", ReadInt16At<&S::seaType, 6>},
    SpeciesKeyword{"SROCK", ReadInt16At<&S::seaType, 7>},
    SpeciesKeyword{"DEEP", ReadInt16At<&S::seaType, 8>},
    SpeciesKeyword{"WRECK", ReadInt16At<&S::seaType, 9>},
    SpeciesKeyword{"TIDEIN", ReadInt16<&S::tideIn>},
    SpeciesKeyword{"TIDEOUT", ReadInt16<&S::tideOut>},
    SpeciesKeyword{"PROTEIN", ReadInt16At<&S::attraction, 0>},
    SpeciesKeyword{"STARCH", ReadInt16At<&S::attraction, 1>},
    SpeciesKeyword{"CARBO", ReadInt16At<&S::attraction, 2>},
    SpeciesKeyword{"SWEET", ReadInt16At<&S::attraction, 3>},
    SpeciesKeyword{"SOUR", ReadInt16At<&S::attraction, 4>},
    SpeciesKeyword{"BITTER", ReadInt16At<&S::attraction, 5>},
    SpeciesKeyword{"SPICE", ReadInt16At<&S::attraction, 6>},
    SpeciesKeyword{"CITRUS", ReadInt16At<&S::attraction, 7>},
    SpeciesKeyword{"BLOOD", ReadInt16At<&S::attraction, 8>},
    SpeciesKeyword{"FISHOIL", ReadInt16At<&S::attraction, 9>},
    SpeciesKeyword{"FAT", ReadInt16At<&S::attraction, 10>},
    SpeciesKeyword{"SIGHT", ReadInt16At<&S::attraction, 11>},
    SpeciesKeyword{"SMELL", ReadInt16At<&S::attraction, 12>},
    SpeciesKeyword{"MOVE", ReadInt16At<&S::attraction, 13>},
    SpeciesKeyword{"INSECT", ReadInt16At<&S::food, 0>},
    SpeciesKeyword{"SEED", ReadInt16At<&S::food, 1>},
    SpeciesKeyword{"VEGETABLE", ReadInt16At<&S::food, 2>},
    SpeciesKeyword{"FRUIT", ReadInt16At<&S::food, 3>},
    SpeciesKeyword{"FAUNA", ReadInt16At<&S::food, 4>},
    SpeciesKeyword{"FLY", ReadInt16At<&S::food, 5>},
    SpeciesKeyword{"SHELLFISH", ReadInt16At<&S::food, 6>},
    SpeciesKeyword{"FISH", ReadInt16At<&S::food, 7>},
    SpeciesKeyword{"ANIMAL", ReadInt16At<&S::food, 8>},
    SpeciesKeyword{"PROCESSED", ReadInt16At<&S::food, 9>},
    SpeciesKeyword{"GBAIT", ReadFeedGroup<&S::gbait>},
    SpeciesKeyword{"LFEED", ReadFeedGroup<&S::lfeed>},
    SpeciesKeyword{"PULL", ReadTriple<&S::pull>},
    SpeciesKeyword{"LIFT", ReadTriple<&S::lift>},
    SpeciesKeyword{"RUN", ReadTriple<&S::run>},
    SpeciesKeyword{"TAKE", ReadTriple<&S::take>},
    SpeciesKeyword{"CAUTION", ReadCaution},
    SpeciesKeyword{"BITETIME", ReadInt16<&S::biteTime>},
    SpeciesKeyword{"STRIKETIME", ReadInt16<&S::strikeTime>},
    SpeciesKeyword{"FIGHT", ReadFight},
    SpeciesKeyword{"TEETH", ReadTeeth},
    SpeciesKeyword{"END", nullptr},
};

constexpr KeywordIndex kSpeciesKeywordIndex(kSpeciesKeywords);

}  // namespace

KeywordResult ReadSpeciesKeyword(TextScanner& in, SpeciesRecord& species) {
    std::string word;
    if (!ReadKeywordWord(in, word)) return KeywordResult::kEnd;
    if (const SpeciesKeyword* keyword = kSpeciesKeywordIndex.Find(word)) {
        if (keyword->read == nullptr) return KeywordResult::kEnd;
        keyword->read(in, species);
        return KeywordResult::kRead;
    }
    if (in.EndMet()) return KeywordResult::kEnd;
    in.SkipLine();
    return KeywordResult::kSkipped;
}

std::string ReadTabField(TextScanner& in) {
    return ReadFieldText(in, true);
}

std::string TrimName(std::string text) {
    while (!text.empty()) {
        const auto last = static_cast<unsigned char>(text.back());
        if (last > 32 && last < 127) break;
        text.pop_back();
    }
    return text;
}

void ReadSpeciesText(std::string_view content, SpeciesRecord& species) {
    const std::string text = ToTextMode(std::string(content));
    TextScanner in(text);
    while (ReadSpeciesKeyword(in, species) != KeywordResult::kEnd) {
    }
}

}  // namespace venuecheck
