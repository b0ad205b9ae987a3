#include "conversion/CompletionControl.h"

#include <unistd.h>

namespace velunor::conversion {

namespace {

// How long the run waits for a worker that is putting an output in place
// when it gives up on it.
constexpr auto kAbandonWait = std::chrono::milliseconds(100);

} // namespace

bool CompletionControl::enter()
{
    mutex_.lock();
    if (abandoned_) {
        mutex_.unlock();
        return false;
    }
    return true;
}

void CompletionControl::leave()
{
    mutex_.unlock();
}

void CompletionControl::hold(const Path &path)
{
    const std::lock_guard lock(heldMutex_);
    held_.append(path);
}

void CompletionControl::release(const Path &path)
{
    const std::lock_guard lock(heldMutex_);
    held_.removeAll(path);
}

bool CompletionControl::abandon()
{
    cancel = true;
    if (!mutex_.try_lock_for(kAbandonWait))
        return false;
    if (!abandoned_) {
        abandoned_ = true;
        const std::lock_guard lock(heldMutex_);
        for (const Path &path : std::as_const(held_))
            ::unlink(path.c_str());
        held_.clear();
    }
    mutex_.unlock();
    return true;
}

} // namespace velunor::conversion
