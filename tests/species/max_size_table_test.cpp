#include "species/max_size_table.h"

#include <gtest/gtest.h>

#include <random>

#include "common/game_folder.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

MaxSizeTable Read(std::string_view text) {
    MaxSizeTable table;
    table.ReadMaxSizeText(text);
    return table;
}

TEST(MaxSizeTable, ReadsTwoIntegersAndATrimmedName) {
    const MaxSizeTable table = Read(
        "1\t4000\tCommon Roach\n"
        "\n"
        "  2 5000      Bream \t \n"
        "3 6000Tench\r\n"
        "4\t7000\tPERCH\x01\x7F\xA0\n");
    ASSERT_EQ(table.Entries().size(), 4u);
    EXPECT_EQ(table.FindMaxSize("Common Roach"), 4000);
    EXPECT_EQ(table.FindMaxSize("common roach"), 4000);
    EXPECT_EQ(table.FindMaxSize("Bream"), 5000);
    EXPECT_EQ(table.FindMaxSize("bream \t "), 0);
    EXPECT_EQ(table.FindMaxSize("TENCH"), 6000);
    EXPECT_EQ(table.FindMaxSize("perch"), 7000);
    EXPECT_EQ(table.FindMaxSize("Roach"), 0);
    EXPECT_EQ(table.FindMaxSize(std::nullopt), 0);
}

TEST(MaxSizeTable, TheLastLineOfANameWinsAndTheFirstNumberNeverCounts) {
    const MaxSizeTable table = Read("99 100 Carp\n1 200 carp\n");
    EXPECT_EQ(table.FindMaxSize("CARP"), 200);
    EXPECT_EQ(Read("5000 0 Eel\n").FindMaxSize("Eel"), 0);
}

TEST(MaxSizeTable, EmptyOrMissingFilesGiveAnEmptyTable) {
    EXPECT_TRUE(Read("").Entries().empty());
    EXPECT_TRUE(Read("\n\n  \n").Entries().empty());
    test::TempFolder game;
    MaxSizeTable table;
    table.LoadMaxSizes(GameFolder(game.Path()));
    EXPECT_TRUE(table.Entries().empty());
    EXPECT_FALSE(table.FreeMaxSizes());

    game.Write("maxsize.txt", "1 2 Rudd\n");
    table.LoadMaxSizes(GameFolder(game.Path()));
    EXPECT_EQ(table.FindMaxSize("rudd"), 2);
    EXPECT_TRUE(table.FreeMaxSizes());
    EXPECT_EQ(table.FindMaxSize("rudd"), 0);
}

TEST(MaxSizeTable, JunkLinesAreSkippedAndReadingGoesOn) {
    using namespace std::string_literals;
    const MaxSizeTable table = Read(
        "# species sizes\n"
        "Roach 1 2\n"
        "-\n"
        "1 x Bream\n"
        "1 99999999999 Big\n"
        "1 2 \0Nul\n"s +
        "1 2 " + std::string(100, 'N') + "\n" + "7 8\tChub");
    EXPECT_EQ(table.FindMaxSize("Bream"), 0);
    EXPECT_EQ(table.FindMaxSize("Big"), 2147483647);
    EXPECT_EQ(table.FindMaxSize(std::string(59, 'N')), 2);
    EXPECT_EQ(table.FindMaxSize("Chub"), 8);
    EXPECT_EQ(table.FindMaxSize("Nul"), 0);  // the name ends at the NUL byte
    EXPECT_EQ(table.Entries().size(), 4u);

    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string junk(static_cast<size_t>(random() % 2000), '\0');
        for (char& c : junk) c = static_cast<char>(random() % 3 == 0 ? '\n' : random());
        Read(junk);
    }
}

}  // namespace
}  // namespace venuecheck
