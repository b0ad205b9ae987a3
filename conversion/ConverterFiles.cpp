#include "conversion/ConverterFiles.h"

#include "app/Main.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velunor {

namespace {

QString SystemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString PrivateStagingFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && Main::FolderExists(runtime))
        return runtime + QStringLiteral("/velunor");
    return QDir::tempPath() + QStringLiteral("/velunor-") + QString::number(::getuid());
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

QString StagingFolder()
{
    const QString temp = qEnvironmentVariable("TEMP");
    // TEMP is used exactly as given, unless it names a shared folder such as
    // /tmp; then the private folder takes its place, so that converting still
    // works and stays safe.
    if (!temp.isEmpty() && !IsSharedFolder(temp))
        return temp;
    const QString folder = PrivateStagingFolder();
    const QByteArray name = QFile::encodeName(folder);
    ::mkdir(name.constData(), 0700);
    // The folder must be the user's own, really a folder and closed to
    // others. Anything else at that name (a link someone planted in /tmp, a
    // folder of someone else's) is left alone and a new folder is made.
    struct stat facts {};
    if (::lstat(name.constData(), &facts) == 0 && S_ISDIR(facts.st_mode) &&
        facts.st_uid == ::geteuid() &&
        ((facts.st_mode & 077) == 0 || ::chmod(name.constData(), 0700) == 0))
        return folder;
    QByteArray pattern = QFile::encodeName(QDir::tempPath() + QStringLiteral("/velunor-") +
                                           QString::number(::getuid()) + QStringLiteral("-XXXXXX"));
    if (::mkdtemp(pattern.data()) != nullptr)
        return QFile::decodeName(pattern);
    return folder;
}

void WriteResourceFile(const QByteArray &buffer, const QString &path, bool executable)
{
    Main::YieldToEvents();
    if (Main::PathExists(path))
        return;

    const QByteArray name = QFile::encodeName(path);
    const mode_t mode = executable ? 0755 : 0644;
    // O_EXCL: something that appeared since the test above, a dangling link
    // included, is never written through.
    const int descriptor =
        ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    if (descriptor < 0)
        throw PlatformError(SystemMessage(errno));

    int failure = 0;
    if (::fchmod(descriptor, mode) != 0 || !WriteAll(descriptor, buffer))
        failure = errno;
    if (::close(descriptor) != 0 && failure == 0 && errno != EINTR)
        failure = errno;
    if (failure != 0) {
        // A half-written converter would only fail later in a less clear way.
        ::unlink(name.constData());
        throw PlatformError(SystemMessage(failure));
    }
}

void DeleteFileQuietly(const QString &path)
{
    Main::YieldToEvents();
    ::unlink(QFile::encodeName(path).constData());
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
