#pragma once

#include "platform/Path.h"

#include <QByteArray>

#include <optional>

namespace velunor::platform {

// How many processors this process may keep busy: those it may run on
// (taskset, a container's cpuset), and no more than a CPU quota of its
// control group grants (a container started with --cpus). At least one.
int ProcessorsAllowed();

// The processors that the CPU quotas of the cgroup v2 hierarchy at `root`
// grant to the group that `cgroupList` (the text of /proc/self/cgroup) names:
// the smallest quota over the group and the groups above it, in whole
// processors, rounded up. None when no quota is set or none can be read.
std::optional<int> QuotaProcessors(const QByteArray &cgroupList, const Path &root);

} // namespace velunor::platform
