#include "conversion/TemporaryOutput.h"

#include "platform/ExitCleanup.h"
#include "platform/FileSystem.h"

#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velunor::conversion {

namespace {

// Numbers the temporary outputs of this program; together with the process
// number they are unique on the machine.
std::atomic<quint64> temporaryCount{0};

constexpr QByteArrayView kPrefix = ".velunor-";
constexpr QByteArrayView kOutputSuffix = ".mp3";
constexpr QByteArrayView kPartSuffix = ".part";

bool SameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool AllDigits(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace

Expected<std::unique_ptr<TemporaryOutput>> TemporaryOutput::Reserve(const Path &folder,
                                                                    const QByteArray &suffix)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const Path path = folder.child(kPrefix.toByteArray() + QByteArray::number(::getpid()) +
                                       '-' + QByteArray::number(++temporaryCount) + suffix);
        const int fd =
            ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return Failure::OfErrno(errno);
        }
        // Held locked while it is written: that tells a living run's file
        // from a dead one's. Another run clearing away debris may have found
        // the file in the moment before it was locked, and removed it: then
        // it is not ours any more, and another name is taken.
        if (platform::FileSystem::TryLockWholeFile(fd, F_WRLCK) &&
            platform::FileSystem::IsStillNamed(fd, path))
            return std::unique_ptr<TemporaryOutput>(new TemporaryOutput(path, fd));
        ::close(fd);
    }
    return Failure::OfErrno(EEXIST);
}

TemporaryOutput::TemporaryOutput(Path path, int fd) : path_(std::move(path)), fd_(fd)
{
    // Removed even when the program ends without its own clean-up.
    platform::ExitCleanup::AddFile(path_);
}

TemporaryOutput::~TemporaryOutput()
{
    // What cannot be removed now is left to the clean-up of a later run.
    [[maybe_unused]] const Done removed = remove();
    if (fd_ >= 0)
        ::close(fd_);
}

void TemporaryOutput::forget()
{
    platform::ExitCleanup::RemoveFile(path_);
    path_ = Path();
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

Done TemporaryOutput::moveTo(const Path &target)
{
    if (path_.isEmpty())
        return Failure::OfErrno(ENOENT);
    if (::rename(path_.c_str(), target.c_str()) != 0)
        return Failure::OfErrno(errno);
    forget();
    return {};
}

Done TemporaryOutput::moveOver(TemporaryOutput &other)
{
    if (path_.isEmpty() || other.path_.isEmpty())
        return Failure::OfErrno(ENOENT);
    if (::rename(path_.c_str(), other.path_.c_str()) != 0)
        return Failure::OfErrno(errno);
    // The other's name, noted for the clean-up at an abrupt end, is this
    // file's now.
    platform::ExitCleanup::RemoveFile(path_);
    path_ = std::exchange(other.path_, Path());
    other.forget();
    platform::ExitCleanup::AddFile(path_);
    return {};
}

Done TemporaryOutput::remove()
{
    if (path_.isEmpty())
        return {};
    if (::unlink(path_.c_str()) != 0 && errno != ENOENT)
        return Failure::OfErrno(errno);
    platform::ExitCleanup::RemoveFile(path_);
    path_ = Path();
    return {};
}

bool TemporaryOutput::IsReservedName(QByteArrayView fileName)
{
    // ".velunor-<pid>-<n>.mp3" and ".velunor-<pid>-<n>.part"
    const qsizetype suffix = fileName.endsWith(kOutputSuffix) ? kOutputSuffix.size()
                             : fileName.endsWith(kPartSuffix) ? kPartSuffix.size()
                                                              : 0;
    if (!fileName.startsWith(kPrefix) || suffix == 0 || fileName.size() < kPrefix.size() + suffix)
        return false;
    const QByteArrayView numbers =
        fileName.sliced(kPrefix.size(), fileName.size() - kPrefix.size() - suffix);
    const qsizetype dash = numbers.indexOf('-');
    return dash > 0 && AllDigits(numbers.first(dash)) && AllDigits(numbers.sliced(dash + 1));
}

int RemoveDeadLeftovers(const Path &folder)
{
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return 0;
    DIR *listing = ::fdopendir(dirFd);
    if (!listing) {
        ::close(dirFd);
        return 0;
    }
    int removed = 0;
    const uid_t user = ::geteuid();
    while (const dirent *entry = ::readdir(listing)) {
        if (!TemporaryOutput::IsReservedName(entry->d_name))
            continue;
        // Opened without following a link and without waiting on a pipe.
        const int fd =
            ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat held {};
        struct stat named {};
        // A read lock can be had only while nobody writes the file under the
        // program's lock: a living run's file is left alone.
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == user &&
            platform::FileSystem::TryLockWholeFile(fd, F_RDLCK) &&
            ::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            SameFile(held, named) && ::unlinkat(dirFd, entry->d_name, 0) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(listing);
    return removed;
}

} // namespace velunor::conversion
