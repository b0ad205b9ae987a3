#pragma once

#include <QString>

#include <compare>
#include <optional>
#include <sys/types.h>

// The program's one home for what it asks the file system about a path. Every
// rule looks the path up once, following links, and never opens the file, so
// a pipe or a device can never block it.
namespace velunor {

// What identifies a file on this machine, however it is named.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    auto operator<=>(const FileIdentity &) const = default;
};

namespace Main {
// True when `path` can be looked up at all (its modification time can be
// read). Never fails.
bool PathExists(const QString &path);
// True when `path` names a folder. Never fails.
bool FolderExists(const QString &path);
} // namespace Main

namespace AddFolder {
// True when `path` exists and is not a folder, and its name survives the
// round trip through the file-name encoding. Never fails.
bool IsExistingFile(const QString &path);
} // namespace AddFolder

namespace FileSystem {

// True when there is anything at `path` itself, a link that leads nowhere
// included.
bool HasEntry(const QString &path);
// The file `path` names, or none when it cannot be looked up.
std::optional<FileIdentity> IdentityOf(const QString &path);
// True when both paths name one and the same existing file, whatever links,
// "." or ".." lead to it.
bool IsSameFile(const QString &first, const QString &second);
// Why `path` cannot be read as an input file, in words, or "" when it can:
// it must exist and be a regular file (a pipe or a device would keep a reader
// waiting for ever).
QString InputFileProblem(const QString &path);
// `path` with every run of "/" collapsed into one.
QString CollapseSeparators(QString path);
// The system's words for an errno value.
QString SystemMessage(int error);

// Takes a lock of `type` (F_RDLCK, shared; F_WRLCK, alone) on the whole
// file open at `fd`, without waiting; a lock of the other type that `fd`
// holds is changed in one step. False, with errno set, when another holds a
// lock in the way. The lock belongs to the open file, not to the process: it
// holds against other threads of this program too, and it goes the moment
// the program dies, however it dies.
bool TryLockWholeFile(int fd, int type);
// True when `path` itself (not a link's target) is still the file open at
// `fd`: a lock on a file that somebody removed or replaced in the meantime
// guards nothing.
bool IsStillNamed(int fd, const QByteArray &path);

} // namespace FileSystem
} // namespace velunor
