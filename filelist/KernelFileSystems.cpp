#include "filelist/KernelFileSystems.h"

#include <QFile>
#include <QList>

#include <sys/statfs.h>
#include <sys/sysmacros.h>

namespace velunor::filelist {

namespace {

// statfs f_type values of the kernel's information and control file systems.
constexpr unsigned long kKernelTypes[] = {
    0x9fa0,     // proc
    0x62656572, // sysfs
    0x1cd1,     // devpts
    0x27e0eb,   // cgroup
    0x63677270, // cgroup2
    0x64626720, // debugfs
    0x74726163, // tracefs
    0x73636673, // securityfs
    0x6165676c, // pstore
    0xcafe4a11, // bpf
    0x62656570, // configfs
    0xf97cff8c, // selinuxfs
    0x43415d53, // smackfs
    0x42494e4d, // binfmt_misc
    0x19800202, // mqueue
    0x65735543, // fusectl
    0xde5e81e4, // efivarfs
    0x6e736673, // nsfs
};
constexpr unsigned long kTmpfsType = 0x01021994;
constexpr unsigned long kRamfsType = 0x858458f6;

} // namespace

bool KernelFileSystems::holdsOpen(int fd, dev_t device)
{
    if (const auto known = verdicts_.find(device); known != verdicts_.end())
        return known->second;
    struct statfs facts {};
    return verdictFor(::fstatfs(fd, &facts) == 0 ? static_cast<long>(facts.f_type) : 0, device);
}

bool KernelFileSystems::verdictFor(long fileSystemType, dev_t device)
{
    const auto type = static_cast<unsigned long>(fileSystemType) & 0xffffffffUL;
    bool kernel = false;
    for (const unsigned long known : kKernelTypes)
        kernel = kernel || type == known;
    if (!kernel && (type == kTmpfsType || type == kRamfsType))
        kernel = isDeviceFileSystem(device);
    verdicts_.emplace(device, kernel);
    return kernel;
}

bool KernelFileSystems::isDeviceFileSystem(dev_t device)
{
    if (!mountTypes_) {
        mountTypes_.emplace();
        // Lines read "id parent major:minor root mount-point options ... - type source ...".
        QFile table(QStringLiteral("/proc/self/mountinfo"));
        if (table.open(QIODevice::ReadOnly)) {
            const QList<QByteArray> lines = table.readAll().split('\n');
            for (const QByteArray &line : lines) {
                const QList<QByteArray> fields = line.split(' ');
                const qsizetype separator = fields.indexOf(QByteArray("-"));
                if (fields.size() < 3 || separator < 0 || separator + 1 >= fields.size())
                    continue;
                const QList<QByteArray> numbers = fields[2].split(':');
                if (numbers.size() != 2)
                    continue;
                // Containers often mount /dev as a plain tmpfs: what is mounted
                // there holds devices all the same.
                const bool devices = fields.size() > 4 && fields[4] == "/dev";
                mountTypes_->emplace(makedev(numbers[0].toUInt(), numbers[1].toUInt()),
                                     devices ? QByteArray("devtmpfs") : fields[separator + 1]);
            }
        }
    }
    const auto found = mountTypes_->find(device);
    return found != mountTypes_->end() && found->second == "devtmpfs";
}

} // namespace velunor::filelist
