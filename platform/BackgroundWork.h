#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <mutex>

namespace velunor {

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

} // namespace velunor
