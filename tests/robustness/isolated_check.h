#pragma once

// Runs start-up and the check run of every venue in a child process, so a
// test can bound its time and measure its memory, run it as an unprivileged
// user (permissions do not bind the superuser) or over a read-only mount of
// the game folder, and still see a crash as a failure of its own.

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "check/checker.h"
#include "report/recording_pane.h"

namespace venuecheck::test {

// The user and group that an unprivileged run takes: "nobody" on Debian.
inline constexpr uid_t kUnprivilegedUser = 65534;
inline constexpr gid_t kUnprivilegedGroup = 65534;

struct IsolatedOptions {
    bool unprivileged = false;   // run as kUnprivilegedUser
    bool readOnlyMount = false;  // the game folder mounted read-only
    unsigned timeoutSeconds = 300;
};

struct IsolatedResult {
    bool skipped = false;              // the options cannot be had on this machine
    std::string problem;               // why the run did not finish, or why it was skipped
    std::vector<std::string> reports;  // the text of each check run, in order
    long peakMemoryKb = 0;             // the child's peak resident memory
    bool Finished() const { return !skipped && problem.empty(); }
};

namespace isolated_detail {

inline bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

inline bool WriteProcFile(const char* path, const std::string& text) {
    const int fd = open(path, O_WRONLY);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, text);
    close(fd);
    return written;
}

// Becomes root of a new user and mount namespace, mapped to the caller.
inline bool EnterUserNamespace() {
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    return WriteProcFile("/proc/self/setgroups", "deny") &&
           WriteProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
           WriteProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
}

// The child's side: prepare, run, send the reports as "S<length>\n<bytes>"
// records; a line "K<reason>" instead when the options cannot be had.
[[noreturn]] inline void RunChild(const std::filesystem::path& game, const IsolatedOptions& options,
                                  int out) {
    const auto skip = [out](const std::string& why) {
        WriteAll(out, "K" + why + ": " + std::strerror(errno));
        _exit(0);
    };
    if (options.readOnlyMount) {
        const std::string path = game.string();
        // Without the superuser, a user namespace of its own lets the child
        // mount all the same where the system allows that.
        if (unshare(CLONE_NEWNS) != 0 && !EnterUserNamespace()) {
            skip("a read-only mount is not possible here: cannot make a mount namespace");
        }
        // Keep the bind mount out of the parent's namespace.
        if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            skip("cannot make mounts private");
        if (mount(path.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0)
            skip("cannot bind-mount");
        if (mount(nullptr, path.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
            skip("cannot remount read-only");
        }
    }
    if (options.unprivileged && geteuid() == 0) {
        if (setgroups(0, nullptr) != 0 ||
            setresgid(kUnprivilegedGroup, kUnprivilegedGroup, kUnprivilegedGroup) != 0 ||
            setresuid(kUnprivilegedUser, kUnprivilegedUser, kUnprivilegedUser) != 0) {
            skip("cannot become an unprivileged user");
        }
    }
    alarm(options.timeoutSeconds);

    Checker checker{GameFolder(game)};
    checker.StartUp();
    const size_t venues = checker.VenueNames().size();
    for (size_t position = 0; position < venues; ++position) {
        RecordingPane pane;
        Report report(pane);
        checker.CheckRun(static_cast<int>(position), report);
        const std::string text = pane.PlainText();
        if (!WriteAll(out, "S" + std::to_string(text.size()) + "\n") || !WriteAll(out, text))
            _exit(3);
    }
    checker.ShutDown();
    _exit(0);
}

inline std::string ReadAll(int fd) {
    std::string bytes;
    std::string block(1 << 16, '\0');
    for (;;) {
        const ssize_t n = read(fd, block.data(), block.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return bytes;
        bytes.append(block.data(), static_cast<size_t>(n));
    }
}

}  // namespace isolated_detail

inline IsolatedResult RunIsolatedCheck(const std::filesystem::path& game,
                                       const IsolatedOptions& options = {}) {
    IsolatedResult result;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        result.problem = "no pipe";
        return result;
    }
    const pid_t child = fork();
    if (child < 0) {
        result.problem = "cannot fork";
        return result;
    }
    if (child == 0) {
        close(pipeEnds[0]);
        isolated_detail::RunChild(game, options, pipeEnds[1]);
    }
    close(pipeEnds[1]);
    const std::string output = isolated_detail::ReadAll(pipeEnds[0]);
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    result.peakMemoryKb = usage.ru_maxrss;

    if (!output.empty() && output.front() == 'K') {
        result.skipped = true;
        result.problem = output.substr(1);
        return result;
    }
    if (WIFSIGNALED(status)) {
        result.problem =
            WTERMSIG(status) == SIGALRM
                ? "did not finish within " + std::to_string(options.timeoutSeconds) + " s"
                : "ended by signal " + std::to_string(WTERMSIG(status));
        return result;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        result.problem = "exited with status " + std::to_string(WEXITSTATUS(status));
        return result;
    }
    size_t at = 0;
    while (at < output.size() && output[at] == 'S') {
        const size_t newline = output.find('\n', at);
        const size_t length = std::stoul(output.substr(at + 1, newline - at - 1));
        result.reports.push_back(output.substr(newline + 1, length));
        at = newline + 1 + length;
    }
    if (at != output.size()) result.problem = "the reports came back garbled";
    return result;
}

// True when the report holds a finding line of any severity.
inline bool HasFindingLine(std::string_view report) {
    for (const std::string_view mark :
         {"\n\tError : ", "\n\tWarning : ", "\n\tAdvice : ", "\n\t : "}) {
        if (report.find(mark) != std::string_view::npos) return true;
    }
    return false;
}

// Hands the folder and everything in it to the unprivileged user, so that
// only the permissions a test takes away stand in its way.
inline void GiveToUnprivilegedUser(const std::filesystem::path& root) {
    if (geteuid() != 0) return;
    std::error_code ec;
    lchown(root.c_str(), kUnprivilegedUser, kUnprivilegedGroup);
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        lchown(it->path().c_str(), kUnprivilegedUser, kUnprivilegedGroup);
    }
}

}  // namespace venuecheck::test
