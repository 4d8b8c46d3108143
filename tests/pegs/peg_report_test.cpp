#include "pegs/peg_report.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/game_folder.h"
#include "gamegen/peg_data.h"
#include "pegs/peg_catalogue.h"
#include "pegs/peg_data.h"
#include "report/recording_pane.h"
#include "report/report.h"
#include "stocks/stock_file_list.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

using gamegen::MakePegDataOfCells;

// The lines that grade a peg's data, in the order a section writes them.
const std::vector<std::string> kGradedLines = {
    "\n\tError : Depth accuracy requires attention.",
    "\n\tError : There needs to be at least 5 objects in the peg",
    "\n\tError : There are too many areas without any objects on the peg",
    "\n\tError : There are too few unique object areas on the peg to cast to.",
    "\n\tWarning : Depth accuracy could be improved",
    "\n\tWarning : There really should be more objects in the peg",
    "\n\tWarning : There are a lot of areas without any objects on the peg",
    "\n\tWarning : There are aren't many unique object areas on the peg to cast to.",
    "\n\tAdvice : The peg could be improved with more detailed depth modelling",
    "\n\tAdvice : The peg could be improved by adding more objects.",
    "\n\tAdvice : There are a few areas without any objects on the peg, these could be added to "
    "improve the peg",
    "\n\tAdvice : The peg would be improved if there were more unique object areas to cast to.",
};

std::vector<std::string> GradedLinesIn(const std::string& text) {
    std::vector<std::string> found;
    for (const auto& line : kGradedLines) {
        if (text.find(line) != std::string::npos) found.push_back(line);
    }
    return found;
}

bool Holds(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

// A game folder holding one sound peg, "pegs/lake/reed.peg", and what it
// names.
class PegSection : public ::testing::Test {
protected:
    PegSection() : folder_(game_.Path()) {
        for (const char* file : {"pegs/lake/reed.jpg", "pegs/lake/lake.snd", "pegs/lake/about.txt",
                                 "stocks/roach.stk"}) {
            game_.Write(file, "x");
        }
        game_.Write("pegs/lake/reed.stk", "1 stocks/roach.stk roach [none]\n");
    }

    static std::string PegFile(std::string_view extra = "") {
        return std::string(
                   "[Details]\nName=Reed bed\nRef=7\nDesc=pegs/lake/about.txt\n"
                   "[Files]\nImage=pegs/lake/reed.jpg\nData=pegs/lake/reed.dat\n"
                   "Records=pegs/lake/reed.rec\nFish=pegs/lake/reed.stk\n"
                   "Sounds=pegs/lake/lake.snd\n") +
               std::string(extra);
    }

    PegRecord Peg(std::string_view content, std::string path = "pegs/lake/reed.peg") {
        return ReadPegFile(content, std::move(path));
    }

    // Writes the section of a peg, alone on its venue unless a list is given.
    std::string Section(const PegRecord& peg, std::vector<PegRecord> pegs = {}) {
        if (pegs.empty()) pegs.push_back(peg);
        RecordingPane pane;
        Report report(pane);
        // One analysis for every section, as a check run keeps it.
        ReportPeg(folder_, report, pegs, peg, stockFiles_, analysis_);
        lastRuns_ = pane.Runs();
        return pane.PlainText();
    }

    test::TempFolder game_;
    GameFolder folder_;
    StockFileList stockFiles_;
    PegAnalysis analysis_;
    std::vector<StyledRun> lastRuns_;
};

TEST_F(PegSection, WritesEveryLineInItsPlaceAndStyle) {
    game_.Write("pegs/lake/reed.dat",
                MakePegDataOfCells(16, 4, 480, {{0, 0}, {0, 5}, {3, 5}, {3, 10}}));
    game_.Write("pegs/lake/reed.stk",
                "1 stocks/roach.stk roach [none]\n2 stocks/gone.stk gone [none]\n");
    const PegRecord peg = Peg(
        PegFile("[Distance]\nDPRatio=2\n[Water]\nPH=7.5\nO2=0.9\nTurbid=20\nSaline=0.5\nTemp=1.25\n"
                "Maxlight=360\nTidefact=3\nSeatype=3\n"));

    const std::string heading = "\n\nPeg details for Reed bed";
    const std::string body =
        "\n\tReference\t\t7"
        "\n\tFile-name\t\tpegs/lake/reed.peg"
        "\n\tImage file\t\tpegs/lake/reed.jpg"
        "\n\tData file\t\t\tpegs/lake/reed.dat"
        "\n\tRecords file\t\tpegs/lake/reed.rec"
        "\n\tStocks file\t\tpegs/lake/reed.stk"
        "\n\tSound file\t\tpegs/lake/lake.snd"
        "\n\tInfo file\t\t\tpegs/lake/about.txt"
        "\n\tDepth ratio\t\t2.00 ( max depth = 44' 0\" )"
        "\n\tTemperature factor\t1.25"
        "\n\tO2 factor\t\t0.90"
        "\n\tPH\t\t\t7.50"
        "\n\tTurbidity\t\t20.00"
        "\n\tSalinity\t\t\t0.50"
        "\n\tMax light penetration\t30' 0\""
        "\n\tSea type\t\tPier"
        "\n\tDepth areas\t\t3"
        "\n\tAverage depth\t\t1' 1\""
        "\n\tShallowest\t\t10\""
        "\n\tDeepest\t\t\t1' 8\""
        "\n\tDepth accuracy\t\t0 %"
        "\n\tAdded objects\t\t16"
        "\n\tUsed objects\t\t2"
        "\n\tBare areas\t\t1 ( 33.333 % )"
        "\n\tUnique object areas\t1"
        "\n\tObject variation\t\t100.00 %"
        "\n";
    const std::string errors =
        "\n\tError : Depth accuracy requires attention."
        "\n\tError : There are too few unique object areas on the peg to cast to.";
    const std::string warnings =
        "\n\tWarning : There are a lot of areas without any objects on the peg";
    const std::string stockingHeading = "\n\n\tStocking - pegs/lake/reed.stk\n";
    const std::string stockingError = "\n\tError : can't find stock file stocks/gone.stk";

    EXPECT_EQ(Section(peg), heading + body + errors + warnings + stockingHeading + stockingError);
    const TextStyle headingStyle{"Tahoma", 220, style::kBlack, true};
    const TextStyle bodyStyle{"Tahoma", 200, style::kBlack, false};
    const std::vector<StyledRun> runs = {
        {heading, headingStyle},
        {body, bodyStyle},
        {errors, {"Tahoma", 200, style::kError, false}},
        {warnings, {"Tahoma", 200, style::kWarning, false}},
        {stockingHeading, {"Tahoma", 200, style::kBlack, true}},
        {stockingError, {"Tahoma", 200, style::kError, false}},
    };
    EXPECT_EQ(lastRuns_, runs);
    EXPECT_EQ(stockFiles_.NewestFirst(), std::vector<std::string>{"stocks/roach.stk"});
    EXPECT_FALSE(game_.Exists("pegs/lake/reed.rec_test_.tmp"));
}

TEST_F(PegSection, GradesEachFigureInItsBandAtTheBoundaries) {
    struct Case {
        const char* name;
        int depths;              // distinct depth values
        int objects;             // object-table slots in use
        int bare;                // bare cells of the 1000 water cells
        int unique;              // distinct object masks
        int accuracy;            // the whole percentage printed
        std::vector<int> lines;  // indexes into kGradedLines
    };
    const std::vector<Case> cases = {
        {"sound", 100, 16, 0, 60, 39, {}},
        {"25 depths", 25, 16, 0, 60, 9, {0}},
        {"26 depths", 26, 16, 0, 60, 10, {4}},
        {"38 depths", 38, 16, 0, 60, 14, {4}},
        {"39 depths", 39, 16, 0, 60, 15, {8}},
        {"76 depths", 76, 16, 0, 60, 29, {8}},
        {"77 depths", 77, 16, 0, 60, 30, {}},
        {"4 objects", 100, 4, 0, 60, 39, {1}},
        {"5 objects", 100, 5, 0, 60, 39, {5}},
        {"6 objects", 100, 6, 0, 60, 39, {5}},
        {"7 objects", 100, 7, 0, 60, 39, {9}},
        {"15 objects", 100, 15, 0, 60, 39, {9}},
        {"16 objects", 100, 16, 0, 60, 39, {}},
        {"0.1 % bare", 100, 16, 1, 60, 39, {10}},
        {"10 % bare", 100, 16, 100, 60, 39, {10}},
        {"10.1 % bare", 100, 16, 101, 60, 39, {6}},
        {"50 % bare", 100, 16, 500, 60, 39, {6}},
        {"50.1 % bare", 100, 16, 501, 60, 39, {2}},
        {"10 unique areas", 100, 16, 0, 10, 39, {3}},
        {"11 unique areas", 100, 16, 0, 11, 39, {7}},
        {"29 unique areas", 100, 16, 0, 29, 39, {7}},
        {"30 unique areas", 100, 16, 0, 30, 39, {11}},
        {"59 unique areas", 100, 16, 0, 59, 39, {11}},
        {"60 unique areas", 100, 16, 0, 60, 39, {}},
        {"all at once", 25, 4, 501, 10, 9, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        std::vector<gamegen::PegCell> cells;
        int covered = 0;
        for (int i = 0; i < 1000; ++i) {
            const auto depth = static_cast<uint8_t>(1 + i % c.depths);
            const uint32_t mask = i < c.bare ? 0u : static_cast<uint32_t>(1 + covered++ % c.unique);
            cells.push_back({mask, depth});
        }
        game_.Write("pegs/lake/reed.dat", MakePegDataOfCells(c.objects, 4, 480, cells));
        const std::string text = Section(Peg(PegFile()));
        std::vector<std::string> expected;
        for (int line : c.lines) expected.push_back(kGradedLines[static_cast<size_t>(line)]);
        EXPECT_EQ(GradedLinesIn(text), expected) << c.name;
        EXPECT_TRUE(Holds(text, "\n\tDepth accuracy\t\t" + std::to_string(c.accuracy) + " %\n"))
            << c.name;
        EXPECT_TRUE(Holds(text, "\n\tUnique object areas\t" + std::to_string(c.unique) + "\n"))
            << c.name;
    }
}

TEST_F(PegSection, AGridWithoutWaterIsStillGraded) {
    game_.Write("pegs/lake/reed.dat", MakePegDataOfCells(16, 4, 480, {{5, 0}, {0, 0}}));
    const std::string text = Section(Peg(PegFile("[Distance]\nDPRatio=1\n")));
    EXPECT_TRUE(Holds(text,
                      "\n\tDepth areas\t\t0\n\tAverage depth\t\t0\"\n\tShallowest\t\t25' 0\""
                      "\n\tDeepest\t\t\t-100\"\n\tDepth accuracy\t\t0 %\n\tAdded objects\t\t16"
                      "\n\tUsed objects\t\t0\n\tBare areas\t\t0 ( 0.00 % )"
                      "\n\tUnique object areas\t0\n\tObject variation\t\t0.00 %\n"));
    EXPECT_EQ(GradedLinesIn(text), (std::vector<std::string>{kGradedLines[0], kGradedLines[3]}));
}

TEST_F(PegSection, DataThatCannotBeAnalysedShowsZerosAndIsNotGraded) {
    std::filesystem::create_directories(game_.Path() / "pegs" / "lake" / "folder.dat");
    const std::string sound =
        MakePegDataOfCells(5, 4, 4, std::vector<gamegen::PegCell>(120, gamegen::PegCell{1, 1}));
    auto withSize = [](int16_t height, int16_t width) {
        return MakePegDataOfCells(5, height, width,
                                  std::vector<gamegen::PegCell>(480, gamegen::PegCell{1, 1}));
    };
    {
        zipFile zip =
            zipOpen((game_.Path() / "pegs" / "lake.zip").string().c_str(), APPEND_STATUS_CREATE);
        ASSERT_NE(zip, nullptr);
        ASSERT_EQ(zipOpenNewFileInZip(zip, "REED.DAT", nullptr, nullptr, 0, nullptr, 0, nullptr,
                                      Z_DEFLATED, Z_DEFAULT_COMPRESSION),
                  ZIP_OK);
        zipWriteInFileInZip(zip, sound.data(), static_cast<unsigned>(sound.size()));
        zipCloseFileInZip(zip);
        zipClose(zip, nullptr);
    }
    struct Case {
        const char* name;
        std::string data;                  // the Data value
        std::optional<std::string> bytes;  // written to pegs/lake/reed.dat
        int addedObjects;
        bool notFound;
        bool cantRead;
    };
    const std::vector<Case> cases = {
        {"empty Data value", "", std::nullopt, 0, true, false},
        {"missing file", "pegs/lake/reed.dat", std::nullopt, 0, true, false},
        {"a folder", "pegs/lake/folder.dat", std::nullopt, 0, true, false},
        {"an archive path", ":pegs/lake.zip/reed.dat", std::nullopt, 0, false, false},
        {"empty file", "pegs/lake/reed.dat", "", 0, false, true},
        {"415 bytes", "pegs/lake/reed.dat", sound.substr(0, 415), 0, false, true},
        {"416 bytes", "pegs/lake/reed.dat", sound.substr(0, 416), 5, false, true},
        {"423 bytes", "pegs/lake/reed.dat", sound.substr(0, 423), 5, false, true},
        {"cell height 0", "pegs/lake/reed.dat", withSize(0, 4), 5, false, true},
        {"cell width 0", "pegs/lake/reed.dat", withSize(4, 0), 5, false, true},
        {"cell width -4", "pegs/lake/reed.dat", withSize(4, -4), 5, false, true},
        {"cell width 481", "pegs/lake/reed.dat", withSize(4, 481), 5, false, true},
    };
    const std::string zeros =
        "\n\tDepth areas\t\t0\n\tAverage depth\t\t0\"\n\tShallowest\t\t0\"\n\tDeepest\t\t\t0\""
        "\n\tDepth accuracy\t\t0 %\n\tAdded objects\t\t";
    const std::string zerosAfter =
        "\n\tUsed objects\t\t0\n\tBare areas\t\t0 ( 0.00 % )\n\tUnique object areas\t0"
        "\n\tObject variation\t\t0.00 %\n";
    // A sound peg analysed first, and one with a mask of its own in every
    // cell, leave nothing behind for the next.
    game_.Write("pegs/lake/sound.dat", withSize(4, 4));
    PegRecord soundPeg = Peg(PegFile());
    soundPeg.Data = "pegs/lake/sound.dat";
    std::vector<gamegen::PegCell> distinct;
    for (uint32_t i = 1; i <= 50000; ++i) distinct.push_back({i, 9});
    game_.Write("pegs/lake/distinct.dat", MakePegDataOfCells(5, 4, 1, distinct));
    PegRecord distinctPeg = Peg(PegFile());
    distinctPeg.Data = "pegs/lake/distinct.dat";
    for (const Case& c : cases) {
        std::filesystem::remove(game_.Path() / "pegs" / "lake" / "reed.dat");
        if (c.bytes) game_.Write("pegs/lake/reed.dat", *c.bytes);
        std::string content = PegFile();
        content.replace(content.find("Data=pegs/lake/reed.dat"), 23, "Data=" + c.data);
        ASSERT_TRUE(Holds(Section(distinctPeg), "\n\tUnique object areas\t49920\n")) << c.name;
        ASSERT_TRUE(Holds(Section(soundPeg), "\n\tDepth areas\t\t480\n")) << c.name;
        const std::string text = Section(Peg(content));
        EXPECT_TRUE(Holds(text, zeros + std::to_string(c.addedObjects) + zerosAfter)) << c.name;
        EXPECT_EQ(GradedLinesIn(text), std::vector<std::string>{}) << c.name;
        EXPECT_EQ(Holds(text, "\n\tError : Peg data file not found"), c.notFound) << c.name;
        EXPECT_EQ(Holds(text, "\n\tError : Peg data file can't be read"), c.cantRead) << c.name;
    }
    // The line follows the data file's other errors.
    game_.Write("[Unknown]", "too short");
    EXPECT_TRUE(Holds(Section(Peg("[Details]\nName=Bare\n")),
                      "\n\tError : No data file specified\n\tError : Peg data file can't be read"
                      "\n\tError : No peg records file specified"));
}

TEST_F(PegSection, DefaultsOfAPegFileWithoutFiles) {
    const std::string text = Section(Peg("[Details]\nName=Bare\nRef=2\n", "pegs/lake/bare.peg"));
    EXPECT_TRUE(Holds(text,
                      "\n\tImage file\t\t[Unknown]\n\tData file\t\t\t[Unknown]"
                      "\n\tRecords file\t\t[Unknown]\n\tStocks file\t\t[Unknown]"
                      "\n\tSound file\t\t[Unknown]\n\tDepth ratio\t\t1.00 ( max depth = "
                      "22' 0\" )\n\tTemperature factor\t1.00"));
    EXPECT_TRUE(Holds(text, "\n\tMax light penetration\t30' 0\"\n\tSea type\t\tNot sea\n"));
    EXPECT_FALSE(Holds(text, "Info file"));
    EXPECT_TRUE(
        Holds(text,
              "\n\tError : No peg image file specified\n\tError : Peg image file not found"
              "\n\tError : No data file specified\n\tError : Peg data file not found"
              "\n\tError : No peg records file specified\n\tError : No stocks file specified"
              "\n\tError : Peg stocks file not found"
              "\n\tWarning : No sounds file specified\n\tWarning : Peg sounds file not found"));
    // The records probe beside "[Unknown]" was written and went again.
    EXPECT_FALSE(game_.Exists("[Unknown]_test_.tmp"));
    EXPECT_FALSE(Holds(text, "Unable to write"));
}

TEST_F(PegSection, NameAndInfoFile) {
    const std::string unnamed = Section(Peg("[Details]\nRef=2\nDesc=\n"));
    EXPECT_TRUE(Holds(unnamed, "\n\nPeg details for [Unknown]\n"));
    EXPECT_TRUE(Holds(unnamed, "\n\tSound file\t\t[Unknown]\n\tInfo file\t\t\t\n\tDepth ratio"));
    EXPECT_TRUE(Holds(unnamed, "\n\tError : No peg name specified"));
    EXPECT_TRUE(Holds(unnamed, "\n\tError : Info file specified on Desc line is blank"));
    EXPECT_FALSE(Holds(unnamed, "Can't find the info file"));

    std::string content = PegFile();
    content.replace(content.find("about.txt"), 9, "gone.txt");
    const std::string missing = Section(Peg(content));
    EXPECT_TRUE(Holds(missing, "\n\tInfo file\t\t\tpegs/lake/gone.txt\n"));
    EXPECT_TRUE(Holds(missing, "\n\tWarning : Can't find the info file specified"));
    EXPECT_FALSE(Holds(missing, "Desc line is blank"));
    EXPECT_FALSE(Holds(Section(Peg(PegFile())), "info file"));
}

TEST_F(PegSection, EqualReferencesAreNamedOnEachPeg) {
    const std::vector<PegRecord> pegs = {Peg("[Details]\nRef=4\n", "a.peg"),
                                         Peg("[Details]\nRef=4\n", "b.peg"),
                                         Peg("[Details]\nRef=5\n", "c.peg")};
    const std::string_view line = "\n\tError : Peg reference is not unique on the venue";
    EXPECT_TRUE(Holds(Section(pegs[0], pegs), line));
    EXPECT_TRUE(Holds(Section(pegs[1], pegs), line));
    EXPECT_FALSE(Holds(Section(pegs[2], pegs), line));
}

TEST(SeaTypeName, NamesTheTenSeaTypes) {
    const std::vector<std::pair<int32_t, std::string_view>> cases = {
        {-1, "User sea type"},
        {0, "Not sea"},
        {1, "Sand beach"},
        {2, "Estuary"},
        {3, "Pier"},
        {4, "Rock"},
        {5, "Mud beach"},
        {6, "Shingle beach"},
        {7, "Sand / rock patches"},
        {8, "Deep open water"},
        {9, "Wreck"},
        {10, "User sea type"},
        {-2147483647 - 1, "User sea type"},
    };
    for (const auto& [seaType, name] : cases) EXPECT_EQ(SeaTypeName(seaType), name) << seaType;
}

TEST_F(PegSection, RecordsProbe) {
    const std::string_view warning = "\n\tWarning : Unable to write to the peg records file";
    // A records file in a folder that exists: the probe is written and goes.
    EXPECT_FALSE(Holds(Section(Peg(PegFile())), warning));
    EXPECT_FALSE(game_.Exists("pegs/lake/reed.rec_test_.tmp"));

    struct Case {
        const char* records;
        const char* leftOver;  // a file the probe must not leave behind
    };
    for (const Case& c : std::vector<Case>{{"nowhere/reed.rec", "nowhere"},
                                           {":lake", ":lake_test_.tmp"},
                                           {":pegs/lake.zip/reed.rec", ":pegs"}}) {
        std::string content = PegFile();
        content.replace(content.find("Records=pegs/lake/reed.rec"), 26,
                        std::string("Records=") + c.records);
        const std::string text = Section(Peg(content));
        EXPECT_TRUE(Holds(text, warning)) << c.records;
        EXPECT_FALSE(game_.Exists(c.leftOver)) << c.records;
        // Between the sounds checks and the graded warnings, in purple.
        const auto run = std::find_if(lastRuns_.begin(), lastRuns_.end(),
                                      [&](const StyledRun& r) { return Holds(r.text, warning); });
        ASSERT_NE(run, lastRuns_.end());
        EXPECT_EQ(run->style.colour, style::kWarning);
    }
}

}  // namespace
}  // namespace venuecheck
