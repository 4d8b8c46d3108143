#include "common/read_ahead.h"

#ifndef _WIN32
#include <pthread.h>
#include <signal.h>
#endif

namespace venuecheck {

void ReadAhead::Task::RunClaimed() noexcept {
    Run();
    state_.store(kDone, std::memory_order_release);
    state_.notify_all();
}

ReadAhead::ReadAhead(bool start) {
    if (!start || std::thread::hardware_concurrency() < 2) return;
#ifndef _WIN32
    // The thread takes no signals: they reach the thread that runs the check,
    // as they did before there was a second one.
    sigset_t all;
    sigset_t before;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &before);
    thread_ = std::thread([this] { Work(); });
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
#else
    thread_ = std::thread([this] { Work(); });
#endif
}

ReadAhead::~ReadAhead() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void ReadAhead::Submit(std::shared_ptr<Task> task) {
    if (!Running()) return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(task));
    }
    wake_.notify_one();
}

std::shared_ptr<ReadAhead::Task> ReadAhead::TakeNext() {
    const std::lock_guard<std::mutex> lock(mutex_);
    while (!queue_.empty()) {
        std::shared_ptr<Task> task = std::move(queue_.front());
        queue_.pop_front();
        if (task->Claim()) return task;
    }
    return nullptr;
}

void ReadAhead::Finish(Task& task) {
    if (task.Claim()) {
        task.RunClaimed();
        return;
    }
    while (task.state_.load(std::memory_order_acquire) != Task::kDone) {
        if (const std::shared_ptr<Task> other = TakeNext()) {
            other->RunClaimed();
            continue;
        }
        task.state_.wait(Task::kRunning, std::memory_order_acquire);
    }
}

void ReadAhead::Work() {
    for (;;) {
        std::shared_ptr<Task> task;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        if (task->Claim()) task->RunClaimed();
    }
}

}  // namespace venuecheck
