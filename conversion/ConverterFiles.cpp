#include "conversion/ConverterFiles.h"

#include "platform/ExitCleanup.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velunor {

namespace {

using FileSystem::SystemMessage;

const QString kLockName = QStringLiteral("/.velunor-staging.lock");

// The library search path is a list separated by ":", so a folder whose path
// holds one would be split and its libraries never found.
bool UsableAsSearchPath(const QString &folder)
{
    return !folder.isEmpty() && !folder.contains(QLatin1Char(':'));
}

QString SystemTempFolder()
{
    const QString temp = QDir::tempPath();
    return UsableAsSearchPath(temp) ? temp : QStringLiteral("/tmp");
}

QString PrivateStagingFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (UsableAsSearchPath(runtime) && Main::FolderExists(runtime))
        return runtime + QStringLiteral("/velunor");
    return SystemTempFolder() + QStringLiteral("/velunor-") + QString::number(::getuid());
}

// Writes everything or fails with errno set; retries short writes.
bool WriteAll(int descriptor, const QByteArray &buffer)
{
    const char *next = buffer.constData();
    qsizetype left = buffer.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, next, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

bool OthersCanWrite(const struct stat &facts)
{
    return (facts.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

// A folder that other users can write to, or that belongs to someone else,
// is no place for a program and the libraries it loads first: another user
// could put a library of their own beside them.
bool IsSharedFolder(const QString &folder)
{
    struct stat facts {};
    if (::stat(QFile::encodeName(folder).constData(), &facts) != 0 || !S_ISDIR(facts.st_mode))
        return false;
    return facts.st_uid != ::geteuid() || OthersCanWrite(facts);
}

} // namespace

const std::array<ConverterFile, 5> &ConverterFileSet()
{
    static const std::array<ConverterFile, 5> files = {{
        {101, QStringLiteral("/sox"), true},
        {102, QStringLiteral("/libmad.so.0"), false},
        {103, QStringLiteral("/libmp3lame.so.0"), false},
        {104, QStringLiteral("/libgomp.so.1"), false},
        {105, QStringLiteral("/libz.so.1"), false},
    }};
    return files;
}

const ConverterFile &ConverterProgram()
{
    return ConverterFileSet().front();
}

QByteArray LoadConverterResource(int resourceId)
{
    QFile resource(QStringLiteral(":/converter/") + QString::number(resourceId));
    if (!resource.open(QIODevice::ReadOnly))
        throw PlatformError(
            QStringLiteral("Resource with identifier '%1' not found").arg(resourceId), 326);
    return resource.readAll();
}

StagingPlace ChooseStagingPlace()
{
    const QString temp = qEnvironmentVariable("TEMP");
    // TEMP is used exactly as given, unless it names a shared folder such as
    // /tmp or cannot stand in a search path; then the private folder takes
    // its place, so that converting still works and stays safe.
    if (UsableAsSearchPath(temp) && !IsSharedFolder(temp))
        return {temp, false};
    const QString folder = PrivateStagingFolder();
    const QByteArray name = QFile::encodeName(folder);
    const bool made = ::mkdir(name.constData(), 0700) == 0;
    // The folder must be the user's own, really a folder and closed to
    // others. Anything else at that name (a link someone planted in /tmp, a
    // folder of someone else's) is left alone and a new folder is made.
    struct stat facts {};
    if (::lstat(name.constData(), &facts) == 0 && S_ISDIR(facts.st_mode) &&
        facts.st_uid == ::geteuid() &&
        ((facts.st_mode & 077) == 0 || ::chmod(name.constData(), 0700) == 0))
        return {folder, true};
    if (made)
        ::rmdir(name.constData());
    QByteArray pattern = QFile::encodeName(SystemTempFolder() + QStringLiteral("/velunor-") +
                                           QString::number(::getuid()) + QStringLiteral("-XXXXXX"));
    if (::mkdtemp(pattern.data()) != nullptr)
        return {QFile::decodeName(pattern), true};
    return {folder, false};
}

void WriteResourceFile(const QByteArray &buffer, const QString &path, bool executable,
                       const Yield &yield)
{
    YieldNow(yield);
    if (Main::PathExists(path))
        return;

    // Written under a hidden name of its own first and linked to its real
    // name only when complete: link() never replaces anything, and never
    // follows a link someone put at that name.
    const QByteArray name = QFile::encodeName(path);
    QByteArray partName = name;
    partName.insert(partName.lastIndexOf('/') + 1, ".part-");
    partName += ".XXXXXX";
    const int descriptor = ::mkostemp(partName.data(), O_CLOEXEC);
    if (descriptor < 0)
        throw PlatformError(SystemMessage(errno));

    const mode_t mode = executable ? 0755 : 0644;
    int failure = 0;
    if (::fchmod(descriptor, mode) != 0 || !WriteAll(descriptor, buffer))
        failure = errno;
    if (::close(descriptor) != 0 && failure == 0 && errno != EINTR)
        failure = errno;
    // Someone who staged the same file meanwhile wins; theirs is complete too.
    if (failure == 0 && ::link(partName.constData(), name.constData()) != 0 && errno != EEXIST)
        failure = errno;
    ::unlink(partName.constData());
    if (failure != 0)
        throw PlatformError(SystemMessage(failure));
}

void DeleteFileQuietly(const QString &path, const Yield &yield)
{
    YieldNow(yield);
    ::unlink(QFile::encodeName(path).constData());
}

StagingLease::StagingLease()
{
    // The last user of a private folder removes it; one that started its run
    // at that moment makes the folder again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        place_ = ChooseStagingPlace();
        if (lock() || errno != ENOENT)
            break;
    }
    // A program ended abruptly lets go too, with the paths known now.
    std::vector<QByteArray> staged;
    for (const ConverterFile &file : ConverterFileSet())
        staged.push_back(QFile::encodeName(StagedPath(place_.folder, file)));
    ExitCleanup::AddAction(this, [this, staged] {
        release([&staged] {
            for (const QByteArray &path : staged)
                ::unlink(path.constData());
        });
    });
}

StagingLease::~StagingLease()
{
    ExitCleanup::RemoveAction(this);
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

bool StagingLease::lock()
{
    const QByteArray lockPath = QFile::encodeName(place_.folder + kLockName);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd =
            ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return false;
        // A run that ends holds the lock alone only for the moment it takes
        // to remove the files.
        int locked = -1;
        for (int wait = 0; wait < 200 && locked != 0; ++wait) {
            locked = ::flock(fd, LOCK_SH | LOCK_NB);
            if (locked != 0 && errno != EWOULDBLOCK && errno != EINTR)
                break;
            if (locked != 0)
                ::usleep(10000);
        }
        // The lock counts only on the file that is still there under its
        // name: the last user may have removed it while this run waited.
        struct stat held {};
        struct stat named {};
        if (locked == 0 && ::fstat(fd, &held) == 0 && ::lstat(lockPath.constData(), &named) == 0 &&
            held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
            lockFd_ = fd;
            return true;
        }
        ::close(fd);
        if (locked != 0)
            return false;
    }
    return false;
}

void StagingLease::release(const std::function<void()> &removeStagedFiles)
{
    if (released_)
        return;
    released_ = true;
    ExitCleanup::RemoveAction(this);
    if (lockFd_ >= 0 && ::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        // Another run still uses the files; it removes them when it ends.
        ::close(lockFd_);
        lockFd_ = -1;
        return;
    }
    removeStagedFiles();
    if (lockFd_ >= 0) {
        ::unlink(QFile::encodeName(place_.folder + kLockName).constData());
        ::close(lockFd_);
        lockFd_ = -1;
    }
    if (place_.madeForStaging)
        ::rmdir(QFile::encodeName(place_.folder).constData());
}

QString UntrustedConverterReason(const QString &stagingFolder)
{
    const uid_t user = ::geteuid();
    struct stat facts {};
    if (::stat(QFile::encodeName(stagingFolder).constData(), &facts) != 0)
        return QStringLiteral("the staging folder %1 cannot be used (%2)")
            .arg(stagingFolder, SystemMessage(errno));
    if (facts.st_uid != user)
        return QStringLiteral("the staging folder %1 belongs to another user").arg(stagingFolder);
    if (OthersCanWrite(facts))
        return QStringLiteral("other users can write to the staging folder %1").arg(stagingFolder);

    for (const ConverterFile &file : ConverterFileSet()) {
        const QString path = StagedPath(stagingFolder, file);
        if (::lstat(QFile::encodeName(path).constData(), &facts) != 0) {
            // A missing file is no danger: the program then fails to start,
            // a library is then taken from the system.
            if (errno == ENOENT)
                continue;
            return QStringLiteral("%1 cannot be checked (%2)").arg(path, SystemMessage(errno));
        }
        if (!S_ISREG(facts.st_mode))
            return QStringLiteral("%1 is not a plain file").arg(path);
        if (facts.st_uid != user)
            return QStringLiteral("%1 belongs to another user").arg(path);
        if (OthersCanWrite(facts))
            return QStringLiteral("other users can change %1").arg(path);
    }
    return QString();
}

} // namespace velunor
