#include "conversion/TemporaryOutput.h"

#include "platform/ExitCleanup.h"
#include "platform/FileSystem.h"
#include "shell/Main.h"

#include <QCoreApplication>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velunor {

namespace {

// Numbers the temporary outputs of this program; together with the process
// number they are unique on the machine.
std::atomic<quint64> temporaryCount{0};

const QString kPrefix = QStringLiteral(".velunor-");
const QString kOutputSuffix = QStringLiteral(".mp3");
const QString kPartSuffix = QStringLiteral(".part");

bool SameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool AllDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

std::unique_ptr<TemporaryOutput> TemporaryOutput::Reserve(const QString &folder, int &error,
                                                          const QString &suffix)
{
    const QString base = Main::FolderWithSeparator(folder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = base + kPrefix + QString::number(QCoreApplication::applicationPid()) +
                             QLatin1Char('-') + QString::number(++temporaryCount) + suffix;
        const QByteArray name = QFile::encodeName(path);
        const int fd =
            ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            error = errno;
            return nullptr;
        }
        // Held locked while it is written: that tells a living run's file
        // from a dead one's. Another run clearing away debris may have found
        // the file in the moment before it was locked, and removed it: then
        // it is not ours any more, and another name is taken.
        if (FileSystem::TryLockWholeFile(fd, F_WRLCK) && FileSystem::IsStillNamed(fd, name))
            return std::unique_ptr<TemporaryOutput>(new TemporaryOutput(path, fd));
        ::close(fd);
    }
    error = EEXIST;
    return nullptr;
}

TemporaryOutput::TemporaryOutput(QString path, int fd) : path_(std::move(path)), fd_(fd)
{
    // Removed even when the program ends without its own clean-up.
    ExitCleanup::AddFile(path_);
}

TemporaryOutput::~TemporaryOutput()
{
    remove();
    if (fd_ >= 0)
        ::close(fd_);
}

void TemporaryOutput::forget()
{
    ExitCleanup::RemoveFile(path_);
    path_.clear();
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

int TemporaryOutput::moveTo(const QString &target)
{
    if (path_.isEmpty())
        return ENOENT;
    if (::rename(QFile::encodeName(path_).constData(), QFile::encodeName(target).constData()) != 0)
        return errno;
    forget();
    return 0;
}

int TemporaryOutput::moveOver(TemporaryOutput &other)
{
    if (path_.isEmpty() || other.path_.isEmpty())
        return ENOENT;
    if (::rename(QFile::encodeName(path_).constData(),
                 QFile::encodeName(other.path_).constData()) != 0)
        return errno;
    // The other's name, noted for the clean-up at an abrupt end, is this
    // file's now.
    ExitCleanup::RemoveFile(path_);
    path_ = std::exchange(other.path_, QString());
    other.forget();
    ExitCleanup::AddFile(path_);
    return 0;
}

int TemporaryOutput::remove()
{
    if (path_.isEmpty())
        return 0;
    const int result =
        ::unlink(QFile::encodeName(path_).constData()) == 0 || errno == ENOENT ? 0 : errno;
    if (result == 0) {
        ExitCleanup::RemoveFile(path_);
        path_.clear();
    }
    return result;
}

bool TemporaryOutput::IsReservedName(const QString &fileName)
{
    // ".velunor-<pid>-<n>.mp3" and ".velunor-<pid>-<n>.part"
    const qsizetype suffix = fileName.endsWith(kOutputSuffix) ? kOutputSuffix.size()
                             : fileName.endsWith(kPartSuffix) ? kPartSuffix.size()
                                                              : 0;
    if (!fileName.startsWith(kPrefix) || suffix == 0)
        return false;
    const QStringView numbers =
        QStringView(fileName).mid(kPrefix.size(), fileName.size() - kPrefix.size() - suffix);
    const qsizetype dash = numbers.indexOf(QLatin1Char('-'));
    return dash > 0 && AllDigits(numbers.left(dash)) && AllDigits(numbers.mid(dash + 1));
}

int RemoveDeadLeftovers(const QString &folder)
{
    const int dirFd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
        const QString name = QFile::decodeName(entry->d_name);
        if (!TemporaryOutput::IsReservedName(name))
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
            FileSystem::TryLockWholeFile(fd, F_RDLCK) &&
            ::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            SameFile(held, named) && ::unlinkat(dirFd, entry->d_name, 0) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(listing);
    return removed;
}

} // namespace velunor
