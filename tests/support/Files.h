#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include "platform/Path.h"

namespace velunor::testing {

// The whole content of a file; "<unreadable>" when it cannot be read.
QByteArray Contents(const QString &path);
// Writes `bytes` as the whole content of `path`, making its folder first;
// false when that fails.
bool WriteFile(const QString &path, const QByteArray &bytes, QFile::Permissions permissions = {});
// Every entry of a folder, hidden ones included, sorted by name.
QStringList Entries(const QString &folder);
// The path a text names (as Path::FromText() reads it), and the paths of
// texts, for the program's interfaces that take paths.
inline Path AsPath(const QString &text)
{
    return Path::FromText(text);
}
QList<Path> Paths(const QStringList &texts);
// The texts of paths as the program shows them.
QStringList Texts(const QList<Path> &paths);
// Writes the five converter files from the executable's resources into
// `folder`, as a run stages them.
void StageConverter(const QString &folder);

// Sets an environment variable for as long as the object lives.
class EnvironmentVariable {
public:
    explicit EnvironmentVariable(const char *name);
    EnvironmentVariable(const char *name, const QByteArray &value);
    ~EnvironmentVariable();
    EnvironmentVariable(const EnvironmentVariable &) = delete;
    EnvironmentVariable &operator=(const EnvironmentVariable &) = delete;

private:
    const char *name_;
    bool had_;
    QByteArray value_;
};

// A small file system of its own, to fill up for real: a tmpfs of `kilobytes`
// when the tests run as root. isMounted() is false elsewhere.
class SmallFileSystem {
public:
    explicit SmallFileSystem(int kilobytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    bool isMounted() const { return mounted_; }
    QString path() const { return folder_; }

private:
    QString folder_;
    bool mounted_ = false;
};

// A FAT file system of its own, as on a USB stick: an image of `kilobytes`
// made by mkfs.fat and mounted through fusefat, where the tests run as root
// and the machine has FUSE. isMounted() is false elsewhere.
class FatStick {
public:
    explicit FatStick(int kilobytes);
    ~FatStick();
    FatStick(const FatStick &) = delete;
    FatStick &operator=(const FatStick &) = delete;

    bool isMounted() const { return mounted_; }
    QString path() const { return folder_ + "/stick"; }

private:
    QString folder_;
    bool mounted_ = false;
};

// The processes this test program started that are still there (ended ones
// not yet reaped included), with their command names.
QList<QPair<int, QString>> ChildProcesses();

} // namespace velunor::testing
