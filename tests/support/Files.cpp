#include "Files.h"

#include "conversion/ConverterFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/mount.h>
#include <unistd.h>

namespace velunor::testing {

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteFile(const QString &path, const QByteArray &bytes, QFile::Permissions permissions)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    return !permissions || file.setPermissions(permissions);
}

QStringList Entries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden, QDir::Name);
}

QList<Path> Paths(const QStringList &texts)
{
    return Path::FromTexts(texts);
}

QStringList Texts(const QList<Path> &paths)
{
    QStringList texts;
    for (const Path &path : paths)
        texts << path.text();
    return texts;
}

void StageConverter(const QString &folder)
{
    for (const conversion::ConverterFile &file : conversion::ConverterFileSet()) {
        const Expected<QByteArray> bytes = conversion::LoadConverterResource(file.resourceId);
        if (!bytes ||
            !conversion::WriteResourceFile(
                *bytes, conversion::StagedPath(Path::FromText(folder), file), file.executable))
            qWarning("the converter file %d could not be staged", file.resourceId);
    }
}

EnvironmentVariable::EnvironmentVariable(const char *name)
    : name_(name), had_(qEnvironmentVariableIsSet(name)), value_(qgetenv(name))
{
}

EnvironmentVariable::EnvironmentVariable(const char *name, const QByteArray &value)
    : EnvironmentVariable(name)
{
    qputenv(name, value);
}

EnvironmentVariable::~EnvironmentVariable()
{
    if (had_)
        qputenv(name_, value_);
    else
        qunsetenv(name_);
}

SmallFileSystem::SmallFileSystem(int kilobytes)
{
    QTemporaryDir place;
    place.setAutoRemove(false);
    folder_ = place.path();
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0700";
    mounted_ = ::geteuid() == 0 && ::mount("tmpfs", QFile::encodeName(folder_).constData(), "tmpfs",
                                           0, options.constData()) == 0;
}

SmallFileSystem::~SmallFileSystem()
{
    if (mounted_)
        ::umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
    QDir(folder_).removeRecursively();
}

FatStick::FatStick(int kilobytes)
{
    QTemporaryDir place;
    place.setAutoRemove(false);
    folder_ = place.path();
    const QString image = folder_ + "/fat.img";
    if (::geteuid() != 0 || !QFile::exists("/dev/fuse") || !QDir().mkpath(path()))
        return;
    mounted_ = QProcess::execute("mkfs.fat", {"-C", image, QString::number(kilobytes)}) == 0 &&
               QProcess::execute("fusefat", {"-o", "rw+", image, path()}) == 0;
}

FatStick::~FatStick()
{
    if (mounted_)
        QProcess::execute("fusermount", {"-u", path()});
    QDir(folder_).removeRecursively();
}

QList<QPair<int, QString>> ChildProcesses()
{
    QList<QPair<int, QString>> children;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(::getpid());
    for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile list(tasks + "/" + task + "/children");
        if (!list.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &pid : list.readAll().split(' ')) {
            if (pid.trimmed().isEmpty())
                continue;
            QFile name(QStringLiteral("/proc/%1/comm").arg(QString::fromLatin1(pid.trimmed())));
            children.append(
                {pid.trimmed().toInt(), name.open(QIODevice::ReadOnly)
                                            ? QString::fromLocal8Bit(name.readAll().trimmed())
                                            : QString()});
        }
    }
    return children;
}

} // namespace velunor::testing
