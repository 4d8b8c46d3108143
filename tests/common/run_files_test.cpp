// The run's own files: what the game folder enters while they exist, what a
// run ended from outside deletes, and the guard that keeps a signal from
// finding a file made but not entered, or deleted but still entered.

#include "common/run_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "common/game_folder.h"
#include "common/scrambled_file.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

TEST(RunFiles, TheGameFolderEntersWhatItWritesUntilItDeletesIt) {
    TempFolder game;
    game.Write("data/keep.txt", "kept");
    game.Write("shoalcat.txt", "roach 12\r\n");
    game.Write("pegs/records.txt_test_.tmp", "left from an earlier run\r\n");
    RunFiles files;
    GameFolder folder(game.Path());
    folder.TrackRunFiles(&files);
    using Paths = std::vector<fs::path>;

    ASSERT_TRUE(folder.WriteFile("DATA/_temp.dat", "plain"));
    const fs::path copy = game.Path() / "data" / "_temp.dat";
    EXPECT_EQ(files.Entered(), Paths{copy});
    ASSERT_TRUE(folder.WriteFile("data/_temp.dat", "plain again"));
    EXPECT_EQ(files.Entered(), Paths{copy});  // once, however often written
    // A probe file that was there is entered once the probe has changed it:
    // the probe deletes it next.
    ASSERT_TRUE(folder.AppendFile("pegs/records.txt_test_.tmp", "Test\n"));
    const fs::path probe = game.Path() / "pegs" / "records.txt_test_.tmp";
    EXPECT_EQ(files.Entered(), (Paths{copy, probe}));

    // What could not be written is not entered.
    EXPECT_FALSE(folder.WriteFile("nofolder/_temp.dat", "plain"));
    EXPECT_FALSE(folder.AppendFile("data", "Test\n"));
    EXPECT_EQ(files.Entered(), (Paths{copy, probe}));

    folder.RemoveFile("data/_temp.dat");
    EXPECT_EQ(files.Entered(), Paths{probe});
    folder.RemoveFile("shoalcat.txt");  // deleted, never entered
    EXPECT_FALSE(game.Exists("shoalcat.txt"));
    folder.RemoveFile("pegs/records.txt_test_.tmp");
    EXPECT_TRUE(files.Entered().empty());
    EXPECT_TRUE(game.Exists("data/keep.txt"));
}

TEST(RunFiles, DeletingAtTheEndTakesOnlyTheFilesEntered) {
    TempFolder game;
    game.Write("data/keep.txt", "kept");
    game.Write("venues/lastpeg.txt", "7\r\n");
    RunFiles files;
    GameFolder folder(game.Path());
    folder.TrackRunFiles(&files);
    ASSERT_TRUE(folder.WriteFile("data/_temp.dat", "plain"));
    ASSERT_TRUE(folder.AppendFile("venues/records.txt_test_.tmp", "Test\n"));
    ASSERT_TRUE(folder.AppendFile("venues/lookup.txt", "test\n"));
    folder.RemoveFile("venues/lookup.txt");
    // Made again by someone else once the run had deleted it: not the run's.
    game.Write("venues/lookup.txt", "the game's own\r\n");

    files.DeleteAllAtEnd();

    EXPECT_FALSE(game.Exists("data/_temp.dat"));
    EXPECT_FALSE(game.Exists("venues/records.txt_test_.tmp"));
    EXPECT_TRUE(game.Exists("data/keep.txt"));
    EXPECT_TRUE(game.Exists("venues/lastpeg.txt"));
    EXPECT_TRUE(game.Exists("venues/lookup.txt"));
}

volatile sig_atomic_t signalled = 0;
extern "C" void NoteSignal(int) {
    signalled = 1;
}

TEST(RunFiles, AGuardHoldsOffASignalUntilItEnds) {
    struct sigaction note {
    }, previous{};
    note.sa_handler = NoteSignal;
    sigemptyset(&note.sa_mask);
    ASSERT_EQ(sigaction(SIGUSR1, &note, &previous), 0);
    RunFiles files;
    signalled = 0;
    {
        const RunFiles::Guard guard(&files);
        raise(SIGUSR1);
        EXPECT_EQ(signalled, 0);
    }
    EXPECT_EQ(signalled, 1);
    // Without a registry there is nothing to hold off for.
    signalled = 0;
    {
        const RunFiles::Guard guard(nullptr);
        raise(SIGUSR1);
        EXPECT_EQ(signalled, 1);
    }
    sigaction(SIGUSR1, &previous, nullptr);
}

// A plain copy that cannot be written whole (here a file size limit, as a
// full disk does) would hold part of the descrambled text: it is deleted, and
// the file is descrambled in memory.
TEST(RunFiles, APlainCopyCutShortIsNotLeft) {
    TempFolder game;
    std::string plain;
    for (int i = 0; i < 100; ++i) plain += "NAME Roach shoal " + std::to_string(i) + "\r\n";
    game.Write("stocks/roach.stk", Scramble(plain));
    game.Write("data/keep.txt", "kept");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{512, 512};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(10);
        RunFiles files;
        GameFolder folder(game.Path());
        folder.TrackRunFiles(&files);
        const PlainText text = ReadDataFile(folder, "stocks/roach.stk");
        if (!text.scrambled || text.bytes != plain) _exit(11);
        if (fs::exists(game.Path() / "data" / "_temp.dat")) _exit(12);
        if (!files.Entered().empty()) _exit(13);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: no limit, 11: wrong text, 12: copy left, 13: entered";
}

}  // namespace
}  // namespace venuecheck
