#include "UiEventLoop.h"

std::shared_ptr<const UiEventLoop::Ticket> UiEventLoop::Post(std::function<bool()> task)
{
    auto ticket = std::make_shared<Ticket>();
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mStopped) return ticket;
        mQueue.push_back(Entry{std::move(task), ticket});
    }
    mChanged.notify_all();
    return ticket;
}

UiEventLoop::Settled UiEventLoop::WaitSettled(const std::shared_ptr<const Ticket>& ticket, std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(mMutex);
    bool settled = mChanged.wait_for(lock, timeout, [&] {
        return mStopped || ticket->finished || (ticket->started && mWaiting && mQueue.empty());
    });
    if (ticket->finished) return ticket->result ? Settled::kDone : Settled::kRefused;
    return settled && !mStopped ? Settled::kWaitingForUser : Settled::kTimedOut;
}

void UiEventLoop::RunUntil(const std::function<bool()>& done, const std::function<void()>& tick)
{
    while (!done()) {
        Entry entry;
        {
            std::unique_lock<std::mutex> lock(mMutex);
            mWaiting = true;
            mChanged.notify_all();
            mChanged.wait_for(lock, std::chrono::milliseconds(100), [&] { return mStopped || !mQueue.empty(); });
            if (mStopped) return;
            if (mQueue.empty()) {
                lock.unlock();
                if (tick) tick();
                continue;
            }
            entry = std::move(mQueue.front());
            mQueue.pop_front();
            mWaiting = false;
            entry.ticket->started = true;
        }
        bool result = entry.task();
        {
            std::lock_guard<std::mutex> lock(mMutex);
            entry.ticket->result = result;
            entry.ticket->finished = true;
        }
        mChanged.notify_all();
    }
}

void UiEventLoop::Stop()
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mStopped = true;
        mQueue.clear();
    }
    mChanged.notify_all();
}

bool UiEventLoop::IsStopped() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mStopped;
}
