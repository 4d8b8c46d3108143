#include "venues/venue_report.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/game_folder.h"
#include "report/check_record.h"
#include "report/recording_pane.h"
#include "report/report.h"
#include "support/test_support.h"
#include "venues/venue_catalogue.h"

namespace venuecheck {
namespace {

using test::TempFolder;

// The report's lines with the colour each was written in, one string per
// run: "RRGGBB|text".
std::vector<std::string> ColouredRuns(const RecordingPane& pane) {
    std::vector<std::string> out;
    for (const auto& run : pane.Runs()) {
        char colour[16];
        std::snprintf(colour, sizeof colour, "%02x%02x%02x%s|", run.style.colour.red,
                      run.style.colour.green, run.style.colour.blue, run.style.bold ? "B" : "");
        out.push_back(colour + std::to_string(run.style.size) + "|" + run.text);
    }
    return out;
}

std::vector<std::string> ListFiles(const std::filesystem::path& root) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        files.push_back(std::filesystem::relative(entry.path(), root).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(WriteVenueReport, WritesEveryLineOfAFaultyVenueInOrderAndColour) {
    TempFolder game;
    const GameFolder folder(game.Path());
    VenueRecord venue =
        ReadVenueFile("[Details]\nName=\nRef=REFERENCE10\xFF\nDesc=\n", "venues/bad.ven", false);
    venue.Name = std::string(31, '&');  // also too long, with ampersands
    venue.Flags |= kNameTooLong | kNameAmpersand;
    const auto before = ListFiles(game.Path());

    RecordingPane pane;
    Report report(pane);
    EXPECT_TRUE(WriteVenueReport(folder, report, &venue, 0));
    const std::vector<std::string> expected = {
        "00008c|280|" + std::string(31, '&') + " by [Unknown] ( [Unknown] )\n\n",
        "000000B|220|Venue details",
        "000000|200|\n\tFile-name\t\tvenues/"
        "bad.ven\n\tReference\t\tREFERENCE10\xFF\n\tScrambled\t\tNo"
        "\n\tPegs\t\t\t0\n\tPeg Folder\t\t[Unknown]\n\tInfo file\t\t\t\n\tRecords file\t\t[Unknown]"
        "\n\tLast peg file\t\t[Unknown]\n\tLevel\t\t\t1.00\n\tWeather file\t\t[Unknown]"
        "\n\tTemp lookup file\t\t[Unknown]\n\tTemp model\t\tTypical medium depth lake"
        "\n\tTemp fact\t\t1.00\n",
        "c80000|200|\n\tError : No pegs loaded"
        "\n\tError : No venue name specified"
        "\n\tError : Venue name is more than 30 characters long"
        "\n\tError : Venue name contains the & character"
        "\n\tError : Venue reference exceeds 9 characters"
        "\n\tError : Venue reference contains illegal characters"
        "\n\tError : PegDir line isn't present"
        "\n\tError : LastPeg line isn't present"
        "\n\tError : Records line isn't present"
        "\n\tError : Lookup line isn't present"
        "\n\tError : Can't find the weather file specified"
        "\n\tError : Info file specified is blank",
        "780078|200|\n\tWarning : Venue file not scrambled, it's wiser to scramble these.",
    };
    EXPECT_EQ(ColouredRuns(pane), expected);
    EXPECT_EQ(report.Counts().errors, 12);
    EXPECT_EQ(report.Counts().warnings, 1);
    // The probes of "[Unknown]" files left nothing behind.
    EXPECT_EQ(ListFiles(game.Path()), before);
}

TEST(WriteVenueReport, ProbesOutputFilesAndWarnsAboutFolders) {
    TempFolder game;
    game.Write("Pegs/Lake/lastpeg.txt", "peg 3");
    game.Write("weather/mild.wea", "");
    game.Write("info.txt", "");
    std::filesystem::create_directories(game.Path() / "pegs" / "Lake" / "locked");
    const GameFolder folder(game.Path());
    VenueRecord venue = ReadVenueFile(
        "[Details]\nName=Lake\nRef=LAKE\nCreator=Ann\nDate=2026\nLevel=2.5\n"
        "Dir=pegs\\lake\\*.peg\nLastpeg=pegs/lake/LASTPEG.TXT\nRecords=pegs/records.txt\n"
        "Desc=missing.txt\n[Weather]\nWeather=WEATHER\\MILD.WEA\nLookup=nowhere\\look.txt\n"
        "Tempmodel=7\nTempfact=0.5\n",
        "venues/lake.ven", true);

    RecordingPane pane;
    Report report(pane);
    WriteVenueReport(folder, report, &venue, 12);
    const std::string text = pane.PlainText();
    EXPECT_NE(text.find("\n\tPegs\t\t\t12\n"), std::string::npos);
    EXPECT_NE(text.find("\n\tScrambled\t\tYes"), std::string::npos);
    EXPECT_NE(text.find("\n\tTemp model\t\tUser temp model"), std::string::npos);
    const auto runs = ColouredRuns(pane);
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[3], "c80000|200|\n\tError : Unable to write the temp look up file");
    EXPECT_EQ(runs[4],
              "780078|200|\n\tWarning : Can't find the info file specified"
              "\n\tWarning : Records file not in same folder as peg folder"
              "\n\tWarning : Temp lookup file not in same folder as peg folder");
    // The existing last-peg file is never probed; nothing new is left.
    EXPECT_EQ(game.Read("Pegs/Lake/lastpeg.txt"), "peg 3");
    EXPECT_FALSE(game.Exists("Pegs/records.txt_test_.tmp"));
    EXPECT_FALSE(game.Exists("nowhere"));
}

TEST(WriteVenueReport, WarnsInRedWhenTheRecordsFolderCannotBeWritten) {
    TempFolder game;
    game.Write("weather.wea", "");
    const GameFolder folder(game.Path());
    VenueRecord venue = ReadVenueFile(
        "[Details]\nName=N\nRef=R\nDir=x/*.peg\nLastpeg=x/l.txt\nRecords=gone/records.txt\n"
        "[Weather]\nWeather=weather.wea\nLookup=x/l2.txt\n",
        "venues/v.ven", true);
    std::filesystem::create_directories(game.Path() / "x");
    RecordingPane pane;
    Report report(pane);
    WriteVenueReport(folder, report, &venue, 1);
    const auto runs = ColouredRuns(pane);
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[3], "c80000|200|\n\tWarning : Unable to write to the records file");
    EXPECT_EQ(report.Counts().warnings, 2);
    EXPECT_EQ(report.Counts().errors, 0);
}

TEST(WriteVenueReport, ProbesOfNamesThatReadAsArchivePathsLeaveNothing) {
    // Windows cannot create such names; here the probe can, but it cannot
    // find them again, so they must go all the same.
    TempFolder game;
    const GameFolder folder(game.Path());
    VenueRecord venue = ReadVenueFile(
        "[Details]\nName=N\nRef=R\nDir=*.peg\nLastpeg=:last.txt\nRecords=:rec\n[Weather]\nLookup=:"
        "look\n",
        "venues/v.ven", true);
    RecordingPane pane;
    Report report(pane);
    WriteVenueReport(folder, report, &venue, 1);
    const std::string text = pane.PlainText();
    EXPECT_NE(text.find("Unable to write to the records file"), std::string::npos);
    EXPECT_NE(text.find("Unable to write the last peg fished to file"), std::string::npos);
    EXPECT_NE(text.find("Unable to write the temp look up file"), std::string::npos);
    EXPECT_TRUE(ListFiles(game.Path()).empty());
}

TEST(WriteVenueReport, OnlyClearsThePaneWithoutAVenue) {
    TempFolder game;
    RecordingPane pane;
    pane.PaneAppend("old report");
    Report report(pane);
    EXPECT_FALSE(WriteVenueReport(GameFolder(game.Path()), report, nullptr, 3));
    EXPECT_TRUE(pane.Runs().empty());
}

TEST(TempModelName, NamesEveryModel) {
    EXPECT_EQ(TempModelName(1), "Typical medium depth lake");
    EXPECT_EQ(TempModelName(6), "Very large lake / sea");
    for (int other : {0, -1, 7, 1000}) EXPECT_EQ(TempModelName(other), "User temp model");
}

}  // namespace
}  // namespace venuecheck

namespace venuecheck {
namespace {

TEST(WriteVenueReport, FindingsPointAtTheKeysLineInTheVenueFile) {
    TempFolder game;
    const std::string content =
        "[Details]\n"                   // 1
        "Name=A name with & in it\n"    // 2
        "Ref=MUCHTOOLONGREF\n"          // 3
        "Dir=pegs\\lake\\*.peg\n"       // 4
        "Records=elsewhere\\rec.txt\n"  // 5
        "[Weather]\n"                   // 6
        "Weather=weather\\Lake.wea\n";  // 7
    game.Write("Venues/Lake.ven", content);
    game.Write("Weather/.keep", "");
    GameFolder folder(game.Path());
    const VenueRecord venue = ReadVenueFile(content, "venues/lake.ven", false);
    CheckRecorder recorder;
    Report report(recorder, &recorder);
    report.SetFolder(&folder);
    report.BeginCheck(4, venue.Name, venue.Path);
    WriteVenueReport(folder, report, &venue, 1);

    std::vector<std::string> places;
    for (const auto& recorded : recorder.Findings()) {
        const Finding& f = recorded.finding;
        places.push_back(std::string(RuleOf(f.rule).id) + " " + f.file + ":" +
                         std::to_string(f.line) + " " + f.key + (f.names.empty() ? "" : " -> ") +
                         f.names);
        EXPECT_EQ(f.venueIndex, 4);
        EXPECT_EQ(f.venueFile, "Venues/Lake.ven");
        // The pane shows each finding's line where the finding says.
        EXPECT_EQ(recorder.PlainText().substr(recorded.textOffset, PaneLine(f).size()),
                  PaneLine(f));
    }
    EXPECT_EQ(places, (std::vector<std::string>{
                          "venue-name-ampersand Venues/Lake.ven:2 [Details] Name",
                          "venue-reference-too-long Venues/Lake.ven:3 [Details] Ref",
                          "venue-last-peg-line-missing Venues/Lake.ven:1 [Details] Lastpeg",
                          "venue-lookup-line-missing Venues/Lake.ven:6 [Weather] Lookup",
                          "venue-records-not-writable Venues/Lake.ven:5 [Details] Records -> "
                          "elsewhere/rec.txt",
                          "venue-weather-not-found Venues/Lake.ven:7 [Weather] Weather -> "
                          "Weather/Lake.wea",
                          "venue-not-scrambled Venues/Lake.ven:0 ",
                          "venue-records-outside-peg-folder Venues/Lake.ven:5 [Details] Records",
                          "venue-last-peg-outside-peg-folder Venues/Lake.ven:1 [Details] Lastpeg",
                          "venue-lookup-outside-peg-folder Venues/Lake.ven:6 [Weather] Lookup",
                      }));
}

}  // namespace
}  // namespace venuecheck
