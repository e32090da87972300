// UiEventLoop: the host's thread for tessel ui. The host is not thread-safe: its dialogs, menus
// and workspace are touched only by the thread that runs this loop. The server's threads post
// what the user did as tasks; the loop runs them in order. A modal dialog, alert or file dialog
// runs the loop again inside (RunUntil) until it is answered, as a desktop program's modal loop
// does.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class UiEventLoop {
public:
    // A posted task, as its poster sees it.
    struct Ticket {
        bool started = false;
        bool finished = false;
        bool result = false;
    };

    // Queues `task` for the host thread (from any thread).
    std::shared_ptr<const Ticket> Post(std::function<bool()> task);
    // What became of a task a server thread waited for.
    enum class Settled {
        kDone,            // it ran and answered true
        kRefused,         // it ran and answered false
        kWaitingForUser,  // it opened a modal dialog, alert or file dialog, which waits for the user
        kTimedOut,        // it did not come to either in time, or the loop stopped
    };
    // Waits (on a server thread) until `ticket`'s task has run, or has started and the host is
    // waiting for the user again, or `timeout` passed.
    Settled WaitSettled(const std::shared_ptr<const Ticket>& ticket, std::chrono::milliseconds timeout);

    // Runs tasks on the host thread until `done` answers true (asked after each task) or the
    // loop is stopped. `tick` (optional) is called about every tenth of a second while waiting.
    void RunUntil(const std::function<bool()>& done, const std::function<void()>& tick = {});
    // Ends every RunUntil (from any thread, a signal handler's flag watcher included); tasks
    // still queued are dropped.
    void Stop();
    bool IsStopped() const;

private:
    struct Entry {
        std::function<bool()> task;
        std::shared_ptr<Ticket> ticket;
    };

    mutable std::mutex mMutex;
    std::condition_variable mChanged;
    std::deque<Entry> mQueue;
    bool mStopped = false;
    bool mWaiting = false;   // the host thread waits for a task
};
