#pragma once

// A small game folder in which every kind of file the checker reads is
// present once and sound, so a test can break one of them and see how a whole
// check run takes it.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "gamegen/file_output.h"
#include "gamegen/peg_data.h"
#include "gamegen/text_files.h"

namespace venuecheck::test {

// One kind of file and where the sound game keeps it.
struct FileKind {
    const char* name;  // for test names
    const char* path;  // relative to the game folder, '/' between folders
    bool text;         // read as text (words, lines, keys) rather than binary
};

inline const std::vector<FileKind>& FileKinds() {
    static const std::vector<FileKind> kinds = {
        {"venue", "venues/lake.ven", true},        {"peg", "pegs/lake/peg1.peg", true},
        {"peg_data", "pegs/lake/peg1.dat", false}, {"peg_stocks", "pegs/lake/peg1.fsh", true},
        {"stock", "stocks/roach.stk", true},       {"species", "species/roach.sp", true},
        {"max_sizes", "maxsize.txt", true},
    };
    return kinds;
}

inline std::string SoundPegFile(int number) {
    const std::string n = std::to_string(number);
    gamegen::PegFile peg;
    peg.name = "Lake peg " + n;
    peg.ref = n;
    peg.desc = "pegs\\lake\\info.txt";
    peg.image = "pegs\\lake\\peg" + n + ".jpg";
    peg.data = "pegs\\lake\\peg" + n + ".dat";
    peg.records = "pegs\\lake\\peg" + n + ".rec";
    peg.fish = "pegs\\lake\\peg" + n + ".fsh";
    peg.sounds = "pegs\\lake\\lake.wav";
    peg.dpratio = "1.5";
    return gamegen::MakePegFile(peg);
}

inline std::string SoundPegData() {
    gamegen::PegDataSpec spec;
    spec.rows = 20;
    spec.barePercent = 10;
    return gamegen::MakePegData(spec);
}

// The sound game; returns false with a message when it cannot be written.
inline bool WriteSoundGame(const std::filesystem::path& root, std::string& error) {
    gamegen::FolderWriter out(root);
    gamegen::VenueFile venue;
    venue.name = "Lake";
    venue.ref = "LAKE";
    venue.dir = "pegs\\lake\\*.peg";
    venue.lastpeg = "pegs\\lake\\lastpeg.txt";
    venue.records = "pegs\\lake\\records.txt";
    venue.desc = "pegs\\lake\\info.txt";
    venue.lookup = "pegs\\lake\\lookup.txt";
    venue.weather = "weather\\mild.wea";
    out.Write("venues/lake.ven", gamegen::MakeVenueFile(venue));
    out.Write("weather/mild.wea", "mild\r\n");
    out.Write("pegs/lake/info.txt", "A quiet lake.\r\n");
    out.Write("pegs/lake/lake.wav", "RIFF");
    for (int n = 1; n <= 2; ++n) {
        const std::string peg = "pegs/lake/peg" + std::to_string(n);
        out.Write(peg + ".peg", SoundPegFile(n));
        out.Write(peg + ".jpg", "JFIF");
        out.Write(peg + ".dat", SoundPegData());
    }
    out.Write("pegs/lake/peg1.fsh",
              gamegen::MakePegStocksFile({{"1", "stocks\\roach.stk", "shoal", "gfx\\roach.bmp"},
                                          {"2", "stocks\\perch.stk", "shoal", "[None]"}}));
    out.Write("pegs/lake/peg2.fsh",
              gamegen::MakePegStocksFile({{"1", "stocks\\perch.stk", "shoal", "[None]"}}));
    out.Write("gfx/roach.bmp", "BM");
    gamegen::StockFile roach;
    out.Write("stocks/roach.stk", gamegen::MakeStockFile(roach));
    gamegen::StockFile perch;
    perch.ref = "PERCH";
    perch.name = "Perch shoal";
    out.Write("stocks/perch.stk", gamegen::MakeStockFile(perch));
    gamegen::SpeciesFile roachSpecies;
    out.Write("species/roach.sp", gamegen::MakeSpeciesFile(roachSpecies));
    gamegen::SpeciesFile perchSpecies;
    perchSpecies.ref = "PERCH";
    perchSpecies.name = "Perch";
    out.Write("species/perch.sp", gamegen::MakeSpeciesFile(perchSpecies));
    out.Write("maxsize.txt", gamegen::MakeMaxSizeLine(1, 640, "Roach") +
                                 gamegen::MakeMaxSizeLine(2, 800, "Perch"));
    out.MakeFolder("data");
    error = out.Error();
    return out.Ok();
}

}  // namespace venuecheck::test
