// Where the stock readers' findings point: the file, the line of the statement
// or record, and the keyword.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/game_folder.h"
#include "report/check_record.h"
#include "species/max_size_table.h"
#include "species/species_catalogue.h"
#include "species/species_keywords.h"
#include "stocks/peg_stocking.h"
#include "stocks/stock_file_list.h"
#include "stocks/stock_parser.h"
#include "stocks/stock_summary.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

// "rule file:line key -> names" of each finding.
std::vector<std::string> Places(const CheckRecorder& recorder) {
    std::vector<std::string> places;
    for (const auto& recorded : recorder.Findings()) {
        const Finding& f = recorded.finding;
        std::string place =
            std::string(RuleOf(f.rule).id) + " " + f.file + ":" + std::to_string(f.line);
        if (!f.key.empty()) place += " " + f.key;
        if (!f.names.empty()) place += " -> " + f.names;
        places.push_back(place);
    }
    return places;
}

TEST(StockFindingPlaces, PointAtTheStatementsLine) {
    SpeciesCatalogue species;
    ReadSpeciesText("REF ROACH\nNAME Roach\nMAXSIZE 4000\n", species.NewSpecies());
    CheckRecorder recorder;
    Report report(recorder, &recorder);
    StockRecord stock = NewStock(species);
    stock.fileName = "stocks/test.stk";
    ReadStockContent(
        "REF ROACH\r\n"               // 1
        "TEMP 10 14 24 3\r\n"         // 2: ideal below its minimum
        "\r\n"                        // 3
        "  MONTH 13 50\r\n"           // 4: no month 13
        "O2 7 4\r\n"                  // 5: values missing, and so out of order
        "BANANA 3\r\n"                // 6
        "MINSIZE 500 MAXSIZE 20\r\n"  // 7: two statements on one line
        "QTY 20 fish\r\n",            // 8: FISH without a value
        stock, StockContext{species, report, nullptr});
    EXPECT_EQ(Places(recorder), (std::vector<std::string>{
                                    "stock-range-order-wrong stocks/test.stk:2 TEMP",
                                    "stock-index-out-of-range stocks/test.stk:4 MONTH",
                                    "stock-values-missing stocks/test.stk:5 O2",
                                    "stock-range-order-wrong stocks/test.stk:5 O2",
                                    "stock-unrecognised-command stocks/test.stk:6",
                                    "stock-values-missing stocks/test.stk:8 FISH",
                                    "stock-min-size-above-max-size stocks/test.stk:7 MINSIZE",
                                }));
    EXPECT_EQ(stock.refLine, 1);
    EXPECT_EQ(stock.maxSizeLine, 7);
}

TEST(StockFindingPlaces, TheSummaryPointsAtRefAndMaxsize) {
    test::TempFolder game;
    game.Write("maxsize.txt", "1 100 Roach\n");
    game.Write("stocks/big.stk", "; a big shoal\nREF ROACH\nMAXSIZE 400\n");
    game.Write("stocks/odd.stk", "REF NOSUCH\n");
    const GameFolder folder(game.Path());
    SpeciesCatalogue species;
    ReadSpeciesText("REF ROACH\nNAME Roach\nMAXSIZE 4000\n", species.NewSpecies());
    MaxSizeTable maxSizes;
    maxSizes.LoadMaxSizes(folder);
    StockFileList files;
    files.AddStockFile("stocks/odd.stk");
    files.AddStockFile("STOCKS\\BIG.STK");
    CheckRecorder recorder;
    Report report(recorder, &recorder);
    report.SetFolder(&folder);
    WriteStockSummary(folder, report, files, species, maxSizes);
    std::vector<std::string> places = Places(recorder);
    // The ease judgements follow REF; only the size is MAXSIZE's.
    std::erase_if(places, [](const std::string& p) {
        return p.starts_with("stock-easy") || p.starts_with("stock-shoal");
    });
    EXPECT_EQ(places, (std::vector<std::string>{
                          "stock-size-above-maximum stocks/big.stk:3 MAXSIZE",
                          "stock-species-maximum-unknown stocks/odd.stk:1 REF",
                      }));
    for (const auto& recorded : recorder.Findings()) {
        EXPECT_FALSE(recorded.finding.stock.empty());
        EXPECT_EQ(recorded.finding.stock, recorded.finding.file);
    }
}

TEST(StockFindingPlaces, StockingFindingsPointAtTheRecordsLine) {
    test::TempFolder game;
    game.Write("stocks/roach.stk", "");
    const GameFolder folder(game.Path());
    CheckRecorder recorder;
    Report report(recorder, &recorder);
    report.SetFolder(&folder);
    StockFileList files;
    CheckPegStocking(folder, report, "pegs\\p1.fsh",
                     "10 stocks\\roach.stk x [None]\n"   // 1
                     "\n"                                // 2
                     "  20 stocks\\gone.stk x [None]\n"  // 3
                     "x1 y z w\n"                        // 4: no whole number
                     "30 stocks\\roach.stk x\n"          // 5
                     "   gfx\\missing.bmp\n"             // 6: the record goes on here
                     "\n",
                     files);
    EXPECT_EQ(Places(recorder), (std::vector<std::string>{
                                    "stocking-stock-not-found pegs/p1.fsh:3 -> stocks/gone.stk",
                                    "stocking-record-unreadable pegs/p1.fsh:4",
                                    "stocking-graphic-not-found pegs/p1.fsh:5 -> gfx/missing.bmp",
                                }));
    EXPECT_EQ(recorder.Findings()[0].finding.stock, "stocks/gone.stk");
}

}  // namespace
}  // namespace venuecheck
