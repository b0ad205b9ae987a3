#include "platform/BackgroundWork.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace velunor::platform {

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

// Shared with the worker, which may outlive the object.
struct SerialWork::Queue {
    std::mutex mutex;
    std::deque<std::function<void()>> pieces;
    bool serving = false; // a worker takes the pieces now
    bool stopped = false;

    static void Serve(const std::shared_ptr<Queue> &self)
    {
        std::unique_lock lock(self->mutex);
        while (!self->stopped && !self->pieces.empty()) {
            std::function<void()> piece = std::move(self->pieces.front());
            self->pieces.pop_front();
            lock.unlock();
            piece();
            piece = nullptr;
            lock.lock();
        }
        self->serving = false;
    }
};

SerialWork::SerialWork() : queue_(std::make_shared<Queue>())
{
}

SerialWork::~SerialWork()
{
    stop();
}

void SerialWork::post(std::function<void()> work)
{
    const std::lock_guard lock(queue_->mutex);
    if (queue_->stopped)
        return;
    queue_->pieces.push_back(std::move(work));
    // A worker is taken only while there is work: none waits idle for it.
    if (queue_->serving)
        return;
    queue_->serving = true;
    RunDetached([queue = queue_] { Queue::Serve(queue); });
}

void SerialWork::stop()
{
    const std::lock_guard lock(queue_->mutex);
    queue_->stopped = true;
    queue_->pieces.clear();
}

void ForEachAtOnce(size_t count, size_t atOnce, const std::function<void(size_t)> &work)
{
    std::atomic<size_t> next{0};
    const auto takeEach = [&] {
        for (size_t at = next++; at < count; at = next++)
            work(at);
    };
    std::vector<std::thread> helpers;
    try {
        for (size_t i = 1; i < std::min(count, atOnce); ++i)
            helpers.emplace_back(takeEach);
    } catch (const std::system_error &) {
        // No more threads: the ones there are take every index.
    }
    takeEach();
    for (std::thread &helper : helpers)
        helper.join();
}

} // namespace velunor::platform
