#include "gamegen/synthetic_game.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <system_error>
#include <vector>

#include "common/scrambled_file.h"
#include "gamegen/file_output.h"
#include "gamegen/peg_data.h"
#include "gamegen/split_mix.h"
#include "gamegen/text_files.h"

namespace venuecheck::gamegen {
namespace {

// Kinds of generated items, each with a random stream of its own.
enum ItemKind : uint64_t {
    kSpeciesItem = 1,
    kStockItem = 2,
    kBigPegItem = 3,
    kSmallPegItem = 4,
    kVenueItem = 5,
};

constexpr std::array<std::string_view, 16> kFishNames = {
    "Roach", "Rudd", "Bream",  "Tench",  "Carp",  "Chub", "Dace",  "Perch",
    "Pike",  "Ide",  "Barbel", "Zander", "Bleak", "Eel",  "Ruffe", "Crucian",
};

constexpr std::array<std::string_view, 12> kWaterNames = {
    "Mill Pond",  "Willow Lake", "Old River",  "Heron Mere", "Reed Bay",  "Stone Weir",
    "Otter Pool", "Long Reach",  "Kings Lock", "Ash Cut",    "Fen Drain", "Moat Water",
};

constexpr std::string_view kBigFolder = "venues/bench";
constexpr std::string_view kSmallFolder = "venues/shared";

std::string Padded(int number, int width) {
    std::string digits = std::to_string(number);
    if (static_cast<int>(digits.size()) < width) {
        digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    }
    return digits;
}

// A whole number of tenths written with one decimal, without the C
// library's locale-dependent formatting.
std::string Tenths(int tenths) {
    const std::string sign = tenths < 0 ? "-" : "";
    const int magnitude = tenths < 0 ? -tenths : tenths;
    return sign + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// A relative path with '/' becomes a path as the game's data writes it.
std::string GamePath(std::string_view relative) {
    std::string path(relative);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// count * percent / 100 of the items 0 .. count-1, rounded up, are picked,
// spread evenly and counted from the last, so even a small folder gets one
// scrambled file when the percentage is not 0.
bool PickedEvenly(int index, int count, int percent) {
    const int64_t fromLast = count - 1 - index;
    return (fromLast * percent + 99) / 100 < ((fromLast + 1) * percent + 99) / 100;
}

std::string SpeciesRef(int index) {
    return index == 0 ? "ROACH" : "SP" + Padded(index + 1, 4);
}

std::string SpeciesName(int index) {
    if (index == 0) return "Roach";
    return std::string(kFishNames[static_cast<size_t>(index) % kFishNames.size()]) + " " +
           std::to_string(index + 1);
}

std::string SpeciesGraphic(int index) {
    return "graphics/" + Lower(SpeciesRef(index)) + ".bmp";
}

std::string StockFilePath(int index) {
    return "stocks/stk" + Padded(index + 1, 5) + ".stk";
}

// The allowed maximum size of a species, in drams, as maxsize.txt gives it.
int SpeciesMaxSize(uint64_t seed, int index) {
    SplitMix64 rng(ItemSeed(seed, kSpeciesItem, static_cast<uint64_t>(index)));
    return rng.Between(800, 28000);
}

std::string PlaceholderBitmap() {
    // A 1 by 1 pixel, 24-bit Windows bitmap.
    std::string bmp(58, '\0');
    auto put32 = [&bmp](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, 58);
    put32(10, 54);
    put32(14, 40);
    put32(18, 1);
    put32(22, 1);
    bmp[26] = 1;
    bmp[28] = 24;
    put32(34, 4);
    put32(38, 2835);
    put32(42, 2835);
    bmp[54] = static_cast<char>(0x80);
    bmp[55] = static_cast<char>(0xA0);
    bmp[56] = 0x40;
    return bmp;
}

std::string PlaceholderSound() {
    // 16 samples of silence, 8-bit mono PCM at 11025 Hz.
    constexpr uint32_t kSamples = 16;
    std::string wav;
    auto put32 = [&wav](uint32_t value) {
        for (int i = 0; i < 4; ++i) wav.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    auto put16 = [&wav](uint16_t value) {
        wav.push_back(static_cast<char>(value & 0xFF));
        wav.push_back(static_cast<char>(value >> 8));
    };
    wav += "RIFF";
    put32(36 + kSamples);
    wav += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(1);
    put32(11025);
    put32(11025);
    put16(1);
    put16(8);
    wav += "data";
    put32(kSamples);
    wav.append(kSamples, static_cast<char>(0x80));
    return wav;
}

// Writes a data file, scrambled when asked.
void WriteDataFile(FolderWriter& out, std::string_view relative, const std::string& plain,
                   bool scrambled) {
    if (scrambled) {
        out.Write(relative, Scramble(plain));
    } else {
        out.Write(relative, plain);
    }
}

void WriteSpecies(const GameSpec& spec, FolderWriter& out) {
    std::string maxSizes;
    for (int i = 0; i < spec.species && out.Ok(); ++i) {
        SplitMix64 rng(ItemSeed(spec.seed, kSpeciesItem, static_cast<uint64_t>(i)) ^ 1);
        const int tempMin = rng.Between(1, 8);
        const int tempMax = rng.Between(20, 30);
        const int depthMax = rng.Between(60, 400);
        SpeciesFile species;
        species.ref = SpeciesRef(i);
        species.name = SpeciesName(i);
        species.lines = {
            {"GRAPHIC", GamePath(SpeciesGraphic(i))},
            {"TEMP", std::to_string(rng.Between(tempMin, tempMax)) + ".0 " +
                         std::to_string(tempMin) + ".0 " + std::to_string(tempMax) + ".0 " +
                         std::to_string(rng.Between(1, 4))},
            {"O2", "7.0 4.0 12.0 " + std::to_string(rng.Between(1, 3))},
            {"PH", "7.2 6.0 8.5 1"},
            {"FDEPTH", std::to_string(depthMax / 3) + " 6 " + std::to_string(depthMax) + " 2"},
            {"WDEPTH",
             std::to_string(depthMax / 2) + " 12 " + std::to_string(depthMax + 60) + " 1"},
            {"LIGHT", "40 5 90 " + std::to_string(rng.Between(1, 3))},
            {"COVER", "50 0 100 1"},
            {"FLOW", "20 0 60 1"},
            {"SALINE", "0 0 5 1"},
            {"MAXSIZE", std::to_string(SpeciesMaxSize(spec.seed, i))},
            {"BITETIME", std::to_string(rng.Between(6, 14))},
            {"STRIKETIME", std::to_string(rng.Between(8, 16))},
            {"CAUTION", "100 1000"},
            {"FIGHT", "0.01 900.0 20"},
            {"INSECT", std::to_string(rng.Between(0, 80))},
            {"SEED", std::to_string(rng.Between(0, 80))},
            {"PROTEIN", std::to_string(rng.Between(0, 80))},
            {"MONTH", "1 60"},
            {"MONTH", "6 120"},
        };
        const bool scrambled = PickedEvenly(i, spec.species, spec.scrambledPercent);
        WriteDataFile(out, "species/" + Lower(SpeciesRef(i)) + ".sp", MakeSpeciesFile(species),
                      scrambled);
        out.Write(SpeciesGraphic(i), PlaceholderBitmap());
        maxSizes += MakeMaxSizeLine(i + 1, SpeciesMaxSize(spec.seed, i), SpeciesName(i));
    }
    out.Write("maxsize.txt", maxSizes);
}

// Low and high ends of a range and an ideal between them.
std::string RangeValues(SplitMix64& rng, int lo, int hi, int importance, bool inTenths) {
    const int ideal = rng.Between(lo, hi);
    auto text = [inTenths](int value) { return inTenths ? Tenths(value) : std::to_string(value); };
    return text(ideal) + " " + text(lo) + " " + text(hi) + " " + std::to_string(importance);
}

void WriteStockFiles(const GameSpec& spec, FolderWriter& out) {
    for (int i = 0; i < spec.stockFiles && out.Ok(); ++i) {
        SplitMix64 rng(ItemSeed(spec.seed, kStockItem, static_cast<uint64_t>(i)));
        const int species = i % spec.species;
        const int allowed = SpeciesMaxSize(spec.seed, species);
        StockFile stock;
        stock.ref = SpeciesRef(species);
        stock.name = SpeciesName(species) + " stock " + std::to_string(i + 1);
        // A few stocks hold fish bigger than their species may be.
        stock.maxSize = rng.Chance(3) ? allowed + rng.Between(1, allowed / 10 + 1)
                                      : rng.Between(allowed / 20 + 1, allowed * 9 / 10);
        stock.minSize = rng.Between(1, std::max(1, *stock.maxSize / 4));
        // A few stocks leave every condition wide open, which makes them far
        // too easy to catch.
        const bool wideOpen = rng.Chance(2);
        auto importance = [&rng, wideOpen] { return wideOpen ? 0 : rng.Between(1, 5); };
        stock.lines = {
            {"QTY", std::to_string(rng.Between(5, 200))},
            {"TEMP",
             RangeValues(rng, rng.Between(20, 100), rng.Between(160, 280), importance(), true)},
            {"O2", RangeValues(rng, rng.Between(30, 60), rng.Between(80, 120), importance(), true)},
            {"PH", RangeValues(rng, rng.Between(60, 68), rng.Between(74, 85), importance(), true)},
            {"FDEPTH",
             RangeValues(rng, rng.Between(0, 30), rng.Between(60, 200), importance(), false)},
            {"WDEPTH",
             RangeValues(rng, rng.Between(12, 48), rng.Between(96, 300), importance(), false)},
            {"LIGHT",
             RangeValues(rng, rng.Between(0, 30), rng.Between(60, 100), importance(), false)},
            {"COVER",
             RangeValues(rng, rng.Between(0, 30), rng.Between(60, 100), importance(), false)},
        };
        // Now and then a range written out of order, as hand-edited files have.
        if (rng.Chance(2)) stock.lines.push_back({"FLOW", "5 10 40 1"});
        for (int k = 0; k < 3; ++k) {
            stock.lines.push_back({"MONTH", std::to_string(rng.Between(1, 12)) + " " +
                                                std::to_string(rng.Between(40, 150))});
        }
        stock.lines.push_back({"MOON", std::to_string(rng.Between(0, 13)) + " " +
                                           std::to_string(rng.Between(50, 150))});
        stock.lines.push_back({"WINDD", std::to_string(rng.Between(0, 8)) + " " +
                                            std::to_string(rng.Between(50, 150))});
        stock.lines.push_back(
            {"FDTEMP", std::to_string(rng.Between(0, 9)) + " " + Tenths(rng.Between(5, 15))});
        const std::string text =
            "; " + SpeciesName(species) + " for the test waters\r\n" + MakeStockFile(stock);
        WriteDataFile(out, StockFilePath(i), text,
                      PickedEvenly(i, spec.stockFiles, spec.scrambledPercent));
    }
}

// A stock file's path as a peg stocks file names it, in another letter case
// now and then (the game's file system ignores case).
std::string StockFileAsNamed(SplitMix64& rng, int index) {
    const std::string path = GamePath(StockFilePath(index));
    if (!rng.Chance(10)) return path;
    switch (rng.Between(0, 2)) {
        case 0:
            return Upper(path);
        case 1:
            return "Stocks\\Stk" + path.substr(10);
        default:
            return "STOCKS\\" + path.substr(7);
    }
}

StockingRecord MakeStockingRecord(const GameSpec& spec, SplitMix64& rng, int number, int stock) {
    StockingRecord record;
    record.number = std::to_string(number);
    record.stockFile = StockFileAsNamed(rng, stock);
    record.thirdWord = Lower(SpeciesRef(stock % spec.species));
    if (rng.Chance(15)) {
        record.graphic = rng.Chance(50) ? "[None]" : "[none]";
    } else {
        record.graphic = GamePath(SpeciesGraphic(stock % spec.species));
    }
    return record;
}

struct PegPlan {
    std::string folder;  // relative, '/' between folders
    int ref = 1;
    PegDataSpec grid;
    std::vector<int> stocks;  // stock files in the order the peg names them
    std::string dpratio;
};

void WritePeg(const GameSpec& spec, FolderWriter& out, SplitMix64& rng, const PegPlan& peg) {
    const std::string base = peg.folder + "/peg" + Padded(peg.ref, 4);
    PegFile file;
    file.name = "Peg " + std::to_string(peg.ref);
    file.ref = std::to_string(peg.ref);
    file.image = GamePath(base + ".bmp");
    file.data = GamePath(base + ".dat");
    file.records = GamePath(base + ".rec");
    file.fish = GamePath(base + ".fsh");
    file.sounds = GamePath(base + ".wav");
    file.dpratio = peg.dpratio;
    file.ph = Tenths(rng.Between(65, 80));
    file.o2 = Tenths(rng.Between(8, 12));
    file.turbid = Tenths(rng.Between(100, 800));
    file.temp = Tenths(rng.Between(8, 12));
    file.maxlight = std::to_string(rng.Between(120, 480));
    out.Write(base + ".peg", MakePegFile(file));
    out.Write(base + ".dat", MakePegData(peg.grid));
    out.Write(base + ".bmp", PlaceholderBitmap());
    out.Write(base + ".wav", PlaceholderSound());

    std::vector<StockingRecord> records;
    int number = 1;
    for (int stock : peg.stocks) records.push_back(MakeStockingRecord(spec, rng, number++, stock));
    out.Write(base + ".fsh", MakePegStocksFile(records));
}

PegDataSpec BigPegGrid(const GameSpec& spec, SplitMix64& rng) {
    PegDataSpec grid;
    grid.objects = rng.Between(4, 32);
    grid.cellWidth = spec.cellWidth;
    grid.cellHeight = spec.cellWidth;
    grid.rows = spec.rows;
    grid.depths = DepthPattern::kDistinct;
    grid.distinctDepths = rng.Between(20, 255);
    if (spec.masks == MaskVariety::kDistinct) {
        grid.masks = MaskPattern::kAllDistinct;
    } else if (spec.masks == MaskVariety::kMany) {
        // Combinations of the peg's objects, drawn at random: enough objects
        // for 400 of them, and nearly every cell holds another mask than the
        // one before.
        grid.objects = std::max(grid.objects, 12);
        grid.masks = MaskPattern::kCycle;
        const uint32_t objectBits =
            grid.objects >= 32 ? ~uint32_t{0} : (uint32_t{1} << grid.objects) - 1;
        std::set<uint32_t> drawn;
        while (grid.maskCycle.size() < static_cast<size_t>(kManyMasks)) {
            const auto mask = static_cast<uint32_t>(rng.Next()) & objectBits;
            if (mask != 0 && drawn.insert(mask).second) grid.maskCycle.push_back(mask);
        }
    } else {
        grid.masks = MaskPattern::kDistinct;
        // The non-zero masks that `objects` bits can make; 31 and 32 bits make
        // more than an int holds.
        const int64_t masks = (int64_t{1} << grid.objects) - 1;
        grid.distinctMasks = static_cast<int>(std::min<int64_t>(rng.Between(5, 120), masks));
    }
    grid.barePercent = rng.Between(0, 30);
    return grid;
}

void WriteBigVenuePegs(const GameSpec& spec, FolderWriter& out) {
    // Every stock file is named by one peg, and each peg names a few more
    // that other pegs name too.
    std::vector<std::vector<int>> stocksOfPeg(static_cast<size_t>(spec.pegs));
    for (int stock = 0; stock < spec.stockFiles; ++stock) {
        stocksOfPeg[static_cast<size_t>(stock % spec.pegs)].push_back(stock);
    }
    for (int p = 0; p < spec.pegs && out.Ok(); ++p) {
        SplitMix64 rng(ItemSeed(spec.seed, kBigPegItem, static_cast<uint64_t>(p)));
        PegPlan peg;
        peg.folder = std::string(kBigFolder);
        peg.ref = p + 1;
        peg.grid = BigPegGrid(spec, rng);
        peg.dpratio = Tenths(rng.Between(10, 30));
        peg.stocks = stocksOfPeg[static_cast<size_t>(p)];
        const int repeats = rng.Between(0, 3);
        for (int k = 0; k < repeats; ++k) peg.stocks.push_back(rng.Between(0, spec.stockFiles - 1));
        WritePeg(spec, out, rng, peg);
    }
    out.Write(std::string(kBigFolder) + "/weather.txt", "; weather table\r\nSUN 60\r\nRAIN 40\r\n");
    out.Write(std::string(kBigFolder) + "/info.txt",
              std::string(kBigVenueName) + "\r\nA large water made for timing the checker.\r\n");
}

void WriteSmallVenuePegs(const GameSpec& spec, FolderWriter& out) {
    for (int p = 0; p < spec.smallPegs && out.Ok(); ++p) {
        SplitMix64 rng(ItemSeed(spec.seed, kSmallPegItem, static_cast<uint64_t>(p)));
        PegPlan peg;
        peg.folder = std::string(kSmallFolder);
        peg.ref = p + 1;
        peg.grid.objects = rng.Between(6, 20);
        peg.grid.cellWidth = 8;
        peg.grid.cellHeight = 8;
        peg.grid.rows = 40;
        peg.grid.distinctDepths = rng.Between(30, 120);
        peg.grid.distinctMasks = rng.Between(20, 80);
        peg.grid.barePercent = rng.Between(0, 20);
        peg.dpratio = "2.0";
        peg.stocks.push_back(p % spec.stockFiles);
        peg.stocks.push_back(rng.Between(0, spec.stockFiles - 1));
        WritePeg(spec, out, rng, peg);
    }
    out.Write(std::string(kSmallFolder) + "/weather.txt",
              "; weather table\r\nSUN 50\r\nRAIN 50\r\n");
}

void WriteVenues(const GameSpec& spec, FolderWriter& out) {
    for (int v = 0; v < spec.venues && out.Ok(); ++v) {
        SplitMix64 rng(ItemSeed(spec.seed, kVenueItem, static_cast<uint64_t>(v)));
        const std::string folder = GamePath(v == 0 ? kBigFolder : kSmallFolder) + "\\";
        VenueFile venue;
        if (v == 0) {
            venue.name = std::string(kBigVenueName);
            venue.ref = "BENCH";
            venue.desc = folder + "info.txt";
        } else {
            venue.name = std::string(kWaterNames[static_cast<size_t>(v) % kWaterNames.size()]) +
                         " " + Padded(v + 1, 4);
            venue.ref = "V" + Padded(v + 1, 4);
        }
        venue.creator = "Test Waters Club";
        venue.date = Padded(rng.Between(1, 28), 2) + "/" + Padded(rng.Between(1, 12), 2) + "/" +
                     std::to_string(rng.Between(2001, 2009));
        venue.dir = folder + "*.peg";
        venue.lastpeg = folder + "lastpeg.txt";
        venue.records = folder + "records.txt";
        venue.lookup = folder + "lookup.txt";
        venue.weather = folder + "weather.txt";
        venue.level = Tenths(rng.Between(5, 20));
        venue.tempmodel = std::to_string(rng.Between(1, 6));
        venue.tempfact = Tenths(rng.Between(8, 12));
        const std::string file =
            v == 0 ? std::string(kBigVenueFile) : "venues/v" + Padded(v + 1, 4) + ".ven";
        WriteDataFile(out, file, MakeVenueFile(venue),
                      PickedEvenly(v, spec.venues, spec.scrambledPercent));
    }
}

}  // namespace

GameSpec GameSpecForScale(GameScale scale) {
    GameSpec spec;
    switch (scale) {
        case GameScale::kSmall:
            break;
        case GameScale::kMedium:
            spec.pegs = 100;
            spec.cellWidth = 1;
            spec.rows = 300;
            spec.stockFiles = 1000;
            spec.species = 300;
            spec.venues = 50;
            break;
        case GameScale::kLarge:
            spec.pegs = 400;
            spec.cellWidth = 1;
            spec.rows = 480;
            spec.stockFiles = 5000;
            spec.species = 1000;
            spec.venues = 500;
            break;
    }
    return spec;
}

std::optional<GameScale> ParseGameScale(std::string_view text) {
    if (text == "S" || text == "s") return GameScale::kSmall;
    if (text == "M" || text == "m") return GameScale::kMedium;
    if (text == "L" || text == "l") return GameScale::kLarge;
    return std::nullopt;
}

std::string CheckGameSpec(const GameSpec& spec) {
    if (spec.pegs < 1) return "the number of pegs must be at least 1";
    if (spec.cellWidth < 1 || spec.cellWidth > kPegGridWidth) {
        return "the cell width must be from 1 to 480";
    }
    if (spec.rows < 0 || spec.rows > 10000) return "the number of rows must be from 0 to 10000";
    if (spec.stockFiles < 1) return "the number of stock files must be at least 1";
    if (spec.species < 1) return "the number of species must be at least 1";
    if (spec.venues < 1) return "the number of venues must be at least 1";
    if (spec.smallPegs < 0) return "the number of shared pegs must not be negative";
    if (spec.scrambledPercent < 0 || spec.scrambledPercent > 100) {
        return "the scrambled percentage must be from 0 to 100";
    }
    if (spec.pegs > 9999 || spec.species > 9999 || spec.stockFiles > 99999 || spec.venues > 9999) {
        return "at most 9999 pegs, species and venues and 99999 stock files";
    }
    return {};
}

GameSummary MakeGame(const GameSpec& spec, const std::filesystem::path& root) {
    GameSummary summary;
    summary.error = CheckGameSpec(spec);
    if (!summary.Ok()) return summary;

    std::error_code ec;
    if (std::filesystem::exists(root, ec)) {
        if (!std::filesystem::is_directory(root, ec)) {
            summary.error = root.string() + " is not a folder";
            return summary;
        }
        if (!std::filesystem::is_empty(root, ec) || ec) {
            summary.error = root.string() + " is not empty";
            return summary;
        }
    }

    FolderWriter out(root);
    out.MakeFolder("data");
    WriteSpecies(spec, out);
    WriteStockFiles(spec, out);
    WriteBigVenuePegs(spec, out);
    WriteSmallVenuePegs(spec, out);
    WriteVenues(spec, out);

    summary.files = out.Files();
    summary.bytes = out.Bytes();
    summary.error = out.Error();
    return summary;
}

}  // namespace venuecheck::gamegen
