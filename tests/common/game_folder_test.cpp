#include "common/game_folder.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace venuecheck {
namespace {

using test::TempFolder;

TEST(GameFolder, ResolvesWindowsPathsWithoutRegardToCase) {
    TempFolder game;
    game.Write("Venues/Lake/Pegs.txt", "x");
    const GameFolder folder(game.Path());
    EXPECT_EQ(folder.Resolve("venues\\LAKE\\pegs.TXT"), game.Path() / "Venues" / "Lake" / "Pegs.txt");
    EXPECT_EQ(folder.Resolve("Venues/Lake/Pegs.txt"), game.Path() / "Venues" / "Lake" / "Pegs.txt");
    // What does not exist keeps its letter case, inside the folder found.
    EXPECT_EQ(folder.Resolve("VENUES/lake/New.tmp"), game.Path() / "Venues" / "Lake" / "New.tmp");
    EXPECT_EQ(folder.Resolve("none/Deeper/x"), game.Path() / "none" / "Deeper" / "x");
    EXPECT_EQ(folder.Resolve("./venues//lake/"), game.Path() / "Venues" / "Lake");
    ASSERT_TRUE(folder.ReadFile("VENUES\\LAKE\\PEGS.TXT"));
    EXPECT_EQ(*folder.ReadFile("VENUES\\LAKE\\PEGS.TXT"), "x");
}

TEST(GameFolder, FindsFilesInTheOrderOfTheWindowsFileSystem) {
    TempFolder game;
    for (const char* name : {"b.ven", "A.ven", "_c.VEN", "a2.ven", "Z.ven", "x.txt", "noext"}) {
        game.Write(std::string("venues/") + name, "");
    }
    std::filesystem::create_directories(game.Path() / "venues" / "dir.ven");
    const GameFolder folder(game.Path());
    // Upper-cased, '_' (0x5F) comes after the letters.
    const std::vector<std::string> expected = {"A.ven", "a2.ven", "b.ven", "dir.ven", "Z.ven", "_c.VEN"};
    EXPECT_EQ(folder.FindFiles("VENUES/*.ven"), expected);
    EXPECT_EQ(folder.FindFiles("venues\\?.VEN"), (std::vector<std::string>{"A.ven", "b.ven", "Z.ven"}));
    EXPECT_TRUE(folder.FindFiles("missing/*.ven").empty());
    EXPECT_EQ(folder.FindFiles("venues/*.*").size(), 8u);  // also the name without extension
}

TEST(WildcardMatch, FollowsTheWindowsSearch) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    };
    const Case cases[] = {
        {"*.peg", "peg1.peg", true}, {"*.peg", "PEG1.PEG", true}, {"*.peg", "peg1.pegs", false},
        {"*.peg", ".peg", true},     {"p?g.*", "peg.x", true},    {"p?g.*", "pg.x", false},
        {"*", "", true},             {"*.*", "noext", true},      {"*a*b*", "xxaxxbxx", true},
        {"[Unknown]", "[unknown]", true},                         {"*.peg", "peg", false},
    };
    for (const auto& c : cases) EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST(GameFolder, NeverReadsOrWritesAnythingButRegularFiles) {
    TempFolder game;
    std::filesystem::create_directories(game.Path() / "adir");
    const GameFolder folder(game.Path());
    EXPECT_FALSE(folder.ReadFile("adir"));
    EXPECT_FALSE(folder.CanOpen("adir"));
    EXPECT_FALSE(folder.AppendFile("adir", "x"));
    EXPECT_FALSE(folder.WriteFile("adir", "x"));
    folder.RemoveFile("adir");
    EXPECT_TRUE(game.Exists("adir"));
}

TEST(ToTextMode, DropsTheCarriageReturnOfEachLineEnd) {
    EXPECT_EQ(ToTextMode("a\r\nb\rc\r\n\r"), "a\nb\rc\n\r");
}

}  // namespace
}  // namespace venuecheck
