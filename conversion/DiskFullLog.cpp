#include "conversion/DiskFullLog.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace velunor::conversion {

namespace {

std::optional<dev_t> DeviceOf(const Path &folder)
{
    struct stat facts {};
    if (::stat(folder.c_str(), &facts) != 0)
        return std::nullopt;
    return facts.st_dev;
}

} // namespace

bool DiskFullLog::checkNow(const Path &folder)
{
    struct statvfs facts {};
    if (::statvfs(folder.c_str(), &facts) != 0 || facts.f_bavail != 0)
        return false;
    note(folder);
    return true;
}

void DiskFullLog::note(const Path &folder)
{
    const std::optional<dev_t> device = DeviceOf(folder);
    if (!device)
        return;
    const std::lock_guard lock(mutex_);
    lastSeenFull_[*device] = Clock::now();
}

bool DiskFullLog::seenFullSince(const Path &folder, Clock::time_point since) const
{
    const std::optional<dev_t> device = DeviceOf(folder);
    if (!device)
        return false;
    const std::lock_guard lock(mutex_);
    const auto seen = lastSeenFull_.find(*device);
    return seen != lastSeenFull_.end() && seen->second >= since;
}

} // namespace velunor::conversion
