#include "pegs/peg_catalogue.h"

#include <algorithm>

#include "common/game_folder.h"
#include "common/ini_file.h"
#include "common/number_scanner.h"
#include "common/text.h"
#include "venues/venue_catalogue.h"

namespace venuecheck {

PegRecord ReadPegFile(std::string_view content, std::string path) {
    const IniFile ini = IniFile::Parse(content);
    PegRecord peg;
    peg.path = std::move(path);
    peg.Name = ReadKey(ini, peg.Lines, "Details", "Name", kUnknown);
    peg.Ref = IniInt(ReadKey(ini, peg.Lines, "Details", "Ref", "0"));
    peg.Image = ReadKey(ini, peg.Lines, "Files", "Image", kUnknown);
    peg.Desc = ReadKey(ini, peg.Lines, "Details", "Desc", kNone);
    peg.Data = ReadKey(ini, peg.Lines, "Files", "Data", kUnknown);
    peg.Sounds = ReadKey(ini, peg.Lines, "Files", "Sounds", kUnknown);
    peg.Records = ReadKey(ini, peg.Lines, "Files", "Records", kUnknown);
    peg.Fish = ReadKey(ini, peg.Lines, "Files", "Fish", kUnknown);
    std::string fish211f = ReadKey(ini, peg.Lines, "Files", "Fish211f", kUnknown);
    if (!EqualNoCase(fish211f, kUnknown)) {
        peg.Fish = std::move(fish211f);
        peg.FishKey = "Fish211f";
    }
    peg.DPRatio = IniFloat(ReadKey(ini, peg.Lines, "Distance", "DPRatio", "1.0"));
    peg.PH = IniFloat(ReadKey(ini, peg.Lines, "Water", "PH", "7.0"));
    peg.O2 = IniFloat(ReadKey(ini, peg.Lines, "Water", "O2", "1.0"));
    peg.Turbid = IniFloat(ReadKey(ini, peg.Lines, "Water", "Turbid", "50.0"));
    peg.Saline = IniFloat(ReadKey(ini, peg.Lines, "Water", "Saline", "0.0"));
    peg.Temp = IniFloat(ReadKey(ini, peg.Lines, "Water", "Temp", "1.0"));
    peg.Maxlight = IniInt(ReadKey(ini, peg.Lines, "Water", "Maxlight", "360"));
    peg.Tidefact = IniFloat(ReadKey(ini, peg.Lines, "Water", "Tidefact", "0.0"));
    peg.Seatype = IniInt(ReadKey(ini, peg.Lines, "Water", "Seatype", "0"));
    return peg;
}

int PegCatalogue::LoadPegs(const GameFolder& folder, std::string_view pattern) {
    pegs_.clear();
    const auto names = folder.FindFiles(pattern);
    // A peg's path is the folder part of the pattern, as written, and the
    // name found.
    const size_t cut = pattern.find_last_of("\\/");
    const std::string_view prefix =
        cut == std::string_view::npos ? std::string_view() : pattern.substr(0, cut + 1);
    for (const auto& name : names) {
        std::string path = std::string(prefix) + name;
        const auto content = folder.ReadFile(path);
        pegs_.push_back(ReadPegFile(content ? *content : std::string_view(), std::move(path)));
    }
    std::reverse(pegs_.begin(), pegs_.end());
    std::stable_sort(pegs_.begin(), pegs_.end(),
                     [](const PegRecord& a, const PegRecord& b) { return a.Ref < b.Ref; });
    return static_cast<int>(names.size());
}

bool PegCatalogue::FreePegs() {
    const bool held = !pegs_.empty();
    pegs_.clear();
    return held;
}

}  // namespace venuecheck
