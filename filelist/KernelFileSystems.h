#pragma once

#include <QByteArray>

#include <optional>
#include <sys/types.h>
#include <unordered_map>

namespace velunor::filelist {

// Tells whether a folder lies on one of the kernel's own file systems (proc,
// sysfs, devtmpfs, devpts, cgroup, debugfs, ...). Their contents are views of
// the running system, not user files: a search must not enter them, and some
// of them never end. One instance remembers its answers per device for the
// length of one search.
class KernelFileSystems {
public:
    // `device` is the st_dev of the folder opened as `fd`.
    bool holdsOpen(int fd, dev_t device);

private:
    bool verdictFor(long fileSystemType, dev_t device);
    // devtmpfs calls itself tmpfs in statfs; only the mount table tells them apart.
    bool isDeviceFileSystem(dev_t device);

    std::unordered_map<dev_t, bool> verdicts_;
    std::optional<std::unordered_map<dev_t, QByteArray>> mountTypes_;
};

} // namespace velunor::filelist
