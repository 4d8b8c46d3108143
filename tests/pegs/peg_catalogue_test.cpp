#include "pegs/peg_catalogue.h"

#include <gtest/gtest.h>

#include "common/game_folder.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

using test::TempFolder;

TEST(ReadPegFile, ReadsKeysWithTheirDefaults) {
    const PegRecord none = ReadPegFile("", "pegs/a.peg");
    EXPECT_EQ(none.Name, "[Unknown]");
    EXPECT_EQ(none.Ref, 0);
    EXPECT_EQ(none.Image, "[Unknown]");
    EXPECT_EQ(none.Desc, "[None]");
    EXPECT_FLOAT_EQ(none.DPRatio, 1.0f);
    EXPECT_FLOAT_EQ(none.PH, 7.0f);
    EXPECT_FLOAT_EQ(none.O2, 1.0f);
    EXPECT_FLOAT_EQ(none.Turbid, 50.0f);
    EXPECT_FLOAT_EQ(none.Saline, 0.0f);
    EXPECT_FLOAT_EQ(none.Temp, 1.0f);
    EXPECT_EQ(none.Maxlight, 360);
    EXPECT_FLOAT_EQ(none.Tidefact, 0.0f);
    EXPECT_EQ(none.Seatype, 0);
    EXPECT_EQ(none.path, "pegs/a.peg");

    const PegRecord peg = ReadPegFile(
        "[Details]\nName=North bank\nRef=12abc\nDesc=\n[Files]\nFish=a.stk\nFish211f=[UNKNOWN]\n"
        "[Distance]\nDPRatio=2.5\n[Water]\nMaxlight=96\nSeatype=-1\n",
        "p");
    EXPECT_EQ(peg.Ref, 12);
    EXPECT_EQ(peg.Desc, "");
    EXPECT_EQ(peg.Fish, "a.stk");  // a Fish211f of "[Unknown]" in any case keeps Fish
    EXPECT_FLOAT_EQ(peg.DPRatio, 2.5f);
    EXPECT_EQ(peg.Maxlight, 96);
    EXPECT_EQ(peg.Seatype, -1);
    EXPECT_EQ(ReadPegFile("[Files]\nFish=a.stk\nFish211f=b.stk\n", "p").Fish, "b.stk");
    EXPECT_EQ(ReadPegFile("[Details]\nRef=x7\n", "p").Ref, 0);
}

TEST(PegCatalogue, SortsByReferenceKeepingTiesInReverseOfDiscovery) {
    TempFolder game;
    game.Write("pegs/Lake/a.peg", "[Details]\nName=first seven\nRef=7\n");
    game.Write("pegs/Lake/b.peg", "[Details]\nName=two\nRef=2\n");
    game.Write("pegs/Lake/c.peg", "[Details]\nName=second seven\nRef=7\n");
    game.Write("pegs/Lake/d.peg", "[Details]\nName=minus\nRef=-3\n");
    game.Write("pegs/Lake/notes.txt", "");
    std::filesystem::create_directories(game.Path() / "pegs" / "Lake" / "e.peg");

    PegCatalogue pegs;
    EXPECT_EQ(pegs.LoadPegs(GameFolder(game.Path()), "PEGS\\lake\\*.peg"), 5);
    std::vector<std::string> names, paths;
    for (const auto& peg : pegs.Pegs()) {
        names.push_back(peg.Name);
        paths.push_back(peg.path);
    }
    // The folder counts as a peg of defaults (reference 0).
    EXPECT_EQ(names, (std::vector<std::string>{"minus", "[Unknown]", "two", "second seven",
                                               "first seven"}));
    EXPECT_EQ(paths[0], "PEGS\\lake\\d.peg");  // the folder part stays as written
    EXPECT_TRUE(pegs.FreePegs());
    EXPECT_FALSE(pegs.FreePegs());
}

TEST(PegCatalogue, FindsNothingForAMissingFolderOrTheDefaultPattern) {
    TempFolder game;
    PegCatalogue pegs;
    EXPECT_EQ(pegs.LoadPegs(GameFolder(game.Path()), "[Unknown]"), 0);
    EXPECT_EQ(pegs.LoadPegs(GameFolder(game.Path()), "nowhere/*.peg"), 0);
    game.Write("[Unknown]", "[Details]\nName=odd\n");
    EXPECT_EQ(pegs.LoadPegs(GameFolder(game.Path()), "[Unknown]"), 1);
    EXPECT_EQ(pegs.Pegs().front().Name, "odd");
}

TEST(PegCatalogue, TakesThePathFromTheFolderOfAnyPattern) {
    // A peg folder given with a wildcard name of other than five characters
    // still reads the files it finds.
    TempFolder game;
    game.Write("pegs/p1.pg", "[Details]\nName=short pattern\n");
    PegCatalogue pegs;
    EXPECT_EQ(pegs.LoadPegs(GameFolder(game.Path()), "pegs/*.pg"), 1);
    EXPECT_EQ(pegs.Pegs().front().path, "pegs/p1.pg");
    EXPECT_EQ(pegs.Pegs().front().Name, "short pattern");
}

}  // namespace
}  // namespace venuecheck
