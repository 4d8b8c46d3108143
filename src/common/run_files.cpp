#include "common/run_files.h"

#include <algorithm>

#ifdef _WIN32
#include <cstdio>
#else
#include <pthread.h>
#include <unistd.h>
#endif

namespace venuecheck {
namespace {

#ifndef _WIN32
// Every signal but those that a fault raises in the thread itself: blocking
// those would not hold them off, only hide what went wrong.
sigset_t AsynchronousSignals() {
    sigset_t set;
    sigfillset(&set);
    for (int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS, SIGABRT}) {
        sigdelset(&set, fault);
    }
    return set;
}
#endif

}  // namespace

RunFiles::RunFiles() {
    Publish();
}

#ifdef _WIN32
RunFiles::Guard::Guard(RunFiles* files) {
    if (files != nullptr) lock_ = std::unique_lock<std::mutex>(files->lock_);
}
RunFiles::Guard::~Guard() = default;
#else
RunFiles::Guard::Guard(RunFiles* files) : blocked_(files != nullptr) {
    if (!blocked_) return;
    const sigset_t block = AsynchronousSignals();
    pthread_sigmask(SIG_BLOCK, &block, &previous_);
}
RunFiles::Guard::~Guard() {
    if (blocked_) pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}
#endif

void RunFiles::Enter(const std::filesystem::path& hostPath) {
    if (std::find(paths_.begin(), paths_.end(), hostPath.native()) != paths_.end()) return;
    paths_.push_back(hostPath.native());
    Publish();
}

void RunFiles::Leave(const std::filesystem::path& hostPath) {
    const auto it = std::find(paths_.begin(), paths_.end(), hostPath.native());
    if (it == paths_.end()) return;
    paths_.erase(it);
    Publish();
}

std::vector<std::filesystem::path> RunFiles::Entered() const {
    return {paths_.begin(), paths_.end()};
}

void RunFiles::Publish() {
    view_.clear();
    for (const auto& path : paths_) view_.push_back(path.c_str());
    view_.push_back(nullptr);
    published_.store(view_.data(), std::memory_order_release);
}

void RunFiles::DeleteAllAtEnd() noexcept {
#ifdef _WIN32
    // Never unlocked: the process is ending, and the run must make no file
    // after this.
    lock_.lock();
#endif
    for (const PathChar* const* path = published_.load(std::memory_order_acquire); *path != nullptr;
         ++path) {
#ifdef _WIN32
        _wremove(*path);
#else
        unlink(*path);
#endif
    }
}

}  // namespace venuecheck
