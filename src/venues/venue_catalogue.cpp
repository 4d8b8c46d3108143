#include "venues/venue_catalogue.h"

#include <algorithm>

#include "common/game_folder.h"
#include "common/ini_file.h"
#include "common/number_scanner.h"
#include "common/scrambled_file.h"
#include "common/text.h"

namespace venuecheck {

bool IsIllegalNameByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte > 0x7F;
}

VenueRecord ReadVenueFile(std::string_view content, std::string venuePath, bool scrambled) {
    const IniFile ini = IniFile::Parse(content);
    VenueRecord venue;
    venue.Path = std::move(venuePath);
    venue.Scrambled = scrambled;

    venue.Name = ReadKey(ini, venue.Lines, "Details", "Name", kUnknown);
    if (venue.Name.empty()) venue.Flags |= kNameEmpty;
    if (venue.Name.size() > 30) venue.Flags |= kNameTooLong;
    for (char c : venue.Name) {
        if (IsIllegalNameByte(c)) venue.Flags |= kNameIllegalChars;
        if (c == '&') venue.Flags |= kNameAmpersand;
    }

    venue.Ref = ReadKey(ini, venue.Lines, "Details", "Ref", kUnknown);
    if (std::any_of(venue.Ref.begin(), venue.Ref.end(), IsIllegalNameByte)) {
        venue.Flags |= kRefIllegalChars;
    }

    venue.Creator = ReadKey(ini, venue.Lines, "Details", "Creator", kUnknown);
    venue.Date = ReadKey(ini, venue.Lines, "Details", "Date", kUnknown);
    venue.Dir = ReadKey(ini, venue.Lines, "Details", "Dir", kUnknown);
    venue.Lastpeg = ReadKey(ini, venue.Lines, "Details", "Lastpeg", kUnknown);
    venue.Records = ReadKey(ini, venue.Lines, "Details", "Records", kUnknown);
    venue.Desc = ReadKey(ini, venue.Lines, "Details", "Desc", kNone);
    venue.Level = IniFloat(ReadKey(ini, venue.Lines, "Details", "Level", "1.0"));
    venue.Lookup = ReadKey(ini, venue.Lines, "Weather", "Lookup", kUnknown);
    venue.Weather = ReadKey(ini, venue.Lines, "Weather", "Weather", kUnknown);
    venue.Tempmodel = IniInt(ReadKey(ini, venue.Lines, "Weather", "Tempmodel", "1"));
    venue.Tempfact = IniFloat(ReadKey(ini, venue.Lines, "Weather", "Tempfact", "1.0"));
    return venue;
}

bool SameFolder(std::string_view a, std::string_view b) {
    // '\' and '/' name the same folders, so they compare equal here too.
    auto folderOf = [](std::string_view path) {
        const size_t cut = path.find_last_of("\\/");
        std::string folder(cut == std::string_view::npos ? path : path.substr(0, cut));
        for (char& c : folder) {
            if (c == '\\') c = '/';
        }
        return folder;
    };
    return EqualNoCase(folderOf(a), folderOf(b));
}

int VenueCatalogue::LoadVenueCatalogue(const GameFolder& folder) {
    venues_.clear();
    const auto names = folder.FindFiles("venues/*.ven");
    for (const auto& name : names) {
        const std::string path = "venues/" + name;
        const PlainText text = ReadDataFile(folder, path);
        venues_.push_back(ReadVenueFile(text.bytes, path, text.scrambled));
    }
    // Each venue went to the head of the list as it was found, and the
    // list's sort never swaps equal names.
    std::reverse(venues_.begin(), venues_.end());
    std::stable_sort(venues_.begin(), venues_.end(), [](const auto& a, const auto& b) {
        return CompareNoCase(a.Name, b.Name) < 0;
    });
    return static_cast<int>(names.size());
}

const VenueRecord* VenueCatalogue::VenueAtIndex(size_t position) const {
    return position < venues_.size() ? &venues_[position] : nullptr;
}

bool VenueCatalogue::FreeVenueCatalogue() {
    const bool held = !venues_.empty();
    venues_.clear();
    return held;
}

}  // namespace venuecheck
