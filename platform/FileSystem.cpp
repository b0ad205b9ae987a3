#include "platform/FileSystem.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace velunor {

namespace {

// Looks `path` up, following links; empty text names nothing.
std::optional<struct stat> LookUp(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    struct stat facts {};
    if (::stat(QFile::encodeName(path).constData(), &facts) != 0)
        return std::nullopt;
    return facts;
}

} // namespace

bool Main::PathExists(const QString &path)
{
    return LookUp(path).has_value();
}

bool Main::FolderExists(const QString &path)
{
    const auto facts = LookUp(path);
    return facts && S_ISDIR(facts->st_mode);
}

bool AddFolder::IsExistingFile(const QString &path)
{
    if (QFile::decodeName(QFile::encodeName(path)) != path)
        return false;
    const auto facts = LookUp(path);
    return facts && !S_ISDIR(facts->st_mode);
}

bool FileSystem::HasEntry(const QString &path)
{
    struct stat facts {};
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &facts) == 0;
}

std::optional<FileIdentity> FileSystem::IdentityOf(const QString &path)
{
    const auto facts = LookUp(path);
    if (!facts)
        return std::nullopt;
    return FileIdentity{facts->st_dev, facts->st_ino};
}

bool FileSystem::IsSameFile(const QString &first, const QString &second)
{
    const auto one = IdentityOf(first);
    return one && one == IdentityOf(second);
}

QString FileSystem::InputFileProblem(const QString &path)
{
    errno = ENOENT;
    const auto facts = LookUp(path);
    if (!facts)
        return errno == ENOENT ? QStringLiteral("the file does not exist") : SystemMessage(errno);
    if (!S_ISREG(facts->st_mode))
        return QStringLiteral("it is not a regular file");
    return QString();
}

QString FileSystem::CollapseSeparators(QString path)
{
    qsizetype kept = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path[i] == QLatin1Char('/') && kept > 0 && path[kept - 1] == QLatin1Char('/'))
            continue;
        path[kept++] = path[i];
    }
    path.truncate(kept);
    return path;
}

QString FileSystem::SystemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool FileSystem::TryLockWholeFile(int fd, int type)
{
    struct flock lock {};
    lock.l_type = static_cast<short>(type);
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool FileSystem::IsStillNamed(int fd, const QByteArray &path)
{
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::lstat(path.constData(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

} // namespace velunor
