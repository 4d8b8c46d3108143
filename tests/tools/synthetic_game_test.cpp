#include "gamegen/synthetic_game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "common/game_folder.h"
#include "common/scrambled_file.h"
#include "common/text.h"
#include "gamegen/peg_data.h"
#include "pegs/peg_catalogue.h"
#include "pegs/peg_data.h"
#include "support/test_support.h"

namespace venuecheck::gamegen {
namespace {

namespace fs = std::filesystem;
using test::ReadWholeFile;
using test::TempFolder;

// Every file below a folder, by its path relative to the folder.
std::map<std::string, std::string> FilesBelow(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), root).generic_string()] = ReadWholeFile(entry.path());
        }
    }
    return files;
}

// The plain text of a data file, descrambled when it is scrambled.
std::string PlainText(const std::string& bytes) {
    return IsScrambled(bytes) ? Descramble(bytes) : bytes;
}

TEST(MakeGame, SameSpecGivesSameBytesAndAnotherSeedOtherBytes) {
    const GameSpec spec = GameSpecForScale(GameScale::kSmall);
    TempFolder first;
    TempFolder second;
    const GameSummary a = MakeGame(spec, first.Path() / "game");
    const GameSummary b = MakeGame(spec, second.Path() / "game");
    ASSERT_TRUE(a.Ok()) << a.error;
    ASSERT_TRUE(b.Ok()) << b.error;
    EXPECT_EQ(a.files, b.files);
    EXPECT_EQ(a.bytes, b.bytes);

    const auto filesA = FilesBelow(first.Path() / "game");
    EXPECT_EQ(filesA.size(), a.files);
    EXPECT_TRUE(filesA == FilesBelow(second.Path() / "game"));

    GameSpec reseeded = spec;
    reseeded.seed = 2;
    TempFolder third;
    ASSERT_TRUE(MakeGame(reseeded, third.Path()).Ok());
    const auto filesC = FilesBelow(third.Path());
    EXPECT_FALSE(filesA == filesC);
}

TEST(MakeGame, WritesAValidGameFolder) {
    GameSpec spec = GameSpecForScale(GameScale::kSmall);
    spec.scrambledPercent = 10;
    TempFolder folder;
    const GameSummary summary = MakeGame(spec, folder.Path());
    ASSERT_TRUE(summary.Ok()) << summary.error;
    const GameFolder game(folder.Path());

    EXPECT_TRUE(fs::is_directory(folder.Path() / "data"));

    // Venues: the big one first by name, and exactly the share scrambled.
    const auto venues = game.FindFiles("venues/*.ven");
    ASSERT_EQ(venues.size(), static_cast<size_t>(spec.venues));
    std::set<std::string> venueNames;
    int scrambled = 0;
    for (const std::string& name : venues) {
        const std::string bytes = *game.ReadFile("venues/" + name);
        scrambled += IsScrambled(bytes) ? 1 : 0;
        const std::string text = PlainText(bytes);
        const size_t at = text.find("Name=");
        ASSERT_NE(at, std::string::npos) << name;
        venueNames.insert(text.substr(at + 5, text.find('\r', at) - at - 5));
    }
    EXPECT_EQ(scrambled, 1);  // 10 % of 4, rounded up
    EXPECT_EQ(*venueNames.begin(), std::string(kBigVenueName));
    EXPECT_NE(game.ReadFile(std::string(kBigVenueFile))->find("Dir=venues\\bench\\*.peg"),
              std::string::npos);

    // Pegs of the big venue, each with its grid, image, sound and stocks file.
    const auto pegs = game.FindFiles("venues/bench/*.peg");
    ASSERT_EQ(pegs.size(), static_cast<size_t>(spec.pegs));
    std::set<std::string> namedStocks;
    for (const std::string& peg : pegs) {
        SCOPED_TRACE(peg);
        const std::string stem = "venues/bench/" + peg.substr(0, peg.size() - 4);
        const auto grid = game.ReadFile(stem + ".dat");
        ASSERT_TRUE(grid.has_value());
        EXPECT_EQ(grid->size(), kPegDataHeaderSize + kPegCellSize * 120 * 90);
        EXPECT_TRUE(game.CanOpen(stem + ".bmp"));
        EXPECT_TRUE(game.CanOpen(stem + ".wav"));

        std::istringstream records(*game.ReadFile(stem + ".fsh"));
        std::string number, stockFile, third, graphic;
        while (records >> number >> stockFile >> third >> graphic) {
            EXPECT_TRUE(game.CanOpen(stockFile)) << stockFile;
            if (!EqualNoCase(graphic, "[None]")) {
                EXPECT_TRUE(game.CanOpen(graphic)) << graphic;
            }
            namedStocks.insert(FoldedCopy(stockFile));
        }
    }

    // The pegs of the big venue name every stock file; a stock file names a
    // species of the game, and the species' name has a maximum size.
    const auto stocks = game.FindFiles("stocks/*.stk");
    ASSERT_EQ(stocks.size(), static_cast<size_t>(spec.stockFiles));
    EXPECT_EQ(namedStocks.size(), stocks.size());
    std::set<std::string> speciesRefs;
    std::string maxSizes = *game.ReadFile("maxsize.txt");
    for (const std::string& name : game.FindFiles("species/*.sp")) {
        const std::string text = PlainText(*game.ReadFile("species/" + name));
        ASSERT_EQ(text.rfind("REF ", 0), 0u) << name;
        speciesRefs.insert(text.substr(4, text.find('\r') - 4));
        const size_t at = text.find("NAME ");
        const std::string speciesName = text.substr(at + 5, text.find('\r', at) - at - 5);
        EXPECT_NE(maxSizes.find("\t" + speciesName + "\r\n"), std::string::npos) << speciesName;
        EXPECT_EQ(text.substr(text.size() - 5), "END\r\n");
    }
    EXPECT_EQ(speciesRefs.size(), static_cast<size_t>(spec.species));
    int scrambledStocks = 0;
    for (const std::string& name : stocks) {
        const std::string bytes = *game.ReadFile("stocks/" + name);
        scrambledStocks += IsScrambled(bytes) ? 1 : 0;
        const std::string text = PlainText(bytes);
        const size_t at = text.find("REF ");
        ASSERT_NE(at, std::string::npos) << name;
        EXPECT_EQ(speciesRefs.count(text.substr(at + 4, text.find('\r', at) - at - 4)), 1u) << name;
    }
    EXPECT_EQ(scrambledStocks, 3);  // 10 % of 30

    // The venues other than the big one share a small peg folder.
    EXPECT_EQ(game.FindFiles("venues/shared/*.peg").size(), static_cast<size_t>(spec.smallPegs));
}

TEST(MakeGame, EveryGridOfAFewMasksHasMasksWhateverItsObjects) {
    // Enough small pegs that some have 31 or 32 objects, whose masks once
    // overflowed the count of masks they can make.
    GameSpec spec = GameSpecForScale(GameScale::kSmall);
    spec.pegs = 120;
    spec.rows = 2;
    TempFolder folder;
    ASSERT_TRUE(MakeGame(spec, folder.Path()).Ok());
    const GameFolder game(folder.Path());
    int widest = 0;
    for (const std::string& name : game.FindFiles("venues/bench/*.dat")) {
        const PegData data = ReadPegData(*game.ReadFile("venues/bench/" + name));
        ASSERT_TRUE(data.grid) << name;
        PegRecord peg;
        PegAnalysis analysis;
        AnalysePegData(*data.grid, peg, analysis);
        EXPECT_GE(analysis.uniqueMasks.Count(), 5u)
            << name << ", " << data.addedObjects << " objects";
        widest = std::max(widest, data.addedObjects);
    }
    EXPECT_EQ(widest, 32);
}

TEST(MakeGame, GridsOfManyMasksTakeFourHundredCombinationsOfTheirObjectsInTurn) {
    GameSpec spec = GameSpecForScale(GameScale::kSmall);
    spec.pegs = 12;
    spec.masks = MaskVariety::kMany;
    TempFolder folder;
    ASSERT_TRUE(MakeGame(spec, folder.Path()).Ok());
    const GameFolder game(folder.Path());
    for (const std::string& name : game.FindFiles("venues/bench/*.dat")) {
        const PegData data = ReadPegData(*game.ReadFile("venues/bench/" + name));
        ASSERT_TRUE(data.grid) << name;
        std::set<uint32_t> masks;
        size_t covered = 0;
        size_t sameAsBefore = 0;
        uint32_t before = 0;
        const uint32_t objects =
            data.addedObjects >= 32 ? ~uint32_t{0} : (uint32_t{1} << data.addedObjects) - 1;
        data.grid->ForEachCell([&](const PegCell& cell) {
            if (cell.depth == 0 || cell.mask == 0) return;
            EXPECT_EQ(cell.mask & ~objects, 0u) << name;
            masks.insert(cell.mask);
            sameAsBefore += cell.mask == before ? 1 : 0;
            before = cell.mask;
            ++covered;
        });
        EXPECT_GE(data.addedObjects, 12) << name;
        EXPECT_EQ(masks.size(), static_cast<size_t>(kManyMasks)) << name;
        EXPECT_LT(sameAsBefore, covered / 100) << name;
    }
}

TEST(MakeGame, RefusesAFolderThatIsNotEmptyAndBadNumbers) {
    TempFolder folder;
    folder.Write("keep.txt", "mine");
    const GameSummary summary = MakeGame(GameSpecForScale(GameScale::kSmall), folder.Path());
    EXPECT_FALSE(summary.Ok());
    EXPECT_EQ(summary.files, 0u);
    EXPECT_EQ(folder.Read("keep.txt"), "mine");

    GameSpec spec;
    spec.cellWidth = 0;
    EXPECT_FALSE(CheckGameSpec(spec).empty());
    spec = GameSpec{};
    spec.scrambledPercent = 101;
    EXPECT_FALSE(CheckGameSpec(spec).empty());
    spec = GameSpec{};
    spec.rows = 10001;
    EXPECT_FALSE(CheckGameSpec(spec).empty());
    spec = GameSpec{};
    spec.pegs = 0;
    EXPECT_FALSE(CheckGameSpec(spec).empty());
    EXPECT_TRUE(CheckGameSpec(GameSpecForScale(GameScale::kLarge)).empty());
}

}  // namespace
}  // namespace venuecheck::gamegen
