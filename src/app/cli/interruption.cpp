#include "app/cli/interruption.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>

#include <array>
#endif

namespace venuecheck {
namespace {

// The one thing a handler can reach: set while an EndRunOnInterruption lives.
std::atomic<RunFiles*> filesToDelete{nullptr};
static_assert(std::atomic<RunFiles*>::is_always_lock_free);

#ifdef _WIN32

// Runs on a thread of its own. Returning FALSE hands the event on to the
// console's default handling, which ends the process as it always would.
BOOL WINAPI EndRun(DWORD /*event*/) {
    if (RunFiles* files = filesToDelete.load()) files->DeleteAllAtEnd();
    return FALSE;
}

#else

constexpr std::array<int, 4> kEndingSignals = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// What each signal did before, to be put back; installed[i] when ours.
std::array<struct sigaction, kEndingSignals.size()> previous{};
std::array<bool, kEndingSignals.size()> installed{};

// Only async-signal-safe calls: unlink (in DeleteAllAtEnd), sigaction,
// raise and sigprocmask. The other ending signals are blocked meanwhile, and
// the run's guards keep this from running while a file and its entry change.
extern "C" void EndRun(int signal) {
    if (RunFiles* files = filesToDelete.load()) files->DeleteAllAtEnd();
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    // Blocked while this handler runs: pending until unblocked, then the
    // default action ends the process.
    raise(signal);
    sigset_t self;
    sigemptyset(&self);
    sigaddset(&self, signal);
    sigprocmask(SIG_UNBLOCK, &self, nullptr);
    _exit(128 + signal);
}

#endif

}  // namespace

EndRunOnInterruption::EndRunOnInterruption(RunFiles& files) {
    filesToDelete.store(&files);
#ifdef _WIN32
    SetConsoleCtrlHandler(EndRun, TRUE);
#else
    struct sigaction ours {};
    ours.sa_handler = EndRun;
    sigemptyset(&ours.sa_mask);
    for (int signal : kEndingSignals) sigaddset(&ours.sa_mask, signal);
    for (size_t i = 0; i < kEndingSignals.size(); ++i) {
        if (sigaction(kEndingSignals[i], nullptr, &previous[i]) != 0) continue;
        if (previous[i].sa_handler == SIG_IGN) continue;
        installed[i] = sigaction(kEndingSignals[i], &ours, nullptr) == 0;
    }
#endif
}

EndRunOnInterruption::~EndRunOnInterruption() {
#ifdef _WIN32
    SetConsoleCtrlHandler(EndRun, FALSE);
#else
    for (size_t i = 0; i < kEndingSignals.size(); ++i) {
        if (installed[i]) sigaction(kEndingSignals[i], &previous[i], nullptr);
        installed[i] = false;
    }
#endif
    filesToDelete.store(nullptr);
}

}  // namespace venuecheck
