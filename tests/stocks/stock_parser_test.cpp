#include "stocks/stock_parser.h"

#include <gtest/gtest.h>

#include <random>

#include "common/game_folder.h"
#include "common/scrambled_file.h"
#include "report/recording_pane.h"
#include "report/report.h"
#include "species/species_catalogue.h"
#include "species/species_keywords.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

using namespace std::string_literals;
using test::TempFolder;

SpeciesCatalogue Catalogue() {
    SpeciesCatalogue catalogue;
    ReadSpeciesText(
        "REF ROACH\nNAME Roach\nGRAPHIC gfx/roach.bmp\nTEMP 14 4 24 3\nO2 7 4 12 2\n"
        "FDEPTH 30 0 120 1\nMONTH 6 80\nBEACH 5\nMAXSIZE 4000\nDIST 3 45\nTIDEIN 2\n",
        catalogue.NewSpecies());
    ReadSpeciesText("REF PERCH\nNAME Perch\nTEMP 16 6 26 2\n", catalogue.NewSpecies());
    return catalogue;
}

struct Parsed {
    StockRecord stock;
    std::string text;
    std::vector<StyledRun> runs;
    FindingCounts counts;
};

Parsed Parse(std::string_view content, const GameFolder* folder = nullptr) {
    const SpeciesCatalogue catalogue = Catalogue();
    RecordingPane pane;
    Report report(pane);
    Parsed parsed{NewStock(catalogue), {}, {}, {}};
    parsed.stock.fileName = "stocks/test.stk";
    ReadStockContent(content, parsed.stock, StockContext{catalogue, report, folder});
    parsed.text = pane.PlainText();
    parsed.runs = pane.Runs();
    parsed.counts = report.Counts();
    parsed.stock.species = nullptr;  // the catalogue goes with this function
    return parsed;
}

const std::string kTempOrder = "\n\t : Error on TEMP line ( ideal / min / max wrong )";

TEST(StockParser, WritesEachStatementsMessagesExactly) {
    struct Case {
        std::string content;
        std::string messages;
    };
    const Case cases[] = {
        {"temp 18 10 25 3\n", ""},
        {"TEMP 10 10 15 2\nTEMP 15 10 15 2\n", ""},
        {"TEMP 9 10 15 2\n", kTempOrder},
        {"TEMP 16 10 15 2\n", kTempOrder},
        {"USER1 1 2 3 0\nuser2 4 1 3 0\n",
         "\n\t : Error on USER1 line ( ideal / min / max wrong )"
         "\n\t : Error on USER2 line ( ideal / min / max wrong )"},
        {"CLOUD 3 4 10 1\n", "\n\t : Error on CLOUD line ( parameter out of range )"},
        {"WINDS 5 6 9 1\n", "\n\t : Error on WINDS line ( parameter out of range )"},
        {"O2 9 5 8 1\nPH 7 7 7 1\nFDEPTH 1 2 3 4\nwdepth 5 1 4 1\nLIGHT 1 0 2 1\n"
         "SALINE 3 4 5 1\nFLOW 9 1 2 1\nCOVER 0 0 0 0\nTIDE 2 3 1 1\n",
         "\n\t : Error on O2 line ( ideal / min / max wrong )"
         "\n\t : Error on FDEPTH line ( ideal / min / max wrong )"
         "\n\t : Error on WDEPTH line ( ideal / min / max wrong )"
         "\n\t : Error on SALINE line ( ideal / min / max wrong )"
         "\n\t : Error on FLOW line ( ideal / min / max wrong )"
         "\n\t : Error on TIDE line ( ideal / min / max wrong )"},
        // The missing max keeps its value (0), so the order is wrong too.
        {"TEMP 10 5\nO2 8 6 10 1\n", "\n\t : Error on TEMP line." + kTempOrder},
        // Integer ranges are compared before they are cut to 16 bits.
        {"FDEPTH 5000 0 70000 1\n", ""},
        {"MONTH 13 50\nMONTH 0 50\nMONTH 12 50\n",
         "\n\t : Error on MONTH line ( parameter out of range )"
         "\n\t : Error on MONTH line ( parameter out of range )"},
        {"MONTH 13\n",
         "\n\t : Error on MONTH line ( parameter out of range )"
         "\n\t : Error on MONTH line."},
        {"MOON 14\n",
         "\n\t : Error on MOON line.\n\t : Error on MOON line ( parameter out of range )"},
        {"MONTH x\n", "\n\t : Error on MONTH line.\n\t : Warning : unrecognised command : x"},
        {"MOON 13 5\nMOON 14 5\n", "\n\t : Error on MOON line ( parameter out of range )"},
        {"WINDD 8 1\nWINDD 9 1\nWINDD -1 1\n",
         "\n\t : Error on WINDD line ( parameter out of range )"
         "\n\t : Error on WINDD line ( parameter out of range )"},
        {"FDTEMP 9 0.5\nFDTEMP 10 0.5\nWDTEMP -1 1\nFDLIGHT 10 1\nWDLIGHT 99 1\nCOVLIGHT 10 1\n",
         "\n\t : Error on FDTEMP line ( parameter out of range )"
         "\n\t : Error on WDTEMP line ( parameter out of range )"
         "\n\t : Error on FDLIGHT line ( parameter out of range )"
         "\n\t : Error on WDLIGHT line ( parameter out of range )"
         "\n\t : Error on COVLIGHT line ( parameter out of range )"},
        {"DIST 0 12.5\nDIST 11 12.5\nDIST 10 12.5\nDIST x\n",
         "\n\t : Warning : unrecognised command : x"},
        {"BITETIME x 5\n",
         "\n\t : Error on BITETIME line.\n\t : Warning : unrecognised command : x"},
        {"PULL 1 2\nEND\n", "\n\t : Error on PULL line."},
        {"LFEED 1 2 3 4 5\nGBAIT 1 2\nCAUTION 1\nFIGHT 1 2\nTAKE\nEND\n",
         "\n\t : Error on LFEED line.\n\t : Error on GBAIT line.\n\t : Error on CAUTION line."
         "\n\t : Error on FIGHT line.\n\t : Error on TAKE line."},
        {"BAITCALC 1\nQTY x\nEND\n", "\n\t : Warning : unrecognised command : x"},
        {"; stocked in May\n;BITETIME 5\n", ""},
        {"#stocked by the club TEMP 1 2 3 4\n", "\n\t : Warning : unrecognised command : #stocked"},
        {"FSB sounds/x.fsb\nTEETH 2\n",
         "\n\t : Warning : unrecognised command : FSB\n\t : Warning : unrecognised command : "
         "TEETH"},
        // FISH is a statement of its own (food entry 7), which then misses its value.
        {"QTY 20 fish\nrudd 3\n",
         "\n\t : Error on FISH line.\n\t : Warning : unrecognised command : rudd"},
        {"END\nTEMP 9 10 15 2\nrubbish\n", ""},
        {"REF RUDD\nTEMP 9 10 15 2\nrubbish\n", ""},
        {"MINSIZE 20\n", "\n\t : Error : MinSize is bigger than MaxSize"},
        {"MINSIZE 20\nMAXSIZE 30\n", ""},
        {"MAXSIZE 0\nMINSIZE 0\n", ""},  // both become 1
        {"MINSIZE 20\nREF RUDD\nMAXSIZE 30\n", "\n\t : Error : MinSize is bigger than MaxSize"},
        // A word that runs up to the end of the file is not acted upon.
        {"BITETIME 5\nrubbish", ""},
        {"TEMP 9 10 15 2", kTempOrder},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Parse(c.content).text, c.messages) << c.content;
    }
}

TEST(StockParser, MessagesAreFindingsInTheirColours) {
    const Parsed parsed = Parse("colour silver\nTEMP 9 10 15 2\nMINSIZE 50\n");
    EXPECT_EQ(parsed.counts.errors, 2);
    EXPECT_EQ(parsed.counts.warnings, 1);
    ASSERT_EQ(parsed.runs.size(), 2u);
    EXPECT_EQ(parsed.runs[0].text, "\n\t : Warning : unrecognised command : colour");
    EXPECT_EQ(parsed.runs[0].style.colour, (Rgb{120, 0, 120}));
    EXPECT_EQ(parsed.runs[1].style.colour, (Rgb{200, 0, 0}));
}

TEST(StockParser, StoresWhatTheStatementsSay) {
    const StockRecord s =
        Parse(
            "MINSIZE 0\nMAXSIZE 40000\nSPECSIZE 0\nBSMALLFACT 7.5\n"
            "MONTH 12 50\nMOON 13 5\nWINDD 8 1\nFDTEMP 9 0.5\nWDTEMP 0 2\nFDLIGHT 1 3\n"
            "WDLIGHT 2 4\nCOVLIGHT 3 5\nDIST 10 12.5\nBAITCALC 7 8\n"
            "TEMP 9 10 15 2\nFDEPTH 5000 0 70000 1\nCLOUD 3 4 10 1\nWINDS 5 6 9 1\n"
            "BITETIME 70000\nWRECK 9\nPROCESSED 10\nMOVE 14\nTIDEOUT 3\nQTY 20\n"
            "NAME Big Roach \n")
            .stock;
    EXPECT_EQ(s.minSize, 1);
    EXPECT_EQ(s.maxSize, 32000);
    EXPECT_EQ(s.specSize, 1);
    EXPECT_FLOAT_EQ(s.bSmallFact, 5.0f);
    EXPECT_EQ(s.month[11], 50);
    EXPECT_EQ(s.moon[13], 5);
    EXPECT_EQ(s.windD[8], 1);
    EXPECT_FLOAT_EQ(s.fdTemp[9], 0.5f);
    EXPECT_FLOAT_EQ(s.wdTemp[0], 2.0f);
    EXPECT_FLOAT_EQ(s.fdLight[1], 3.0f);
    EXPECT_FLOAT_EQ(s.wdLight[2], 4.0f);
    EXPECT_FLOAT_EQ(s.covLight[3], 5.0f);
    EXPECT_FLOAT_EQ(s.covLight[0], 1.0f);
    EXPECT_FLOAT_EQ(s.dist[9], 12.5f);
    EXPECT_EQ(s.baitCalc, (std::array<int32_t, 2>{7, 8}));
    // Ranges are stored as they stand, in order or not.
    EXPECT_FLOAT_EQ(s.temp.ideal, 9.0f);
    EXPECT_FLOAT_EQ(s.temp.min, 10.0f);
    EXPECT_EQ(s.temp.importance, 2);
    EXPECT_EQ(s.fdepth.max, 4464);  // 70000 cut to 16 bits
    EXPECT_EQ(s.cloud.min, 4);
    EXPECT_FLOAT_EQ(s.winds.max, 9.0f);
    EXPECT_EQ(s.biteTime, 4464);
    EXPECT_EQ(s.seaType[9], 9);
    EXPECT_EQ(s.food[9], 10);
    EXPECT_EQ(s.attraction[13], 14);
    EXPECT_EQ(s.tideOut, 3);
    EXPECT_EQ(s.qty, 1);  // QTY plays no part
    EXPECT_EQ(s.name, "Big Roach ");

    EXPECT_FLOAT_EQ(Parse("BSMALLFACT -2\n").stock.bSmallFact, -2.0f);
    EXPECT_EQ(Parse("SPECSIZE 99999999999\n").stock.specSize, 2147483647);
    EXPECT_EQ(Parse("MINSIZE -99999999999\nMAXSIZE x\n").stock.minSize, 1);
    EXPECT_EQ(Parse("MINSIZE -99999999999\nMAXSIZE x\n").stock.maxSize, 10);
}

TEST(StockParser, AStockWithoutRefHasTheRoachSpeciesAndZeros) {
    const SpeciesCatalogue catalogue = Catalogue();
    const StockRecord s = NewStock(catalogue);
    ASSERT_NE(s.species, nullptr);
    EXPECT_EQ(s.species->name, "Roach");
    EXPECT_EQ(s.minSize, 0);
    EXPECT_EQ(s.maxSize, 10);
    EXPECT_EQ(s.qty, 1);
    EXPECT_FLOAT_EQ(s.temp.max, 0.0f);
    EXPECT_EQ(s.fdepth.importance, 0);
    EXPECT_FALSE(s.graphic);
    EXPECT_FLOAT_EQ(s.fdTemp[0], 1.0f);
    EXPECT_EQ(NewStock(SpeciesCatalogue()).species, nullptr);
}

TEST(StockParser, RefCopiesTheSpeciesAndLaterStatementsRefineIt) {
    const SpeciesCatalogue catalogue = Catalogue();
    RecordingPane pane;
    Report report(pane);
    StockRecord s = NewStock(catalogue);
    ReadStockContent(
        "TEMP 20 10 30 1\nCLOUD 5 0 10 1\nUSER1 1 0 2 3\nBSMALLFACT 3\nGRAPHIC mine.bmp\n"
        "ref roach\nO2 9 8 10 4\n",
        s, StockContext{catalogue, report});
    ASSERT_EQ(s.species, catalogue.FindSpecies("ROACH"));
    EXPECT_FLOAT_EQ(s.temp.ideal, 14.0f);  // the species' values replace the stock's
    EXPECT_EQ(s.temp.importance, 3);
    EXPECT_FLOAT_EQ(s.o2.ideal, 9.0f);  // and the stock's later statements win
    EXPECT_EQ(s.o2.importance, 4);
    EXPECT_EQ(s.fdepth.max, 120);
    EXPECT_EQ(s.month[5], 80);
    EXPECT_EQ(s.month[0], 100);
    EXPECT_EQ(s.seaType[0], 100);
    EXPECT_EQ(s.seaType[1], 5);
    EXPECT_FLOAT_EQ(s.dist[2], 45.0f);
    EXPECT_EQ(s.tideIn, 2);
    EXPECT_EQ(s.specSize, 4000);
    EXPECT_EQ(s.graphic, "gfx/roach.bmp");
    EXPECT_FLOAT_EQ(s.bSmallFact, 1.0f);
    EXPECT_FLOAT_EQ(s.user1.max, 0.0f);
    EXPECT_EQ(s.user1.importance, 0);
    EXPECT_EQ(s.cloud.ideal, 5);  // the stock's own fields stay
    EXPECT_EQ(pane.PlainText(), "");

    // A reference no species has ends the reading and leaves no species.
    StockRecord unknown = NewStock(catalogue);
    ReadStockContent("REF RUDD\nTEMP 1 2 3 4\n", unknown, StockContext{catalogue, report});
    EXPECT_EQ(unknown.species, nullptr);
    EXPECT_FLOAT_EQ(unknown.temp.ideal, 0.0f);
    // "REF" with no word before the end keeps the species it had.
    StockRecord cut = NewStock(catalogue);
    ReadStockContent("REF ", cut, StockContext{catalogue, report});
    EXPECT_EQ(cut.species, catalogue.FindSpecies("ROACH"));
}

TEST(StockParser, EveryKnownRefDeletesShoalcat) {
    TempFolder game;
    const GameFolder folder(game.Path());
    game.Write("shoalcat.txt", "catches");
    Parse("REF RUDD\n", &folder);
    EXPECT_TRUE(game.Exists("shoalcat.txt"));
    Parse("TEMP 1 1 1 1\n", &folder);
    EXPECT_TRUE(game.Exists("shoalcat.txt"));
    Parse("REF Perch\n", &folder);
    EXPECT_FALSE(game.Exists("shoalcat.txt"));
    Parse("REF Perch\n", &folder);  // no file to delete: nothing happens
}

TEST(StockParser, NameIsReadToATabOrTwoBlanks) {
    struct Case {
        std::string content;
        std::optional<std::string> name;
        std::string messages;
    };
    const Case cases[] = {
        {"NAME Big  Roach\n", "Big", "\n\t : Warning : unrecognised command : Roach"},
        {"NAME Big Roach\tmore text\n", "Big Roach",
         "\n\t : Warning : unrecognised command : more"},
        {"NAME   Big Roach \n", "Big Roach ", ""},
        {"NAME\tBig\n", "\tBig", ""},  // tabs are not skipped before the value
        {"NAME\nBITETIME 3\n", "", ""},
        {"NAME ", "", ""},
        {"NAME", std::nullopt, ""},  // runs up to the end of the file: not acted upon
        {"NAME R\xF6"
         "ach\n",
         "R", "\n\t : Warning : unrecognised command : ach"},
        {"BITETIME 3\n", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        const Parsed parsed = Parse(c.content);
        EXPECT_EQ(parsed.stock.name, c.name) << c.content;
        EXPECT_EQ(parsed.text, c.messages) << c.content;
    }
}

TEST(StockParser, BadInputIsReadToItsEnd) {
    // A NUL byte ends a word, as the game's texts end there.
    EXPECT_EQ(Parse("TE\0MP 1 2 3 4\nBITETIME 6\n"s).text,
              "\n\t : Warning : unrecognised command : TE");
    EXPECT_EQ(Parse("TEMP\0x 9 10 15 2\n"s).text, kTempOrder);

    const std::string longWord(10000, 'W');
    // A reference no species has ends the reading, however long it is.
    EXPECT_EQ(Parse("REF " + longWord + "\nTEMP 9 10 15 2\n").text, "");
    EXPECT_EQ(Parse(longWord + " 1\nGRAPHIC " + longWord + "\n").text,
              "\n\t : Warning : unrecognised command : " + longWord);
    EXPECT_EQ(Parse("GRAPHIC " + longWord + "\n").stock.graphic, longWord);

    std::string many;
    for (int i = 0; i < 100000; ++i) many += "TEMP 9 10 15 " + std::to_string(i) + "\n";
    const Parsed manyParsed = Parse(many);
    EXPECT_EQ(manyParsed.counts.errors, 100000);
    EXPECT_EQ(manyParsed.stock.temp.importance, Low16(99999));

    EXPECT_EQ(Parse("TEMP 1e999 -1e999 1e999 99999999999\n").text, "");

    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        std::string junk(static_cast<size_t>(random() % 3000), '\0');
        for (char& c : junk) c = static_cast<char>(random());
        Parse(junk);
        // Keywords and numbers in random order, to reach the statements.
        std::string words;
        for (int i = 0; i < 200; ++i) {
            const char* pieces[] = {"TEMP", "MONTH", "MOON",  "NAME",  "REF", "ROACH",
                                    "1",    "-7",    "2.5e3", "x",     "\n",  "\t",
                                    "  ",   ";",     "END",   "FDTEMP"};
            words += pieces[random() % 16];
            words += ' ';
        }
        Parse(words);
    }
}

TEST(ReadStockFile, ReadsPlainAndScrambledFilesAndLeavesNoTemporaryCopy) {
    TempFolder game;
    game.Write("data/keep.txt", "");
    game.Write("stocks/plain.stk", "MAXSIZE 300\r\nMINSIZE 400\r\n");
    game.Write("stocks/scram.stk", Scramble("MAXSIZE 300\r\nMINSIZE 400\r\n"));
    game.Write("stocks/short.stk", Scramble("MINSIZE 400\n").substr(0, 30));
    const GameFolder folder(game.Path());
    const SpeciesCatalogue catalogue = Catalogue();
    for (const char* path : {"stocks/plain.stk", "stocks/SCRAM.STK"}) {
        RecordingPane pane;
        Report report(pane);
        StockRecord s = NewStock(catalogue);
        EXPECT_TRUE(ReadStockFile(folder, path, s, catalogue, report));
        EXPECT_EQ(s.maxSize, 300);
        EXPECT_EQ(pane.PlainText(), "\n\t : Error : MinSize is bigger than MaxSize");
        EXPECT_FALSE(game.Exists("data/_temp.dat"));
    }
    RecordingPane pane;
    Report report(pane);
    StockRecord s = NewStock(catalogue);
    EXPECT_TRUE(ReadStockFile(folder, "stocks/short.stk", s, catalogue, report));
    EXPECT_EQ(s.minSize, 0);
    EXPECT_FALSE(ReadStockFile(folder, "stocks/none.stk", s, catalogue, report));
    EXPECT_FALSE(ReadStockFile(folder, "stocks", s, catalogue, report));
    EXPECT_FALSE(ReadStockFile(folder, ":stocks.zip/plain.stk", s, catalogue, report));
    EXPECT_EQ(pane.PlainText(), "");
}

}  // namespace
}  // namespace venuecheck
