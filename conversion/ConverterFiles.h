#pragma once

#include "platform/Yield.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>

namespace velunor {

// One file of the converter as the executable carries it.
struct ConverterFile {
    int resourceId;
    // Appended to the staging folder exactly as written, leading "/" included.
    QString stagedName;
    // The program needs its execute permission; the libraries do not.
    bool executable;
};

// The five converter files in the order they are staged and removed: the SoX
// program, then the MP3 decoder, the MP3 encoder, the threads library and zlib.
const std::array<ConverterFile, 5> &ConverterFileSet();
// The program among them.
const ConverterFile &ConverterProgram();

// The bytes of one of the resources 101 to 105. Throws PlatformError when the
// executable does not carry it.
QByteArray LoadConverterResource(int resourceId);

// Where the converter is staged: "TEMP" exactly as the environment gives it
// when it is set, not empty, not shared with other users and free of ":"
// (which would split the library search path); otherwise a folder private to
// the user ($XDG_RUNTIME_DIR/velunor, or <temp>/velunor-<uid>), created with
// mode 0700 when missing, or, when that is taken by something else, a new
// folder of the program's own.
struct StagingPlace {
    QString folder;
    // The program made this folder for staging: the last run to use it
    // removes it again.
    bool madeForStaging = false;
};
StagingPlace ChooseStagingPlace();

// The staged file's full path: the folder followed directly by its name.
inline QString StagedPath(const QString &stagingFolder, const ConverterFile &file)
{
    return stagingFolder + file.stagedName;
}

// Calls `yield`, then writes `buffer` as the whole content of a new file at
// `path`, unless something is there already (never overwrites). The file
// appears under its name only when it is complete, so a run that is ended
// half way never leaves a broken converter for the next one. Failures rise as
// PlatformError with the system's message.
void WriteResourceFile(const QByteArray &buffer, const QString &path, bool executable,
                       const Yield &yield);

// Calls `yield`, then deletes the file at `path` if it can. Never fails.
void DeleteFileQuietly(const QString &path, const Yield &yield);

// A run's share of a staging folder. Several copies of the program may
// convert at the same time with the same staged files; each run holds a
// shared lock on the folder's lock file from before it stages until after its
// last converter has ended, and only the last run to let go removes the
// staged files. A lock that cannot be taken (a folder that cannot be
// written) leaves the run on its own, as if it were the last.
class StagingLease {
public:
    // Chooses the staging place and takes the shared lock.
    StagingLease();
    ~StagingLease();
    StagingLease(const StagingLease &) = delete;
    StagingLease &operator=(const StagingLease &) = delete;

    const QString &folder() const { return place_.folder; }

    // Ends the run's use of the folder. When no other run uses it, calls
    // `removeStagedFiles` and then removes the lock file and, when the
    // program made it, the folder; otherwise leaves everything to the run
    // that ends last. Only the first call does anything.
    void release(const std::function<void()> &removeStagedFiles);

private:
    bool lock();

    StagingPlace place_;
    int lockFd_ = -1;
    bool released_ = false;
};

// Why the converter staged in `stagingFolder` must not be run, or "" when it
// may. The converter loads every library it finds in that folder, so the
// folder and each staged file must belong to the user and must not be
// writable by anybody else.
QString UntrustedConverterReason(const QString &stagingFolder);

} // namespace velunor
