#include "species/species_catalogue.h"

#include <gtest/gtest.h>

#include "common/game_folder.h"
#include "common/scrambled_file.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

using test::TempFolder;

TEST(SpeciesCatalogue, NoSpeciesFilesGiveAnEmptyCatalogue) {
    TempFolder game;
    game.Write("species/readme.txt", "REF ROACH\n");
    SpeciesCatalogue catalogue;
    EXPECT_EQ(catalogue.LoadSpecies(GameFolder(game.Path())), 0);
    EXPECT_EQ(catalogue.FindSpecies("ROACH"), nullptr);
    EXPECT_EQ(catalogue.FindSpecies(""), nullptr);

    TempFolder noFolder;
    EXPECT_EQ(catalogue.LoadSpecies(GameFolder(noFolder.Path())), 0);
}

TEST(SpeciesCatalogue, TheFileReadLaterWinsAndLookUpsIgnoreCase) {
    TempFolder game;
    // Read in the order of the upper-cased names: a.sp, then B.sp.
    game.Write("species/B.sp", "REF rOaCh\nNAME Later\n");
    game.Write("species/a.sp", "REF Roach\nNAME Earlier\n");
    game.Write("species/perch.SP", "REF PERCH\nNAME Perch\n");
    SpeciesCatalogue catalogue;
    ASSERT_EQ(catalogue.LoadSpecies(GameFolder(game.Path())), 3);
    for (const char* key : {"ROACH", "roach", "Roach", "rOACH"}) {
        const SpeciesRecord* found = catalogue.FindSpecies(key);
        ASSERT_NE(found, nullptr) << key;
        EXPECT_EQ(found->name, "Later");
    }
    ASSERT_NE(catalogue.FindSpecies("perch"), nullptr);
    EXPECT_EQ(catalogue.FindSpecies("Rudd"), nullptr);
    EXPECT_EQ(catalogue.FindSpecies("ROAC"), nullptr);

    // A record made after loading is the newest of all.
    SpeciesRecord& made = catalogue.NewSpecies();
    made.ref = "ROACH";
    made.name = "Made";
    EXPECT_EQ(catalogue.FindSpecies("roach")->name, "Made");
    EXPECT_EQ(catalogue.FindSpecies("Perch")->name, "Perch");
}

TEST(SpeciesCatalogue, AFileThatCannotBeOpenedStillGivesARecordOfDefaults) {
    TempFolder game;
    std::filesystem::create_directories(game.Path() / "species" / "folder.sp");
    SpeciesCatalogue catalogue;
    ASSERT_EQ(catalogue.LoadSpecies(GameFolder(game.Path())), 1);
    const SpeciesRecord& s = catalogue.Records().front();
    EXPECT_FALSE(s.name);
    EXPECT_EQ(s.ref, "");
    EXPECT_EQ(s.biteTime, 10);
    EXPECT_EQ(s.strikeTime, 12);
    EXPECT_FLOAT_EQ(s.temp.ideal, 12.0f);
    EXPECT_FLOAT_EQ(s.o2.ideal, 6.0f);
    EXPECT_EQ(s.caution, (std::array<int16_t, 2>{100, 1000}));
    EXPECT_EQ(s.fightReal, (std::array<float, 2>{0.001f, 1000.0f}));
    EXPECT_EQ(s.fightInt, 20);
    for (int16_t month : s.month) EXPECT_EQ(month, 100);
    for (float dist : s.dist) EXPECT_FLOAT_EQ(dist, 30.0f);
    // An empty REF is found by the empty key, as the game compares them.
    EXPECT_EQ(catalogue.FindSpecies(""), &s);
}

TEST(SpeciesCatalogue, ScrambledFilesAreReadThroughTheTemporaryCopyAndLeaveNone) {
    for (const bool dataFolder : {true, false}) {
        TempFolder game;
        if (dataFolder) game.Write("data/keep.txt", "");
        game.Write("species/pike.sp", Scramble("REF PIKE\r\nNAME Pike\r\nMAXSIZE 600\r\nEND\r\n"));
        // A magic and a header cut short: an empty species.
        game.Write("species/short.sp", Scramble("").substr(0, 20));
        SpeciesCatalogue catalogue;
        ASSERT_EQ(catalogue.LoadSpecies(GameFolder(game.Path())), 2);
        const SpeciesRecord* pike = catalogue.FindSpecies("pike");
        ASSERT_NE(pike, nullptr);
        EXPECT_EQ(pike->name, "Pike");
        EXPECT_EQ(pike->maxSize, 600);
        EXPECT_FALSE(catalogue.Records()[1].name);
        EXPECT_FALSE(game.Exists("data/_temp.dat"));
    }
}

TEST(SpeciesCatalogue, LoadingTwiceGivesOneRecordPerFile) {
    TempFolder game;
    game.Write("species/roach.sp", "REF ROACH\n");
    game.Write("species/tench.sp", "REF TENCH\n");
    SpeciesCatalogue catalogue;
    const GameFolder folder(game.Path());
    EXPECT_EQ(catalogue.LoadSpecies(folder), 2);
    EXPECT_EQ(catalogue.LoadSpecies(folder), 2);
    EXPECT_EQ(catalogue.Records().size(), 2u);
}

}  // namespace
}  // namespace venuecheck
