#pragma once

#include "platform/Path.h"

#include <QList>

#include <atomic>
#include <mutex>

namespace velunor::conversion {

// Shared by the run and the worker completing one file, so that the run can
// stop waiting for a worker that hangs without the worker ever touching the
// output's final name afterwards.
class CompletionControl {
public:
    std::atomic<bool> cancel{false};

    // The worker asks before it renames anything, and holds the control
    // until it is done. False once the run gave up on it.
    bool enter();
    void leave();
    // The hidden files of the program's own that the worker has now.
    void hold(const Path &path);
    void release(const Path &path);
    // The run gives up on the worker. True when the worker is not renaming
    // anything now and never will again; the files it held are removed then.
    // False when it is in the middle of a rename.
    bool abandon();

private:
    std::timed_mutex mutex_; // held while the worker renames
    bool abandoned_ = false;
    std::mutex heldMutex_;
    QList<Path> held_;
};

} // namespace velunor::conversion
