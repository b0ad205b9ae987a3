#pragma once

#include "conversion/CompletionControl.h"
#include "conversion/DiskFullLog.h"
#include "conversion/FileOutcome.h"
#include "conversion/FilePlan.h"
#include "conversion/TemporaryOutput.h"
#include "platform/Processes.h"

#include <QByteArrayList>

#include <functional>

#include <atomic>
#include <memory>
#include <optional>

namespace velunor::conversion {

// The converter a run uses, for the questions the checks ask it.
struct StagedConverter {
    Path path;
    QByteArrayList environment;
    // For an MP3 input: SoX opens its MP3 module alone. Empty: `environment`.
    QByteArrayList mp3Environment;
};

// Whether a file of the list is `file`; waits while the list's files are
// being looked up, and gives none once `cancel` was raised meanwhile.
using ListedWaitingCheck = std::function<std::optional<bool>(const platform::FileIdentity &file,
                                                             const std::atomic<bool> *cancel)>;

// Everything the completion of one converted file works with. The worker
// that completes it owns it, and shares with the run only what outlives
// both: a worker given up on may wake after the run is gone.
class InputLevelsAhead;

struct Completion {
    FilePlan plan;
    platform::ProcessEnd end;
    QByteArray errorOutput;
    // The input is mono already: its audio frames are copied into the
    // temporary output, which the converter never wrote.
    bool copyAudio = false;
    StagedConverter converter;
    std::optional<double> inputSeconds; // measured ahead, when it was
    // The input's side of the mix check, measured while the converter ran.
    std::shared_ptr<const InputLevelsAhead> inputLevels;
    std::unique_ptr<TemporaryOutput> temporary;
    std::shared_ptr<OutputNames> names; // for a name taken meanwhile
    ListedWaitingCheck listed;          // the listed-file check before a rename
    std::shared_ptr<DiskFullLog> diskFull;
    DiskFullLog::Clock::time_point startedAt = DiskFullLog::Clock::now();
};

// Once the converter of a file has ended (or, for an input that is mono
// already, once its audio frames are copied into the temporary output):
// decides whether the temporary output is a whole conversion (the converter
// ended well and the output holds as much audio as the input, within half a
// second; a converter that failed is told by its own words); when it is,
// tells what the user should know of the audio (see AudioWarnings), copies
// the input's tags onto it with ReplayGain values of its own audio (see
// CopyTags; the album's follow with WriteAlbumGains), marks it with its
// input, writes it through to the
// disk, and gives it its final name, claimed while the folder is held so
// that no other run takes it at the same moment: this input's earlier output
// there is replaced; an output of another input keeps its name and this one
// takes the next free one; any other file of the user's is moved to the Trash
// first (replaced where there is no Trash). Where the file system keeps no
// marks, a file there whose MPEG audio is byte for byte the new output's is
// this input's earlier output. A name the file system refuses is made
// acceptable. Reads and writes files only, so it runs on a worker. Every
// failure is told in words, a full disk as such whichever step met it; the
// temporary output never survives one.
FileOutcome CompleteOutput(Completion &completion, CompletionControl &control);

// How a file ends whose output could not be made or named in `folder`
// because of `error`: the folder went away, the disk is full, or the folder
// cannot be written; none for an error that tells nothing of the folder.
std::optional<FileOutcome::Result> FolderWriteFailure(const Path &folder, int error);

} // namespace velunor::conversion
