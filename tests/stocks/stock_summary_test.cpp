#include "stocks/stock_summary.h"

#include <gtest/gtest.h>

#include "common/game_folder.h"
#include "common/scrambled_file.h"
#include "report/recording_pane.h"
#include "report/report.h"
#include "species/max_size_table.h"
#include "species/species_catalogue.h"
#include "stocks/stock_file_list.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

using test::TempFolder;

// The ranges of the worked example: 129.11.
StockRecord WorkedExample(const SpeciesRecord& species, int32_t maxSize) {
    StockRecord s;
    s.species = &species;
    s.fileName = "stocks/example.stk";
    s.minSize = 100;
    s.maxSize = maxSize;
    s.temp = RealRange{15.0f, 10.0f, 20.0f, 2};
    s.o2 = RealRange{7.0f, 5.0f, 9.0f, 1};
    s.light = IntRange{50, 0, 100, 4};
    s.fdepth = IntRange{20, 0, 50, 2};
    s.cover = IntRange{50, 0, 100, 1};
    s.wdepth = IntRange{100, 0, 300, 1};
    s.ph = RealRange{7.0f, 6.0f, 8.0f, 1};
    return s;
}

// A stock whose score is the light term alone: the spread over 3.
StockRecord LightOnly(const SpeciesRecord& species, int16_t lightSpread, int32_t maxSize) {
    StockRecord s;
    s.species = &species;
    s.maxSize = maxSize;
    s.temp.importance = s.o2.importance = s.ph.importance = 1;
    s.fdepth.importance = s.cover.importance = s.wdepth.importance = 1;
    s.light = IntRange{0, 0, lightSpread, 1};
    return s;
}

struct Judged {
    std::string text;
    std::vector<StyledRun> runs;
};

Judged Judge(std::optional<StockRecord> stock, std::string_view maxSizes = "0 4000 Roach\n") {
    MaxSizeTable table;
    table.ReadMaxSizeText(maxSizes);
    RecordingPane pane;
    Report report(pane);
    JudgeStock(report, "stocks/x.stk", stock, table);
    return Judged{pane.PlainText(), pane.Runs()};
}

SpeciesRecord Roach() {
    SpeciesRecord roach;
    roach.ref = "ROACH";
    roach.name = "Roach";
    return roach;
}

const std::string kAdvice =
    "\n\tAdvice : This stock is a bit too easy to catch for the size of the fish in it.";
const std::string kShoalWarning = "\n\tWarning : This shoal may be too easy to catch";
const std::string kShoalError =
    "\n\tError : This shoal is too easy to catch, the stk file needs altering";
const std::string kNoMaximum =
    "\n\tWarning : No species maximum size found, manual check required.";

TEST(ComputeEaseScore, AddsSevenTermsInSinglePrecision) {
    const SpeciesRecord roach = Roach();
    StockRecord s = WorkedExample(roach, 3000);
    const float score = ComputeEaseScore(s);
    EXPECT_NEAR(score, 129.11f, 0.005f);
    EXPECT_EQ(s.easeScore, score);
    // The running sum is rounded to single precision after every term.
    float expected = static_cast<float>(10.0 / 5 * 10);
    for (double term : {4.0 / 3 * 11, 100.0 / 9, 50.0 / 5, 100.0 / 3,
                        300.0 / 3 * static_cast<double>(0.33333334f), 2.0 / 3 * 10}) {
        expected = static_cast<float>(static_cast<double>(expected) + term);
    }
    EXPECT_EQ(score, expected);

    StockRecord open;
    EXPECT_EQ(ComputeEaseScore(open), 1800.0f);
    // A negative importance gives a negative term.
    StockRecord negative;
    negative.temp = RealRange{0.0f, 0.0f, 10.0f, -1};
    EXPECT_EQ(ComputeEaseScore(negative), 1300.0f - 100.0f);
}

TEST(JudgeStock, TheWorkedExample) {
    const SpeciesRecord roach = Roach();
    EXPECT_EQ(Judge(WorkedExample(roach, 3000)).text,
              "\n\t : Species = \tRoach\n\t : Avsize = \t6 lbs, 0 ozs, 14 drms"
              "\n\t : Biggest = \t11 lbs, 11 ozs, 8 drms" +
                  kAdvice);
    EXPECT_EQ(Judge(WorkedExample(roach, 1000)).text,
              "\n\t : Species = \tRoach\n\t : Avsize = \t2 lbs, 2 ozs, 6 drms"
              "\n\t : Biggest = \t3 lbs, 14 ozs, 8 drms");
}

TEST(JudgeStock, TheShoalBandsAndTheSizeError) {
    const SpeciesRecord roach = Roach();
    const std::string details =
        "\n\t : Species = \tRoach\n\t : Avsize = \t15 lbs, 10 ozs, 0 drms"
        "\n\t : Biggest = \t15 lbs, 10 ozs, 0 drms";
    struct Case {
        int16_t lightSpread;
        std::string findings;
    };
    const Case cases[] = {
        {30, ""},                         // 10: within the allowance of 40
        {153, kAdvice},                   // 51
        {1047, kAdvice},                  // 349
        {1050, kAdvice + kShoalWarning},  // exactly 350
        {1350, kAdvice + kShoalWarning},  // exactly 450
        {1353, kAdvice + kShoalError},    // 451
    };
    for (const Case& c : cases) {
        // maxSize equal to the allowed maximum: size ratio 1.0 and no size error.
        StockRecord s = LightOnly(roach, c.lightSpread, 4000);
        s.minSize = 4000;
        EXPECT_EQ(Judge(s).text, details + c.findings) << c.lightSpread;
    }
    // Just below 350: 349 and a pH term of 0.99.
    StockRecord below = LightOnly(roach, 1047, 4000);
    below.ph = RealRange{0.0f, 0.0f, 0.297f, 1};
    EXPECT_LT(ComputeEaseScore(below), 350.0f);
    EXPECT_GT(ComputeEaseScore(below), 349.98f);
    EXPECT_EQ(Judge(below).text.find(kShoalWarning), std::string::npos);

    StockRecord big = LightOnly(roach, 30, 501);
    big.minSize = 501;
    const Judged judged = Judge(big, "0 500 ROACH\n");
    EXPECT_EQ(judged.text,
              "\n\t : Species = \tRoach\n\t : Avsize = \t1 lb, 15 ozs, 5 drms"
              "\n\t : Biggest = \t1 lb, 15 ozs, 5 drms"
              "\n\tError : Size ( 501 ) is bigger than max size allowed of 500 drams.");
    EXPECT_EQ(judged.runs.back().style.colour, (Rgb{200, 0, 0}));
    // A negative maximum is a huge one when the sizes are compared.
    EXPECT_EQ(Judge(big, "0 -500 ROACH\n").text.find("Size ("), std::string::npos);
}

TEST(JudgeStock, AllImportancesZeroScore1800) {
    const SpeciesRecord roach = Roach();
    StockRecord s;
    s.species = &roach;
    s.minSize = 5;
    s.maxSize = 10;
    EXPECT_EQ(Judge(s).text,
              "\n\t : Species = \tRoach\n\t : Avsize = \t7 drms\n\t : Biggest = \t10 drms" +
                  kAdvice + kShoalError);
    s.maxSize = 300;
    s.minSize = 300;
    EXPECT_EQ(Judge(s, "").text,
              "\n\t : Species = \tRoach\n\t : Avsize = \t1 lb, 2 ozs, 12 drms"
              "\n\t : Biggest = \t1 lb, 2 ozs, 12 drms" +
                  kNoMaximum);
}

TEST(JudgeStock, UnknownSpeciesAndMissingRecords) {
    StockRecord noSpecies;
    EXPECT_EQ(Judge(noSpecies).text, kNoMaximum);

    SpeciesRecord nameless;
    StockRecord s;
    s.species = &nameless;
    EXPECT_EQ(Judge(s, "1 2 \x7F\n").text,
              "\n\t : Species = \t\n\t : Avsize = \t5 drms\n\t : Biggest = \t10 drms" + kNoMaximum);

    const Judged missing = Judge(std::nullopt);
    EXPECT_EQ(missing.text, "\n\tError : Can't load stock file.");
    EXPECT_EQ(missing.runs.back().style.colour, (Rgb{0, 0, 200}));
}

TEST(WriteStockSummary, AnEmptyListSaysNoStocksLoaded) {
    TempFolder game;
    RecordingPane pane;
    Report report(pane);
    WriteStockSummary(GameFolder(game.Path()), report, StockFileList(), SpeciesCatalogue(),
                      MaxSizeTable());
    const std::vector<StyledRun> expected = {
        {"\n\nStock file summary", TextStyle{"Tahoma", 220, Rgb{0, 0, 0}, true}},
        {"\nNo stocks loaded", TextStyle{"Tahoma", 200, Rgb{0, 0, 0}, false}},
    };
    EXPECT_EQ(pane.Runs(), expected);
}

TEST(WriteStockSummary, SummarisesEveryStockFileNewestFirst) {
    TempFolder game;
    game.Write("data/readme.txt", "");
    game.Write("shoalcat.txt", "catches");
    game.Write("species/roach.sp", "REF ROACH\nNAME Roach\nTEMP 12 4 24 1\n");
    game.Write("species/pike.sp", Scramble("REF PIKE\nNAME Pike\nMAXSIZE 9000\n"));
    game.Write("maxsize.txt", "1\t4000\tRoach\n2\t8000\tPike\n");
    game.Write("stocks/roach.stk", "REF roach\nMINSIZE 20\nMAXSIZE 200\nTEMP 30 4 24 1\n");
    game.Write("stocks/pike.stk", Scramble("REF PIKE\nMAXSIZE 9000\nMINSIZE 9500\n"));
    game.Write("stocks/rudd.stk", "REF RUDD\n");
    const GameFolder folder(game.Path());
    SpeciesCatalogue species;
    species.LoadSpecies(folder);
    MaxSizeTable maxSizes;
    maxSizes.LoadMaxSizes(folder);

    StockFileList list;
    for (const char* name : {"stocks/roach.stk", "stocks/pike.stk", "STOCKS/ROACH.STK",
                             "stocks/rudd.stk", "stocks/none.stk", ":stocks/a.zip/b.stk"}) {
        list.AddStockFile(name);
    }
    RecordingPane pane;
    Report report(pane);
    WriteStockSummary(folder, report, list, species, maxSizes);

    // Files that cannot be read are summarised as a stock of the ROACH species
    // with sizes 0 and 10, whose ranges are all wide open.
    const std::string unread =
        "\n\t : Species = \tRoach\n\t : Avsize = \t5 drms\n\t : Biggest = \t10 drms" + kAdvice +
        kShoalError;
    EXPECT_EQ(pane.PlainText(),
              "\n\nStock file summary"
              "\n\n\t:stocks/a.zip/b.stk" +
                  unread + "\n\n\tstocks/none.stk" + unread + "\n\n\tstocks/rudd.stk" + kNoMaximum +
                  "\n\n\tstocks/pike.stk"
                  "\n\t : Error : MinSize is bigger than MaxSize"
                  "\n\t : Species = \tPike\n\t : Avsize = \t36 lbs, 2 ozs, 2 drms"
                  "\n\t : Biggest = \t35 lbs, 2 ozs, 8 drms" +
                  kAdvice + kShoalError +
                  "\n\tError : Size ( 9000 ) is bigger than max size allowed of 8000 drams."
                  "\n\n\tstocks/roach.stk"
                  "\n\t : Error on TEMP line ( ideal / min / max wrong )"
                  "\n\t : Species = \tRoach\n\t : Avsize = \t6 ozs, 14 drms"
                  "\n\t : Biggest = \t12 ozs, 8 drms" +
                  kAdvice + kShoalError);
    EXPECT_FALSE(game.Exists("data/_temp.dat"));
    EXPECT_FALSE(game.Exists("shoalcat.txt"));

    // Names are bold and black; the parser's messages follow in their colours.
    const auto& runs = pane.Runs();
    ASSERT_GE(runs.size(), 3u);
    EXPECT_EQ(runs[1].text, "\n\n\t:stocks/a.zip/b.stk");
    EXPECT_EQ(runs[1].style, (TextStyle{"Tahoma", 200, Rgb{0, 0, 0}, true}));
    EXPECT_EQ(report.Counts().errors, 7);
    EXPECT_EQ(report.Counts().warnings, 1);
    EXPECT_EQ(report.Counts().advice, 4);
}

}  // namespace
}  // namespace venuecheck
