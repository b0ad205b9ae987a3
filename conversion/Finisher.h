#pragma once

// The completion of one output, which FinishOutput.cpp (its checks and tags)
// and OutputPlacement.cpp (its name, the Trash and the rename) share; no part
// of the core's interface.

#include "conversion/FinishOutput.h"
#include "conversion/OutputMark.h"
#include "conversion/OutputNames.h"
#include "conversion/ReplayGainUpdate.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QSet>

#include <cerrno>
#include <memory>
#include <optional>

namespace velunor::conversion {

struct FinishWords {
    Q_DECLARE_TR_FUNCTIONS(FinishOutput)
};

inline bool IsDiskFullError(int error)
{
    return error == ENOSPC || error == EDQUOT;
}

class Finisher {
public:
    using Result = FileOutcome::Result;

    Finisher(Completion &completion, CompletionControl &control)
        : c_(completion), control_(control), folder_(c_.temporary->path().folder()),
          diskFull_(c_.diskFull ? c_.diskFull : std::make_shared<DiskFullLog>())
    {
        outcome_.inputPath = c_.plan.inputPath;
    }

    FileOutcome run();

private:
    bool stopped() const { return control_.cancel.load(); }

    FileOutcome converterFailed();

    // The audio frames of an input that is mono already become the output's.
    std::optional<FileOutcome> copyAudio();

    // Whether a file that came out short or not at all was cut short by a
    // full disk: the converter said so, the disk is full now, or it was seen
    // full while this file was converted.
    bool diskWasFull();

    // The output could not be written through to the disk.
    FileOutcome failWrite(int error);

    FileOutcome failDiskFull();

    FileOutcome fail(Result result, const QString &detail = QString(), OutcomeNumber number = {});

    // The temporary output is gone from its folder: the folder went, or
    // somebody removed the file.
    std::optional<FileOutcome> outputVanished();

    // Why a new file cannot be made or named in the output folder.
    FileOutcome cannotWrite(int error);

    std::optional<FileOutcome> copyTags(qint64 lengthMs);

    // The output takes the modification time its input had when it was
    // planned, which its mark notes too.
    std::optional<FileOutcome> keepInputDate();

    // The ReplayGain values of the converted audio, measured from all of it,
    // for tags that carry values in `forms`; the album's follow at the end of
    // the run, once all its tracks are known.
    tags::ReplayGainValues replayGainOfOutput(const tags::ReplayGainForms &forms, qint64 lengthMs);

    // How the output is made, for its mark.
    QByteArray madeHow() const { return MadeHow(c_.plan.mode, c_.plan.quality, c_.copyAudio); }

    // What the disk says of a name now; the list's files are asked without
    // waiting once they have been looked up.
    NameUse useOf(const Path &candidate);

    // The name this output takes, claimed while the folder is held: the one
    // planned, unless another run or the user took it meanwhile.
    std::optional<FileOutcome> chooseTarget(Path &target);

    bool reclaim(Path &target, const Path &stem);

    // A file of the user's own under the output's name goes to the Trash
    // rather than being lost; false when no Trash can take it: it keeps its
    // name then. Where no marks are kept, this input's earlier output is told
    // by its audio.
    bool makeRoom(const Path &target);

    // Whether the input is still the file it was when it was planned: one
    // that changed meanwhile is not what its output was made from.
    bool inputUnchanged() const;

    // The input leaves its name for its output: it goes to the Trash first,
    // so that at every moment one of the two is on the disk, the input in
    // the Trash at worst. Without a Trash the file is left as it was.
    std::optional<FileOutcome> trashInputFirst();

    // Once the output is in place under its own name, the input goes to the
    // Trash, unless the output is no longer there or the input changed
    // meanwhile; the outcome says where it went, or why it stays.
    void trashInput(const Path &target, const std::optional<platform::FileIdentity> &output);

    FileOutcome putInPlace();

    Completion &c_;
    CompletionControl &control_;
    const Path folder_;
    std::shared_ptr<DiskFullLog> diskFull_;
    bool marksKept_ = false;
    std::shared_ptr<AlbumTrack> albumTrack_;
    // A warning's remedy is to convert the input again (a mix that cancels
    // out, two programmes blended): the input stays out of the Trash. An
    // input whose output takes its place goes all the same, as asked.
    bool inputKeptForRemedy_ = false;
    // Names whose file of the user's no Trash could take.
    QSet<Path> keptForUser_;
    FileOutcome outcome_;
};

} // namespace velunor::conversion
