// Check runs change a game folder only as the checker documents: every name,
// size and content is the same afterwards, except that "shoalcat.txt" goes
// when a stock file names a known species, an existing records probe file
// ("<Records>_test_.tmp") is consumed, and "data/_temp.dat" is rewritten and
// deleted when a scrambled file is read.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../../fuzz/folder_snapshot.h"
#include "check/checker.h"
#include "common/scrambled_file.h"
#include "report/recording_pane.h"
#include "robustness/sound_game.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

bool HoldsScrambledFile(const fs::path& root) {
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string head(5, '\0');
        in.read(head.data(), 5);
        if (in && IsScrambled(head)) return true;
    }
    return false;
}

// Runs start-up and the check run of every venue; returns the reports.
std::vector<std::string> CheckEveryVenue(const fs::path& root) {
    Checker checker{GameFolder(root)};
    checker.StartUp();
    std::vector<std::string> reports;
    for (size_t position = 0; position < checker.VenueNames().size(); ++position) {
        RecordingPane pane;
        Report report(pane);
        EXPECT_TRUE(checker.CheckRun(static_cast<int>(position), report));
        reports.push_back(pane.PlainText());
    }
    checker.ShutDown();
    return reports;
}

// The records probe files of the game's venues, as host paths, where their
// folder exists.
std::vector<fs::path> RecordsProbeFiles(const fs::path& root) {
    Checker checker{GameFolder(root)};
    checker.LoadVenues();
    std::vector<fs::path> probes;
    for (const VenueRecord& venue : checker.Venues().Venues()) {
        const fs::path probe = checker.Folder().Resolve(venue.Records + "_test_.tmp");
        if (fs::is_directory(probe.parent_path())) probes.push_back(probe);
    }
    return probes;
}

void WriteHostFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct GameSource {
    std::string name;
    fs::path folder;
};

void PrintTo(const GameSource& source, std::ostream* out) {
    *out << source.folder;
}

std::vector<GameSource> EveryGame() {
    std::vector<GameSource> games;
    for (const auto& entry : fs::directory_iterator(test::TestDataDir() / "fixtures")) {
        if (fs::is_directory(entry.path() / "game")) {
            games.push_back({"fixture_" + entry.path().filename().string(), entry.path() / "game"});
        }
    }
    games.push_back(
        {"sample_game", test::TestDataDir().parent_path() / "examples" / "sample-game"});
    std::sort(games.begin(), games.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    for (GameSource& game : games) {
        for (char& c : game.name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
    }
    return games;
}

class NothingLost : public ::testing::TestWithParam<GameSource> {};

TEST_P(NothingLost, CheckRunsOfEveryVenueMakeOnlyTheDocumentedChanges) {
    TempFolder game;
    fs::copy(GetParam().folder, game.Path(), fs::copy_options::recursive);
    // What a run may consume: the species catalogue of another tool, a probe
    // file left behind by an earlier run, an old plain copy.
    game.Write("shoalcat.txt", "roach 12\r\n");
    const auto probes = RecordsProbeFiles(game.Path());
    for (const fs::path& probe : probes) WriteHostFile(probe, "left from an earlier run\r\n");
    if (fs::is_directory(game.Path() / "data"))
        game.Write("data/_temp.dat", "an old plain copy\r\n");
    const bool scrambled = HoldsScrambledFile(game.Path());
    const auto before = snapshot::TakeSnapshot(game.Path());

    const auto reports = CheckEveryVenue(game.Path());
    for (const std::string& report : reports)
        EXPECT_NE(report.find("Venue details"), std::string::npos);

    EXPECT_EQ(snapshot::UndocumentedChanges(before, snapshot::TakeSnapshot(game.Path()), scrambled),
              "");
    // The records probes ran and consumed the old probe files.
    for (const fs::path& probe : probes) EXPECT_FALSE(fs::exists(probe)) << probe;
    // A second round finds the folder as the first left it.
    const auto between = snapshot::TakeSnapshot(game.Path());
    CheckEveryVenue(game.Path());
    EXPECT_EQ(snapshot::UndocumentedChanges(between, snapshot::TakeSnapshot(game.Path()), false),
              "");
}

INSTANTIATE_TEST_SUITE_P(EveryGame, NothingLost, ::testing::ValuesIn(EveryGame()),
                         [](const ::testing::TestParamInfo<GameSource>& param) {
                             return param.param.name;
                         });

TEST(NothingLostPlainCopy, OldPlainCopyStaysWhenNoFileIsScrambled) {
    TempFolder game;
    std::string error;
    ASSERT_TRUE(test::WriteSoundGame(game.Path(), error)) << error;
    ASSERT_FALSE(HoldsScrambledFile(game.Path()));
    game.Write("data/_temp.dat", "an old plain copy\r\n");
    const auto before = snapshot::TakeSnapshot(game.Path());

    CheckEveryVenue(game.Path());

    EXPECT_EQ(snapshot::UndocumentedChanges(before, snapshot::TakeSnapshot(game.Path()), false),
              "");
    EXPECT_EQ(game.Read("data/_temp.dat"), "an old plain copy\r\n");
}

TEST(NothingLostPlainCopy, OldPlainCopyIsConsumedWhenAScrambledFileIsRead) {
    TempFolder game;
    std::string error;
    ASSERT_TRUE(test::WriteSoundGame(game.Path(), error)) << error;
    game.Write("venues/lake.ven", Scramble(game.Read("venues/lake.ven")));
    game.Write("data/_temp.dat", "an old plain copy\r\n");

    const auto reports = CheckEveryVenue(game.Path());

    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports.front().find("\tScrambled\t\tYes"), std::string::npos);
    EXPECT_FALSE(game.Exists("data/_temp.dat"));
}

TEST(NothingLostShoalcat, GoesOnlyWhenAStockFileNamesAKnownSpecies) {
    for (const bool known : {true, false}) {
        TempFolder game;
        std::string error;
        ASSERT_TRUE(test::WriteSoundGame(game.Path(), error)) << error;
        if (!known) {
            gamegen::StockFile stock;
            stock.ref = "NOSUCHFISH";
            game.Write("stocks/roach.stk", gamegen::MakeStockFile(stock));
            game.Write("stocks/perch.stk", gamegen::MakeStockFile(stock));
        }
        game.Write("shoalcat.txt", "roach 12\r\n");

        CheckEveryVenue(game.Path());

        EXPECT_EQ(game.Exists("shoalcat.txt"), !known)
            << (known ? "known species" : "unknown species");
    }
}

}  // namespace
}  // namespace venuecheck
