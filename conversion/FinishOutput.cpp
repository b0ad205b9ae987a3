#include "conversion/FinishOutput.h"

#include "conversion/Finisher.h"

#include "conversion/AudioChecks.h"
#include "conversion/InputMeasurer.h"
#include "conversion/OutputMark.h"
#include "conversion/OutputNames.h"
#include "conversion/OutputQuality.h"
#include "conversion/ReplayGainUpdate.h"
#include "conversion/SoxMessages.h"
#include "platform/FileSystem.h"
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

} // namespace

FileOutcome Finisher::run()
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
        return diskWasFull() ? failDiskFull() : fail(Result::NoOutput, SoxFailure(c_.errorOutput));
    const std::optional<tags::MpegAudioLength> output =
        tags::MeasureMpegAudio(c_.temporary->path(), &control_.cancel);
    if (stopped())
        return fail(Result::Stopped);
    if (!output || output->frames == 0) {
        if (diskWasFull())
            return failDiskFull();
        return fail(Result::NoOutput, FinishWords::tr("the converter wrote no MP3 audio"));
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
            FinishWords::tr("%1 of %2 seconds").arg(Seconds(output->seconds()), Seconds(*input)));
    }

    if (!c_.copyAudio) {
        bool remedyNeedsInput = false;
        outcome_.warnings =
            AudioWarnings(c_.plan, c_.errorOutput, c_.temporary->path(), &control_.cancel,
                          c_.inputLevels.get(), &remedyNeedsInput);
        inputKeptForRemedy_ =
            c_.plan.options.trashInputs && remedyNeedsInput && !c_.plan.replacesInput;
        if (const QString changed = BitRateChangedWords(c_.plan.quality, *output);
            !changed.isEmpty())
            outcome_.warnings << changed;
    }
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
        const Done marked = WriteOutputMark(c_.temporary->descriptor(), *c_.plan.input, madeHow(),
                                            c_.plan.replacesInput);
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

FileOutcome Finisher::converterFailed()
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

std::optional<FileOutcome> Finisher::copyAudio()
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

bool Finisher::diskWasFull()
{
    if (c_.errorOutput.contains("No space left on device")) {
        diskFull_->note(folder_);
        return true;
    }
    return diskFull_->checkNow(folder_) || diskFull_->seenFullSince(folder_, c_.startedAt);
}

FileOutcome Finisher::failWrite(int error)
{
    if (IsDiskFullError(error))
        return failDiskFull();
    return fail(Result::NotFinished,
                FinishWords::tr("the output could not be written (%1)")
                    .arg(platform::FileSystem::SystemMessage(error)),
                OutcomeNumber::SystemError(error));
}

FileOutcome Finisher::failDiskFull()
{
    diskFull_->note(folder_);
    return fail(Result::DiskFull, QString(), OutcomeNumber::SystemError(ENOSPC));
}

FileOutcome Finisher::fail(Result result, const QString &detail, OutcomeNumber number)
{
    outcome_.result = result;
    outcome_.detail = detail;
    outcome_.number = number;
    const Path leftover = c_.temporary->path();
    if (const Done removed = c_.temporary->remove(); !removed) {
        // Nothing can be removed from a folder that cannot be written:
        // the user is told of the hidden file that stays.
        const QString note =
            FinishWords::tr("; the unfinished file %1 could not be removed (%2)")
                .arg(leftover.text(), platform::FileSystem::SystemMessage(removed.failure().code));
        outcome_.detail = result == Result::FolderUnwritable ? note : outcome_.detail + note;
    }
    return outcome_;
}

std::optional<FileOutcome> Finisher::outputVanished()
{
    struct stat held {};
    if (::fstat(c_.temporary->descriptor(), &held) != 0 || held.st_nlink > 0)
        return std::nullopt;
    [[maybe_unused]] const Done removed = c_.temporary->remove();
    if (!platform::Main::FolderExists(folder_))
        return fail(Result::FolderRemoved);
    return fail(Result::NoOutput,
                FinishWords::tr("the unfinished output was removed during the run"));
}

FileOutcome Finisher::cannotWrite(int error)
{
    if (IsDiskFullError(error))
        return failDiskFull();
    if (const std::optional<Result> failure = FolderWriteFailure(folder_, error))
        return fail(*failure, QString(), OutcomeNumber::SystemError(error));
    return fail(Result::NotFinished,
                FinishWords::tr("the output could not be put in place (%1)")
                    .arg(platform::FileSystem::SystemMessage(error)),
                OutcomeNumber::SystemError(error));
}

std::optional<FileOutcome> Finisher::copyTags(qint64 lengthMs)
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
    const Expected<bool> copied = tags::CopyTags(
        c_.plan.inputPath, c_.temporary->path(), makeTagged, lengthMs, &control_.cancel,
        [&](const tags::ReplayGainForms &forms) { return replayGainOfOutput(forms, lengthMs); });
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

std::optional<FileOutcome> Finisher::keepInputDate()
{
    if (!c_.plan.input)
        return std::nullopt;
    const qint64 ns = c_.plan.input->modifiedNs;
    struct timespec times[2] = {{0, UTIME_OMIT}, {time_t(ns / 1000000000), long(ns % 1000000000)}};
    if (times[1].tv_nsec < 0) { // before 1970
        times[1].tv_nsec += 1000000000;
        --times[1].tv_sec;
    }
    if (::futimens(c_.temporary->descriptor(), times) == 0)
        return std::nullopt;
    const int error = errno;
    return fail(Result::NotFinished,
                FinishWords::tr("the output could not take its input's date (%1)")
                    .arg(platform::FileSystem::SystemMessage(error)),
                OutcomeNumber::SystemError(error));
}

tags::ReplayGainValues Finisher::replayGainOfOutput(const tags::ReplayGainForms &forms,
                                                    qint64 lengthMs)
{
    if (!forms.holdsValues())
        return {};
    albumTrack_ =
        MeasureAlbumTrack(c_.plan, c_.temporary->descriptor(), lengthMs, &control_.cancel);
    albumTrack_->made = madeHow();
    return albumTrack_->trackValues;
}

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
