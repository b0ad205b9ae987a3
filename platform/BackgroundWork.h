#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <mutex>

namespace velunor::platform {

// Hands the results of work on other threads to an object on its own thread,
// for as long as that object wants them: once closed (say, by the object's
// destructor), nothing more is delivered, however long the work goes on.
class ResultMailbox {
public:
    explicit ResultMailbox(QObject *receiver) : receiver_(receiver) {}

    // Calls `call` on the receiver's thread, unless the mailbox is closed
    // first.
    void post(std::function<void()> call)
    {
        const std::lock_guard lock(mutex_);
        if (receiver_)
            QMetaObject::invokeMethod(receiver_, std::move(call), Qt::QueuedConnection);
    }
    void close()
    {
        const std::lock_guard lock(mutex_);
        receiver_ = nullptr;
    }

private:
    std::mutex mutex_;
    QObject *receiver_;
};

// Runs `work` on a worker thread that nobody waits for: work that hangs (a
// file system that stopped answering) can be given up on, and other work
// goes on meanwhile on other threads. The work must own, or share, everything
// it uses.
void RunDetached(std::function<void()> work);

// Calls `work` with each index below `count`, on up to `atOnce` threads (the
// calling one among them), and returns once every call has returned. Where
// no more threads can be had, the ones there are make every call.
void ForEachAtOnce(size_t count, size_t atOnce, const std::function<void(size_t)> &work);

// Work that must be done one piece after another, in the order it was
// given (the plans of a run's files, which claim names in list order), on a
// worker of its own. Each piece must own, or share, everything it uses.
// Destroying the object drops the pieces not begun; the one at work ends on
// its own, however long it takes.
class SerialWork {
public:
    SerialWork();
    ~SerialWork();
    SerialWork(const SerialWork &) = delete;
    SerialWork &operator=(const SerialWork &) = delete;

    void post(std::function<void()> work);
    // Drops the pieces not begun and takes no more.
    void stop();

private:
    struct Queue;
    std::shared_ptr<Queue> queue_;
};

} // namespace velunor::platform
