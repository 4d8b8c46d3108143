#include "venues/venue_catalogue.h"

#include <gtest/gtest.h>

#include "common/game_folder.h"
#include "common/scrambled_file.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

using test::TempFolder;

VenueRecord Read(const std::string& details) {
    return ReadVenueFile("[Details]\n" + details + "\n", "venues/x.ven", false);
}

TEST(ReadVenueFile, FlagsProblemsOfNameAndReference) {
    struct Case {
        std::string line;
        uint32_t flags;
    };
    const Case cases[] = {
        {"Name=Lake & Pond", kNameAmpersand},
        {"Name=" + std::string(30, 'n'), 0},
        {"Name=" + std::string(31, 'n'), kNameTooLong},
        {"Name=Ch\xE2teau", kNameIllegalChars},
        {"Name=Del\x7F", 0},
        {"Name=Tab\there", kNameIllegalChars},
        {"Name=", kNameEmpty},
        {"Creator=no name key", 0},
        {"Name=" + std::string(31, '&'), kNameTooLong | kNameAmpersand},
        {"Ref=R\x80", kRefIllegalChars},
        {"Ref=" + std::string(10, 'r'), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(c.line).Flags, c.flags) << c.line;
}

TEST(ReadVenueFile, TakesDefaultsAndNumbers) {
    const VenueRecord none = ReadVenueFile("", "venues/none.ven", false);
    EXPECT_EQ(none.Name, "[Unknown]");
    EXPECT_EQ(none.Ref, "[Unknown]");
    EXPECT_EQ(none.Dir, "[Unknown]");
    EXPECT_EQ(none.Desc, "[None]");
    EXPECT_EQ(none.Lookup, "[Unknown]");
    EXPECT_FLOAT_EQ(none.Level, 1.0f);
    EXPECT_EQ(none.Tempmodel, 1);
    EXPECT_FLOAT_EQ(none.Tempfact, 1.0f);
    EXPECT_EQ(none.Path, "venues/none.ven");

    const VenueRecord v = ReadVenueFile(
        "[details]\nLASTPEG=a.txt\nLevel=2.5x\n[WEATHER]\nTempmodel=3rd\nTempfact=junk\n", "p",
        true);
    EXPECT_EQ(v.Lastpeg, "a.txt");
    EXPECT_FLOAT_EQ(v.Level, 2.5f);
    EXPECT_EQ(v.Tempmodel, 3);
    EXPECT_FLOAT_EQ(v.Tempfact, 0.0f);
    EXPECT_TRUE(v.Scrambled);
}

TEST(SameFolder, ComparesTheFoldersWithoutRegardToCase) {
    EXPECT_TRUE(SameFolder("venues\\lake\\*.peg", "VENUES/LAKE/records.txt"));
    EXPECT_FALSE(SameFolder("venues\\lake", "venues\\lake\\records.txt"));
    EXPECT_FALSE(SameFolder("venues/lake/*.peg", "venues/lakes/records.txt"));
    EXPECT_TRUE(SameFolder("[Unknown]", "[Unknown]"));
    EXPECT_TRUE(SameFolder("a:b", "a:c") == false);  // ':' is no separator here
}

TEST(VenueCatalogue, SortsByNameKeepingTiesInReverseOfDiscovery) {
    TempFolder game;
    // Discovery order (upper-cased names): 1.VEN, 2.VEN, 3.VEN, 4.VEN, 5.VEN
    game.Write("venues/1.ven", "[Details]\nName=beta\nRef=first\n");
    game.Write("venues/2.ven", "[Details]\nName=Alpha\nRef=second\n");
    game.Write("venues/3.ven", "[Details]\nName=alpha\nRef=third\n");
    game.Write("venues/4.ven", "[Details]\nName=_under\n");
    game.Write("venues/5.VEN", Scramble("[Details]\nName=Zed\n"));
    game.Write("venues/notes.txt", "not a venue");
    game.Write("data/keep.txt", "");
    std::filesystem::create_directories(game.Path() / "venues" / "folder.ven");

    VenueCatalogue catalogue;
    EXPECT_EQ(catalogue.LoadVenueCatalogue(GameFolder(game.Path())), 6);
    std::vector<std::string> names, refs;
    for (const auto& v : catalogue.Venues()) {
        names.push_back(v.Name);
        refs.push_back(v.Ref);
    }
    // '_' (0x5F) sorts before letters, which compare in lower case; "[" (0x5B)
    // of the folder's default name before both.
    EXPECT_EQ(names,
              (std::vector<std::string>{"[Unknown]", "_under", "alpha", "Alpha", "beta", "Zed"}));
    EXPECT_EQ(refs[2], "third");
    EXPECT_EQ(refs[3], "second");
    const VenueRecord* zed = catalogue.VenueAtIndex(5);
    ASSERT_NE(zed, nullptr);
    EXPECT_TRUE(zed->Scrambled);
    EXPECT_EQ(zed->Path, "venues/5.VEN");
    EXPECT_EQ(catalogue.VenueAtIndex(6), nullptr);
    EXPECT_FALSE(game.Exists("data/_temp.dat"));
    EXPECT_TRUE(catalogue.FreeVenueCatalogue());
    EXPECT_FALSE(catalogue.FreeVenueCatalogue());
}

TEST(VenueCatalogue, IsEmptyWithoutAVenuesFolder) {
    TempFolder game;
    VenueCatalogue catalogue;
    EXPECT_EQ(catalogue.LoadVenueCatalogue(GameFolder(game.Path())), 0);
    EXPECT_TRUE(catalogue.Venues().empty());
}

}  // namespace
}  // namespace venuecheck
