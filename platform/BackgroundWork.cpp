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
        // Every piece of work waiting needs a thread waiting for it; one that
        // is busy, however long, is none.
        if (queue_.size() <= waiting_) {
            wake_.notify_one();
            return;
        }
        lock.unlock();
        std::thread([this] { serve(); }).detach();
    }

private:
    void serve()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            while (queue_.empty()) {
                ++waiting_;
                wake_.wait(lock);
                --waiting_;
            }
            std::function<void()> work = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            work();
            work = nullptr; // what it held goes before the thread waits again
            lock.lock();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> queue_;
    size_t waiting_ = 0; // threads blocked in wait() now
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
