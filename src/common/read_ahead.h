#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace venuecheck {

// A second thread for work done ahead of its turn, such as reading and
// counting the next pegs' data while the report of the current one is
// written. Work is handed over as tasks, taken in the order given; each task
// runs once, by whoever comes to it first: the thread, or the caller that
// needs its result, who then need not wait for the thread to reach it.
//
// Only work whose result does not depend on when it runs belongs here (see
// GameFolder::PathAhead for files): the caller checks in its turn that what
// a task found is what it would find then, and does the work itself when not.
class ReadAhead {
public:
    class Task {
    public:
        virtual ~Task() = default;

    protected:
        // Runs on the thread or on the caller of Finish; must not throw.
        virtual void Run() noexcept = 0;

    private:
        friend class ReadAhead;
        enum State { kQueued, kRunning, kDone };
        // Takes the task to run it; false when someone else has.
        bool Claim() {
            int queued = kQueued;
            return state_.compare_exchange_strong(queued, kRunning, std::memory_order_acquire);
        }
        void RunClaimed() noexcept;
        std::atomic<int> state_{kQueued};
    };

    // Starts the thread when asked to; none is started where the host has
    // only one processor. Without it, nothing is handed over.
    explicit ReadAhead(bool start = true);
    // Waits for the task the thread is running; tasks not started are left.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // True when tasks are run ahead at all.
    bool Running() const { return thread_.joinable(); }

    // Hands a task over to be run when the thread comes to it.
    void Submit(std::shared_ptr<Task> task);

    // Makes sure the task has run: runs it here when nobody has taken it yet,
    // else waits for it, meanwhile running the tasks queued after it.
    void Finish(Task& task);

private:
    void Work();
    // The next task nobody has taken yet; none when the queue is empty.
    std::shared_ptr<Task> TakeNext();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::shared_ptr<Task>> queue_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace venuecheck
