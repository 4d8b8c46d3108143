#pragma once

#include <atomic>
#include <filesystem>
#include <list>
#include <vector>

#ifdef _WIN32
#include <mutex>
#else
#include <signal.h>
#endif

namespace venuecheck {

// The files that a run has made or changed and is going to delete again:
// the temporary plain copy of a scrambled file, the probe files, a report
// being written beside its place. A run that is ended from outside (Ctrl-C,
// a closed pipe, a closed console) deletes them first, so it leaves nothing
// of its own behind.
//
// Every change to the files and to the list happens under a Guard. On POSIX
// systems a Guard blocks the asynchronous signals of the calling thread, so a
// signal handler runs only between guarded steps and finds every file that
// exists entered, and none entered that the run has deleted. On Windows the
// console's handler runs on a thread of its own and takes the Guard's lock
// instead. The run itself keeps to one thread.
class RunFiles {
public:
#ifdef _WIN32
    using PathChar = wchar_t;
#else
    using PathChar = char;
#endif

    RunFiles();
    RunFiles(const RunFiles&) = delete;
    RunFiles& operator=(const RunFiles&) = delete;

    // Holds off the end of the run while it lives; holds nothing without a
    // registry.
    class Guard {
    public:
        explicit Guard(RunFiles* files);
        ~Guard();
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
#ifdef _WIN32
        std::unique_lock<std::mutex> lock_;
#else
        bool blocked_ = false;
        sigset_t previous_{};
#endif
    };

    // Enters a host path (once, however often it is entered), and takes it
    // out again; the caller holds a Guard.
    void Enter(const std::filesystem::path& hostPath);
    void Leave(const std::filesystem::path& hostPath);

    // The host paths entered now, in the order they came.
    std::vector<std::filesystem::path> Entered() const;

    // Deletes every file entered, for a run that is ending from outside.
    // On POSIX systems it is async-signal-safe: it reads a list that no Guard
    // is changing and calls unlink. On Windows it waits for a Guard that
    // stands and keeps every later one waiting, so that nothing is made after
    // it.
    void DeleteAllAtEnd() noexcept;

private:
    void Publish();

    std::list<std::filesystem::path::string_type> paths_;  // nodes keep their place
    std::vector<const PathChar*> view_;                    // their C strings, then null
    // What a handler reads: view_'s data while no Guard changes it.
    std::atomic<const PathChar* const*> published_{nullptr};
    static_assert(std::atomic<const PathChar* const*>::is_always_lock_free);
#ifdef _WIN32
    std::mutex lock_;
#endif
};

}  // namespace venuecheck
