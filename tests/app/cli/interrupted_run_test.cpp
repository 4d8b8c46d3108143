// Check runs of the command line ended from outside, as a user ends them:
// SIGINT (Ctrl-C), SIGTERM, SIGHUP and SIGPIPE at moments spread over a
// whole run of a game whose venue, species and stock files are all
// scrambled, so that plain copies and probe files come and go all the time.
// Each time the game folder must hold, entry by entry, either what it held
// before or what a whole run leaves: a run cut short may have done fewer of
// a whole run's changes, never others. The report named by --output is the
// old one or the whole new one, and nothing else stands beside it.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "../../../fuzz/folder_snapshot.h"
#include "check/checker.h"
#include "gamegen/synthetic_game.h"
#include "support/test_support.h"

extern char** environ;

namespace venuecheck {
namespace {

namespace fs = std::filesystem;
using snapshot::EntryState;
using snapshot::FolderState;
using test::TempFolder;

constexpr std::array<int, 4> kEndingSignals = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
constexpr int kMoments = 200;  // interruptions, spread over a whole run
constexpr std::string_view kOldReport = "the report of an earlier run\n";

struct Child {
    pid_t pid = -1;
};

// Starts the command line with default signal actions, whatever the test
// runner had, and its standard output and error going nowhere (or to `out`).
Child Start(const std::vector<std::string>& arguments, int out = -1) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : kEndingSignals) sigaddset(&defaults, signal);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (out >= 0) {
        posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    Child child;
    if (posix_spawn(&child.pid, argv[0], &actions, &attributes, argv.data(), environ) != 0) {
        child.pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return child;
}

int Wait(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

std::chrono::nanoseconds Duration(const timeval& t) {
    return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec);
}

// Returns once the child has taken the processor time given, or has ended
// (it is not reaped). Moments are taken in processor time rather than on the
// clock, so that they fall at the same steps of a run however busy the
// machine is.
void WaitForProcessorTime(pid_t pid, std::chrono::nanoseconds at) {
    clockid_t clock;
    if (clock_getcpuclockid(pid, &clock) != 0) return;
    for (;;) {
        timespec used{};
        if (clock_gettime(clock, &used) != 0) return;
        if (std::chrono::seconds(used.tv_sec) + std::chrono::nanoseconds(used.tv_nsec) >= at)
            return;
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
            info.si_pid == pid) {
            return;
        }
        const timespec pause{0, 50'000};
        nanosleep(&pause, nullptr);
    }
}

// The entries whose state is neither the one before nor the one a whole run
// leaves, one a line.
std::string OtherChanges(const FolderState& before, const FolderState& whole,
                         const FolderState& after) {
    std::set<std::string> paths;
    for (const FolderState* state : {&before, &whole, &after}) {
        for (const auto& [path, entry] : *state) paths.insert(path);
    }
    const auto at = [](const FolderState& state, const std::string& path) {
        const auto it = state.find(path);
        return it == state.end() ? std::optional<EntryState>() : it->second;
    };
    std::string problems;
    for (const std::string& path : paths) {
        const auto now = at(after, path);
        if (now == at(before, path) || now == at(whole, path)) continue;
        problems +=
            (now ? (at(before, path) ? "changed: " : "added: ") : "removed: ") + path + "\n";
    }
    return problems;
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A small game in which everything the checker writes and deletes happens
// often: every venue, species and stock file scrambled, an old plain copy, an
// old records probe file and a species list that a run deletes.
class InterruptedRun : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        game_ = new TempFolder;
        gamegen::GameSpec spec;
        spec.pegs = 4;
        spec.rows = 30;
        spec.stockFiles = 60;
        spec.species = 12;
        spec.venues = 3;
        spec.smallPegs = 2;
        spec.scrambledPercent = 100;
        const auto summary = gamegen::MakeGame(spec, game_->Path());
        ASSERT_TRUE(summary.Ok()) << summary.error;
        Checker checker{GameFolder(game_->Path())};
        checker.LoadVenues();
        for (const VenueRecord& venue : checker.Venues().Venues()) {
            const fs::path probe = checker.Folder().Resolve(venue.Records + "_test_.tmp");
            if (fs::is_directory(probe.parent_path()) && !fs::exists(probe)) {
                game_->Write(probe.lexically_relative(game_->Path()).generic_string(),
                             "left from an earlier run\r\n");
                break;
            }
        }
        game_->Write("shoalcat.txt", "roach 12\r\n");
        game_->Write("data/_temp.dat", "an old plain copy\r\n");
    }

    static void TearDownTestSuite() {
        delete game_;
        game_ = nullptr;
    }

    static std::vector<std::string> Arguments(const fs::path& game,
                                              const std::optional<fs::path>& output) {
        std::vector<std::string> arguments = {VENUECHECK_BINARY, "--game-dir", game.string(),
                                              "--all",           "--format",   "text"};
        if (output) {
            arguments.push_back("--output");
            arguments.push_back(output->string());
        }
        return arguments;
    }

    static TempFolder* game_;
};

TempFolder* InterruptedRun::game_ = nullptr;

TEST_F(InterruptedRun, LeavesTheGameAsBeforeOrAsAWholeRunDoes) {
    const FolderState before = snapshot::TakeSnapshot(game_->Path());

    // Whole runs, two at a time as the interruptions below run: what they
    // leave, and how long one takes.
    FolderState whole;
    std::string wholeReport;
    std::vector<std::chrono::nanoseconds> durations;
    for (int pair = 0; pair < 2; ++pair) {
        std::array<TempFolder, 2> copies;
        std::array<Child, 2> children;
        for (size_t i = 0; i < 2; ++i) {
            fs::copy(game_->Path(), copies[i].Path() / "game", fs::copy_options::recursive);
        }
        for (size_t i = 0; i < 2; ++i) {
            children[i] =
                Start(Arguments(copies[i].Path() / "game", copies[i].Path() / "report.txt"));
            ASSERT_GT(children[i].pid, 0);
        }
        for (int ended = 0; ended < 2; ++ended) {
            int status = 0;
            rusage usage{};
            const pid_t pid = wait4(-1, &status, 0, &usage);
            const size_t i = pid == children[0].pid ? 0 : 1;
            ASSERT_EQ(pid, children[i].pid);
            durations.push_back(Duration(usage.ru_utime) + Duration(usage.ru_stime));
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1) << "status " << status;
        }
        for (size_t i = 0; i < 2; ++i) {
            const FolderState after = snapshot::TakeSnapshot(copies[i].Path() / "game");
            ASSERT_EQ(snapshot::UndocumentedChanges(before, after, true), "");
            const std::string report = test::ReadWholeFile(copies[i].Path() / "report.txt");
            ASSERT_FALSE(report.empty());
            if (pair == 0 && i == 0) {
                whole = after;
                wholeReport = report;
            }
            EXPECT_EQ(after, whole) << "whole runs differ";
            EXPECT_EQ(report, wholeReport) << "whole runs differ";
        }
    }
    // The run does what it documents: the old plain copy, the old probe file
    // and the species list go, and no file is added.
    ASSERT_NE(whole, before);
    std::sort(durations.begin(), durations.end());
    const auto span = durations[0];

    // What one interruption left, with where it came; empty problems when
    // the game and the report are as they may be.
    struct Outcome {
        std::string where;
        std::string problems;
        bool cutShort = false;
        bool untouched = false;
    };
    const auto interrupt = [&](int moment) {
        // Each signal in turn, each at a moment of its own stretch of the run.
        const int signal = kEndingSignals[static_cast<size_t>(moment) % kEndingSignals.size()];
        uint32_t random = 12345u + 2654435761u * static_cast<uint32_t>(moment);
        random = random * 1664525u + 1013904223u;
        const double within = (moment + (random >> 8) / double(1u << 24)) / kMoments;
        const auto after = std::chrono::nanoseconds(static_cast<long long>(
            within * static_cast<double>(std::chrono::nanoseconds(span).count())));
        Outcome outcome;
        outcome.where = "signal " + std::to_string(signal) + " after " +
                        std::to_string(after.count() / 1000) + " us of processor time";

        TempFolder copy;
        const fs::path game = copy.Path() / "game";
        const fs::path reports = copy.Path() / "reports";
        fs::copy(game_->Path(), game, fs::copy_options::recursive);
        fs::create_directory(reports);
        copy.Write("reports/report.txt", kOldReport);
        const bool toFile = moment % 8 < 4;  // every signal with and without --output
        const Child child =
            Start(Arguments(game, toFile ? std::optional(reports / "report.txt") : std::nullopt));
        if (child.pid <= 0) {
            outcome.problems = "cannot start the command line\n";
            return outcome;
        }
        WaitForProcessorTime(child.pid, after);
        kill(child.pid, signal);
        const int status = Wait(child.pid);

        if (WIFSIGNALED(status)) {
            outcome.cutShort = true;
            if (WTERMSIG(status) != signal) {
                outcome.problems += "ended by signal " + std::to_string(WTERMSIG(status)) + "\n";
            }
        } else if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
            outcome.problems += "status " + std::to_string(status) + "\n";
        }
        const FolderState state = snapshot::TakeSnapshot(game);
        outcome.problems += OtherChanges(before, whole, state);
        outcome.untouched = state == before;
        if (Names(reports) != std::vector<std::string>{"report.txt"}) {
            outcome.problems += "beside the report: more than the report\n";
        }
        const std::string report = copy.Read("reports/report.txt");
        if (report != kOldReport && !(toFile && report == wholeReport)) {
            outcome.problems += "a report of " + std::to_string(report.size()) + " bytes\n";
        }
        return outcome;
    };

    // Two at a time, for the two cores a test machine has at least.
    std::vector<Outcome> outcomes(kMoments);
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int moment = next++; moment < kMoments; moment = next++) {
            outcomes[static_cast<size_t>(moment)] = interrupt(moment);
        }
    };
    std::thread second(work);
    work();
    second.join();

    std::array<int, kEndingSignals.size()> cutShort{};
    int untouched = 0;
    int midway = 0;  // cut short after some change
    int failed = 0;
    for (size_t moment = 0; moment < outcomes.size(); ++moment) {
        const Outcome& outcome = outcomes[moment];
        if (outcome.cutShort) ++cutShort[moment % kEndingSignals.size()];
        if (outcome.untouched) ++untouched;
        if (outcome.cutShort && !outcome.untouched) ++midway;
        if (!outcome.problems.empty() && ++failed <= 5) {
            ADD_FAILURE() << outcome.where << ":\n" << outcome.problems;
        }
    }
    EXPECT_EQ(failed, 0) << "of " << kMoments << " interruptions";
    // Many moments fell within the run, so every signal cut it short, many
    // of them after it had changed the game.
    for (size_t i = 0; i < kEndingSignals.size(); ++i) {
        EXPECT_GE(cutShort[i], kMoments / 20) << "signal " << kEndingSignals[i];
    }
    EXPECT_GE(midway, kMoments / 10);
    std::cout << "whole run " << span.count() / 1000
              << " us of processor time; cut short by SIGINT, SIGTERM, "
              << "SIGHUP, SIGPIPE: " << cutShort[0] << ", " << cutShort[1] << ", " << cutShort[2]
              << ", " << cutShort[3] << " of " << kMoments / 4 << " each; " << untouched
              << " before any change, " << midway << " cut short after some\n";
}

// A reader that goes away, as `venuecheck | head -1` does: the next write
// ends the run by SIGPIPE.
TEST_F(InterruptedRun, AReaderThatGoesAwayEndsTheRunAndNothingIsLeft) {
    const FolderState before = snapshot::TakeSnapshot(game_->Path());
    TempFolder wholeCopy;
    fs::copy(game_->Path(), wholeCopy.Path() / "game", fs::copy_options::recursive);
    const Child wholeRun = Start(Arguments(wholeCopy.Path() / "game", std::nullopt));
    ASSERT_EQ(Wait(wholeRun.pid), 1 << 8);  // the game has errors on purpose
    const FolderState whole = snapshot::TakeSnapshot(wholeCopy.Path() / "game");

    int piped = 0;
    for (const size_t keep : {size_t{0}, size_t{1}, size_t{100}, size_t{5000}}) {
        TempFolder copy;
        fs::copy(game_->Path(), copy.Path() / "game", fs::copy_options::recursive);
        int ends[2];
        ASSERT_EQ(pipe2(ends, O_CLOEXEC), 0);
        const Child child = Start(Arguments(copy.Path() / "game", std::nullopt), ends[1]);
        close(ends[1]);
        std::string read;
        char block[512];
        while (read.size() < keep) {
            const ssize_t n = ::read(ends[0], block, std::min(sizeof block, keep - read.size()));
            if (n <= 0) break;
            read.append(block, static_cast<size_t>(n));
        }
        close(ends[0]);
        const int status = Wait(child.pid);
        if (WIFSIGNALED(status)) {
            EXPECT_EQ(WTERMSIG(status), SIGPIPE) << "after " << keep << " bytes";
            ++piped;
        }
        EXPECT_EQ(OtherChanges(before, whole, snapshot::TakeSnapshot(copy.Path() / "game")), "")
            << "after " << keep << " bytes";
    }
    EXPECT_GT(piped, 0);
}

}  // namespace
}  // namespace venuecheck
