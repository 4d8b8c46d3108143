// Check runs with peg maps asked for: the same report, and a map for every
// peg section.

#include "check/peg_maps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "check/checker.h"
#include "report/recording_pane.h"
#include "support/png_decode.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

namespace fs = std::filesystem;

size_t CountOf(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

// Every check run of a game folder, twice (on fresh copies, since a run
// changes the folder): without maps and with them.
void ExpectSameReportWithMaps(const fs::path& game) {
    test::TempFolder plainCopy;
    test::TempFolder mapCopy;
    fs::copy(game, plainCopy.Path(), fs::copy_options::recursive);
    fs::copy(game, mapCopy.Path(), fs::copy_options::recursive);
    Checker plain{GameFolder(plainCopy.Path())};
    Checker mapped{GameFolder(mapCopy.Path())};
    plain.StartUp();
    mapped.StartUp();
    PegMapMaker maker;
    mapped.SetPegGridObserver(&maker);
    ASSERT_FALSE(plain.VenueNames().empty()) << game;
    size_t drawn = 0;
    for (size_t i = 0; i < plain.VenueNames().size(); ++i) {
        RecordingPane plainPane;
        RecordingPane mapPane;
        Report plainReport(plainPane);
        Report mapReport(mapPane);
        plain.CheckRun(static_cast<int>(i), plainReport);
        mapped.CheckRun(static_cast<int>(i), mapReport);
        EXPECT_EQ(mapPane.Runs(), plainPane.Runs()) << game << " venue " << i;

        const std::vector<PegMap> maps = maker.TakeMaps();
        const std::string text = plainPane.PlainText();
        ASSERT_EQ(maps.size(), CountOf(text, "Peg details for ")) << game << " venue " << i;
        size_t from = 0;
        for (const PegMap& map : maps) {
            // In the order of the sections.
            from = text.find("Peg details for " + map.pegName, from);
            EXPECT_NE(from, std::string::npos) << map.pegName;
            if (map.png.empty()) continue;
            EXPECT_TRUE(map.analysed);
            const auto png = test::DecodePng(map.png);
            ASSERT_TRUE(png) << map.pegName;
            EXPECT_EQ(png->width, static_cast<uint32_t>(map.width));
            EXPECT_EQ(png->height, static_cast<uint32_t>(map.height));
            ++drawn;
        }
    }
    EXPECT_GT(drawn, 0u) << game;
}

TEST(PegMapMaker, SampleGameReportUnchangedAndEveryPegMapped) {
    ExpectSameReportWithMaps(test::TestDataDir().parent_path() / "examples" / "sample-game");
}

TEST(PegMapMaker, FixtureReportsUnchanged) {
    for (const char* fixture : {"pegs-grading-bands", "pegs-unreadable-data", "pegs-stocking"}) {
        ExpectSameReportWithMaps(test::TestDataDir() / "fixtures" / fixture / "game");
    }
}

TEST(PegMapMaker, UnreadableGridsHaveNoMap) {
    test::TempFolder game;
    game.CopyFixture("pegs-unreadable-data/game");
    Checker checker{GameFolder(game.Path())};
    checker.StartUp();
    PegMapMaker maker;
    checker.SetPegGridObserver(&maker);
    RecordingPane pane;
    Report report(pane);
    const auto names = checker.VenueNames();
    std::vector<PegMap> maps;
    for (size_t i = 0; i < names.size(); ++i) {
        checker.CheckRun(static_cast<int>(i), report);
        for (PegMap& map : maker.TakeMaps()) maps.push_back(std::move(map));
    }
    size_t checked = 0;
    for (const PegMap& map : maps) {
        const std::string& name = map.pegName;
        if (name == "An empty file" || name == "423 bytes" || name == "Cell width 0" ||
            name == "A folder" || name == "An archive path" || name == "A missing file" ||
            name == "An empty Data value" || name == "Cell height 0") {
            EXPECT_FALSE(map.analysed) << name;
            EXPECT_TRUE(map.png.empty()) << name;
            ++checked;
        } else if (name == "424 bytes: a grid of no rows") {
            EXPECT_TRUE(map.analysed) << name;
            EXPECT_TRUE(map.png.empty()) << name;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 9u);
}

}  // namespace
}  // namespace venuecheck
