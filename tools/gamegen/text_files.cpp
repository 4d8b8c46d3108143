#include "gamegen/text_files.h"

namespace venuecheck::gamegen {
namespace {

void AddKey(IniSection& section, std::string_view key, const std::optional<std::string>& value) {
    if (value) section.keys.push_back({std::string(key), *value});
}

void AppendLine(std::string& out, std::string_view text, std::string_view lineEnd) {
    out.append(text);
    out.append(lineEnd);
}

}  // namespace

std::string MakeIniText(const std::vector<IniSection>& sections, std::string_view lineEnd) {
    std::string out;
    for (const IniSection& section : sections) {
        AppendLine(out, "[" + section.name + "]", lineEnd);
        for (const IniKey& key : section.keys) AppendLine(out, key.key + "=" + key.value, lineEnd);
        out.append(lineEnd);
    }
    return out;
}

std::vector<IniSection> VenueSections(const VenueFile& venue) {
    IniSection details{"Details", {}};
    AddKey(details, "Name", venue.name);
    AddKey(details, "Ref", venue.ref);
    AddKey(details, "Creator", venue.creator);
    AddKey(details, "Date", venue.date);
    AddKey(details, "Dir", venue.dir);
    AddKey(details, "Lastpeg", venue.lastpeg);
    AddKey(details, "Records", venue.records);
    AddKey(details, "Desc", venue.desc);
    AddKey(details, "Level", venue.level);
    IniSection weather{"Weather", {}};
    AddKey(weather, "Lookup", venue.lookup);
    AddKey(weather, "Weather", venue.weather);
    AddKey(weather, "Tempmodel", venue.tempmodel);
    AddKey(weather, "Tempfact", venue.tempfact);
    return {details, weather};
}

std::string MakeVenueFile(const VenueFile& venue, std::string_view lineEnd) {
    return MakeIniText(VenueSections(venue), lineEnd);
}

std::vector<IniSection> PegSections(const PegFile& peg) {
    IniSection details{"Details", {}};
    AddKey(details, "Name", peg.name);
    AddKey(details, "Ref", peg.ref);
    AddKey(details, "Desc", peg.desc);
    IniSection files{"Files", {}};
    AddKey(files, "Image", peg.image);
    AddKey(files, "Data", peg.data);
    AddKey(files, "Records", peg.records);
    AddKey(files, "Fish", peg.fish);
    AddKey(files, "Fish211f", peg.fish211f);
    AddKey(files, "Sounds", peg.sounds);
    IniSection distance{"Distance", {}};
    AddKey(distance, "DPRatio", peg.dpratio);
    IniSection water{"Water", {}};
    AddKey(water, "PH", peg.ph);
    AddKey(water, "O2", peg.o2);
    AddKey(water, "Turbid", peg.turbid);
    AddKey(water, "Saline", peg.saline);
    AddKey(water, "Temp", peg.temp);
    AddKey(water, "Maxlight", peg.maxlight);
    AddKey(water, "Tidefact", peg.tidefact);
    AddKey(water, "Seatype", peg.seatype);
    return {details, files, distance, water};
}

std::string MakePegFile(const PegFile& peg, std::string_view lineEnd) {
    return MakeIniText(PegSections(peg), lineEnd);
}

std::string MakePegStocksLine(const StockingRecord& record, std::string_view lineEnd) {
    std::string out =
        record.number + " " + record.stockFile + " " + record.thirdWord + " " + record.graphic;
    out.append(lineEnd);
    return out;
}

std::string MakePegStocksFile(const std::vector<StockingRecord>& records,
                              std::string_view lineEnd) {
    std::string out;
    for (const StockingRecord& record : records) out += MakePegStocksLine(record, lineEnd);
    return out;
}

std::string MakeKeywordText(const std::vector<KeywordLine>& lines, std::string_view lineEnd) {
    std::string out;
    for (const KeywordLine& line : lines) {
        out.append(line.keyword);
        if (!line.values.empty()) {
            out.push_back(' ');
            out.append(line.values);
        }
        out.append(lineEnd);
    }
    return out;
}

std::vector<KeywordLine> TypicalSpeciesLines() {
    return {
        {"GRAPHIC", "roach.bmp"}, {"TEMP", "15.0 4.0 26.0 2"},
        {"O2", "7.0 4.0 12.0 1"}, {"PH", "7.2 6.0 8.5 1"},
        {"FDEPTH", "36 6 120 2"}, {"WDEPTH", "60 12 240 1"},
        {"LIGHT", "40 5 90 1"},   {"COVER", "50 0 100 1"},
        {"FLOW", "20 0 60 1"},    {"SALINE", "0 0 5 1"},
        {"TIDE", "0 0 10 0"},     {"MAXSIZE", "2000"},
        {"BITETIME", "10"},       {"STRIKETIME", "12"},
        {"CAUTION", "100 1000"},  {"FIGHT", "0.01 900.0 20"},
        {"INSECT", "40"},         {"SEED", "30"},
        {"PROTEIN", "50"},        {"MONTH", "1 60"},
        {"MONTH", "6 120"},
    };
}

std::string MakeSpeciesFile(const SpeciesFile& species, std::string_view lineEnd) {
    std::vector<KeywordLine> lines;
    if (species.ref) lines.push_back({"REF", *species.ref});
    if (species.name) lines.push_back({"NAME", *species.name});
    lines.insert(lines.end(), species.lines.begin(), species.lines.end());
    if (species.end) lines.push_back({"END", ""});
    return MakeKeywordText(lines, lineEnd);
}

std::vector<KeywordLine> TypicalStockLines() {
    return {
        {"QTY", "40"},           {"TEMP", "14.0 6.0 22.0 3"}, {"O2", "7.0 5.0 10.0 2"},
        {"PH", "7.0 6.5 8.0 2"}, {"FDEPTH", "30 10 80 3"},    {"WDEPTH", "48 24 120 2"},
        {"LIGHT", "40 10 70 3"}, {"COVER", "50 20 80 3"},     {"MONTH", "3 80"},
        {"MONTH", "7 120"},      {"MOON", "0 100"},           {"MOON", "7 110"},
        {"WINDD", "4 100"},
    };
}

std::string MakeStockFile(const StockFile& stock, std::string_view lineEnd) {
    std::vector<KeywordLine> lines;
    if (stock.ref) lines.push_back({"REF", *stock.ref});
    if (stock.name) lines.push_back({"NAME", *stock.name});
    if (stock.minSize) lines.push_back({"MINSIZE", std::to_string(*stock.minSize)});
    if (stock.maxSize) lines.push_back({"MAXSIZE", std::to_string(*stock.maxSize)});
    lines.insert(lines.end(), stock.lines.begin(), stock.lines.end());
    if (stock.end) lines.push_back({"END", ""});
    return MakeKeywordText(lines, lineEnd);
}

std::string MakeMaxSizeLine(int firstValue, int maxSize, std::string_view name,
                            std::string_view lineEnd) {
    std::string out = std::to_string(firstValue) + " " + std::to_string(maxSize) + "\t";
    out.append(name);
    out.append(lineEnd);
    return out;
}

}  // namespace venuecheck::gamegen
