// Whole check runs over game folders with broken venue and peg files: each
// must finish with its report lines, and leave no probe file behind.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "check/checker.h"
#include "report/recording_pane.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

namespace fs = std::filesystem;
using test::RandomBytes;
using test::TempFolder;

std::string HighBytes() {
    std::string bytes;
    for (int b = 0x80; b <= 0xFF; ++b) bytes.push_back(static_cast<char>(b));
    return bytes;
}

std::vector<std::string> Listing(const fs::path& root) {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        names.push_back(fs::relative(e.path(), root).generic_string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct BadCase {
    const char* name;
    std::function<void(const TempFolder&)> make;
};

const std::string kGoodPeg = "[Details]\nName=P\nRef=1\n";

const BadCase kCases[] = {
    {"venue of random bytes",
     [](const TempFolder& g) { g.Write("venues/a.ven", RandomBytes(4096, 1)); }},
    {"venue of one 1 MB line",
     [](const TempFolder& g) {
         g.Write("venues/a.ven", "[Details]\nName=" + std::string(1 << 20, 'n'));
     }},
    {"venue values of 10,000 characters",
     [](const TempFolder& g) {
         const std::string v(10000, 'v');
         g.Write("venues/a.ven", "[Details]\nName=" + v + "\nRef=" + v + "\nDir=" + v +
                                     "/*.peg\nRecords=" + v + "\nLastpeg=" + v +
                                     "\n[Weather]\nLookup=" + v + "\nWeather=" + v + "\n");
     }},
    {"venue name of bytes 0x80 to 0xFF",
     [](const TempFolder& g) {
         g.Write("venues/a.ven", "[Details]\nName=" + HighBytes() + "\nRef=" + HighBytes() + "\n");
     }},
    {"no venues folder", [](const TempFolder&) {}},
    {"venue entry that is a folder",
     [](const TempFolder& g) {
         fs::create_directories(g.Path() / "venues" / "dir.ven" / "inner");
     }},
    {"paths of 2,000 characters",
     [](const TempFolder& g) {
         const std::string p(2000, 'p');
         g.Write("venues/a.ven", "[Details]\nName=Long\nDir=" + p + "\\*.peg\nRecords=" + p +
                                     "\\r.txt\nLastpeg=" + p + "\nDesc=:" + p +
                                     "/x\n[Weather]\nLookup=" + p + "/" + p + "\nWeather=:" + p +
                                     "\n");
     }},
    {"a zip that is not a zip",
     [](const TempFolder& g) {
         g.Write("junk.zip", RandomBytes(300, 2));
         g.Write("venues/a.ven",
                 "[Details]\nName=Z\nDesc=:junk.zip/info.txt\nDir=pegs/"
                 "*.peg\n[Weather]\nWeather=:junk.zip:w.wea\n");
         g.Write("pegs/p.peg",
                 "[Details]\nName=P\n[Files]\nImage=:junk.zip/i.jpg\nData=:junk.zip/d.dat\n");
     }},
    {"peg files of random bytes and a peg folder loop",
     [](const TempFolder& g) {
         g.Write("venues/a.ven", "[Details]\nName=P\nDir=pegs/*.peg\n");
         for (uint32_t i = 0; i < 5; ++i)
             g.Write("pegs/p" + std::to_string(i) + ".peg", RandomBytes(2000, 10 + i));
         fs::create_directory_symlink(".", g.Path() / "pegs" / "loop.peg");
     }},
    {"peg values of 10,000 characters",
     [](const TempFolder& g) {
         const std::string v(10000, 'v');
         g.Write("venues/a.ven", "[Details]\nName=P\nDir=pegs/*.peg\n");
         g.Write("pegs/p.peg", "[Details]\nName=" + v + "\nRef=" + std::string(10000, '9') +
                                   "\nDesc=" + v + "\n[Files]\nImage=" + v + "\nData=" + v +
                                   "\nRecords=" + v + "\nFish=" + v + "\nSounds=" + v +
                                   "\n[Water]\nPH=1e999\nMaxlight=-99999999999\n");
     }},
    {"scrambled venue with a truncated header",
     [](const TempFolder& g) {
         g.Write("venues/a.ven", std::string("\xF0\xD0\xE0\x90\x96\x01", 6));
     }},
};

class BadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadInput, GivesReportLinesAndLeavesNoProbeBehind) {
    TempFolder game;
    GetParam().make(game);
    const auto before = Listing(game.Path());

    Checker checker{GameFolder(game.Path())};
    checker.StartUp();
    for (int position = 0; position < static_cast<int>(checker.VenueNames().size()); ++position) {
        RecordingPane pane;
        Report report(pane);
        ASSERT_TRUE(checker.CheckRun(position, report));
        EXPECT_NE(pane.PlainText().find("Venue details"), std::string::npos);
    }
    checker.ShutDown();
    EXPECT_EQ(Listing(game.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(VenuesAndPegs, BadInput, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<BadCase>& param) {
                             std::string name = param.param.name;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

TEST(BadInputPermissions, UnreadableVenueFileGivesDefaults) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    TempFolder game;
    game.Write("venues/a.ven", "[Details]\nName=Secret\n");
    fs::permissions(game.Path() / "venues" / "a.ven", fs::perms::none);
    Checker checker{GameFolder(game.Path())};
    checker.StartUp();
    EXPECT_EQ(checker.VenueNames(), std::vector<std::string>{"[Unknown]"});
}

}  // namespace
}  // namespace venuecheck
