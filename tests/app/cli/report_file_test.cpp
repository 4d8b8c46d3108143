// --output FILE: a regular file gets the whole report or keeps what it held;
// a device, a pipe or a link is written directly. A failure says so in one
// line and exits 2.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "../../../fuzz/folder_snapshot.h"
#include "gamegen/synthetic_game.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

namespace fs = std::filesystem;
using test::CommandResult;
using test::RunCommand;
using test::ShellQuote;
using test::TempFolder;

constexpr std::string_view kOldReport = "the report of an earlier run\n";

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ReportFile : public ::testing::Test {
protected:
    void SetUp() override {
        gamegen::GameSpec spec;
        spec.pegs = 3;
        spec.rows = 20;
        spec.stockFiles = 20;
        spec.species = 6;
        spec.venues = 2;
        spec.smallPegs = 1;
        spec.scrambledPercent = 100;
        const auto summary = gamegen::MakeGame(spec, game_.Path() / "game");
        ASSERT_TRUE(summary.Ok()) << summary.error;
        out_.Write("report.txt", kOldReport);
        report_ = Path("report.txt");
    }

    std::string Path(const std::string& name) const { return (out_.Path() / name).string(); }

    // The command line on the game; `before` goes in front of it in the shell.
    CommandResult Run(const std::string& arguments, const std::string& before = "") const {
        return RunCommand(before + ShellQuote(VENUECHECK_BINARY) + " --game-dir " +
                          ShellQuote((game_.Path() / "game").string()) + " --format text " +
                          arguments);
    }

    std::string WholeReport() const { return Run("").out; }

    TempFolder game_;
    TempFolder out_;
    std::string report_;
};

TEST_F(ReportFile, TakesThePlaceOfTheFileOnlyWhenWhole) {
    const std::string whole = WholeReport();
    ASSERT_GT(whole.size(), 4096u);
    ASSERT_EQ(chmod(report_.c_str(), 0640), 0);

    CommandResult r = Run("--output " + ShellQuote(report_));
    EXPECT_EQ(r.status, 1);  // the generated game has errors on purpose
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(test::ReadWholeFile(report_), whole);
    EXPECT_EQ(Names(out_.Path()), std::vector<std::string>{"report.txt"});
    struct stat st {};
    ASSERT_EQ(stat(report_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);  // the permissions of the file replaced

    // A new file, and a run that writes nothing but the venue list.
    r = Run("--output " + ShellQuote(Path("new.txt")));
    EXPECT_EQ(test::ReadWholeFile(Path("new.txt")), whole);
    r = Run("--list --output " + ShellQuote(report_));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(test::ReadWholeFile(report_), Run("--list").out);
    EXPECT_EQ(Names(out_.Path()), (std::vector<std::string>{"new.txt", "report.txt"}));
}

TEST_F(ReportFile, AFailureLeavesTheOldReportAndSaysSoInOneLine) {
    const auto gameBefore = snapshot::TakeSnapshot(game_.Path() / "game");
    struct Case {
        const char* what;
        std::string before;     // in front of the command, in the shell
        std::string arguments;  // after it
        std::string why;        // the end of the line on standard error
    };
    const std::vector<Case> cases = {
        // A file size limit fails the writes as a full disk does; the plain
        // copies of the scrambled files are cut short by it too.
        {"full disk", "ulimit -f 2; trap '' XFSZ; exec ", "--output " + ShellQuote(report_),
         "': File too large\n"},
        {"unknown venue", "", "--venue Nowhere --output " + ShellQuote(report_),
         "no venue named 'Nowhere'\n"},
        {"bad position", "", "--index 99 --output " + ShellQuote(report_), "(there are 2)\n"},
    };
    for (const Case& c : cases) {
        const CommandResult r = Run(c.arguments, c.before);
        EXPECT_EQ(r.status, 2) << c.what;
        EXPECT_EQ(r.out, "") << c.what;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.what << ": " << r.err;
        EXPECT_TRUE(r.err.starts_with("venuecheck: ") && r.err.ends_with(c.why))
            << c.what << ": " << r.err;
        EXPECT_EQ(test::ReadWholeFile(report_), kOldReport) << c.what;
        EXPECT_EQ(Names(out_.Path()), std::vector<std::string>{"report.txt"}) << c.what;
        const auto gameAfter = snapshot::TakeSnapshot(game_.Path() / "game");
        EXPECT_EQ(snapshot::UndocumentedChanges(gameBefore, gameAfter, true), "") << c.what;
        EXPECT_FALSE(fs::exists(game_.Path() / "game" / "data" / "_temp.dat")) << c.what;
    }
}

TEST_F(ReportFile, AFullDeviceGivesStatusTwoAndOneLine) {
    const CommandResult r = Run("--output /dev/full");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "venuecheck: cannot write '/dev/full': No space left on device\n");
}

// The superuser may write anywhere: the run then takes the unprivileged user.
TEST_F(ReportFile, AFolderOrFileThatMayNotBeWrittenStaysAsItWas) {
    std::string asUser;
    if (geteuid() == 0) {
        asUser = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
        fs::permissions(game_.Path(), fs::perms::owner_all | fs::perms::group_read |
                                          fs::perms::group_exec | fs::perms::others_read |
                                          fs::perms::others_exec);
        for (const auto& entry : fs::recursive_directory_iterator(game_.Path())) {
            fs::permissions(
                entry.path(),
                fs::perms::group_read | fs::perms::others_read |
                    (entry.is_directory() ? fs::perms::group_exec | fs::perms::others_exec
                                          : fs::perms::none),
                fs::perm_options::add);
        }
        fs::permissions(out_.Path(), fs::perms::others_exec | fs::perms::others_read,
                        fs::perm_options::add);
    }
    struct Case {
        const char* what;
        fs::perms folder;
        fs::perms file;
    };
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::owner_exec |
                               fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec;
    const fs::perms everyone = fs::perms::all;
    for (const Case& c : {Case{"folder", readOnly, everyone},
                          Case{"file", everyone, fs::perms::owner_read | fs::perms::others_read}}) {
        fs::permissions(out_.Path(), c.folder);
        fs::permissions(report_, c.file);
        const CommandResult r = Run("--output " + ShellQuote(report_), asUser);
        EXPECT_EQ(r.status, 2) << c.what;
        EXPECT_EQ(r.err, "venuecheck: cannot write '" + report_ + "': Permission denied\n")
            << c.what;
        fs::permissions(out_.Path(), fs::perms::owner_all);
        fs::permissions(report_, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(test::ReadWholeFile(report_), kOldReport) << c.what;
        EXPECT_EQ(Names(out_.Path()), std::vector<std::string>{"report.txt"}) << c.what;
    }
}

TEST_F(ReportFile, DevicesPipesAndLinksAreWrittenDirectly) {
    const std::string whole = WholeReport();
    // A FIFO: read while written.
    const std::string fifo = Path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    CommandResult r = Run("--output " + ShellQuote(fifo) + "; status=$?; wait; exit $status",
                          "cat " + ShellQuote(fifo) + " > " + ShellQuote(Path("read.txt")) + " & ");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(test::ReadWholeFile(Path("read.txt")), whole);
    // Standard output named as a file.
    r = Run("--output /dev/stdout");
    EXPECT_EQ(r.out, whole);
    // A link stays a link; the file it leads to gets the report.
    fs::create_symlink("report.txt", Path("link.txt"));
    r = Run("--output " + ShellQuote(Path("link.txt")));
    EXPECT_TRUE(fs::is_symlink(Path("link.txt")));
    EXPECT_EQ(test::ReadWholeFile(report_), whole);
    EXPECT_EQ(Names(out_.Path()),
              (std::vector<std::string>{"fifo", "link.txt", "read.txt", "report.txt"}));
}

}  // namespace
}  // namespace venuecheck
