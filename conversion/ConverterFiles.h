#pragma once

#include "platform/Path.h"
#include "platform/Result.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <mutex>

namespace velunor::conversion {

// One file of the converter as the executable carries it.
struct ConverterFile {
    int resourceId;
    // Appended to the staging folder exactly as written, leading "/" included.
    QByteArray stagedName;
    // The program needs its execute permission; the libraries do not.
    bool executable;
};

// The five converter files in the order they are staged and removed: the SoX
// program, then the MP3 decoder, the MP3 encoder, the threads library and zlib.
const std::array<ConverterFile, 5> &ConverterFileSet();
// The program among them.
const ConverterFile &ConverterProgram();

// The bytes of one of the resources 101 to 105, where the executable holds
// them (valid for as long as the program runs); a failure when the
// executable does not carry it.
Expected<QByteArray> LoadConverterResource(int resourceId);

// Where the converter is staged: "TEMP" exactly as the environment gives it
// when it is set, not empty, not shared with other users and free of ":"
// (which would split the library search path); otherwise a folder private to
// the user ($XDG_RUNTIME_DIR/velunor, or <temp>/velunor-<uid>), created with
// mode 0700 when missing, or, when that is taken by something else, a new
// folder of the program's own.
struct StagingPlace {
    Path folder;
    // The program made this folder for staging: the last run to use it
    // removes it again.
    bool madeForStaging = false;
};
StagingPlace ChooseStagingPlace();

// The staged file's full path: the folder followed directly by its name.
inline Path StagedPath(const Path &stagingFolder, const ConverterFile &file)
{
    return stagingFolder.withSuffix(file.stagedName);
}

// Writes `buffer` as the whole content of a new file at `path`, unless
// something is there already (never overwrites). The file appears under its
// name only when it is complete, so a run that is ended half way never leaves
// a broken converter for the next one; while it is written, its hidden part
// is locked, so that a later run can tell the part of a killed run and remove
// it. A failure is told in the system's words.
Done WriteResourceFile(const QByteArray &buffer, const Path &path, bool executable);

// True when `path` is a regular file holding exactly `buffer`, byte for byte.
// Never follows a link.
bool StagedFileMatches(const Path &path, const QByteArray &buffer);

// Deletes the file at `path` if it can. Never fails.
void DeleteFileQuietly(const Path &path);

// A run's share of a staging folder. Several copies of the program may
// convert at the same time with the same staged files; each run holds a
// shared lock on the folder's lock file from before it stages until after its
// last converter has ended, and only the last run to let go removes the
// staged files. Nothing staged is ever used without the lock: a lock that
// cannot be had in time leaves the run without a converter, and locked()
// says why.
class StagingLease {
public:
    // Chooses the staging place and takes the shared lock, waiting a few
    // seconds at most for a run that holds it alone. Blocks: for a worker.
    StagingLease();
    ~StagingLease();
    StagingLease(const StagingLease &) = delete;
    StagingLease &operator=(const StagingLease &) = delete;

    const Path &folder() const { return place_.folder; }
    bool isLocked() const { return lockFd_ >= 0; }
    // Whether the run holds the lock, or why not.
    Done locked() const;

    // Puts `buffer` at `path` in place of whatever is there (a converter of
    // another version, a damaged file, a link), once no other run uses the
    // staged files: the lock is held alone for that moment. A failure when
    // that cannot be done in time.
    Done replace(const QByteArray &buffer, const Path &path, bool executable);

    // Ends the run's use of the folder. When no other run uses it, calls
    // `removeStagedFiles` and then removes the lock file and, when the
    // program made it, the folder; otherwise leaves everything to the run
    // that ends last. Only the first call does anything; a call from another
    // thread meanwhile waits for it.
    void release(const std::function<void()> &removeStagedFiles);

private:
    bool lock();
    bool waitForLock(int type);

    StagingPlace place_;
    int lockFd_ = -1;
    QString problem_;
    std::mutex releaseMutex_;
    bool released_ = false;
};

// Whether the converter staged in `stagingFolder` may be run, or why not. The converter loads every
// library it finds in that folder, so the folder and each staged file must belong to the user and
// must not be writable by anybody else.
Done CheckConverterTrusted(const Path &stagingFolder);

} // namespace velunor::conversion
