#include "platform/BackgroundWork.h"

#include <condition_variable>
#include <deque>
#include <thread>

namespace velunor {

namespace {

// Threads that wait for work and take it in turn. A thread stuck in its
// work is simply not idle: the next piece of work gets another thread, so
// nothing ever waits behind a file system that stopped answering, and a run
// of many files does not make and unmake a thread for each.
class Workers {
public:
    void run(std::function<void()> work)
    {
        std::unique_lock lock(mutex_);
        queue_.push_back(std::move(work));
        if (idle_ > 0) {
            wake_.notify_one();
            return;
        }
        ++idle_; // the new thread counts as idle until it takes its first work
        lock.unlock();
        std::thread([this] { serve(); }).detach();
    }

private:
    void serve()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return !queue_.empty(); });
            std::function<void()> work = std::move(queue_.front());
            queue_.pop_front();
            --idle_;
            lock.unlock();
            work();
            work = nullptr; // what it held goes before the thread waits again
            lock.lock();
            ++idle_;
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> queue_;
    int idle_ = 0;
};

Workers &TheWorkers()
{
    // Never destroyed: its threads live as long as the program.
    static Workers *const workers = new Workers;
    return *workers;
}

} // namespace

void RunDetached(std::function<void()> work)
{
    TheWorkers().run(std::move(work));
}

} // namespace velunor
