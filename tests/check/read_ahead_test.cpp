// Check runs that read ahead of their turn against the same runs done in
// turn: the run's own probes and temporary copies create, change and delete
// files, and a peg's Data value or a stock file's name may lead to one of
// them. Whatever the folder holds, the report, the files read and the folder
// left behind must be the same.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "check/checker.h"
#include "common/scrambled_file.h"
#include "report/recording_pane.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// A peg data file of one cell a row (cell width 480), a different mask and
// depth in each, 20 objects.
std::string Grid(int cells, int seed) {
    std::string bytes(424, '\0');
    for (int slot = 0; slot < 20; ++slot) bytes[static_cast<size_t>(slot) * 13] = 1;
    bytes[416] = 4;
    bytes[418] = static_cast<char>(480 & 0xFF);
    bytes[419] = static_cast<char>(480 >> 8);
    for (int i = 0; i < cells; ++i) {
        const auto mask = static_cast<uint32_t>((i * 7 + seed) % 97 + 1);
        for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<char>(mask >> (8 * b)));
        bytes.push_back(static_cast<char>(1 + (i + seed) % 200));
        bytes.append(2, '\0');
    }
    return bytes;
}

std::string Peg(int ref, const std::string& data) {
    const std::string stem = "pegs\\p" + std::to_string(ref);
    return "[Details]\nName=P" + std::to_string(ref) + "\nRef=" + std::to_string(ref) +
           "\n[Files]\nImage=" + stem + ".bmp\nData=" + data + "\nRecords=" + stem +
           ".rec\nFish=" + stem + ".fsh\nSounds=" + stem + ".wav\n";
}

// A venue of six pegs, each with its own grid and stocks file; `change`
// then makes the case.
void MakeGame(const TempFolder& game, const std::function<void(const TempFolder&)>& change) {
    game.Write("maxsize.txt", "1 4000 Roach\n");
    game.Write("species/roach.sp", "REF ROACH\nNAME Roach\nMAXSIZE 4000\nEND\n");
    game.Write("venues/a.ven",
               "[Details]\nName=Water\nRef=W\nDir=pegs\\*.peg\nRecords=pegs\\r.txt\n");
    game.Write("stocks/s1.stk", Scramble("REF ROACH\nNAME Plain roach\nQTY 20\nEND\n"));
    game.Write("stocks/s2.stk", "REF ROACH\nNAME Roach two\nQTY 30\nEND\n");
    fs::create_directories(game.Path() / "data");
    for (int ref = 1; ref <= 6; ++ref) {
        const std::string stem = "pegs/p" + std::to_string(ref);
        game.Write(stem + ".peg", Peg(ref, "pegs\\p" + std::to_string(ref) + ".dat"));
        game.Write(stem + ".dat", Grid(300 + 50 * ref, ref));
        game.Write(stem + ".fsh", "1 stocks\\s1.stk roach [None]\n2 stocks\\s2.stk roach [None]\n");
    }
    change(game);
}

struct Outcome {
    std::string report;
    std::vector<std::string> read;  // the files read, relative, in order
    std::vector<std::string> left;  // the folder afterwards: each file and its bytes
};

Outcome CheckAll(const std::function<void(const TempFolder&)>& change, bool readAhead) {
    TempFolder game;
    MakeGame(game, change);
    Outcome outcome;
    GameFolder folder(game.Path());
    folder.OnFileRead([&](const fs::path& path) {
        outcome.read.push_back(fs::relative(path, game.Path()).generic_string());
    });
    Checker checker(std::move(folder), readAhead);
    checker.StartUp();
    for (int position = 0; position < static_cast<int>(checker.VenueNames().size()); ++position) {
        RecordingPane pane;
        Report report(pane);
        checker.CheckRun(position, report);
        outcome.report += pane.PlainText();
    }
    for (const auto& entry : fs::recursive_directory_iterator(game.Path())) {
        std::string line = fs::relative(entry.path(), game.Path()).generic_string();
        if (entry.is_regular_file()) line += " " + test::ReadWholeFile(entry.path());
        outcome.left.push_back(line);
    }
    std::sort(outcome.left.begin(), outcome.left.end());
    return outcome;
}

struct AheadCase {
    const char* name;
    std::function<void(const TempFolder&)> change;
};

void SetData(const TempFolder& game, int ref, const std::string& data) {
    game.Write("pegs/p" + std::to_string(ref) + ".peg", Peg(ref, data));
}

const AheadCase kCases[] = {
    {"nothing of the run's own", [](const TempFolder&) {}},
    {"a grid that an earlier peg's records probe appends to and deletes",
     [](const TempFolder& g) {
         g.Write("pegs/p1.rec_test_.tmp", Grid(500, 9));
         SetData(g, 3, "pegs\\p1.rec_test_.tmp");
         SetData(g, 4, "PEGS\\P2.REC_TEST_.TMP");
     }},
    {"a second name of a grid that a records probe appends to",
     [](const TempFolder& g) {
         g.Write("pegs/p2.rec_test_.tmp", Grid(400, 5));
         fs::remove(g.Path() / "pegs" / "p4.dat");
         fs::create_hard_link(g.Path() / "pegs" / "p2.rec_test_.tmp", g.Path() / "pegs" / "p4.dat");
     }},
    {"a grid named in another letter case before its probe makes the name",
     [](const TempFolder& g) {
         g.Write("pegs/P3.REC_test_.tmp", Grid(350, 2));
         SetData(g, 5, "pegs\\p3.rec_test_.tmp");
     }},
    {"a grid reached through a link to a probe file",
     [](const TempFolder& g) {
         g.Write("pegs/p1.rec_test_.tmp", Grid(450, 4));
         fs::create_symlink("p1.rec_test_.tmp", g.Path() / "pegs" / "link.dat");
         SetData(g, 2, "pegs\\link.dat");
         fs::create_symlink("p4.dat", g.Path() / "pegs" / "p5link.dat");
         SetData(g, 6, "pegs\\p5link.dat");
     }},
    {"a stock file that the temporary plain copy overwrites and deletes",
     [](const TempFolder& g) {
         g.Write("data/_temp.dat", "REF ROACH\nNAME Left over\nQTY 5\nEND\n");
         g.Write("pegs/p6.fsh", "1 data\\_temp.dat roach [None]\n2 stocks\\s1.stk roach [None]\n");
     }},
    {"a peg file and a stocks file that are probe files",
     [](const TempFolder& g) {
         g.Write("pegs/p1.fsh_test_.tmp", "1 stocks\\s2.stk roach [None]\n");
         g.Write("pegs/p2.peg",
                 "[Details]\nName=P2\nRef=2\n[Files]\nData=pegs\\p2.dat\nRecords=pegs\\p1.fsh\n"
                 "Fish=pegs\\p1.fsh_test_.tmp\n");
         g.Write("pegs/r.txt_test_.tmp", Grid(320, 1));
         SetData(g, 1, "pegs\\r.txt_test_.tmp");
     }},
};

class ReadAheadCheck : public ::testing::TestWithParam<AheadCase> {};

TEST_P(ReadAheadCheck, GivesWhatTheRunInTurnGives) {
    const Outcome inTurn = CheckAll(GetParam().change, false);
    const Outcome ahead = CheckAll(GetParam().change, true);
    EXPECT_EQ(ahead.report, inTurn.report);
    EXPECT_EQ(ahead.read, inTurn.read);
    EXPECT_EQ(ahead.left, inTurn.left);
    // The cases are made to matter: some peg's figures are told.
    EXPECT_NE(inTurn.report.find("Depth areas"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(RunsOwnFiles, ReadAheadCheck, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<AheadCase>& param) {
                             std::string name = param.param.name;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace venuecheck
