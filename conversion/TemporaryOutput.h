#pragma once

#include "platform/Path.h"
#include "platform/Result.h"

#include <memory>

namespace velunor::conversion {

// A hidden file of the program's own in a user's folder, named
// ".velunor-<pid>-<n>.mp3", that a converted file is written into before it
// may take its final name. The name is created new (never replacing
// anything) and the file stays locked for as long as this object lives, so
// that any later run can tell a file still being written from the debris of a
// program that was killed. Destroying the object removes the file unless it
// was moved to its final name.
class TemporaryOutput {
public:
    // Reserves a new, empty file in `folder`, named with `suffix` (".mp3",
    // which tells the converter the type it writes, or ".part" for a staged
    // file being written). A failure, with the errno value as its code, when
    // the folder cannot be written.
    static Expected<std::unique_ptr<TemporaryOutput>> Reserve(const Path &folder,
                                                              const QByteArray &suffix = ".mp3");
    ~TemporaryOutput();
    TemporaryOutput(const TemporaryOutput &) = delete;
    TemporaryOutput &operator=(const TemporaryOutput &) = delete;

    // Empty once the file was moved away or removed.
    const Path &path() const { return path_; }
    // A descriptor open for reading and writing on the file, valid while the
    // object lives.
    int descriptor() const { return fd_; }

    // Gives the file the name `target`, replacing what is there in one step.
    // A failure carries the errno value (the file is then still this
    // object's).
    Done moveTo(const Path &target);
    // Gives the file the name of `other`'s file, which is replaced; `other`
    // no longer owns a file then.
    Done moveOver(TemporaryOutput &other);
    // Removes the file now; one that is gone already is no failure.
    Done remove();

    // True for names of the program's own temporary files.
    static bool IsReservedName(QByteArrayView fileName);

private:
    TemporaryOutput(Path path, int fd);
    void forget();

    Path path_;
    int fd_ = -1;
};

// Removes from `folder` the temporary files that no living program writes
// any more: regular files of the user's own whose names are reserved to the
// program and that nobody holds locked (a program killed part way leaves
// them). Never follows a link and never touches anything else. Returns how
// many files were removed.
int RemoveDeadLeftovers(const Path &folder);

} // namespace velunor::conversion
