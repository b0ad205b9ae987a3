#include "platform/FileSystem.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velunor::platform {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(FileSystem)
};

// Looks `path` up, following links; empty text names nothing.
std::optional<struct stat> LookUp(const Path &path)
{
    if (path.isEmpty())
        return std::nullopt;
    struct stat facts {};
    if (::stat(path.c_str(), &facts) != 0)
        return std::nullopt;
    return facts;
}

// Where the link at `path` leads; null when `path` is no link.
QByteArray LinkTarget(const Path &path)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    if (length < 0 || length == sizeof target)
        return QByteArray();
    return QByteArray(target, length);
}

} // namespace

Done FileSystem::Open(QFile &file, const Path &path, QIODevice::OpenMode mode)
{
    const bool writes = mode & QIODevice::WriteOnly;
    const int flags = (writes ? (mode & QIODevice::ReadOnly ? O_RDWR : O_WRONLY) : O_RDONLY) |
                      O_CLOEXEC | O_NOCTTY;
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0)
        return Failure::OfErrno(errno);
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Failure::OfErrno(EIO);
    }
    return {};
}

bool Main::PathExists(const Path &path)
{
    return LookUp(path).has_value();
}

bool Main::FolderExists(const Path &path)
{
    const auto facts = LookUp(path);
    return facts && S_ISDIR(facts->st_mode);
}

bool AddFolder::IsExistingFile(const Path &path)
{
    const auto facts = LookUp(path);
    return facts && !S_ISDIR(facts->st_mode);
}

bool FileSystem::HasEntry(const Path &path)
{
    struct stat facts {};
    return !path.isEmpty() && ::lstat(path.c_str(), &facts) == 0;
}

std::optional<FileIdentity> FileSystem::IdentityOf(const Path &path)
{
    const auto facts = LookUp(path);
    if (!facts)
        return std::nullopt;
    return FileIdentity{facts->st_dev, facts->st_ino};
}

bool FileSystem::IsSameFile(const Path &first, const Path &second)
{
    const auto one = IdentityOf(first);
    return one && one == IdentityOf(second);
}

Done FileSystem::CheckInputFile(const Path &path)
{
    errno = ENOENT;
    const auto facts = LookUp(path);
    if (!facts) {
        const int error = errno;
        if (error != ENOENT)
            return Failure{error, SystemMessage(error)};
        const QByteArray target = LinkTarget(path);
        return target.isNull()
                   ? Failure{ENOENT, Words::tr("the file does not exist")}
                   : Failure{ENOENT, Words::tr("it is a link to %1, which does not exist")
                                         .arg(Path::FromBytes(target).text())};
    }
    if (!S_ISREG(facts->st_mode))
        return Failure::Because(Words::tr("it is not a regular file"));
    return {};
}

Path FileSystem::RealPathOf(const Path &path)
{
    char *real = path.isEmpty() ? nullptr : ::realpath(path.c_str(), nullptr);
    if (!real)
        return Path();
    const Path resolved = Path::FromBytes(real);
    std::free(real);
    return resolved;
}

Path FileSystem::CurrentFolder()
{
    char *current = ::getcwd(nullptr, 0);
    if (!current)
        return Path::FromBytes("/");
    const Path folder = Path::FromBytes(current);
    std::free(current);
    return folder;
}

Path FileSystem::AbsoluteOf(const Path &path)
{
    const Path joined = path.isAbsolute() ? path : CurrentFolder().child(path);
    QList<QByteArray> parts = joined.bytes().split('/');
    parts.removeAll(QByteArray());
    parts.removeAll(QByteArray("."));
    const Path absolute = Path::FromBytes('/' + parts.join('/'));
    // A trailing separator says "a folder"; it is kept for the search.
    return path.endsWithSeparator() && absolute.size() > 1 ? absolute.withSeparator() : absolute;
}

qsizetype FileSystem::LongestNameIn(const Path &folder)
{
    // FAT answers more bytes than it takes (it counts UTF-16 units, at most
    // 255): 255 bytes are safe wherever a name may be that long.
    const long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? std::min<long>(longest, NAME_MAX) : NAME_MAX;
}

void FileSystem::SyncFolder(const Path &folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

QString FileSystem::SystemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

FileSystem::FolderClaimLock::FolderClaimLock(const Path &folder, const std::atomic<bool> *cancel)
{
    fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    // Another run holds it for no longer than a rename takes.
    while (!(cancel && cancel->load())) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            held_ = true;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            return;
        ::usleep(1000);
    }
}

FileSystem::FolderClaimLock::~FolderClaimLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool FileSystem::TryLockWholeFile(int fd, int type)
{
    struct flock lock {};
    lock.l_type = static_cast<short>(type);
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool FileSystem::IsStillNamed(int fd, const Path &path)
{
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

} // namespace velunor::platform
