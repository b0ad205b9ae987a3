#pragma once

#include "conversion/FileOutcome.h"
#include "conversion/FilePlan.h"
#include "conversion/TemporaryOutput.h"
#include "platform/Processes.h"

#include <QStringList>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

namespace velunor {

class ListedFiles;
class OutputNames;

// The converter a run uses, for the questions the checks ask it.
struct StagedConverter {
    QString path;
    QStringList environment;
};

// The mark each output carries (where the file system keeps such marks): the
// input's path. A file under an output's name that bears it is an earlier
// output of the program and may be replaced; any other file is the user's.
inline constexpr const char *kOutputMark = "user.velunor.input";

// Everything the completion of one converted file works with. The worker
// that completes it owns it.
struct Completion {
    FilePlan plan;
    ProcessEnd end;
    QByteArray errorOutput;
    StagedConverter converter;
    std::optional<double> inputSeconds; // measured ahead, when it was
    std::unique_ptr<TemporaryOutput> temporary;
    OutputNames *names = nullptr;
    ListedFiles *listed = nullptr;
};

// Shared by the run and the worker completing one file, so that the run can
// stop waiting for a worker that hangs without the worker ever touching the
// output's final name afterwards.
class CompletionControl {
public:
    std::atomic<bool> cancel{false};

    // The worker asks before it renames anything, and holds the control
    // until it is done. False once the run gave up on it.
    bool enter();
    void leave();
    // The hidden files of the program's own that the worker has now.
    void hold(const QString &path);
    void release(const QString &path);
    // The run gives up on the worker. True when the worker is not renaming
    // anything now and never will again; the files it held are removed then.
    // False when it is in the middle of a rename.
    bool abandon();

private:
    std::timed_mutex mutex_; // held while the worker renames
    bool abandoned_ = false;
    std::mutex heldMutex_;
    QStringList held_;
};

// Once the converter of a file has ended: decides whether the temporary
// output is a whole conversion (the converter ended well and the output holds
// as much audio as the input, within half a second); when it is, copies the
// input's tags onto it, marks it as the program's, writes it through to the
// disk, and gives it its final name: an earlier output of the program there
// is replaced, any other file of the user's is moved to the Trash first
// (replaced where there is no Trash), and a name the file system refuses is
// made acceptable. Reads and writes files only, so it runs on a worker.
// Every failure is told in words; the temporary output never survives one.
FileOutcome CompleteOutput(Completion &completion, CompletionControl &control);

// The length of the audio in `path` in seconds: the MPEG frames counted,
// or, for any other kind of file, what the converter reads in it. None when
// neither can tell or `cancel` was raised.
std::optional<double> AudioSeconds(const QString &path, const StagedConverter &converter,
                                   const std::atomic<bool> *cancel = nullptr);

// How a file ends whose output could not be made or named in `folder`
// because of `error`: the folder went away, the disk is full, or the folder
// cannot be written; none for an error that tells nothing of the folder.
std::optional<FileOutcome::Result> FolderWriteFailure(const QString &folder, int error);

} // namespace velunor
