#include "stocks/peg_stocking.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/game_folder.h"
#include "report/recording_pane.h"
#include "report/report.h"
#include "stocks/stock_file_list.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

using Names = std::vector<std::string>;

class PegStocking : public ::testing::Test {
protected:
    PegStocking() : folder_(game_.Path()) {
        for (const char* file :
             {"stocks/roach.stk", "stocks/bream.stk", "stocks/x.stk", "stocks/y.stk",
              "stocks/z.stk", "gfx/roach.bmp", "gfx/abcdefghij.bmp", "gfx/abcdefghijk.bmp"}) {
            game_.Write(file, "x");
        }
    }

    // Checks a peg stocks file given as bytes; returns the report's text.
    std::string Check(std::string_view bytes, std::string_view path = "pegs/p1.stk") {
        findings_ = CheckPegStocking(folder_, report_, path, bytes, list_);
        return pane_.PlainText();
    }

    test::TempFolder game_;
    GameFolder folder_;
    RecordingPane pane_;
    Report report_{pane_};
    StockFileList list_;
    int findings_ = 0;
};

constexpr std::string_view kHeading = "\n\n\tStocking - pegs/p1.stk\n";

TEST_F(PegStocking, ReadsRecordsOverAnyWhiteSpace) {
    struct Case {
        const char* name;
        const char* bytes;
        Names stockFiles;  // newest first
    };
    const std::vector<Case> cases = {
        {"one record a line", "1 stocks/roach.stk roach gfx/roach.bmp\r\n", {"stocks/roach.stk"}},
        {"a record over two lines",
         "1 stocks/roach.stk\nroach gfx/roach.bmp\n",
         {"stocks/roach.stk"}},
        {"two records on one line",
         "1 stocks/roach.stk roach gfx/roach.bmp 2\tstocks/bream.stk bream [none]\n",
         {"stocks/bream.stk", "stocks/roach.stk"}},
        {"no line end after the last record",
         "1 stocks/roach.stk roach gfx/roach.bmp\n2 stocks/bream.stk bream [none]",
         {"stocks/roach.stk"}},
        {"a line end after the last record",
         "1 stocks/roach.stk roach gfx/roach.bmp\n2 stocks/bream.stk bream [none]\n",
         {"stocks/bream.stk", "stocks/roach.stk"}},
        {"ends inside a record", "1 stocks/roach.stk", {}},
        {"ends inside a record after a line end", "1 stocks/roach.stk\n", {}},
        {"a number beyond 32 bits",
         "99999999999 stocks/roach.stk roach [none]\n",
         {"stocks/roach.stk"}},
        {"signed numbers",
         "-3 stocks/roach.stk roach [none]\n+4 stocks/bream.stk b [NONE]\n",
         {"stocks/bream.stk", "stocks/roach.stk"}},
        {"graphic none in any case",
         "1 stocks/roach.stk roach [None]\n1 stocks/x.stk x [nOnE]\n",
         {"stocks/x.stk", "stocks/roach.stk"}},
        {"a graphic of 14 characters",
         "1 stocks/roach.stk roach gfx/abcdefghij.bmp\n",
         {"stocks/roach.stk"}},
        {"empty", "", {}},
        {"only white space", " \r\n\t\n", {}},
    };
    for (const Case& c : cases) {
        StockFileList list;
        RecordingPane pane;
        Report report(pane);
        EXPECT_EQ(CheckPegStocking(folder_, report, "p.stk", c.bytes, list), 0) << c.name;
        EXPECT_EQ(pane.PlainText(), "") << c.name;
        EXPECT_EQ(list.NewestFirst(), c.stockFiles) << c.name;
    }
}

TEST_F(PegStocking, MissingFilesAndLongGraphicNamesUnderOneHeading) {
    const std::string text = Check(
        "1 stocks/missing.stk roach gfx/missing.bmp\n"
        "2 stocks/roach.stk roach gfx/abcdefghijk.bmp\n"
        "3 stocks/bream.stk bream gfx/a-long-missing-name.bmp\n");
    EXPECT_EQ(text, std::string(kHeading) +
                        "\n\tError : can't find stock file stocks/missing.stk"
                        "\n\tWarning : can't find graphic file gfx/missing.bmp"
                        "\n\tWarning : graphic gfx/abcdefghijk.bmp is greater than 10 chars and "
                        "may not display correct"
                        "\n\tWarning : can't find graphic file gfx/a-long-missing-name.bmp"
                        "\n\tWarning : graphic gfx/a-long-missing-name.bmp is greater than 10 "
                        "chars and may not display correct");
    EXPECT_EQ(findings_, 5);
    EXPECT_EQ(list_.NewestFirst(), (Names{"stocks/bream.stk", "stocks/roach.stk"}));
    EXPECT_EQ(report_.Counts().errors, 1);
    EXPECT_EQ(report_.Counts().warnings, 4);

    // The heading is bold black in the body font; findings take their
    // severity's colour.
    const auto& runs = pane_.Runs();
    ASSERT_GE(runs.size(), 3u);
    EXPECT_EQ(runs[0].text, kHeading);
    EXPECT_TRUE(runs[0].style.bold);
    EXPECT_EQ(runs[0].style.colour, style::kBlack);
    EXPECT_EQ(runs[0].style.size, style::kBodySize);
    EXPECT_FALSE(runs[1].style.bold);
    EXPECT_EQ(runs[1].style.colour, style::kError);
    EXPECT_EQ(runs[2].style.colour, style::kWarning);
}

TEST_F(PegStocking, ARecordWithoutAWholeNumberGivesOneLineAndTheReadingGoesOn) {
    struct Case {
        const char* name;
        const char* bytes;
        const char* text;  // after the heading
        Names stockFiles;
    };
    const std::vector<Case> cases = {
        {"a word",
         "1 stocks/roach.stk r [none]\nx stocks/x.stk x [none]\n2 stocks/bream.stk b [none]\n",
         "\n\tError : on line stocks/roach.stk",
         {"stocks/bream.stk", "stocks/roach.stk"}},
        {"a lone sign first",
         "- stocks/x.stk x [none]\n2 stocks/bream.stk b [none]\n",
         "\n\tError : on line ",
         {"stocks/bream.stk"}},
        {"a bad token after a record on its line",
         "1 stocks/roach.stk r [none] oops 2 stocks/x.stk x [none]\n2 stocks/bream.stk b [none]\n",
         "\n\tError : on line stocks/roach.stk",
         {"stocks/bream.stk", "stocks/roach.stk"}},
        {"two bad lines", "a b c d\n-- e f g\n", "\n\tError : on line \n\tError : on line ", {}},
        {"a bad last line without a line end",
         "1 stocks/roach.stk r [none]\nx",
         "\n\tError : on line stocks/roach.stk",
         {"stocks/roach.stk"}},
    };
    for (const Case& c : cases) {
        StockFileList list;
        RecordingPane pane;
        Report report(pane);
        CheckPegStocking(folder_, report, "pegs/p1.stk", c.bytes, list);
        EXPECT_EQ(pane.PlainText(), std::string(kHeading) + c.text) << c.name;
        EXPECT_EQ(list.NewestFirst(), c.stockFiles) << c.name;
    }
    // A lone sign at the very end is cut short by the end of the file.
    EXPECT_EQ(Check("1 stocks/roach.stk r [none]\n-"), "");
}

TEST_F(PegStocking, StockFilesAreGatheredOnceInTheFirstSpellingNewestFirst) {
    // Peg A names x then y, peg B names z, and the roach file twice over.
    Check("1 stocks/x.stk x [none]\n2 stocks/y.stk y [none]\n3 stocks/roach.stk r [none]\n",
          "pegs/a.stk");
    Check("1 stocks/z.stk z [none]\n2 STOCKS/Roach.stk r [none]\n3 stocks/x.STK x [none]\n",
          "pegs/b.stk");
    EXPECT_EQ(list_.NewestFirst(),
              (Names{"stocks/z.stk", "stocks/roach.stk", "stocks/y.stk", "stocks/x.stk"}));
    EXPECT_EQ(pane_.PlainText(), "");
}

TEST_F(PegStocking, JunkNeverStopsTheReading) {
    std::mt19937 random(7);
    std::string junk;
    for (int i = 0; i < 20000; ++i) junk.push_back(static_cast<char>(random() % 256));
    Check(junk);
    EXPECT_EQ(report_.Counts().errors + report_.Counts().warnings, findings_);

    // Long tokens are read whole; a NUL byte ends a field as the game holds it.
    const std::string stock(10000, 's');
    const std::string graphic(10000, 'g');
    RecordingPane pane;
    Report report(pane);
    StockFileList list;
    CheckPegStocking(folder_, report, "p.stk",
                     "1 " + stock + " third " + graphic + "\n2 stocks/roach.stk" +
                         std::string(1, '\0') + "junk r [none]\n",
                     list);
    EXPECT_EQ(pane.PlainText(), "\n\n\tStocking - p.stk\n\n\tError : can't find stock file " +
                                    stock + "\n\tWarning : can't find graphic file " + graphic +
                                    "\n\tWarning : graphic " + graphic +
                                    " is greater than 10 chars and may not display correct");
    EXPECT_EQ(list.NewestFirst(), (Names{"stocks/roach.stk"}));
}

TEST_F(PegStocking, AFileThatCannotBeOpenedWritesNothing) {
    game_.Write("pegs/sound.stk", "1 stocks/missing.stk r [none]\n");
    std::filesystem::create_directories(game_.Path() / "pegs" / "folder.stk");
    for (const char* path :
         {"pegs/missing.stk", "pegs/folder.stk", ":pegs/sound.stk", ":pegs/lake.zip/sound.stk"}) {
        EXPECT_FALSE(CheckPegStocking(folder_, report_, path, list_)) << path;
    }
    EXPECT_EQ(pane_.PlainText(), "");
    if (geteuid() != 0) {
        std::filesystem::permissions(game_.Path() / "pegs" / "sound.stk",
                                     std::filesystem::perms::none);
        EXPECT_FALSE(CheckPegStocking(folder_, report_, "pegs/sound.stk", list_));
        std::filesystem::permissions(game_.Path() / "pegs" / "sound.stk",
                                     std::filesystem::perms::owner_all);
        EXPECT_EQ(pane_.PlainText(), "");
    }
    // Read from the file system, in any letter case.
    EXPECT_TRUE(CheckPegStocking(folder_, report_, "PEGS\\Sound.stk", list_));
    EXPECT_EQ(pane_.PlainText(),
              "\n\n\tStocking - PEGS\\Sound.stk\n\n\tError : can't find stock file "
              "stocks/missing.stk");
}

}  // namespace
}  // namespace venuecheck
