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
    peg.Name = ini.GetString("Details", "Name", kUnknown);
    peg.Ref = IniInt(ini.GetString("Details", "Ref", "0"));
    peg.Image = ini.GetString("Files", "Image", kUnknown);
    peg.Desc = ini.GetString("Details", "Desc", kNone);
    peg.Data = ini.GetString("Files", "Data", kUnknown);
    peg.Sounds = ini.GetString("Files", "Sounds", kUnknown);
    peg.Records = ini.GetString("Files", "Records", kUnknown);
    peg.Fish = ini.GetString("Files", "Fish", kUnknown);
    std::string fish211f = ini.GetString("Files", "Fish211f", kUnknown);
    if (!EqualNoCase(fish211f, kUnknown)) peg.Fish = std::move(fish211f);
    peg.DPRatio = IniFloat(ini.GetString("Distance", "DPRatio", "1.0"));
    peg.PH = IniFloat(ini.GetString("Water", "PH", "7.0"));
    peg.O2 = IniFloat(ini.GetString("Water", "O2", "1.0"));
    peg.Turbid = IniFloat(ini.GetString("Water", "Turbid", "50.0"));
    peg.Saline = IniFloat(ini.GetString("Water", "Saline", "0.0"));
    peg.Temp = IniFloat(ini.GetString("Water", "Temp", "1.0"));
    peg.Maxlight = IniInt(ini.GetString("Water", "Maxlight", "360"));
    peg.Tidefact = IniFloat(ini.GetString("Water", "Tidefact", "0.0"));
    peg.Seatype = IniInt(ini.GetString("Water", "Seatype", "0"));
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
