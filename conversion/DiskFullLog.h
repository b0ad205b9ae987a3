#pragma once

#include "platform/Path.h"

#include <QByteArray>

#include <chrono>
#include <map>
#include <mutex>
#include <sys/types.h>

namespace velunor::conversion {

// The file systems a run has seen full, and when. A converter cut short by a
// full disk often says nothing of it, and by the time its output is checked
// the other converters' unfinished files may be gone and the space free
// again: a file whose conversion was under way while its disk was seen full
// was cut short by it. Shared by the run and its workers.
class DiskFullLog {
public:
    using Clock = std::chrono::steady_clock;

    // True when the file system of `folder` has no space left now; it is
    // noted as full then.
    bool checkNow(const Path &folder);
    // Notes the file system of `folder` as full now.
    void note(const Path &folder);
    // True when the file system of `folder` was seen full at `since` or later.
    bool seenFullSince(const Path &folder, Clock::time_point since) const;

private:
    mutable std::mutex mutex_;
    std::map<dev_t, Clock::time_point> lastSeenFull_;
};

} // namespace velunor::conversion
