#include "species/species_keywords.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace venuecheck {
namespace {

SpeciesRecord Read(std::string_view text) {
    SpeciesRecord species;
    ReadSpeciesText(text, species);
    return species;
}

TEST(SpeciesKeywords, MatchKeywordsInAnyCaseAndReadValuesWhereverTheyStand) {
    const SpeciesRecord s = Read(
        "ref Roach\n"
        "Temp\n"
        "  14.5 4 24\n"
        "  3\n"
        "BITETIME 8 STRIKETIME 15\n"
        "fDePtH 10 -5 40 2\n");
    EXPECT_EQ(s.ref, "Roach");
    EXPECT_FLOAT_EQ(s.temp.ideal, 14.5f);
    EXPECT_FLOAT_EQ(s.temp.min, 4.0f);
    EXPECT_FLOAT_EQ(s.temp.max, 24.0f);
    EXPECT_EQ(s.temp.importance, 3);
    EXPECT_EQ(s.biteTime, 8);
    EXPECT_EQ(s.strikeTime, 15);
    EXPECT_EQ(s.fdepth.ideal, 10);
    EXPECT_EQ(s.fdepth.min, -5);
    EXPECT_EQ(s.fdepth.max, 40);
    EXPECT_EQ(s.fdepth.importance, 2);
}

TEST(SpeciesKeywords, EveryKeywordFillsItsOwnField) {
    const SpeciesRecord s = Read(
        "INSECT 1 SEED 2 VEGETABLE 3 FRUIT 4 FAUNA 5 FLY 6 SHELLFISH 7 FISH 8 ANIMAL 9 "
        "PROCESSED 10\n"
        "PROTEIN 11 STARCH 12 CARBO 13 SWEET 14 SOUR 15 BITTER 16 SPICE 17 CITRUS 18 BLOOD 19 "
        "FISHOIL 20 FAT 21 SIGHT 22 SMELL 23 MOVE 24\n"
        "BEACH 31 ESTUARY 32 PIER 33 ROCK 34 MUD 35 SHINGLE 36 SROCK 37 DEEP 38 WRECK 39\n"
        "TIDEIN 40 TIDEOUT 41 MAXSIZE 4000 TEETH 0.5\n"
        "O2 7 5 9 1 PH 7.5 6 8.5 2\n"
        "WDEPTH 1 2 3 4 TIDE 5 6 7 8 LIGHT 9 10 11 12 SALINE 13 14 15 16 FLOW 17 18 19 20 "
        "COVER 21 22 23 24\n"
        "GBAIT 0.5 1.5 2.5 1 2 3 LFEED 3.5 4.5 5.5 4 5 6\n"
        "PULL 1 2 3 LIFT 4 5 6 RUN 7 8 9 TAKE 10 11 12 CAUTION 50 500 FIGHT 0.25 99.5 30\n"
        "GRAPHIC gfx/roach.bmp FSB sounds/roach.fsb\n");
    EXPECT_EQ(s.food, (std::array<int16_t, 10>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(s.attraction,
              (std::array<int16_t, 14>{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
    EXPECT_EQ(s.seaType, (std::array<int16_t, 10>{0, 31, 32, 33, 34, 35, 36, 37, 38, 39}));
    EXPECT_EQ(s.tideIn, 40);
    EXPECT_EQ(s.tideOut, 41);
    EXPECT_EQ(s.maxSize, 4000);
    EXPECT_FLOAT_EQ(s.teeth, 0.5f);
    EXPECT_FLOAT_EQ(s.o2.ideal, 7.0f);
    EXPECT_EQ(s.ph.importance, 2);
    EXPECT_FLOAT_EQ(s.ph.max, 8.5f);
    EXPECT_EQ(s.wdepth.importance, 4);
    EXPECT_EQ(s.tide.ideal, 5);
    EXPECT_EQ(s.light.min, 10);
    EXPECT_EQ(s.saline.max, 15);
    EXPECT_EQ(s.flow.ideal, 17);
    EXPECT_EQ(s.cover.importance, 24);
    EXPECT_EQ(s.gbait.reals, (std::array<float, 3>{0.5f, 1.5f, 2.5f}));
    EXPECT_EQ(s.gbait.ints, (std::array<int16_t, 3>{1, 2, 3}));
    EXPECT_EQ(s.lfeed.reals, (std::array<float, 3>{3.5f, 4.5f, 5.5f}));
    EXPECT_EQ(s.lfeed.ints, (std::array<int16_t, 3>{4, 5, 6}));
    EXPECT_EQ(s.pull, (std::array<int16_t, 3>{1, 2, 3}));
    EXPECT_EQ(s.lift, (std::array<int16_t, 3>{4, 5, 6}));
    EXPECT_EQ(s.run, (std::array<int16_t, 3>{7, 8, 9}));
    EXPECT_EQ(s.take, (std::array<int16_t, 3>{10, 11, 12}));
    EXPECT_EQ(s.caution, (std::array<int16_t, 2>{50, 500}));
    EXPECT_EQ(s.fightReal, (std::array<float, 2>{0.25f, 99.5f}));
    EXPECT_EQ(s.fightInt, 30);
    EXPECT_EQ(s.graphic, "gfx/roach.bmp");
    EXPECT_EQ(s.fsb, "sounds/roach.fsb");
}

TEST(SpeciesKeywords, UnknownWordsAndCommentsCostTheirLine) {
    const SpeciesRecord s = Read(
        "; BITETIME 1\n"
        "colour silver BITETIME 2\n"
        "STRIKETIME 3\n");
    EXPECT_EQ(s.biteTime, 10);  // the default
    EXPECT_EQ(s.strikeTime, 3);
}

TEST(SpeciesKeywords, MonthAndDistStoreOnlyWithinTheirNumbers) {
    const SpeciesRecord s = Read(
        "MONTH 0 1 MONTH 13 2 MONTH 12 50 MONTH 1 60 MONTH 99999999999 3\n"
        "DIST 0 1 DIST 11 2 DIST 1 12.5 DIST 10 7.25\n");
    std::array<int16_t, 12> months;
    months.fill(100);
    months[0] = 60;
    months[11] = 50;
    EXPECT_EQ(s.month, months);
    std::array<float, 10> dist;
    dist.fill(30.0f);
    dist[0] = 12.5f;
    dist[9] = 7.25f;
    EXPECT_EQ(s.dist, dist);
}

TEST(SpeciesKeywords, SixteenBitFieldsKeepTheLowBitsAndMaxSizeKeepsAll) {
    const SpeciesRecord s = Read(
        "BITETIME 70000\nSTRIKETIME -70000\nINSECT 99999999999\nMAXSIZE 70000\n"
        "TIDEIN -99999999999\nTEETH 1e99\n");
    EXPECT_EQ(s.biteTime, 4464);  // 70000 - 65536
    EXPECT_EQ(s.strikeTime, -4464);
    EXPECT_EQ(s.food[0], -1);  // saturated to 2147483647, low bits all set
    EXPECT_EQ(s.maxSize, 70000);
    EXPECT_EQ(s.tideIn, 0);  // saturated to -2147483648
    EXPECT_EQ(s.teeth, std::numeric_limits<float>::infinity());
}

TEST(SpeciesKeywords, AValueThatCannotBeReadKeepsTheFieldAndIsReadAsAKeyword) {
    const SpeciesRecord s = Read("TEMP 15 x 20 1 BITETIME 3\nTEMP 16 STRIKETIME 4\nBITETIME");
    EXPECT_FLOAT_EQ(s.temp.ideal, 16.0f);
    EXPECT_FLOAT_EQ(s.temp.min, 0.0f);
    EXPECT_FLOAT_EQ(s.temp.max, 0.0f);
    EXPECT_EQ(s.biteTime, 10);  // "x" was skipped with the rest of its line
    EXPECT_EQ(s.strikeTime, 4);
}

TEST(SpeciesKeywords, NameIsATabFieldTrimmedAtItsEnd) {
    struct Case {
        std::string text;
        std::optional<std::string> name;
        int16_t biteTime = 10;
    };
    const Case cases[] = {
        {"NAME Common Roach\n", "Common Roach"},
        {"NAME \t Common Roach  \n", "Common Roach"},
        {"NAME Big  Roach\n", "Big"},
        {"NAME Big Roach \n", "Big Roach"},
        {"NAME Big Roach\tBITETIME 5\n", "Big Roach", 5},
        {"NAME Big R\xE9"
         "ach\n",
         "Big R"},
        {"NAME Roach\x7F\n", "Roach"},
        {"NAME\nBITETIME 6\n", "", 6},  // stops at the line end
        {"NAME", ""},
        {"NAME \x01Roach\n", "\x01Roach"},  // the first byte is taken, whatever it is
        {"NAME \x01\n", ""},
        {"NAME First\nNAME Second\n", "Second"},
        {"BITETIME 7\n", std::nullopt, 7},
    };
    for (const Case& c : cases) {
        const SpeciesRecord s = Read(c.text);
        EXPECT_EQ(s.name, c.name) << c.text;
        EXPECT_EQ(s.biteTime, c.biteTime) << c.text;
    }
}

TEST(SpeciesKeywords, RefIsCutTo19Characters) {
    EXPECT_EQ(Read("REF ABCDEFGHIJKLMNOPQRSTUVWXYZ\n").ref, "ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(Read("REF ROACH\nREF Rudd\n").ref, "Rudd");
}

TEST(SpeciesKeywords, NothingAfterEndIsRead) {
    const SpeciesRecord s = Read("BITETIME 5\nend\nBITETIME 6\nNAME Late\n");
    EXPECT_EQ(s.biteTime, 5);
    EXPECT_FALSE(s.name);
}

TEST(SpeciesKeywords, CarriageReturnsBeforeLineFeedsAreDropped) {
    const SpeciesRecord s = Read("NAME Tench\r\nREF TENCH\r\nBITETIME 9\r\n");
    EXPECT_EQ(s.name, "Tench");
    EXPECT_EQ(s.ref, "TENCH");
    EXPECT_EQ(s.biteTime, 9);
}

TEST(SpeciesKeywords, BadInputIsReadToItsEnd) {
    // A word with a NUL byte ends there, as the game's texts do.
    EXPECT_EQ(Read(std::string("REF PI\0KE\nBITETIME 4\n", 21)).ref, "PI");
    EXPECT_EQ(Read(std::string("BITE\0TIME 4\nSTRIKETIME 5\n", 25)).strikeTime, 5);

    const std::string longWord(10000, 'W');
    SpeciesRecord s = Read("GRAPHIC " + longWord + "\nREF " + longWord + "\n" + longWord +
                           " BITETIME 3\nNAME " + longWord + "\n");
    EXPECT_EQ(s.graphic, longWord);
    EXPECT_EQ(s.ref.size(), 19u);
    EXPECT_EQ(s.name, longWord);
    EXPECT_EQ(s.biteTime, 10);

    std::string many;
    for (int i = 0; i < 100000; ++i) many += "BITETIME " + std::to_string(i % 1000) + "\n";
    EXPECT_EQ(Read(many).biteTime, 999);

    std::mt19937 random(4);
    for (int round = 0; round < 200; ++round) {
        std::string junk(static_cast<size_t>(random() % 3000), '\0');
        for (char& c : junk) c = static_cast<char>(random());
        Read(junk);
    }
}

}  // namespace
}  // namespace venuecheck
