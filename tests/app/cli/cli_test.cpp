// The command line's options, formats and exit statuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/version.h"
#include "gamegen/peg_data.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

using test::CommandResult;
using test::RunCommand;
using test::ShellQuote;
using test::TempFolder;

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        // Two venues named alike but for letter case, and a clean one.
        game_.Write("venues/a.ven", "[Details]\nName=Lake\nRef=L1\n");
        game_.Write("venues/b.ven", "[Details]\nName=LAKE\nRef=L2\n");
        game_.Write("venues/c.ven", Clean());
        game_.Write("weather.wea", "");
        // The clean venue's one peg: every file it names exists and its grid
        // passes every grade.
        game_.Write("pegs/p1.peg",
                    "[Details]\nName=P1\nRef=1\n[Files]\nImage=pegs\\p1.bmp\nData=pegs\\p1.dat\n"
                    "Records=pegs\\p1.rec\nFish=pegs\\p1.fsh\nSounds=pegs\\p1.wav\n");
        game_.Write("pegs/p1.dat", gamegen::MakePegData({}));
        for (const char* file : {"pegs/p1.bmp", "pegs/p1.fsh", "pegs/p1.wav"}) {
            game_.Write(file, "");
        }
    }

    static std::string Clean() {
        return std::string("\xF0\xD0\xE0\x90\x96", 5) + std::string(46, '\0') +
               Scrambled(
                   "[Details]\nName=Quiet \"Water\"\nRef=QW\nDir=pegs\\*.peg\n"
                   "Lastpeg=pegs\\last.txt\nRecords=pegs\\rec.txt\n[Weather]\n"
                   "Weather=weather.wea\nLookup=pegs\\look.txt\n");
    }

    static std::string Scrambled(const std::string& plain) {
        static const int target[8] = {4, 6, 2, 1, 5, 3, 7, 0};
        std::string out;
        for (unsigned char c : plain) {
            unsigned char s = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (c & (1u << bit)) s = static_cast<unsigned char>(s | (1u << target[bit]));
            }
            out.push_back(static_cast<char>(s));
        }
        return out;
    }

    CommandResult Run(const std::string& arguments) const {
        return RunCommand(ShellQuote(VENUECHECK_BINARY) + " --game-dir " +
                          ShellQuote(game_.Path().string()) + " " + arguments);
    }

    TempFolder game_;
};

TEST_F(CommandLine, ListsTheVenuesInCatalogueOrder) {
    const CommandResult r = Run("--list");
    EXPECT_EQ(r.status, 0);
    // "Lake" and "LAKE" compare equal: they keep the reverse of their discovery.
    EXPECT_EQ(r.out, "LAKE\nLake\nQuiet \"Water\"\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(CommandLine, SelectsVenuesByNameAndPosition) {
    struct Case {
        std::string arguments;
        std::string reference;  // of the venue checked
        int status;
    };
    const Case cases[] = {
        {"--venue Lake", "L1", 1},  // exact match first
        {"--venue LAKE", "L2", 1},
        {"--venue lake", "L2", 1},  // then the first without regard to case
        {"--index 1", "L1", 1},
        {"--venue 'quiet \"water\"'", "QW", 0},
    };
    for (const auto& c : cases) {
        const CommandResult r = Run(c.arguments + " --format text");
        EXPECT_EQ(r.status, c.status) << c.arguments;
        EXPECT_NE(r.out.find("\n\tReference\t\t" + c.reference + "\n"), std::string::npos)
            << c.arguments;
        EXPECT_EQ(r.err.substr(0, 17), "1 venues checked:") << c.arguments;
    }
}

TEST_F(CommandLine, ChecksEveryVenueByDefaultAndCountsFindings) {
    const CommandResult r = Run("--format text");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "3 venues checked: 12 errors, 2 warnings, 0 advice\n");
    // Each check run is the pane's text followed by one line break.
    EXPECT_EQ(r.out.substr(0, 21), "LAKE by [Unknown] ( [");
    EXPECT_NE(r.out.find(" )\n\nVenue details"), std::string::npos);
    EXPECT_NE(
        r.out.find("wiser to scramble these.\n\nStock file summary\nNo stocks loaded\nLake by"),
        std::string::npos);

    const CommandResult clean = Run("--venue 'Quiet \"Water\"' --format text");
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.err, "1 venues checked: 0 errors, 0 warnings, 0 advice\n");
}

TEST_F(CommandLine, SeverityAndIgnoredRulesLeaveLinesOutOfEveryCount) {
    struct Case {
        std::string arguments;
        std::string counts;
        int status;
        std::vector<std::string> absent;   // lines the report no longer holds
        std::vector<std::string> present;  // lines it still holds
    };
    const std::string notScrambled = "\tWarning : Venue file not scrambled";
    const std::string noReference = "\tError : Venue reference exceeds";
    const Case cases[] = {
        {"--quiet", "3 venues checked: 12 errors, 0 warnings, 0 advice", 1, {notScrambled}, {}},
        {"--min-severity error",
         "3 venues checked: 12 errors, 0 warnings, 0 advice",
         1,
         {notScrambled},
         {}},
        {"--min-severity warning",
         "3 venues checked: 12 errors, 2 warnings, 0 advice",
         1,
         {},
         {notScrambled}},
        {"--ignore venue-not-scrambled",
         "3 venues checked: 12 errors, 0 warnings, 0 advice",
         1,
         {notScrambled},
         {}},
        // Only in the files the glob matches, without regard to case.
        {"--ignore venue-not-scrambled:VENUES/A.*",
         "3 venues checked: 12 errors, 1 warnings, 0 advice",
         1,
         {},
         {notScrambled}},
        {"--ignore venue-last-peg-line-missing --ignore venue-no-pegs-loaded:venues/?.ven",
         "3 venues checked: 8 errors, 2 warnings, 0 advice",
         1,
         {"LastPeg line isn't present", "No pegs loaded"},
         {notScrambled}},
    };
    for (const Case& c : cases) {
        const CommandResult r = Run(c.arguments + " --format text");
        EXPECT_EQ(r.status, c.status) << c.arguments;
        EXPECT_EQ(r.err, c.counts + "\n") << c.arguments;
        for (const auto& line : c.absent)
            EXPECT_EQ(r.out.find(line), std::string::npos) << c.arguments;
        for (const auto& line : c.present)
            EXPECT_NE(r.out.find(line), std::string::npos) << c.arguments;
        EXPECT_EQ(r.out.find(noReference), std::string::npos);
    }
}

TEST_F(CommandLine, MoreWarningsThanAllowedFail) {
    // A venue whose only finding is a warning: it is not scrambled.
    game_.Write("venues/d.ven",
                "[Details]\nName=Plain\nRef=PL\nDir=pegs\\*.peg\n"
                "Lastpeg=pegs\\last.txt\nRecords=pegs\\rec.txt\n[Weather]\n"
                "Weather=weather.wea\nLookup=pegs\\look.txt\n");
    const struct {
        const char* arguments;
        int status;
    } cases[] = {
        {"--venue Plain", 0},
        {"--venue Plain --max-warnings 1", 0},
        {"--venue Plain --max-warnings 0", 1},
        {"--venue Plain --max-warnings 0 --ignore venue-not-scrambled", 0},
    };
    for (const auto& c : cases) {
        const CommandResult r = Run(std::string(c.arguments) + " --format text");
        EXPECT_EQ(r.status, c.status) << c.arguments;
    }
}

TEST_F(CommandLine, BadValuesOfTheFindingOptionsAreUsageErrors) {
    const struct {
        const char* arguments;
        const char* error;  // the start of the one line on standard error
    } cases[] = {
        {"--ignore no-such-rule", "venuecheck: unknown rule 'no-such-rule' (see --list-rules)\n"},
        {"--ignore peg-sounds-missing:pegs\\\\*",
         "venuecheck: bad glob 'pegs\\*': write '/' between folders\n"},
        {"--max-warnings -1", "venuecheck: --max-warnings: Value -1 "},
        {"--max-warnings many", "venuecheck: --max-warnings: Value many "},
        {"--min-severity fatal", "venuecheck: --min-severity: fatal not in {"},
        {"--quiet --min-severity advice", "venuecheck: --min-severity excludes --quiet"},
        {"--format xml", "venuecheck: --format: xml not in {"},
        // Words with line breaks are named escaped: the error stays one line.
        {"--venue 'two\nlines'", "venuecheck: no venue named 'two\\nlines'\n"},
        {"--ignore 'peg-sounds-missing:[a\tb\x01'",
         "venuecheck: bad glob '[a\\tb\\x01': only '*' and '?' are wildcards\n"},
    };
    for (const auto& c : cases) {
        const CommandResult r = Run(c.arguments);
        EXPECT_EQ(r.status, 2) << c.arguments;
        EXPECT_EQ(r.out, "") << c.arguments;
        EXPECT_EQ(r.err.substr(0, std::string(c.error).size()), c.error) << c.arguments;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

TEST_F(CommandLine, ListsTheRulesAndTellsItsVersion) {
    const CommandResult rules = RunCommand(ShellQuote(VENUECHECK_BINARY) + " --list-rules");
    EXPECT_EQ(rules.status, 0);
    EXPECT_EQ(rules.out.substr(0, 20), "venue-no-pegs-loaded");
    EXPECT_NE(rules.out.find("\nstock-size-above-maximum "), std::string::npos);
    const CommandResult json =
        RunCommand(ShellQuote(VENUECHECK_BINARY) + " --list-rules --format json");
    EXPECT_EQ(json.status, 0);
    EXPECT_NE(json.out.find(
                  "\"rules\": [\n    {\"id\": \"venue-no-pegs-loaded\", \"severity\": \"error\""),
              std::string::npos);
    const CommandResult sarif =
        RunCommand(ShellQuote(VENUECHECK_BINARY) + " --list-rules --format sarif");
    EXPECT_EQ(sarif.status, 2);

    const CommandResult version = RunCommand(ShellQuote(VENUECHECK_BINARY) + " --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "venuecheck " + std::string(kVersion) + "\n");
}

TEST_F(CommandLine, WritesRunsAsJsonLines) {
    const CommandResult r = Run("--index 2 --format runs");
    EXPECT_EQ(r.status, 0);
    const std::string head =
        "{\"check\": 2, \"venue\": \"Quiet \\\"Water\\\"\"}\n"
        "{\"text\": \"Quiet \\\"Water\\\" by [Unknown] ( [Unknown] )\\n\\n\", \"font\": "
        "\"Tahoma\", "
        "\"size\": 280, \"colour\": [0, 0, 140], \"bold\": false}\n"
        "{\"text\": \"Venue details\", \"font\": \"Tahoma\", \"size\": 220, \"colour\": [0, 0, 0], "
        "\"bold\": true}\n"
        "{\"text\": "
        "\"\\n\\tFile-name\\t\\tvenues/c.ven\\n\\tReference\\t\\tQW\\n\\tScrambled\\t\\tYes";
    EXPECT_EQ(r.out.substr(0, head.size()), head);
}

TEST_F(CommandLine, WritesAnsiAndHtml) {
    const CommandResult ansi = Run("--index 0 --format ansi");
    EXPECT_NE(ansi.out.find("\x1b[0;38;2;200;0;0m\n\tError : "), std::string::npos);
    EXPECT_NE(ansi.out.find("\x1b[0;1mVenue details"), std::string::npos);
    EXPECT_EQ(ansi.out.substr(ansi.out.size() - 5), "\x1b[0m\n");

    const CommandResult html = Run("--format html");
    EXPECT_EQ(html.out.substr(0, 15), "<!DOCTYPE html>");
    EXPECT_NE(html.out.find("<section class=\"check\" id=\"check-2\" aria-label=\"Quiet "
                            "&quot;Water&quot;\">"),
              std::string::npos);
    EXPECT_NE(html.out.find("<span class=\"ln f e\" data-rule=\"venue-no-pegs-loaded\""),
              std::string::npos);
    EXPECT_NE(html.out.find("<a href=\"#check-2\">Quiet &quot;Water&quot;</a>"), std::string::npos);
    EXPECT_EQ(html.out.substr(html.out.size() - 8), "</html>\n");
}

TEST_F(CommandLine, WritesToAFileWithOutput) {
    TempFolder out;
    const std::string file = (out.Path() / "report.txt").string();
    const CommandResult r = Run("--index 2 --output " + ShellQuote(file));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    // A file gets plain text unless a format is asked for.
    EXPECT_EQ(test::ReadWholeFile(file).substr(0, 16), "Quiet \"Water\" by");
}

TEST(CommandLineErrors, AnswerWithStatusTwoAndOneLine) {
    TempFolder game;
    game.Write("venues/a.ven", "[Details]\nName=Lake\n");
    const std::string binary = ShellQuote(VENUECHECK_BINARY);
    const std::string dir = " --game-dir " + ShellQuote(game.Path().string());
    const std::string cases[] = {
        binary + " --game-dir " + ShellQuote((game.Path() / "missing").string()),
        binary + dir + " --venue Pond",
        binary + dir + " --index 1",
        binary + dir + " --index -1",
        binary + dir + " --format xml",
        binary + dir + " --list --all",
        binary + dir + " --index 0 --venue Lake",
        binary + dir + " --bogus",
        binary + dir + " --output " + ShellQuote((game.Path() / "no" / "such" / "file").string()),
    };
    for (const auto& command : cases) {
        const CommandResult r = RunCommand(command);
        EXPECT_EQ(r.status, 2) << command;
        EXPECT_EQ(r.out, "") << command;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << command << ": " << r.err;
        EXPECT_EQ(r.err.substr(0, 12), "venuecheck: ") << command;
    }
    EXPECT_EQ(RunCommand(binary + " --help").status, 0);
}

TEST_F(CommandLine, ListsTheFilesItReadWhenAsked) {
    // For measurements: every file whose content a run reads, once, in the
    // order read. The scrambled venue is read once; its plain copy is only
    // written and deleted.
    const std::string list = (game_.Path() / "read.txt").string();
    const std::string root = game_.Path().string() + "/";
    EXPECT_EQ(
        Run("--index 2 --format text --output /dev/null --files-read " + ShellQuote(list)).status,
        0);
    EXPECT_EQ(test::ReadWholeFile(list), root + "venues/a.ven\n" + root + "venues/b.ven\n" + root +
                                             "venues/c.ven\n" + root + "pegs/p1.peg\n" + root +
                                             "pegs/p1.dat\n" + root + "pegs/p1.fsh\n");
    EXPECT_EQ(Run("--list --files-read " + ShellQuote(list)).status, 0);
    EXPECT_EQ(test::ReadWholeFile(list),
              root + "venues/a.ven\n" + root + "venues/b.ven\n" + root + "venues/c.ven\n");
}

TEST(CommandLineErrors, AGameFolderWithoutVenueFilesIsAnError) {
    // Almost always the wrong folder: an error, with --list too, not a
    // success that checked nothing.
    TempFolder game;
    game.Write("species/roach.spc", "NAME Roach\n");
    const std::string dir = game.Path().string();
    for (const char* arguments : {" --format text", " --list"}) {
        const CommandResult r = RunCommand(ShellQuote(VENUECHECK_BINARY) + " --game-dir " +
                                           ShellQuote(dir) + arguments);
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_EQ(r.out, "") << arguments;
        EXPECT_EQ(r.err, "venuecheck: no venue files in '" + dir + "/venues': is " + dir +
                             " the game folder?\n")
            << arguments;
    }
}

}  // namespace
}  // namespace venuecheck
