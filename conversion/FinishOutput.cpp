#include "conversion/FinishOutput.h"

#include "conversion/AudioChecks.h"
#include "conversion/InputMeasurer.h"
#include "conversion/OutputMark.h"
#include "conversion/OutputNames.h"
#include "conversion/ReplayGainUpdate.h"
#include "conversion/SoxMessages.h"
#include "platform/FileSystem.h"
#include "platform/Trash.h"
#include "shell/Main.h"
#include "tags/MpegAudio.h"
#include "tags/MpegAudioCopy.h"
#include "tags/TagCopy.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

namespace velunor::conversion {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(FinishOutput)
};

using Result = FileOutcome::Result;

// Lengths that differ by less than this are the same audio: an encoder adds
// a frame or two of padding at each end.
constexpr double kLengthToleranceSeconds = 0.5;

bool WriteFailedAsTold(const QByteArray &errorOutput)
{
    // SoX's words when a write of its output failed, whatever the cause; it
    // may still end with status 0.
    return errorOutput.contains("File write failed") ||
           errorOutput.contains("No space left on device");
}

QString Seconds(double seconds)
{
    return QString::number(seconds, 'f', 1);
}

bool IsPermissionError(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

bool IsDiskFullError(int error)
{
    return error == ENOSPC || error == EDQUOT;
}

class Finisher {
public:
    Finisher(Completion &completion, CompletionControl &control)
        : c_(completion), control_(control), folder_(c_.temporary->path().folder()),
          diskFull_(c_.diskFull ? c_.diskFull : std::make_shared<DiskFullLog>())
    {
        outcome_.inputPath = c_.plan.inputPath;
    }

    FileOutcome run()
    {
        // SoX removes its output when it fails: its own words tell why.
        if (c_.end.signal == 0 && c_.end.exitStatus != 0)
            return converterFailed();
        if (const std::optional<FileOutcome> vanished = outputVanished())
            return *vanished;
        if (c_.end.signal != 0)
            return fail(Result::Killed, platform::LastErrorLine(c_.errorOutput),
                        OutcomeNumber::Signal(c_.end.signal));
        if (c_.copyAudio) {
            if (const std::optional<FileOutcome> failed = copyAudio())
                return *failed;
        }

        struct stat written {};
        if (::fstat(c_.temporary->descriptor(), &written) != 0 || written.st_size == 0)
            return diskWasFull() ? failDiskFull()
                                 : fail(Result::NoOutput, SoxFailure(c_.errorOutput));
        const std::optional<tags::MpegAudioLength> output =
            tags::MeasureMpegAudio(c_.temporary->path(), &control_.cancel);
        if (stopped())
            return fail(Result::Stopped);
        if (!output || output->frames == 0) {
            if (diskWasFull())
                return failDiskFull();
            return fail(Result::NoOutput, Words::tr("the converter wrote no MP3 audio"));
        }
        // The converter ends well even when the disk filled up or a signal cut
        // it short; only the length of what it wrote tells. An input whose
        // length nobody can tell is taken as the converter read it.
        const std::optional<double> input =
            c_.inputSeconds ? c_.inputSeconds
                            : AudioSeconds(c_.plan.inputPath, c_.converter, &control_.cancel);
        if (stopped())
            return fail(Result::Stopped);
        if (input && output->seconds() < *input - kLengthToleranceSeconds) {
            if (diskWasFull())
                return failDiskFull();
            if (WriteFailedAsTold(c_.errorOutput))
                return fail(Result::ConverterFailed, SoxFailure(c_.errorOutput));
            return fail(
                Result::OutputTooShort,
                Words::tr("%1 of %2 seconds").arg(Seconds(output->seconds()), Seconds(*input)));
        }

        if (!c_.copyAudio)
            outcome_.warnings = AudioWarnings(c_.plan, c_.errorOutput, c_.temporary->path(),
                                              &control_.cancel, c_.inputLevels.get());
        const qint64 lengthMs = std::llround(output->seconds() * 1000.0);
        if (const std::optional<FileOutcome> failed = copyTags(lengthMs))
            return *failed;
        // The date comes before the mark, which an output that takes its
        // input's place gives its own size and time.
        if (c_.plan.options.keepDates) {
            if (const std::optional<FileOutcome> failed = keepInputDate())
                return *failed;
        }
        // The mark tells a later run which input this output was made from.
        // Where the file system keeps no marks, a later run compares the audio.
        // An output that takes its input's place is written through first, so
        // that the time its mark notes is the one it keeps.
        if (c_.plan.replacesInput && ::fsync(c_.temporary->descriptor()) != 0)
            return failWrite(errno);
        if (c_.plan.input) {
            const Done marked = WriteOutputMark(c_.temporary->descriptor(), *c_.plan.input,
                                                madeHow(), c_.plan.replacesInput);
            if (!marked && IsDiskFullError(marked.failure().code))
                return failDiskFull();
            marksKept_ = marked.ok();
        }
        // The final name must never stand for a file whose content is still
        // only in memory when the power goes.
        if (::fsync(c_.temporary->descriptor()) != 0)
            return failWrite(errno);
        return putInPlace();
    }

private:
    bool stopped() const { return control_.cancel.load(); }

    FileOutcome converterFailed()
    {
        // A folder that went away or stopped taking files is the reason,
        // whatever words the converter found for it.
        if (!platform::Main::FolderExists(folder_))
            return fail(Result::FolderRemoved);
        if (::access(folder_.c_str(), W_OK) != 0 && IsPermissionError(errno))
            return fail(Result::FolderUnwritable, QString(), OutcomeNumber::SystemError(errno));
        if (diskWasFull())
            return failDiskFull();
        return fail(Result::ConverterFailed, SoxFailure(c_.errorOutput),
                    OutcomeNumber::ExitStatus(c_.end.exitStatus));
    }

    // The audio frames of an input that is mono already become the output's.
    std::optional<FileOutcome> copyAudio()
    {
        QFile input;
        Done copied = platform::FileSystem::Open(input, c_.plan.inputPath, QIODevice::ReadOnly);
        if (copied)
            copied = tags::CopyMpegAudio(input, c_.temporary->descriptor(), &control_.cancel);
        if (stopped())
            return fail(Result::Stopped);
        if (!copied) {
            if (IsDiskFullError(copied.failure().code) || diskWasFull())
                return failDiskFull();
            return fail(Result::NotFinished, copied.failure().words);
        }
        outcome_.alreadyMono = true;
        return std::nullopt;
    }

    // Whether a file that came out short or not at all was cut short by a
    // full disk: the converter said so, the disk is full now, or it was seen
    // full while this file was converted.
    bool diskWasFull()
    {
        if (c_.errorOutput.contains("No space left on device")) {
            diskFull_->note(folder_);
            return true;
        }
        return diskFull_->checkNow(folder_) || diskFull_->seenFullSince(folder_, c_.startedAt);
    }

    // The output could not be written through to the disk.
    FileOutcome failWrite(int error)
    {
        if (IsDiskFullError(error))
            return failDiskFull();
        return fail(Result::NotFinished,
                    Words::tr("the output could not be written (%1)")
                        .arg(platform::FileSystem::SystemMessage(error)),
                    OutcomeNumber::SystemError(error));
    }

    FileOutcome failDiskFull()
    {
        diskFull_->note(folder_);
        return fail(Result::DiskFull, QString(), OutcomeNumber::SystemError(ENOSPC));
    }

    FileOutcome fail(Result result, const QString &detail = QString(), OutcomeNumber number = {})
    {
        outcome_.result = result;
        outcome_.detail = detail;
        outcome_.number = number;
        const Path leftover = c_.temporary->path();
        if (const Done removed = c_.temporary->remove(); !removed) {
            // Nothing can be removed from a folder that cannot be written:
            // the user is told of the hidden file that stays.
            const QString note =
                Words::tr("; the unfinished file %1 could not be removed (%2)")
                    .arg(leftover.text(),
                         platform::FileSystem::SystemMessage(removed.failure().code));
            outcome_.detail = result == Result::FolderUnwritable ? note : outcome_.detail + note;
        }
        return outcome_;
    }

    // The temporary output is gone from its folder: the folder went, or
    // somebody removed the file.
    std::optional<FileOutcome> outputVanished()
    {
        struct stat held {};
        if (::fstat(c_.temporary->descriptor(), &held) != 0 || held.st_nlink > 0)
            return std::nullopt;
        [[maybe_unused]] const Done removed = c_.temporary->remove();
        if (!platform::Main::FolderExists(folder_))
            return fail(Result::FolderRemoved);
        return fail(Result::NoOutput,
                    Words::tr("the unfinished output was removed during the run"));
    }

    // Why a new file cannot be made or named in the output folder.
    FileOutcome cannotWrite(int error)
    {
        if (IsDiskFullError(error))
            return failDiskFull();
        if (const std::optional<Result> failure = FolderWriteFailure(folder_, error))
            return fail(*failure, QString(), OutcomeNumber::SystemError(error));
        return fail(Result::NotFinished,
                    Words::tr("the output could not be put in place (%1)")
                        .arg(platform::FileSystem::SystemMessage(error)),
                    OutcomeNumber::SystemError(error));
    }

    std::optional<FileOutcome> copyTags(qint64 lengthMs)
    {
        // The tagged copy is written beside the output into a hidden file of
        // its own, made only when the tags call for a new file.
        std::unique_ptr<TemporaryOutput> tagged;
        std::optional<Failure> notMade;
        const tags::TaggedFile makeTagged = [&]() -> Expected<Path> {
            Expected<std::unique_ptr<TemporaryOutput>> reserved = TemporaryOutput::Reserve(folder_);
            if (!reserved) {
                notMade = reserved.failure();
                return reserved.failure();
            }
            tagged = std::move(*reserved);
            control_.hold(tagged->path());
            return tagged->path();
        };
        const Expected<bool> copied =
            tags::CopyTags(c_.plan.inputPath, c_.temporary->path(), makeTagged, lengthMs,
                           &control_.cancel, [&](const tags::ReplayGainForms &forms) {
                               return replayGainOfOutput(forms, lengthMs);
                           });
        if (stopped())
            return fail(Result::Stopped);
        if (notMade)
            return cannotWrite(notMade->code);
        if (!copied) {
            if (IsDiskFullError(copied.failure().code) || diskWasFull())
                return failDiskFull();
            return fail(Result::NotFinished, copied.failure().words);
        }
        if (!*copied)
            return std::nullopt;
        if (!control_.enter())
            return fail(Result::Stopped);
        const Path taggedPath = tagged->path();
        const Done moved = tagged->moveOver(*c_.temporary);
        control_.release(taggedPath);
        control_.leave();
        if (!moved)
            return cannotWrite(moved.failure().code);
        c_.temporary = std::move(tagged);
        return std::nullopt;
    }

    // The output takes the modification time its input had when it was
    // planned, which its mark notes too.
    std::optional<FileOutcome> keepInputDate()
    {
        if (!c_.plan.input)
            return std::nullopt;
        const qint64 ns = c_.plan.input->modifiedNs;
        struct timespec times[2] = {{0, UTIME_OMIT},
                                    {time_t(ns / 1000000000), long(ns % 1000000000)}};
        if (times[1].tv_nsec < 0) { // before 1970
            times[1].tv_nsec += 1000000000;
            --times[1].tv_sec;
        }
        if (::futimens(c_.temporary->descriptor(), times) == 0)
            return std::nullopt;
        const int error = errno;
        return fail(Result::NotFinished,
                    Words::tr("the output could not take its input's date (%1)")
                        .arg(platform::FileSystem::SystemMessage(error)),
                    OutcomeNumber::SystemError(error));
    }

    // The ReplayGain values of the converted audio, measured from all of it,
    // for tags that carry values in `forms`; the album's follow at the end of
    // the run, once all its tracks are known.
    tags::ReplayGainValues replayGainOfOutput(const tags::ReplayGainForms &forms, qint64 lengthMs)
    {
        if (!forms.holdsValues())
            return {};
        albumTrack_ =
            MeasureAlbumTrack(c_.plan, c_.temporary->descriptor(), lengthMs, &control_.cancel);
        albumTrack_->made = madeHow();
        return albumTrack_->trackValues;
    }

    // How the output is made, for its mark.
    QByteArray madeHow() const { return MadeHow(c_.plan.mode, c_.plan.quality, c_.copyAudio); }

    // What the disk says of a name now; the list's files are asked without
    // waiting once they have been looked up.
    NameUse useOf(const Path &candidate)
    {
        if (!c_.plan.input)
            return NameUse::Free;
        const ListedCheck listed =
            [this](const platform::FileIdentity &file) -> std::optional<bool> {
            if (!c_.listed)
                return false;
            return c_.listed(file, &control_.cancel);
        };
        return UseOfName(candidate, *c_.plan.input, listed, c_.plan.options.trashInputs);
    }

    // The name this output takes, claimed while the folder is held: the one
    // planned, unless another run or the user took it meanwhile.
    std::optional<FileOutcome> chooseTarget(Path &target)
    {
        // A name the file system refuses after all (the folder's own rule
        // could not tell) is made acceptable.
        if (FileSystemRefusesName(target)) {
            const Path safe = WindowsSafeStem(c_.plan.outputStem);
            outcome_.nameChanges |= NameChange::RefusedCharacters;
            if (!reclaim(target, safe))
                return fail(Result::NotFinished,
                            Words::tr("no free name for its output could be found"));
        }
        for (;;) {
            const NameUse use = useOf(target);
            if (stopped())
                return fail(Result::Stopped);
            if (use == NameUse::Free)
                return std::nullopt;
            // The name the input gives, on a file of the list: left alone,
            // with the reason, as the plan would have.
            if (use == NameUse::Listed && !outcome_.nameChanges)
                return fail(Result::Skipped, ListedFileReason(target));
            if (!reclaim(target, c_.plan.outputStem))
                return fail(Result::NotFinished,
                            Words::tr("no free name for its output could be found"));
        }
    }

    bool reclaim(Path &target, const Path &stem)
    {
        if (!c_.names)
            return false;
        const OutputNames::Claim claimed = c_.names->claim(
            c_.plan.outputFolderKey, c_.plan.outputFolder, stem, outcome_.nameChanges,
            [this](const Path &candidate) { return useOf(candidate); });
        if (claimed.path.isEmpty())
            return false;
        target = claimed.path;
        outcome_.nameChanges = claimed.changes;
        return true;
    }

    // A file of the user's own under the output's name goes to the Trash
    // rather than being lost; one without a Trash is replaced as ever. Where
    // no marks are kept, this input's earlier output is told by its audio.
    void makeRoom(const Path &target)
    {
        if (!c_.plan.input || HolderOfName(target, *c_.plan.input) != NameHolder::Unmarked)
            return;
        if (!marksKept_ && tags::SameMpegAudio(target, c_.temporary->path()))
            return;
        const Path trashed = platform::Trash::MoveToTrash(target);
        if (!trashed.isEmpty())
            outcome_.trashedPath = target;
        else
            outcome_.replacedUnmarked = true;
    }

    // Whether the input is still the file it was when it was planned: one
    // that changed meanwhile is not what its output was made from.
    bool inputUnchanged() const
    {
        const std::optional<InputFacts> now = InputFacts::Of(c_.plan.inputPath);
        const InputFacts &then = *c_.plan.input;
        return now && now->identity == then.identity && now->size == then.size &&
               now->modifiedNs == then.modifiedNs;
    }

    // The input leaves its name for its output: it goes to the Trash first,
    // so that at every moment one of the two is on the disk, the input in
    // the Trash at worst. Without a Trash the file is left as it was.
    std::optional<FileOutcome> trashInputFirst()
    {
        if (!c_.plan.input || !inputUnchanged())
            return fail(Result::NotFinished,
                        Words::tr("the file changed while it was converted, and was left as "
                                  "it is"));
        const Path trashed = platform::Trash::MoveToTrash(c_.plan.inputPath);
        if (trashed.isEmpty())
            return fail(Result::NotFinished,
                        Words::tr("its output takes its name only once it is in the Trash, "
                                  "and no Trash could be had for it; it was left as it is"));
        outcome_.inputTrashedTo = trashed;
        return std::nullopt;
    }

    // Once the output is in place under its own name, the input goes to the
    // Trash, unless the output is no longer there or the input changed
    // meanwhile; the outcome says where it went, or why it stays.
    void trashInput(const Path &target, const std::optional<platform::FileIdentity> &output)
    {
        if (!control_.enter())
            return; // given up on: the run tells the file as not finished
        if (!c_.plan.input || !output || platform::FileSystem::IdentityOf(target) != output)
            outcome_.inputKept = Words::tr("its output is no longer where it was put");
        else if (!platform::FileSystem::HasEntry(c_.plan.inputPath))
            outcome_.inputKept = Words::tr("it is no longer there");
        else if (!inputUnchanged())
            outcome_.inputKept = Words::tr("it changed while it was converted");
        else if (const Path trashed = platform::Trash::MoveToTrash(c_.plan.inputPath);
                 trashed.isEmpty())
            outcome_.inputKept = Words::tr("no Trash could be had for it");
        else
            outcome_.inputTrashedTo = trashed;
        control_.leave();
    }

    FileOutcome putInPlace()
    {
        // The list's files are looked up before the folder is held, so that
        // nobody waits for them while it is.
        if (c_.listed) {
            if (const auto there = platform::FileSystem::IdentityOf(c_.plan.outputPath))
                c_.listed(*there, &control_.cancel);
        }
        if (!control_.enter())
            return fail(Result::Stopped);
        const Path temporaryPath = c_.temporary->path();
        const std::optional<platform::FileIdentity> written =
            platform::FileSystem::IdentityOf(temporaryPath);
        Path target = c_.plan.outputPath;
        outcome_.nameChanges = c_.plan.nameChanges;
        Done moved;
        bool inPlace = false;
        {
            const platform::FileSystem::FolderClaimLock claim(folder_, &control_.cancel);
            if (std::optional<FileOutcome> failed = chooseTarget(target)) {
                control_.leave();
                return *failed;
            }
            inPlace = c_.plan.options.trashInputs &&
                      platform::FileSystem::IsSameFile(target, c_.plan.inputPath);
            if (inPlace) {
                if (std::optional<FileOutcome> failed = trashInputFirst()) {
                    control_.leave();
                    return *failed;
                }
            } else {
                makeRoom(target);
            }
            // The file at the name, for the album's values written later.
            struct stat placed {};
            if (albumTrack_ && ::fstat(c_.temporary->descriptor(), &placed) == 0)
                albumTrack_->identity = {placed.st_dev, placed.st_ino};
            moved = c_.temporary->moveTo(target);
            // The input takes its name back; where it cannot, the message
            // says where in the Trash it is.
            if (!moved && inPlace &&
                platform::Trash::PutBack(outcome_.inputTrashedTo, c_.plan.inputPath))
                outcome_.inputTrashedTo = Path();
        }
        if (moved)
            control_.release(temporaryPath);
        control_.leave();
        if (!moved)
            return cannotWrite(moved.failure().code);
        platform::FileSystem::SyncFolder(folder_);
        outcome_.result = Result::Converted;
        outcome_.outputPath = target;
        if (c_.plan.options.trashInputs && !inPlace)
            trashInput(target, written);
        if (albumTrack_) {
            albumTrack_->output = target;
            outcome_.albumTrack = std::move(albumTrack_);
        }
        return outcome_;
    }

    Completion &c_;
    CompletionControl &control_;
    const Path folder_;
    std::shared_ptr<DiskFullLog> diskFull_;
    bool marksKept_ = false;
    std::shared_ptr<AlbumTrack> albumTrack_;
    FileOutcome outcome_;
};

} // namespace

std::optional<Result> FolderWriteFailure(const Path &folder, int error)
{
    if (error == ENOENT && !platform::Main::FolderExists(folder))
        return Result::FolderRemoved;
    if (error == ENOSPC || error == EDQUOT)
        return Result::DiskFull;
    if (IsPermissionError(error))
        return Result::FolderUnwritable;
    return std::nullopt;
}

FileOutcome CompleteOutput(Completion &completion, CompletionControl &control)
{
    return Finisher(completion, control).run();
}

} // namespace velunor::conversion
