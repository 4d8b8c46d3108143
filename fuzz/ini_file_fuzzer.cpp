// The INI reader and the venue and peg readers built on it.

#include <array>
#include <string>

#include "common/ini_file.h"
#include "fuzz_support.h"
#include "pegs/peg_catalogue.h"
#include "venues/venue_catalogue.h"

using namespace venuecheck;

namespace {

struct Key {
    const char* section;
    const char* key;
};

constexpr std::array<Key, 25> kKeys = {{
    {"Details", "Name"},     {"Details", "Ref"},      {"Details", "Creator"},
    {"Details", "Date"},     {"Details", "Dir"},      {"Details", "Lastpeg"},
    {"Details", "Records"},  {"Details", "Desc"},     {"Details", "Level"},
    {"Weather", "Lookup"},   {"Weather", "Weather"},  {"Weather", "Tempmodel"},
    {"Weather", "Tempfact"}, {"Files", "Image"},      {"Files", "Data"},
    {"Files", "Records"},    {"Files", "Fish"},       {"Files", "Fish211f"},
    {"Files", "Sounds"},     {"Distance", "DPRatio"}, {"Water", "PH"},
    {"Water", "Maxlight"},   {"Water", "Seatype"},    {"", ""},
    {"details", "NAME"},
}};

void CheckValue(const std::string& value, const char* what) {
    if (value.size() > IniFile::kMaxValueLength)
        fuzz::Fail("value longer than 255 characters", what);
    if (value.find('\0') != std::string::npos) fuzz::Fail("value holds a NUL byte", what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    const IniFile ini = IniFile::Parse(bytes);
    for (const Key& key : kKeys) {
        if (const auto value = ini.Find(key.section, key.key)) CheckValue(*value, key.key);
    }

    const VenueRecord venue = ReadVenueFile(bytes, "venues/fuzz.ven", false);
    for (const std::string* text :
         {&venue.Name, &venue.Ref, &venue.Creator, &venue.Date, &venue.Dir, &venue.Lastpeg,
          &venue.Records, &venue.Weather, &venue.Desc, &venue.Lookup}) {
        CheckValue(*text, "venue");
    }
    if (((venue.Flags & kNameEmpty) != 0) != venue.Name.empty())
        fuzz::Fail("empty-name flag wrong");
    if (((venue.Flags & kNameTooLong) != 0) != (venue.Name.size() > 30)) {
        fuzz::Fail("long-name flag wrong");
    }

    const PegRecord peg = ReadPegFile(bytes, "pegs/fuzz.peg");
    for (const std::string* text :
         {&peg.Name, &peg.Image, &peg.Data, &peg.Records, &peg.Fish, &peg.Sounds, &peg.Desc}) {
        CheckValue(*text, "peg");
    }
    // Same-folder tests of any two values.
    (void)SameFolder(venue.Dir, venue.Records);
    (void)SameFolder(peg.Data, venue.Name);
    return 0;
}
