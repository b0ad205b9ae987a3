#include "conversion/ConverterFiles.h"

#include "conversion/TemporaryOutput.h"
#include "platform/ByteCopy.h"
#include "platform/ExitCleanup.h"
#include "platform/FileSystem.h"
#include "shell/Main.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QResource>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velunor::conversion {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(ConverterFiles)
};

using platform::FileSystem::SystemMessage;

constexpr const char *kLockName = "/.velunor-staging.lock";
// How long a run waits for another that holds the staging lock alone (while
// it removes or replaces the staged files).
constexpr qint64 kLockWaitMs = 5000;
constexpr useconds_t kLockRetryMicroseconds = 10000;

// The library search path is a list separated by ":", so a folder whose path
// holds one would be split and its libraries never found.
bool UsableAsSearchPath(const Path &folder)
{
    return !folder.isEmpty() && !folder.bytes().contains(':');
}

// The folder a variable of the environment names, as its bytes.
Path FolderOfVariable(const char *name)
{
    return Path::FromBytes(qgetenv(name));
}

Path SystemTempFolder()
{
    Path temp = FolderOfVariable("TMPDIR");
    while (temp.size() > 1 && temp.endsWithSeparator())
        temp = Path::FromBytes(temp.bytes().chopped(1));
    return UsableAsSearchPath(temp) && temp.isAbsolute() ? temp : Path::FromBytes("/tmp");
}

QByteArray UserSuffix()
{
    return "/velunor-" + QByteArray::number(::getuid());
}

Path PrivateStagingFolder()
{
    const Path runtime = FolderOfVariable("XDG_RUNTIME_DIR");
    if (UsableAsSearchPath(runtime) && platform::Main::FolderExists(runtime))
        return runtime.withSuffix("/velunor");
    return SystemTempFolder().withSuffix(UserSuffix());
}

bool OthersCanWrite(const struct stat &facts)
{
    return (facts.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

// A folder that other users can write to, or that belongs to someone else,
// is no place for a program and the libraries it loads first: another user
// could put a library of their own beside them.
bool IsSharedFolder(const Path &folder)
{
    struct stat facts {};
    if (::stat(folder.c_str(), &facts) != 0 || !S_ISDIR(facts.st_mode))
        return false;
    return facts.st_uid != ::geteuid() || OthersCanWrite(facts);
}

} // namespace

const std::array<ConverterFile, 5> &ConverterFileSet()
{
    static const std::array<ConverterFile, 5> files = {{
        {101, QByteArrayLiteral("/sox"), true},
        {102, QByteArrayLiteral("/libmad.so.0"), false},
        {103, QByteArrayLiteral("/libmp3lame.so.0"), false},
        {104, QByteArrayLiteral("/libgomp.so.1"), false},
        {105, QByteArrayLiteral("/libz.so.1"), false},
    }};
    return files;
}

const ConverterFile &ConverterProgram()
{
    return ConverterFileSet().front();
}

Expected<QByteArray> LoadConverterResource(int resourceId)
{
    // The payload is stored uncompressed, so the bytes are those the
    // executable maps, not a copy of a megabyte made on every run.
    const QResource resource(QStringLiteral(":/converter/") + QString::number(resourceId));
    const QByteArray bytes = resource.isValid() ? resource.uncompressedData() : QByteArray();
    if (bytes.isNull())
        return Failure{326, Words::tr("Resource with identifier '%1' not found").arg(resourceId)};
    return bytes;
}

StagingPlace ChooseStagingPlace()
{
    const Path temp = FolderOfVariable("TEMP");
    // TEMP is used exactly as given, unless it names a shared folder such as
    // /tmp or cannot stand in a search path; then the private folder takes
    // its place, so that converting still works and stays safe.
    if (UsableAsSearchPath(temp) && !IsSharedFolder(temp))
        return {temp, false};
    const Path folder = PrivateStagingFolder();
    const char *name = folder.c_str();
    const bool made = ::mkdir(name, 0700) == 0;
    // The folder must be the user's own, really a folder and closed to
    // others. Anything else at that name (a link someone planted in /tmp, a
    // folder of someone else's) is left alone and a new folder is made.
    struct stat facts {};
    if (::lstat(name, &facts) == 0 && S_ISDIR(facts.st_mode) && facts.st_uid == ::geteuid() &&
        ((facts.st_mode & 077) == 0 || ::chmod(name, 0700) == 0))
        return {folder, true};
    if (made)
        ::rmdir(name);
    QByteArray pattern = SystemTempFolder().withSuffix(UserSuffix() + "-XXXXXX").bytes();
    if (::mkdtemp(pattern.data()) != nullptr)
        return {Path::FromBytes(pattern), true};
    return {folder, false};
}

namespace {

// Writes `buffer` into a new locked part beside `path` and hands the
// complete part to `putInPlace`, which names it.
Done WritePart(const QByteArray &buffer, const Path &path, bool executable,
               const std::function<Done(TemporaryOutput &)> &putInPlace)
{
    Expected<std::unique_ptr<TemporaryOutput>> reserved =
        TemporaryOutput::Reserve(path.folder(), QByteArrayLiteral(".part"));
    if (!reserved)
        return Failure::Because(SystemMessage(reserved.failure().code));
    const std::unique_ptr<TemporaryOutput> part = std::move(*reserved);
    const mode_t mode = executable ? 0755 : 0644;
    if (::fchmod(part->descriptor(), mode) != 0)
        return Failure::Because(SystemMessage(errno));
    if (const int failure = platform::WriteAll(part->descriptor(), buffer); failure != 0)
        return Failure::Because(SystemMessage(failure));
    if (const Done placed = putInPlace(*part); !placed)
        return Failure::Because(SystemMessage(placed.failure().code));
    return {};
}

} // namespace

Done WriteResourceFile(const QByteArray &buffer, const Path &path, bool executable)
{
    if (platform::Main::PathExists(path))
        return {};
    // Linked to its real name only when complete: link() never replaces
    // anything, and never follows a link someone put at that name. Someone
    // who staged the same file meanwhile wins; theirs is complete too.
    return WritePart(buffer, path, executable, [&path](TemporaryOutput &part) -> Done {
        if (::link(part.path().c_str(), path.c_str()) != 0 && errno != EEXIST)
            return Failure::OfErrno(errno);
        return {};
    });
}

namespace {

// True when what is left to read at `fd` is exactly `expected`. Compared
// block by block: as strict as comparing digests, and a run that finds the
// files staged by a run beside it pays a read of them rather than hashing
// both sides (tens of milliseconds).
bool ReadsExactly(int fd, const QByteArray &expected)
{
    constexpr qint64 kBlock = 64 * 1024;
    QByteArray block(kBlock, Qt::Uninitialized);
    qint64 offset = 0;
    for (;;) {
        const ssize_t got = ::read(fd, block.data(), kBlock);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 || got > expected.size() - offset)
            return false;
        if (got == 0)
            return offset == expected.size();
        if (std::memcmp(block.constData(), expected.constData() + offset, size_t(got)) != 0)
            return false;
        offset += got;
    }
}

} // namespace

bool StagedFileMatches(const Path &path, const QByteArray &buffer)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat facts {};
    const bool same = ::fstat(fd, &facts) == 0 && S_ISREG(facts.st_mode) &&
                      facts.st_size == buffer.size() && ReadsExactly(fd, buffer);
    ::close(fd);
    return same;
}

void DeleteFileQuietly(const Path &path)
{
    ::unlink(path.c_str());
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
    if (lockFd_ < 0 && problem_.isEmpty())
        problem_ = Words::tr("the staging folder %1 cannot be used (%2)")
                       .arg(place_.folder.text(), SystemMessage(errno));
    // A program ended abruptly lets go too, with the paths known now.
    std::vector<QByteArray> staged;
    for (const ConverterFile &file : ConverterFileSet())
        staged.push_back(StagedPath(place_.folder, file).bytes());
    platform::ExitCleanup::AddAction(this, [this, staged] {
        release([&staged] {
            for (const QByteArray &path : staged)
                ::unlink(path.constData());
        });
    });
}

StagingLease::~StagingLease()
{
    platform::ExitCleanup::RemoveAction(this);
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

// Takes the lock `type` (F_RDLCK, shared, or F_WRLCK, alone) on the lock
// file, waiting for a run that holds it otherwise. A lock of the other type
// that this run holds is changed in one step: a failed attempt leaves it as
// it was, and no other run can come in between.
bool StagingLease::waitForLock(int type)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (platform::FileSystem::TryLockWholeFile(lockFd_, type))
            return true;
        if (errno != EAGAIN && errno != EACCES && errno != EINTR)
            return false;
        if (waited.elapsed() >= kLockWaitMs) {
            errno = EAGAIN;
            return false;
        }
        ::usleep(kLockRetryMicroseconds);
    }
}

bool StagingLease::lock()
{
    const Path lockPath = place_.folder.withSuffix(kLockName);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return false;
        lockFd_ = fd;
        const bool locked = waitForLock(F_RDLCK);
        const int error = errno;
        // The lock counts only on the file that is still there under its
        // name: the last user may have removed it while this run waited.
        if (locked && platform::FileSystem::IsStillNamed(fd, lockPath))
            return true;
        ::close(fd);
        lockFd_ = -1;
        if (!locked) {
            problem_ = error == EAGAIN ? Words::tr("another run holds the staging folder %1 locked")
                                             .arg(place_.folder.text())
                                       : Words::tr("the staging folder %1 cannot be locked (%2)")
                                             .arg(place_.folder.text(), SystemMessage(error));
            errno = error;
            return false;
        }
    }
    return false;
}

Done StagingLease::locked() const
{
    if (lockFd_ >= 0)
        return {};
    return Failure::Because(problem_);
}

Done StagingLease::replace(const QByteArray &buffer, const Path &path, bool executable)
{
    if (lockFd_ < 0)
        return Failure::Because(problem_);
    // Other runs may be converting with the files there now; they are
    // replaced only when none is.
    if (!waitForLock(F_WRLCK)) {
        const int error = errno;
        return Failure::Because(
            error == EAGAIN
                ? Words::tr("%1 differs from this version's and another run still uses it")
                      .arg(path.text())
                : SystemMessage(error));
    }
    const Done written = WritePart(buffer, path, executable,
                                   [&path](TemporaryOutput &part) { return part.moveTo(path); });
    if (!waitForLock(F_RDLCK)) {
        ::close(lockFd_);
        lockFd_ = -1;
        problem_ = Words::tr("the staging folder %1 could not be locked again (%2)")
                       .arg(place_.folder.text(), SystemMessage(errno));
    }
    return written;
}

void StagingLease::release(const std::function<void()> &removeStagedFiles)
{
    // A second call, from another thread, returns once the first is done.
    const std::lock_guard lock(releaseMutex_);
    if (released_)
        return;
    released_ = true;
    platform::ExitCleanup::RemoveAction(this);
    // A run that never had the lock staged nothing and removes nothing.
    if (lockFd_ < 0)
        return;
    if (!platform::FileSystem::TryLockWholeFile(lockFd_, F_WRLCK)) {
        // Another run still uses the files; it removes them when it ends.
        ::close(lockFd_);
        lockFd_ = -1;
        return;
    }
    removeStagedFiles();
    ::unlink(place_.folder.withSuffix(kLockName).c_str());
    ::close(lockFd_);
    lockFd_ = -1;
    if (place_.madeForStaging)
        ::rmdir(place_.folder.c_str());
}

Done CheckConverterTrusted(const Path &stagingFolder)
{
    const uid_t user = ::geteuid();
    const QString folder = stagingFolder.text();
    struct stat facts {};
    if (::stat(stagingFolder.c_str(), &facts) != 0)
        return Failure::Because(Words::tr("the staging folder %1 cannot be used (%2)")
                                    .arg(folder, SystemMessage(errno)));
    if (facts.st_uid != user)
        return Failure::Because(
            Words::tr("the staging folder %1 belongs to another user").arg(folder));
    if (OthersCanWrite(facts))
        return Failure::Because(
            Words::tr("other users can write to the staging folder %1").arg(folder));

    for (const ConverterFile &file : ConverterFileSet()) {
        const Path staged = StagedPath(stagingFolder, file);
        const QString path = staged.text();
        if (::lstat(staged.c_str(), &facts) != 0) {
            // A missing file is no danger: the program then fails to start,
            // a library is then taken from the system.
            if (errno == ENOENT)
                continue;
            return Failure::Because(
                Words::tr("%1 cannot be checked (%2)").arg(path, SystemMessage(errno)));
        }
        if (!S_ISREG(facts.st_mode))
            return Failure::Because(Words::tr("%1 is not a plain file").arg(path));
        if (facts.st_uid != user)
            return Failure::Because(Words::tr("%1 belongs to another user").arg(path));
        if (OthersCanWrite(facts))
            return Failure::Because(Words::tr("other users can change %1").arg(path));
    }
    return {};
}

} // namespace velunor::conversion
