#include "platform/Processors.h"

#include "platform/FileSystem.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <sched.h>
#include <unistd.h>

namespace velunor::platform {

namespace {

QByteArray Contents(const Path &path)
{
    QFile file;
    return FileSystem::Open(file, path, QIODevice::ReadOnly).ok() ? file.readAll() : QByteArray();
}

// "max 100000" is no quota; "150000 100000" grants one and a half.
std::optional<int> QuotaOf(const QByteArray &cpuMax)
{
    const QList<QByteArray> fields = cpuMax.trimmed().split(' ');
    if (fields.size() != 2 || fields[0] == "max")
        return std::nullopt;
    bool quotaRead = false, periodRead = false;
    const double quota = fields[0].toDouble(&quotaRead);
    const double period = fields[1].toDouble(&periodRead);
    if (!quotaRead || !periodRead || quota <= 0 || period <= 0)
        return std::nullopt;
    return std::max(1, int(std::ceil(quota / period)));
}

} // namespace

std::optional<int> QuotaProcessors(const QByteArray &cgroupList, const Path &root)
{
    // The unified hierarchy's line is "0::/path".
    QByteArray group;
    for (const QByteArray &line : cgroupList.split('\n'))
        if (line.startsWith("0::"))
            group = line.mid(3);
    if (!group.startsWith('/'))
        return std::nullopt;
    std::optional<int> smallest;
    for (;;) {
        const QByteArray folder = group == "/" ? QByteArray() : group;
        if (const std::optional<int> quota =
                QuotaOf(Contents(root.withSuffix(folder + "/cpu.max"))))
            smallest = smallest ? std::min(*smallest, *quota) : *quota;
        if (folder.isEmpty())
            break;
        group = group.left(std::max<qsizetype>(group.lastIndexOf('/'), 1));
    }
    return smallest;
}

int ProcessorsAllowed()
{
    int allowed = 0;
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0)
        allowed = CPU_COUNT(&set);
    if (allowed <= 0)
        allowed = int(std::max(1L, ::sysconf(_SC_NPROCESSORS_ONLN)));
    if (const std::optional<int> quota = QuotaProcessors(
            Contents(Path::FromBytes("/proc/self/cgroup")), Path::FromBytes("/sys/fs/cgroup")))
        allowed = std::min(allowed, *quota);
    return allowed;
}

} // namespace velunor::platform
