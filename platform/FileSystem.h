#pragma once

#include "platform/Path.h"
#include "platform/Result.h"

#include <QFile>
#include <QString>

#include <atomic>
#include <compare>
#include <optional>
#include <sys/types.h>

// The program's one home for what it asks the file system about a path. Every
// rule looks the path up once, following links, and never opens the file, so
// a pipe or a device can never block it.
namespace velunor::platform {

// What identifies a file on this machine, however it is named.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    auto operator<=>(const FileIdentity &) const = default;
};

namespace Main {
// True when `path` can be looked up at all (its modification time can be
// read). Never fails.
bool PathExists(const Path &path);
// True when `path` names a folder. Never fails.
bool FolderExists(const Path &path);
} // namespace Main

namespace AddFolder {
// True when `path` exists and is not a folder. Never fails.
bool IsExistingFile(const Path &path);
} // namespace AddFolder

namespace FileSystem {

// Opens `file` on `path` by its bytes, with `mode` (ReadOnly, WriteOnly of a
// file that exists); `file` closes it. A failure carries the errno value.
Done Open(QFile &file, const Path &path, QIODevice::OpenMode mode);

// True when there is anything at `path` itself, a link that leads nowhere
// included.
bool HasEntry(const Path &path);
// The file `path` names, or none when it cannot be looked up.
std::optional<FileIdentity> IdentityOf(const Path &path);
// True when both paths name one and the same existing file, whatever links,
// "." or ".." lead to it.
bool IsSameFile(const Path &first, const Path &second);
// Whether `path` can be read as an input file, or why not, in words: it must
// exist and be a regular file (a pipe or a device would keep a reader waiting
// for ever).
Done CheckInputFile(const Path &path);
// The real path of `path`: every link, "." and ".." resolved; empty when it
// cannot be told (the path does not exist).
Path RealPathOf(const Path &path);
// The current folder; "/" when it cannot be told.
Path CurrentFolder();
// `path`, read against the current folder when it is relative, without "."
// parts and doubled separators. ".." is kept: a link before it decides where
// it leads.
Path AbsoluteOf(const Path &path);
// The longest file name, in bytes, that the file system of `folder` surely
// takes: 255 on most, fewer on some (143 in an encrypted eCryptfs home).
qsizetype LongestNameIn(const Path &folder);
// Writes a folder's entries through to the disk, so that a rename in it
// survives a power cut. Some file systems cannot, which changes nothing.
void SyncFolder(const Path &folder);
// The system's words for an errno value.
QString SystemMessage(int error);

// Holds a folder locked alone, for the moment in which a run claims a name
// in it, so that two runs writing into one folder at the same time never
// take the same name. The lock is an flock() on the folder itself (nothing is
// written into it); where the file system has no such locks, nothing is held
// and the run goes on as before.
class FolderClaimLock {
public:
    // Waits for the lock while `cancel` stays false.
    FolderClaimLock(const Path &folder, const std::atomic<bool> *cancel);
    ~FolderClaimLock();
    FolderClaimLock(const FolderClaimLock &) = delete;
    FolderClaimLock &operator=(const FolderClaimLock &) = delete;

    bool isHeld() const { return held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};

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
bool IsStillNamed(int fd, const Path &path);

} // namespace FileSystem
} // namespace velunor::platform
